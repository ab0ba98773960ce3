// Reading Intel HEX firmware files: what a sound file gives, and how each kind of damage
// is refused as a whole with its line.
#include "driver/internal/IntelHexFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// One record line with its checksum, upper-case digits, no line end.
std::string Line(BYTE type, WORD address, const std::vector<BYTE>& data)
{
    std::vector<BYTE> bytes{BYTE(data.size()), BYTE(address >> 8), BYTE(address), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    BYTE sum = 0;
    for (BYTE b : bytes)
        sum = BYTE(sum + b);
    bytes.push_back(BYTE(0x100 - sum));
    std::string line = ":";
    char digits[3];
    for (BYTE b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        line += digits;
    }
    return line;
}

const std::string END = ":00000001FF";

TEST(IntelHexFile, SoundFileGivesDataAtAbsoluteAddressesAndTheEndRecord)
{
    const std::string text = Line(4, 0, {0x08, 0x00}) + "\r\n"         // linear base 0x08000000
                             + ":03001000aabbccbc\n"                    // lower case, LF only
                             + Line(2, 0, {0x12, 0x34}) + "\r\n"        // segment base 0x12340
                             + Line(0, 0xFFFE, {0x01, 0x02}) + "\r\n"   // ends at the segment's end
                             + Line(3, 0, {0, 0, 0, 0}) + "\r\n"        // start addresses: ignored
                             + Line(5, 0, {0x08, 0, 0, 0}) + "\r\n"
                             + Line(1, 0x0010, {}) + "\r\n"
                             + "anything after the end record is not read";
    IntelHexFile file;
    ASSERT_TRUE(file.ReadText(text)) << int(file.Error()) << " line " << file.ErrorLine();
    const std::vector<IntelHexRecord> expected{
        {false, 0x08000010, {0xAA, 0xBB, 0xCC}},
        {false, 0x12340 + 0xFFFE, {0x01, 0x02}},
        {true, 0x12340 + 0x0010, {}},
    };
    EXPECT_EQ(file.Records(), expected);
}

TEST(IntelHexFile, RecordOfTheMostDataATelegramHoldsIsTaken)
{
    IntelHexFile file;
    ASSERT_TRUE(file.ReadText(Line(0, 0, std::vector<BYTE>(128, 0x5A)) + "\n" + END));
    ASSERT_EQ(file.Records().size(), 2u);
    EXPECT_EQ(file.Records()[0].data.size(), 128u);
}

struct DamagedCase {
    const char* name;
    std::string text;
    IntelHexError error;
    std::size_t line;
};

TEST(IntelHexFile, DamagedFilesAreRefusedWithTheirLine)
{
    const std::string good = Line(0, 0x0100, {1, 2, 3}) + "\r\n";
    std::string badChecksum = Line(0, 0x0100, {1, 2, 3});
    badChecksum.back() = badChecksum.back() == '0' ? '1' : '0';
    std::string shortData = Line(0, 0x0100, {1, 2, 3});
    shortData.erase(shortData.size() - 4, 2); // one data byte less than the count says

    const std::vector<DamagedCase> cases{
        {"bad checksum", good + badChecksum + "\r\n" + END, IntelHexError::BadChecksum, 2},
        {"count above the data", good + shortData + "\r\n" + END, IntelHexError::BadLength, 2},
        {"odd digit count", ":00000001F\n", IntelHexError::BadLength, 1},
        {"too short for a record", ":0000\n" + END, IntelHexError::BadLength, 1},
        {"more data than a telegram holds", Line(0, 0, std::vector<BYTE>(129, 0)) + "\n" + END,
         IntelHexError::BadLength, 1},
        {"endless line", ":" + std::string(100000, '0'), IntelHexError::BadLength, 1},
        {"end record with data", Line(1, 0, {0}) + "\n", IntelHexError::BadLength, 1},
        {"address record of one byte", Line(4, 0, {8}) + "\n" + END, IntelHexError::BadLength, 1},
        {"not a hex digit", good + ":0300000001G203F9\r\n" + END, IntelHexError::BadCharacter, 2},
        {"blank after the checksum", good + Line(0, 0, {1}) + " \r\n" + END, IntelHexError::BadCharacter, 2},
        {"NUL inside a line", good + std::string(":00000001\0FF", 12), IntelHexError::BadCharacter, 2},
        {"no colon", good + "00000001FF\n", IntelHexError::NoColon, 2},
        {"empty line", good + "\r\n" + END, IntelHexError::NoColon, 2},
        {"unknown type", Line(6, 0, {}) + "\n" + END, IntelHexError::BadType, 1},
        {"data past the segment", Line(0, 0xFFFF, {1, 2}) + "\n" + END, IntelHexError::BadAddress, 1},
        {"address record with an address", Line(4, 0x0010, {0, 1}) + "\n" + END, IntelHexError::BadAddress, 1},
        {"no end record", good + good, IntelHexError::NoEndRecord, 0},
        {"empty file", "", IntelHexError::NoEndRecord, 0},
    };
    for (const DamagedCase& c : cases) {
        IntelHexFile file;
        EXPECT_FALSE(file.ReadText(c.text)) << c.name;
        EXPECT_EQ(file.Error(), c.error) << c.name;
        EXPECT_EQ(file.ErrorLine(), c.line) << c.name;
        EXPECT_TRUE(file.Records().empty()) << c.name << ": nothing of a damaged file is kept";
    }
}

TEST(IntelHexFile, MissingFileCannotBeRead)
{
    IntelHexFile file;
    EXPECT_FALSE(file.Load(nullptr));
    EXPECT_EQ(file.Error(), IntelHexError::CannotRead);
    EXPECT_FALSE(file.Load(""));
    EXPECT_FALSE(file.Load("/nonexistent/firmware.hex"));
    EXPECT_EQ(file.Error(), IntelHexError::CannotRead);
}

} // namespace
