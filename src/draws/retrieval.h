#pragma once
// The draw list's retrieval from the results portal.
#include <string>
#include <string_view>
#include <vector>

#include "shell/app.h"

namespace zr::draws {

struct RetrievedDraws {
  std::vector<std::string> periods;
  std::vector<std::string> numbers;
};

// A draw row of the results page: group 1 the period, group 2 the number.
inline constexpr std::string_view drawRowPattern = "<tr><td class='gray'>(.*?)</td><td class='red big'>(.*?)</td><td";

// The longest date range a retrieval walks, in days.
inline constexpr long kMaxDays = 366;

// The portal's host (and port), from the settings file's key "开奖网站" in
// section "网络", read anew each time; "127.0.0.1:8080" when it is missing.
std::string portalHost(shell::App& app);
// The results page address of one day (a day text, yyyy-mm-dd).
std::string resultsAddress(const std::string& host, const std::string& day);

// One results page per day from first to last (both already normalised).
// No request is made when a date cannot be read, when the last day lies
// before the first, or when the range is longer than kMaxDays.
RetrievedDraws retrieveDraws(shell::App& app, const std::string& firstDay, const std::string& lastDay);

// Appends the draws to the (emptied) draw list one row at a time, each
// scrolled into view, column 1 the number's last three digits, and shows the
// latest in the two labels. Returns the number of draws; with none, the list
// and the labels are left as they are.
std::size_t showDraws(shell::App& app, const RetrievedDraws& draws);

// The retrieval worker's routine: refills the draw list and the labels.
void refreshDrawList(shell::App& app);

// Makes refreshDrawList the routine of the first retrieval worker at start-up.
void installRetrieval(shell::App& app);

}  // namespace zr::draws
