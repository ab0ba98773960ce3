#include "tools/EmulatorOptions.h"

#include "tools/CannedAnswerer.h"
#include "tools/SimulatorAnswerer.h"

#include <string_view>

namespace {

template <typename Value>
struct Named {
    std::string_view text;
    Value value;
};

constexpr Named<BYTE> kFamilies[] = {{"zok", kFamilyZOK}, {"kvr", kFamilyKVR}};
constexpr Named<AnswerSource> kSources[] = {{"canned", AnswerSource::Canned}, {"sim", AnswerSource::Simulator}};
constexpr Named<EmulatorFault> kFaults[] = {
    {"nak", EmulatorFault::Nak},           {"silence", EmulatorFault::Silence},
    {"split", EmulatorFault::AckSplit},    {"noise", EmulatorFault::NoiseBeforeAck},
    {"badchecksum", EmulatorFault::BadChecksum}, {"slow", EmulatorFault::SlowBytes},
};

template <typename Value, std::size_t N>
std::optional<Value> Lookup(const Named<Value> (&names)[N], const char* text)
{
    if (!text)
        return std::nullopt;
    for (const Named<Value>& name : names) {
        if (name.text == text)
            return name.value;
    }
    return std::nullopt;
}

} // namespace

std::optional<EmulatorOptions> ParseEmulatorOptions(int argc, const char* const* argv)
{
    EmulatorOptions options;
    for (int i = 1; i < argc; i += 2) {
        const std::string_view option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (option == "--family") {
            const auto family = Lookup(kFamilies, value);
            if (!family)
                return std::nullopt;
            options.family = *family;
        } else if (option == "--answer") {
            const auto source = Lookup(kSources, value);
            if (!source)
                return std::nullopt;
            options.answers = *source;
        } else if (option == "--fault") {
            const auto fault = Lookup(kFaults, value);
            if (!fault)
                return std::nullopt;
            options.faults.push_back(*fault);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

std::unique_ptr<DeviceAnswerer> MakeAnswerer(const EmulatorOptions& options)
{
    if (options.answers == AnswerSource::Simulator)
        return std::make_unique<SimulatorAnswerer>();
    return std::make_unique<CannedAnswerer>(options.family);
}

const char* EmulatorUsage()
{
    return "usage: taliso-emulator [--family zok|kvr] [--answer canned|sim] [--fault KIND]...\n"
           "  --family  the device to play: a ZOK scanner (default) or a KVR unit\n"
           "  --answer  canned: fixed answers to the connection test, identification and\n"
           "            error list (default); sim: the simulated device answers everything\n"
           "  --fault   a fault for the next request, in order: nak, silence, split,\n"
           "            noise, badchecksum, slow\n";
}
