// How long the Generate command's parts take: building each kind of table, formatting and writing the file.
#include "TableBuilder.h"
#include "TableFile.h"

#include <QTemporaryDir>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace
{
// 1025 points, one per slot, in a shuffled list order so the ordering has real work to do.
std::vector<PointRow> FullPointList()
{
    std::vector<PointRow> rows;
    for (int nReading = 0; nReading < TableSlots; ++nReading)
        rows.push_back({std::to_string(nReading), std::to_string(nReading * 0.37 - 100.0)});
    std::shuffle(rows.begin(), rows.end(), std::mt19937(1023));
    return rows;
}

void BuildLinear(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildLinearTable(-100.0, 1234.5));
}
BENCHMARK(BuildLinear);

void BuildNonlinearFromFullList(benchmark::State& state)
{
    const std::vector<PointRow> rows = FullPointList();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildNonlinearTable(rows));
}
BENCHMARK(BuildNonlinearFromFullList);

void FormatTable(benchmark::State& state)
{
    const BuiltTable built = BuildLinearTable(-100.0, 1234.5);
    const std::string strFormat = MakeNumberFormat(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatTableFile(built.m_table, built.m_strDirection, "mV", strFormat));
}
BENCHMARK(FormatTable)->Arg(0)->Arg(2)->Arg(4);

void FormatAndWriteTable(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath("bench.anl");
    const BuiltTable built = BuildLinearTable(-100.0, 1234.5);
    for (auto _ : state)
        WriteTableFile(strPath, built.m_table, built.m_strDirection, "mV", "%.2f");
}
BENCHMARK(FormatAndWriteTable);
}

BENCHMARK_MAIN();
