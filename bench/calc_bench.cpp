// The calculations against a baseline in the same run: what the C library
// needs to read four plain numbers and write three.
//   cmake --preset bench && cmake --build --preset bench && build/bench/bench/calc_bench
// Compare "WholeCalculation" with "Baseline": the ratio is what counts, the
// absolute times depend on the machine.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "calc/applied_water.h"
#include "calc/numbers.h"
#include "calc/wetting_front.h"

using namespace soakmark::calc;

namespace {

const char* const kTexts[4] = {"2", "5", "0.5", "1.5"};

void Baseline(benchmark::State& state) {
  char buffer[64];
  for (auto _ : state) {
    double values[4];
    for (int i = 0; i < 4; ++i) values[i] = std::strtod(kTexts[i], nullptr);
    benchmark::DoNotOptimize(values);
    const double volume = values[0] * values[1];
    const double depth = volume / (values[2] * values[3]);
    for (double v : {volume, depth, depth * 0.01}) {
      std::snprintf(buffer, sizeof buffer, "%.0f", v);
      benchmark::DoNotOptimize(buffer);
    }
  }
}
BENCHMARK(Baseline);

void WholeCalculation(benchmark::State& state) {
  const DecimalSeparator separator;
  for (auto _ : state) {
    const Amounts amounts = ComputeAmounts({kTexts[0], kTexts[1], kTexts[2], kTexts[3]}, separator);
    const WettingFronts fronts = CalcFronts(*amounts.EmitterVolume, SoilCondition::Moist);
    benchmark::DoNotOptimize(amounts);
    benchmark::DoNotOptimize(fronts);
  }
}
BENCHMARK(WholeCalculation);

void ParseNumberOf(benchmark::State& state, const char* text) {
  const DecimalSeparator separator;
  for (auto _ : state) benchmark::DoNotOptimize(ParseNumber(text, separator));
}
BENCHMARK_CAPTURE(ParseNumberOf, short, "0.5");
BENCHMARK_CAPTURE(ParseNumberOf, long_mantissa, "20167224057012161.999999999");
BENCHMARK_CAPTURE(ParseNumberOf, far_exponent, "1.5e-300");

void FormatNumberOf(benchmark::State& state, NumberFormat format, double value) {
  const DecimalSeparator separator;
  const Extended x = Extended(value) / Extended(0.75);
  for (auto _ : state) benchmark::DoNotOptimize(FormatNumber(format, x, separator));
}
BENCHMARK_CAPTURE(FormatNumberOf, fixed_depth, NumberFormat::Fixed, 10.0);
BENCHMARK_CAPTURE(FormatNumberOf, general_mlha, NumberFormat::General, 0.1);
BENCHMARK_CAPTURE(FormatNumberOf, fixed_huge, NumberFormat::Fixed, 1e300);

void CalcFrontsAt(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(CalcFronts(10.0, SoilCondition::Dry));
}
BENCHMARK(CalcFrontsAt);

}  // namespace

BENCHMARK_MAIN();
