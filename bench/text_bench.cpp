// The text routines must stay linear: each is measured on 1 KiB, 64 KiB and 1 MiB of mixed
// ASCII and GBK text, and Google Benchmark fits the growth (expect "O(N)" and a flat
// per-byte time).
#include <benchmark/benchmark.h>

#include "common/text.h"

namespace {

// Header-like lines with double-byte characters, spaces and separators.
std::string MixedText(size_t size) {
  static const std::string kPiece =
      "Set-Cookie: a=1; path=/ \xB5\xD8\xC7\xF2 2019-05-31 09:20:00\xA1\xA1;\r\n";
  std::string text;
  while (text.size() < size) text += kPiece;
  text.resize(size);
  return text;
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
}

void BM_FindText(benchmark::State& state) {
  std::string text = MixedText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(jc::FindText(text, "Not-There:", 1, true));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindText)->Apply(Sizes);

void BM_ReplaceText(benchmark::State& state) {
  std::string text = MixedText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(jc::ReplaceText(text, "set-cookie", "Set-Cookie"));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReplaceText)->Apply(Sizes);

void BM_SplitText(benchmark::State& state) {
  std::string text = MixedText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(jc::SplitText(text, "\r\n"));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SplitText)->Apply(Sizes);

void BM_TrimSpaces(benchmark::State& state) {
  std::string text = "   " + MixedText(static_cast<size_t>(state.range(0))) + "\xA1\xA1  ";
  for (auto _ : state) benchmark::DoNotOptimize(jc::TrimSpaces(text));
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TrimSpaces)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
