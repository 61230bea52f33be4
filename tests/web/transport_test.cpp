#include "web/transport_cases.h"
