// The retrieval's work on a results page without the network: the row
// pattern over a full day's page of the demo portal, and every row taken out.
#include <benchmark/benchmark.h>

#include "draws/retrieval.h"
#include "tools/portal/draw_book.h"
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

}  // namespace

BENCHMARK_MAIN();
