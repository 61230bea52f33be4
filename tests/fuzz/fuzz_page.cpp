// A results page of any bytes through the pattern extractor and through the
// retrieval's row extraction. The draw rows found must be exactly those a
// plain scan for the row pattern finds: the cells' bytes as the page holds
// them, in page order, none running over a line end, none longer than the
// extractor's longest match.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "draws/retrieval.h"
#include "fuzz_check.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/memory_file_system.h"
#include "platform/fake/recorders.h"
#include "platform/fake/test_ui_thread.h"
#include "shell/app.h"
#include "text/bytes.h"
#include "web/pattern.h"
#include "web/transport.h"

namespace {

using zr::web::PatternExtractor;

struct Cell {
  std::size_t begin = 0, end = 0;  // byte offsets in the page
};
struct Row {
  Cell match, period, number;
};

// The characters of the page as the extractor sees them: a valid GBK pair
// is one character, any other byte one character of its own.
std::vector<std::size_t> characterStarts(std::string_view page) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < page.size();) {
    starts.push_back(i);
    const auto lead = static_cast<unsigned char>(page[i]);
    const auto trail = i + 1 < page.size() ? static_cast<unsigned char>(page[i + 1]) : 0;
    i += (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
  }
  starts.push_back(page.size());
  return starts;
}

// The rows of "<tr><td class='gray'>(.*?)</td><td class='red big'>(.*?)</td><td"
// with letters of any case and "." stopping at CR and LF. With both groups
// lazy and the text between them fixed, the first fitting end of each group
// is the only one that can lead to a match. A match has at most 2048
// characters: one that would need more is not found.
std::vector<Row> scanRows(std::string_view page) {
  static constexpr std::string_view kOpen = "<tr><td class='gray'>";
  static constexpr std::string_view kMiddle = "</td><td class='red big'>";
  static constexpr std::string_view kClose = "</td><td";
  static constexpr std::size_t kMaxMatch = 2048;
  const std::vector<std::size_t> at = characterStarts(page);
  const std::size_t count = at.size() - 1;
  auto single = [&](std::size_t c) { return at[c + 1] - at[c] == 1; };
  auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  // Whether literal stands at character c and ends by character end.
  auto literalAt = [&](std::size_t c, std::string_view literal, std::size_t end) {
    if (c + literal.size() > end) return false;
    for (std::size_t i = 0; i < literal.size(); ++i) {
      if (!single(c + i) || fold(page[at[c + i]]) != literal[i]) return false;
    }
    return true;
  };
  // From each character: the next line end, and the next place of a literal
  // (count when there is none), so that the scan stays linear.
  auto lineEnd = [&](std::size_t c) { return single(c) && (page[at[c]] == '\n' || page[at[c]] == '\r'); };
  std::vector<std::size_t> nextLineEnd(count + 1, count);
  for (std::size_t c = count; c-- > 0;) nextLineEnd[c] = lineEnd(c) ? c : nextLineEnd[c + 1];
  auto places = [&](std::string_view literal) {
    std::vector<std::size_t> next(count + 1, count);
    for (std::size_t c = count; c-- > 0;) next[c] = literalAt(c, literal, count) ? c : next[c + 1];
    return next;
  };
  const std::vector<std::size_t> nextMiddle = places(kMiddle), nextClose = places(kClose);
  // The first character from c where literal starts and ends by end, before
  // any line end; none is count + 1.
  auto lazyUntil = [&](std::size_t c, const std::vector<std::size_t>& next, std::string_view literal,
                       std::size_t end) -> std::size_t {
    if (c > count) return count + 1;
    const std::size_t p = next[c];
    return p < nextLineEnd[c] && p + literal.size() <= end ? p : count + 1;
  };

  std::vector<Row> rows;
  for (std::size_t c = 0; c < count;) {
    const std::size_t end = std::min(count, c + kMaxMatch);
    if (literalAt(c, kOpen, end)) {
      const std::size_t middle = lazyUntil(c + kOpen.size(), nextMiddle, kMiddle, end);
      if (middle <= count) {
        const std::size_t close = lazyUntil(middle + kMiddle.size(), nextClose, kClose, end);
        if (close <= count) {
          rows.push_back({{at[c], at[close + kClose.size()]},
                          {at[c + kOpen.size()], at[middle]},
                          {at[middle + kMiddle.size()], at[close]}});
          c = close + kClose.size();
          continue;
        }
      }
    }
    ++c;
  }
  return rows;
}

