// Storing a 4 MiB object archive into a memory file with the clipboard's 4096-byte
// grow step, against appending the same bytes to a plain std::vector.
#include "framework/core/CArchive.h"
#include "framework/core/CMemFile.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr std::size_t kArchiveBytes = 4 * 1024 * 1024;
constexpr UINT kGrowBytes = 4096;

void BM_ArchiveIntoMemFile(benchmark::State& state)
{
    for (auto _ : state) {
        CMemFile file(kGrowBytes);
        {
            CArchive ar(&file, CArchive::store, 4096);
            for (std::size_t i = 0; i < kArchiveBytes / sizeof(DWORD); ++i)
                ar << DWORD(i);
            ar.Close();
        }
        std::vector<BYTE> bytes = file.Detach();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kArchiveBytes));
}
BENCHMARK(BM_ArchiveIntoMemFile)->Unit(benchmark::kMillisecond);

// Baseline: the same words appended to a vector in 4096-byte pieces, as the archive
// buffer hands them on.
void BM_AppendToVector(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<BYTE> bytes;
        BYTE piece[4096];
        std::size_t used = 0;
        for (std::size_t i = 0; i < kArchiveBytes / sizeof(DWORD); ++i) {
            const DWORD value = DWORD(i);
            for (std::size_t b = 0; b < sizeof value; ++b)
                piece[used++] = BYTE(value >> (8 * b));
            if (used == sizeof piece) {
                bytes.insert(bytes.end(), piece, piece + used);
                used = 0;
            }
        }
        bytes.insert(bytes.end(), piece, piece + used);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kArchiveBytes));
}
BENCHMARK(BM_AppendToVector)->Unit(benchmark::kMillisecond);

} // namespace
