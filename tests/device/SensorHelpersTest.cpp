#include "device/SensorHelpers.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

TEST(SensorHelpersTest, ParseVersionNumberReadsEightPositions)
{
    struct Case {
        std::string text;
        DWORD expected;
    };
    const Case cases[] = {
        {"03.05   ", 0x30005},
        {"V03.20  ", 0x30014},
        {"03.20", 0x30014},     // shorter than 8: the missing positions are no digits
        {"V3.20.7x", 0x200007}, // digits 3, 2, 0, 7
        {"no digit", 0},
        {"", 0},
        {std::string("03\0" "05    ", 9), 0x30005},
        {"0000000099", 0},          // only 8 positions count
        {"1234567", 0x30390043},    // major 12345, minor 67
        {"12345678", 0xFFFF004E},   // major 123456 is held at 0xFFFF
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseVersionNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(SensorHelpersTest, DeviceTimeInRangeIsThatLocalTime)
{
    struct Case {
        int day, month0, years, hour, minute;
        int year, month;
    };
    const Case cases[] = {
        {1, 0, 98, 12, 0, 1998, 1},
        {31, 11, 138, 23, 59, 2038, 12},
        {1, 0, 70, 0, 0, 1970, 1},
        {29, 1, 100, 6, 30, 2000, 2},
    };
    for (const Case& c : cases) {
        const CTime time = DeviceTimeToCTime(c.day, c.month0, c.years, c.hour, c.minute);
        EXPECT_EQ(time.GetYear(), c.year);
        EXPECT_EQ(time.GetMonth(), c.month);
        EXPECT_EQ(time.GetDay(), c.day);
        EXPECT_EQ(time.GetHour(), c.hour);
        EXPECT_EQ(time.GetMinute(), c.minute);
        EXPECT_EQ(time.GetSecond(), 0);
    }
}

TEST(SensorHelpersTest, DeviceTimeOutOfRangeIsNow)
{
    struct Case {
        int day, month0, years, hour, minute;
    };
    const Case cases[] = {
        {0, 0, 98, 12, 0},  {32, 0, 98, 12, 0}, {1, 12, 98, 12, 0}, {1, -1, 98, 12, 0}, {1, 0, 69, 12, 0},
        {1, 0, 139, 12, 0}, {1, 0, 98, 24, 0},  {1, 0, 98, -1, 0},  {1, 0, 98, 12, 60}, {1, 0, 98, 12, -1},
    };
    for (const Case& c : cases) {
        const CTime before = CTime::GetCurrentTime();
        const CTime time = DeviceTimeToCTime(c.day, c.month0, c.years, c.hour, c.minute);
        const CTime after = CTime::GetCurrentTime();
        EXPECT_GE(time, before);
        EXPECT_LE(time, after);
    }
}

TEST(SensorHelpersTest, CopyTelegramTextCutsAndTerminates)
{
    struct Case {
        const char* text;
        std::size_t size;
        std::string expected; // the bytes written, NUL included
    };
    const Case cases[] = {
        {"MIRTOVAL", 9, std::string("MIRTOVAL\0", 9)},
        {"TOO_LONG_CODE", 9, std::string("TOO_LONG\0", 9)},
        {"", 9, std::string("\0", 1)},
        {nullptr, 9, std::string("\0", 1)},
        {"ABC", 1, std::string("\0", 1)},
        {"Feld \xC3\xA4", 9, std::string("Feld \xE4\0", 7)}, // Windows-1252 in the record
    };
    for (const Case& c : cases) {
        std::array<BYTE, 12> destination;
        destination.fill(0xEE);
        CopyTelegramText(destination, c.text, c.size);
        const std::string written(destination.begin(), destination.begin() + c.expected.size());
        EXPECT_EQ(written, c.expected) << (c.text ? c.text : "(null)");
        EXPECT_EQ(destination[c.expected.size()], 0xEE);
    }
}

TEST(SensorHelpersTest, CopyTelegramTextNeverPassesItsDestination)
{
    std::array<BYTE, 6> storage;
    storage.fill(0xEE);
    CopyTelegramText(std::span<BYTE>(storage).first(4), "MIRTOVAL", 9);
    EXPECT_EQ(std::string(storage.begin(), storage.begin() + 4), std::string("MIR\0", 4));
    EXPECT_EQ(storage[4], 0xEE);
    CopyTelegramText(std::span<BYTE>(storage).first(4), "X", 0);
    EXPECT_EQ(storage[0], 'M');
}

TEST(SensorHelpersTest, CopyAnswerTextStopsAtTheNulOrTheRecord)
{
    SensorAnswer answer;
    const std::string text = "03.20 \xE4";
    std::copy(text.begin(), text.end(), answer.Bytes().begin() + 9);
    EXPECT_EQ(CopyAnswerText(answer.Bytes()), CString("03.20 \xC3\xA4"));

    std::fill(answer.Bytes().begin(), answer.Bytes().end(), BYTE('x'));
    EXPECT_EQ(CopyAnswerText(answer.Bytes()).GetLength(), int(kAnswerRecordSize - 9));
}

} // namespace