std::string bytesOf(std::string_view page, Cell cell) {
  return std::string(page.substr(cell.begin, cell.end - cell.begin));
}

void checkExtractor(const std::string& page, const std::vector<Row>& rows) {
  const std::string pattern(zr::draws::drawRowPattern);
  PatternExtractor extractor;
  FUZZ_CHECK(extractor.create(pattern, page));
  FUZZ_CHECK(extractor.pattern() == pattern);
  FUZZ_CHECK(extractor.matchCount() == static_cast<int>(rows.size()));
  FUZZ_CHECK(extractor.subMatchCount() == (rows.empty() ? 0 : 2));
  std::string unmatched;
  std::size_t copied = 0;
  for (std::size_t k = 1; k <= rows.size(); ++k) {
    const Row& row = rows[k - 1];
    const int index = static_cast<int>(k);
    int position = -2;
    FUZZ_CHECK(extractor.matchText(index, &position) == bytesOf(page, row.match));
    FUZZ_CHECK(position == static_cast<int>(row.match.begin));
    FUZZ_CHECK(extractor.subMatchText(index, 1, &position) == bytesOf(page, row.period));
    FUZZ_CHECK(position == static_cast<int>(row.period.begin));
    FUZZ_CHECK(extractor.subMatchText(index, 2, &position) == bytesOf(page, row.number));
    FUZZ_CHECK(position == static_cast<int>(row.number.begin));
    unmatched += page.substr(copied, row.match.begin - copied);
    copied = row.match.end;
  }
  unmatched += page.substr(copied);
  int position = 0;
  FUZZ_CHECK(extractor.subMatchText(static_cast<int>(rows.size()) + 1, 1, &position).empty() && position == -1);
  FUZZ_CHECK(extractor.subMatchText(1, 3, &position).empty() && position == -1);
  FUZZ_CHECK(extractor.replace("") == unmatched);

  // A new run replaces the matches of the last one.
  FUZZ_CHECK(extractor.create(pattern, ""));
  FUZZ_CHECK(extractor.matchCount() == 0 && extractor.subMatchText(1, 1).empty());
}

// Serves every request with the page of the current input.
class OnePage : public zr::web::HttpTransport {
 public:
  zr::web::HttpResult perform(const zr::web::HttpRequest&, zr::web::CancelToken&) override {
    zr::web::HttpResult result;
    result.opened = true;
    result.rawHeaders = "HTTP/1.1 200 OK\r\n\r\n";
    result.body = body;
    return result;
  }
  void storeCookie(const std::string&, const std::string&, const std::string&) override {}
  std::string body;
};

struct Program {
  Program() { clock.link(&ui); }
  zr::fake::TestUiThread ui;
  zr::fake::FakeClock clock;
  zr::fake::MemoryFileSystem files;
  zr::fake::FakeClipboard clipboard;
  zr::fake::FakeSound sound;
  zr::fake::FakeDialogs dialogs;
  zr::fake::FakeWindowSystem windows;
  zr::fake::FakeProcess process;
  OnePage http;
  zr::platform::Services services{clock, ui, files, clipboard, sound, dialogs, windows, process, http};
  zr::shell::App app{services};
};

void checkRetrieval(const std::string& body, const std::string& page, const std::vector<Row>& rows) {
  static Program* program = new Program();  // lives for the whole run
  program->http.body = body;
  const zr::draws::RetrievedDraws draws = zr::draws::retrieveDraws(program->app, "2014-03-13", "2014-03-13");
  FUZZ_CHECK(draws.periods.size() == rows.size() && draws.numbers.size() == rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    FUZZ_CHECK(draws.periods[i] == bytesOf(page, rows[i].period));
    FUZZ_CHECK(draws.numbers[i] == bytesOf(page, rows[i].number));
  }
  program->http.body.clear();
  program->http.body.shrink_to_fit();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  // The retrieval reads a page as text, which ends at its first zero byte.
  const std::string page = body.substr(0, body.find('\0'));
  const std::vector<Row> rows = scanRows(page);
  checkExtractor(page, rows);
  checkRetrieval(body, page, rows);
  return 0;
}
