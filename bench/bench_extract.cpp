// The retrieval's work on a results page without the network: the row
// pattern over a full day's page of the demo portal, and every row taken out;
// then the whole retrieval of one day (fetcher thread, page, extraction) with
// the page served by the transport double.
#include <benchmark/benchmark.h>

#include "draws/retrieval.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/memory_file_system.h"
#include "platform/fake/recorders.h"
#include "platform/fake/test_ui_thread.h"
#include "shell/app.h"
#include "tools/portal/draw_book.h"
#include "web/fake_transport.h"
#include "web/pattern.h"

namespace {

void BM_ExtractFullDay(benchmark::State& state) {
  const std::string page = zr::portal::resultsPage({2014, 3, 13}, zr::portal::kDrawsPerDay);
  const std::string pattern(zr::draws::drawRowPattern);
  for (auto _ : state) {
    zr::web::PatternExtractor extractor;
    extractor.create(pattern, page);
    std::vector<std::string> periods, numbers;
    for (int k = 1; k <= extractor.matchCount(); ++k) {
      periods.push_back(extractor.subMatchText(k, 1));
      numbers.push_back(extractor.subMatchText(k, 2));
    }
    if (numbers.size() != static_cast<std::size_t>(zr::portal::kDrawsPerDay)) state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(numbers.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ExtractFullDay)->Unit(benchmark::kMillisecond);

// The program's services made of the test doubles; only the web answers.
struct Offline {
  zr::fake::TestUiThread ui;
  zr::fake::FakeClock clock;
  zr::fake::MemoryFileSystem files;
  zr::fake::FakeClipboard clipboard;
  zr::fake::FakeSound sound;
  zr::fake::FakeDialogs dialogs;
  zr::fake::FakeWindowSystem windows;
  zr::fake::FakeProcess process;
  zr::web::FakeTransport http;
  zr::platform::Services services{clock, ui, files, clipboard, sound, dialogs, windows, process, http};
  zr::shell::App app{services};
  ~Offline() { ui.shutdown(); }
};

void BM_RetrieveOneDayOffline(benchmark::State& state) {
  Offline offline;
  const std::string page = zr::portal::resultsPage({2014, 3, 13}, zr::portal::kDrawsPerDay);
  offline.http.setHandler([&](const zr::web::HttpRequest&) { return zr::web::FakeTransport::page(page); });
  for (auto _ : state) {
    const zr::draws::RetrievedDraws draws = zr::draws::retrieveDraws(offline.app, "2014-03-13", "2014-03-13");
    if (draws.numbers.size() != static_cast<std::size_t>(zr::portal::kDrawsPerDay)) state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(draws.numbers.data());
  }
}
BENCHMARK(BM_RetrieveOneDayOffline)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
