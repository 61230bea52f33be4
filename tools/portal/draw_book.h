#pragma once
// The demo portal's draws and pages: a fixed history, the same on every run,
// with each day's draws published on a schedule.
#include <string>

#include "text/dates.h"

namespace zr::portal {

inline constexpr int kDrawsPerDay = 120;

// The five-digit number of a day's period (1..120), derived from both alone.
std::string drawNumber(const text::Date& day, int period);
// Period text: three digits, "001" to "120".
std::string periodText(int period);

// How many of today's draws the schedule has published at the given time of
// day: one every 10 minutes from 02:00, so the first at 02:00 and the last at 21:50.
int scheduledCount(int secondsSinceMidnight);

// The results page of a day holding its first count draws, earliest first,
// as GBK bytes. withRows false gives the page of a day without results.
std::string resultsPage(const text::Date& day, int count, bool withRows = true);

}  // namespace zr::portal
