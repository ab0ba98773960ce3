#include "driver/internal/SimulatedIdentity.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr char SIM_VERSION[] = "V99.99";
constexpr char SIM_CODE[] = "58302714";
constexpr BYTE SIM_TYPE = 4;
constexpr int SIM_PAIRS = 48;

void Clear(std::span<BYTE> record, std::size_t first, std::size_t last)
{
    std::fill(record.begin() + std::ptrdiff_t(first), record.begin() + std::ptrdiff_t(last + 1), BYTE(0));
}

// The text and its terminating NUL.
void PutText(std::span<BYTE> record, std::size_t offset, const char* text)
{
    const std::size_t length = std::strlen(text) + 1;
    std::copy_n(reinterpret_cast<const BYTE*>(text), length, record.begin() + std::ptrdiff_t(offset));
}

void PutWord(std::span<BYTE> record, std::size_t offset, WORD value)
{
    record[offset] = LOBYTE(value);
    record[offset + 1] = HIBYTE(value);
}

// 48 pairs (type, number) of the simulated scanners.
void PutPairs(std::span<BYTE> record, std::size_t offset)
{
    for (int i = 0; i < SIM_PAIRS; ++i) {
        record[offset + 2 * std::size_t(i)] = SIM_TYPE;
        record[offset + 2 * std::size_t(i) + 1] = BYTE(i);
    }
}

void PutHead(std::span<BYTE> record, const char* mark)
{
    PutWord(record, 0, SIM_TYPE);
    record[2] = 0;
    PutText(record, 3, SIM_VERSION);
    PutText(record, 11, mark);
    record[12] = 0;
    PutText(record, 13, SIM_CODE);
}

} // namespace

void FillZOKSimData(std::span<BYTE, kZOKSimDataSize> record)
{
    for (const auto& [first, last] : {std::pair{22, 23}, {26, 27}, {29, 35}, {36, 127}})
        Clear(record, std::size_t(first), std::size_t(last));
    PutHead(record, "!");
    PutWord(record, 24, 2);
    record[28] = 2;
    PutText(record, 128, "0");
    PutPairs(record, 129);
}

void FillKVRSimData(std::span<BYTE, kKVRSimDataSize> record)
{
    for (const auto& [first, last] :
         {std::pair{23, 35}, {175, 178}, {255, 260}, {263, 271}, {281, 284}, {286, 286}, {290, 296}})
        Clear(record, std::size_t(first), std::size_t(last));
    PutHead(record, " ");
    record[22] = SIM_TYPE;
    PutText(record, 36, "0");
    PutPairs(record, 37);
    record[133] = SIM_TYPE;
    record[134] = SIM_TYPE;
    const char* const scanners[] = {"ZOK1", "ZOK2", "ZOK3", "ZOK4"};
    for (std::size_t i = 0; i < 4; ++i)
        PutText(record, 135 + 9 * i, scanners[i]);
    record[180] = 2;
    PutText(record, 181, "F1");
    PutText(record, 190, "F2");
    record[254] = 1;
    PutText(record, 272, "SIMUWF");
}
