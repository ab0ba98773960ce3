// Reading every value of an INI file held in memory, as loading the settings does, for
// files of growing size (ten sections). BM_ProfileParse is the yardstick: parsing the
// same content alone. With lookups that need no pass over the lines, reading all values
// stays a small multiple of parsing at every size.
#include "framework/core/ProfileFile.h"

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kSections = 10;

struct ProfileText {
    std::string content;
    std::vector<std::pair<std::string, std::string>> names; // section, key
};

ProfileText MakeProfile(int keys)
{
    ProfileText text;
    for (int s = 0; s < kSections; ++s) {
        const std::string section = "Section" + std::to_string(s);
        text.content += "[" + section + "]\n";
        for (int k = 0; k < keys / kSections; ++k) {
            const std::string key = "Key" + std::to_string(k);
            text.content += key + "=" + std::to_string(s * 1000 + k) + "\n";
            text.names.emplace_back(section, key);
        }
        text.content += "\n";
    }
    return text;
}

void BM_ProfileReadEveryValue(benchmark::State& state)
{
    const ProfileText text = MakeProfile(int(state.range(0)));
    for (auto _ : state) {
        const ProfileFile profile = ProfileFile::FromContent(text.content);
        for (const auto& [section, key] : text.names)
            benchmark::DoNotOptimize(profile.Value(section, key));
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(text.names.size()));
}
BENCHMARK(BM_ProfileReadEveryValue)->Arg(100)->Arg(1000)->Arg(10000);

void BM_ProfileParse(benchmark::State& state)
{
    const ProfileText text = MakeProfile(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ProfileFile::FromContent(text.content));
    state.SetItemsProcessed(state.iterations() * std::int64_t(text.names.size()));
}
BENCHMARK(BM_ProfileParse)->Arg(100)->Arg(1000)->Arg(10000);

} // namespace
