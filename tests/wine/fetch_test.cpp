// The fetcher's wire tests over the WinInet transport, run under Wine
// against a loopback server inside the test.
#include "web/transport_cases.h"
