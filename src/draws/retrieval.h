#pragma once
// The draw list's retrieval from the results portal.
#include <string>
#include <vector>

#include "shell/app.h"

namespace zr::draws {

struct RetrievedDraws {
  std::vector<std::string> periods;
  std::vector<std::string> numbers;
};

// One results page per day from first to last (both already normalised).
RetrievedDraws retrieveDraws(shell::App& app, const std::string& firstDay, const std::string& lastDay);

// The retrieval worker's routine: refills the draw list and the labels.
void refreshDrawList(shell::App& app);

}  // namespace zr::draws
