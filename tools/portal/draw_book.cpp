#include "draw_book.h"

#include <cstdint>
#include <cstdio>

#include "text/gbk.h"

namespace zr::portal {
namespace {

std::uint64_t mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

}  // namespace

std::string drawNumber(const text::Date& day, int period) {
  const std::uint64_t key = (static_cast<std::uint64_t>(day.year) * 10000 + day.month * 100 + day.day) * 1000 + period;
  char digits[8];
  std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(mix(key) % 100000));
  return digits;
}

std::string periodText(int period) {
  char text[8];
  std::snprintf(text, sizeof text, "%03d", period);
  return text;
}

int scheduledCount(int secondsSinceMidnight) {
  const int first = 2 * 3600;
  if (secondsSinceMidnight < first) return 0;
  const int count = (secondsSinceMidnight - first) / 600 + 1;
  return count < kDrawsPerDay ? count : kDrawsPerDay;
}

std::string resultsPage(const text::Date& day, int count, bool withRows) {
  const std::string dayText = text::dayText(day);
  std::string html;
  html.reserve(16384);
  html += "<!DOCTYPE html>\n<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n";
  html += "<title>" + GBK("重庆时时彩开奖结果") + " " + dayText + "</title>\n";
  html += "<style>td.gray{color:#666}td.red{color:#c00}td.big{font-size:16px}</style>\n</head>\n<body>\n";
  html +=
      "<div class='nav'><a href='/'>" + GBK("首页") + "</a> | <a href='/kaijiang/'>" + GBK("开奖公告") + "</a></div>\n";
  html += "<h1>" + GBK("重庆时时彩") + " " + dayText + " " + GBK("开奖号码") + "</h1>\n";
  html += "<table class='kj' cellspacing='0'>\n";
  html += "<tr><th>" + GBK("期号") + "</th><th>" + GBK("开奖号码") + "</th><th>" + GBK("十位") + "</th><th>" +
          GBK("个位") + "</th><th>" + GBK("后三") + "</th></tr>\n";
  if (!withRows || count <= 0) {
    html += "<tr><td colspan='5' class='gray'>" + GBK("暂无开奖数据") + "</td></tr>\n";
  } else {
    for (int period = 1; period <= count && period <= kDrawsPerDay; ++period) {
      const std::string number = drawNumber(day, period);
      html += "<tr><td class='gray'>" + periodText(period) + "</td><td class='red big'>" + number + "</td><td>" +
              number.substr(3, 1) + "</td><td>" + number.substr(4, 1) + "</td><td>" +
              (number[2] == number[3] || number[3] == number[4] || number[2] == number[4] ? GBK("组三") : GBK("组六")) +
              "</td></tr>\n";
    }
  }
  html += "</table>\n";
  html += "<p class='note'>" + GBK("开奖结果以官方公布为准。每日120期，10分钟一期。") + "</p>\n";
  html +=
      "<table class='ad'><tr><td class='gray'>" + GBK("广告") + "</td><td>" + GBK("合作伙伴") + "</td></tr></table>\n";
  html += "</body>\n</html>\n";
  return html;
}

}  // namespace zr::portal
