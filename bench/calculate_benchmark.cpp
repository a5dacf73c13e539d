#include <benchmark/benchmark.h>

#include "tongqiu/calculate.h"

namespace {

void BM_Calculate(benchmark::State& state) {
    tongqiu::FieldSet fields;
    fields.Set(tongqiu::FieldName::Text1, "38");
    fields.Set(tongqiu::FieldName::Text2, "4");
    fields.Set(tongqiu::FieldName::Text3, "76");
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop's idiom
        benchmark::DoNotOptimize(tongqiu::Calculate(fields));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Calculate);

}  // namespace
