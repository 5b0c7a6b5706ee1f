// Microbenchmarks of the portable batch code on a largest input (2,076,999
// bytes of whole-range values, CR LF), so that a regression shows without Wine.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "autorun/BatchText.h"
#include "convert/DecimalToBinary.h"

namespace {

// The largest file the program reads, as its batch run sees the text.
const std::wstring& LargestInput()
{
    static const std::wstring text = [] {
        std::mt19937 random(20240501);
        std::uniform_int_distribution<uint32_t> value(0, 2147483647);
        std::wstring result;
        while (result.size() + 12 <= 2076999)
            result += std::to_wstring(value(random)) + L"\r\n";
        result.append(2076999 - result.size(), L'\n');
        return result;
    }();
    return text;
}

void BM_ConvertDecimalToBinary(benchmark::State& state)
{
    const std::wstring line = L"2147483647";
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertDecimalToBinary(line));
}
BENCHMARK(BM_ConvertDecimalToBinary);

// Trim, read the lines with their largest value and build the result bytes:
// the batch run's text work without the platform.
void BM_TextPass(benchmark::State& state)
{
    for (auto _ : state) {
        std::wstring text = LargestInput();
        TrimTrailingLineBreaks(text);
        const InputLines lines = ReadInputLines(text);
        benchmark::DoNotOptimize(BuildResultBytes(lines.values));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(LargestInput().size()));
}
BENCHMARK(BM_TextPass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
