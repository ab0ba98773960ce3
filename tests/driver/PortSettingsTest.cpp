#include "driver/internal/PortSettings.h"
#include "driver/TemporaryIniFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

PortSettings ReadSettings(const std::string& iniText)
{
    TemporaryIniFile ini(iniText);
    PortSettings settings;
    EXPECT_TRUE(ReadWriteSetupSection(ini.Path(), settings, SETUP_SECTION_READ));
    return settings;
}

std::string SetupSection(const std::string& lines)
{
    return "[SETUP]\n" + lines;
}

TEST(PortSettings, MissingKeysTakeTheirDefaults)
{
    const PortSettings s = ReadSettings("");
    EXPECT_EQ(s.port, 1u);
    EXPECT_EQ(s.baudCode, 9600u);
    EXPECT_EQ(s.parity, 2u);
    EXPECT_EQ(s.readTimeout, 2u);
    EXPECT_EQ(s.stxTimeout, 35000u);
    EXPECT_EQ(s.writeTimeout, 2u);
    EXPECT_EQ(s.ackResponseTimeout, 500u);
    EXPECT_EQ(s.repeatCounter, 2u);
    EXPECT_EQ(s.readBufferSize, 10240u) << "the default 1650 meets the minimum";
    EXPECT_EQ(s.writeBufferSize, 1650u);
    EXPECT_EQ(s.readTotalMultiplier, 47u);
    EXPECT_EQ(s.readTotalConstant, 30u);
    EXPECT_EQ(s.helpFileName, "HELP_ENG.HLP");
}

TEST(PortSettings, BaudTextsReadAsTheirCodes)
{
    const struct {
        const char* text;
        DWORD code;
    } cases[] = {
        {"9600", 9600},          {"19200", 19200},         {"38400", 38400},        {"56000", 56000},
        {"9600/500KBd", 2150},   {"19200/500KBd", 4301},   {"38400/500KBd", 8602},  {"500000/500KBd", 65312},
        {"9600/1MBd", 1075},     {"19200/1MBd", 2151},     {"38400/1MBd", 4302},    {"500000/1MBd", 56000},
        {"9600/1mbd", 9600},     {"115200", 9600},         {"", 9600},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadSettings(SetupSection(std::string("Baud=") + c.text + "\n")).baudCode, c.code) << c.text;
}

TEST(PortSettings, CodesAreWrittenAsTheirTexts)
{
    const struct {
        DWORD code;
        const char* text;
    } cases[] = {
        {9600, "9600"},         {2150, "9600/500KBd"}, {65312, "500000/500KBd"}, {4302, "38400/1MBd"},
        {56000, "56000"},       {115200, "9600"},      {0, "9600"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(BaudTextForCode(c.code), c.text) << c.code;

    TemporaryIniFile ini(SetupSection("Baud=500000/1MBd\n"));
    PortSettings s;
    ASSERT_TRUE(ReadWriteSetupSection(ini.Path(), s, SETUP_SECTION_READ));
    EXPECT_EQ(s.baudCode, 56000u);
    ASSERT_TRUE(ReadWriteSetupSection(ini.Path(), s, SETUP_SECTION_WRITE));
    EXPECT_NE(ini.Read().find("Baud=56000"), std::string::npos) << ini.Read();
}

TEST(PortSettings, ValuesMeetTheirMinimumsAndBounds)
{
    struct Case {
        const char* lines;
        DWORD PortSettings::*field;
        DWORD expected;
    };
    const Case cases[] = {
        {"ReadBufferSize=1650\n", &PortSettings::readBufferSize, 10240},
        {"ReadBufferSize=20000\n", &PortSettings::readBufferSize, 20000},
        {"WriteBufferSize=1000\n", &PortSettings::writeBufferSize, 1650},
        {"RepeatCounter=1\n", &PortSettings::repeatCounter, 2},
        {"RepeatCounter=5\n", &PortSettings::repeatCounter, 5},
        {"RepeatCounter=abc\n", &PortSettings::repeatCounter, 2},
        // Out of range values would turn an exchange into an endless wait.
        {"RepeatCounter=-1\n", &PortSettings::repeatCounter, 2},
        {"RepeatCounter=4000000000\n", &PortSettings::repeatCounter, 20},
        {"STXTimeout=99999999999\nACKResponseTimeout=20000\n", &PortSettings::stxTimeout, 600000},
        {"ReadTimeout=5000000\n", &PortSettings::readTimeout, 2}, // bounded, then the time-out rule resets it
        {"Port=7\n", &PortSettings::port, 7},
        {"Port=300\n", &PortSettings::port, 255}, // stays unusable instead of wrapping to COM44
        {"Parity=NONE\n", &PortSettings::parity, 0},
        {"Parity=none\n", &PortSettings::parity, 2},
        {"Parity=ODD\n", &PortSettings::parity, 2},
        {"WriteTimeout=7\n", &PortSettings::writeTimeout, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadSettings(SetupSection(c.lines)).*c.field, c.expected) << c.lines;
}

TEST(PortSettings, TimeoutRuleResetsInconsistentValues)
{
    struct Case {
        const char* lines;
        DWORD readTimeout, stxTimeout, ackTimeout, multiplier, constant;
    };
    const Case cases[] = {
        {"", 2, 35000, 500, 47, 30},
        {"STXTimeout=400\nACKResponseTimeout=500\n", 2, 35000, 500, 47, 30},
        {"STXTimeout=500\nACKResponseTimeout=500\n", 2, 35000, 500, 47, 30},
        {"STXTimeout=abc\n", 2, 35000, 500, 47, 30},
        // ACKResponseTimeout not above 10 k resets all three.
        {"ACKResponseTimeout=400\n", 2, 35000, 500, 47, 30},
        {"ReadTimeout=100\n", 2, 35000, 500, 47, 30},
        // Small legal values for quick tests.
        {"ReadTimeout=0\nSTXTimeout=300\nACKResponseTimeout=200\n", 0, 300, 200, 1, 190},
        {"ReadTimeout=5\nSTXTimeout=60000\nACKResponseTimeout=1000\n", 5, 60000, 1000, 82, 180},
    };
    for (const Case& c : cases) {
        const PortSettings s = ReadSettings(SetupSection(c.lines));
        EXPECT_EQ(s.readTimeout, c.readTimeout) << c.lines;
        EXPECT_EQ(s.stxTimeout, c.stxTimeout) << c.lines;
        EXPECT_EQ(s.ackResponseTimeout, c.ackTimeout) << c.lines;
        EXPECT_EQ(s.readTotalMultiplier, c.multiplier) << c.lines;
        EXPECT_EQ(s.readTotalConstant, c.constant) << c.lines;
    }
}

TEST(PortSettings, HelpFileComesFromTheChosenLanguageSection)
{
    const std::string languages = "[LANGUAGE_1]\nhelp=HELP_ONE.HLP\n[LANGUAGE_2]\nhelp=HELP_TWO.HLP\n";
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {"[LANGUAGE]\nlan_numbers=2\nlanguage=2\n" + languages, "HELP_TWO.HLP"},
        {"[LANGUAGE]\nlan_numbers=2\nlanguage=3\n" + languages, "HELP_ONE.HLP"},
        {"[LANGUAGE]\nlanguage=2\n" + languages, "HELP_ONE.HLP"}, // no lan_numbers: 0
        {"[LANGUAGE]\nlan_numbers=3\nlanguage=3\n" + languages, "HELP_ENG.HLP"},
        {"[LANGUAGE]\nlan_numbers=1\n[LANGUAGE_1]\nhelp=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.HLP\n",
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadSettings(c.text).helpFileName, c.expected) << c.text;
}

TEST(PortSettings, WriteThenReadKeepsTheRecordAndTheRestOfTheFile)
{
    TemporaryIniFile ini("; settings\n[Settings]\nViewMetric=0\n[SETUP]\nPort=1\nExtra=keep me\n[PORTS]\nCOM3=/dev/ttyUSB0\n");
    PortSettings written;
    written.port = 3;
    written.baudCode = 4301;
    written.parity = 0;
    written.readTimeout = 0;
    written.stxTimeout = 300;
    written.writeTimeout = 4;
    written.ackResponseTimeout = 200;
    written.repeatCounter = 3;
    written.readBufferSize = 12000;
    written.writeBufferSize = 2000;
    ASSERT_TRUE(ReadWriteSetupSection(ini.Path(), written, SETUP_SECTION_WRITE));

    PortSettings read;
    ASSERT_TRUE(ReadWriteSetupSection(ini.Path(), read, SETUP_SECTION_READ));
    EXPECT_EQ(read.port, 3u);
    EXPECT_EQ(read.baudCode, 4301u);
    EXPECT_EQ(read.parity, 0u);
    EXPECT_EQ(read.readTimeout, 0u);
    EXPECT_EQ(read.stxTimeout, 300u);
    EXPECT_EQ(read.writeTimeout, 4u);
    EXPECT_EQ(read.ackResponseTimeout, 200u);
    EXPECT_EQ(read.repeatCounter, 3u);
    EXPECT_EQ(read.readBufferSize, 12000u);
    EXPECT_EQ(read.writeBufferSize, 2000u);

    const std::string text = ini.Read();
    for (const char* line : {"; settings", "ViewMetric=0", "Extra=keep me", "COM3=/dev/ttyUSB0", "Parity=NONE",
                             "Baud=19200/500KBd"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    EXPECT_EQ(text.find("help"), std::string::npos) << "language keys are never written";
}

TEST(PortSettings, OtherModesDoNothing)
{
    TemporaryIniFile ini("[SETUP]\nPort=4\n");
    PortSettings s;
    s.port = 9;
    EXPECT_FALSE(ReadWriteSetupSection(ini.Path(), s, 0));
    EXPECT_FALSE(ReadWriteSetupSection(ini.Path(), s, 188));
    EXPECT_EQ(s.port, 9u);
    EXPECT_EQ(ini.Read(), "[SETUP]\nPort=4\n");
}

TEST(PortSettings, FailedWriteIsReported)
{
    PortSettings s;
    EXPECT_FALSE(ReadWriteSetupSection("/nonexistent-taliso-dir/x.INI", s, SETUP_SECTION_WRITE));
}

TEST(SetupDialog, OpensWithTheRecordsPortAndBaud)
{
    PortSettings s;
    s.port = 2;
    s.baudCode = 56000;
    s.helpFileName = "HELP_ENG.HLP";
    SetupDialogContents contents = InitSetupDialog(s);
    EXPECT_EQ(contents.portItems, (std::vector<CString>{"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(contents.portSelection, 1);
    ASSERT_EQ(contents.baudItems.size(), 12u);
    EXPECT_EQ(contents.baudItems[7], "500000/500KBd");
    EXPECT_EQ(contents.baudItems[11], "500000/1MBd");
    EXPECT_EQ(contents.baudItems[contents.baudSelection], "56000");
    EXPECT_TRUE(contents.helpEnabled);

    s.port = 5;
    s.baudCode = 12345;
    s.helpFileName = "";
    contents = InitSetupDialog(s);
    EXPECT_EQ(contents.portSelection, -1);
    EXPECT_EQ(contents.baudItems[contents.baudSelection], "9600");
    EXPECT_FALSE(contents.helpEnabled);
}

TEST(SetupDialog, OkTakesPortAndBaudFromTheSelections)
{
    PortSettings s;
    s.port = 1;
    s.baudCode = 19200;
    s.parity = 0;
    s.stxTimeout = 300;

    ApplySetupDialogSelections(s, "COM3", "19200/1MBd");
    EXPECT_EQ(s.port, 3u);
    EXPECT_EQ(s.baudCode, 2151u);
    ApplySetupDialogSelections(s, nullptr, nullptr);
    EXPECT_EQ(s.port, 3u);
    EXPECT_EQ(s.baudCode, 2151u);
    ApplySetupDialogSelections(s, "COM4", "bogus");
    EXPECT_EQ(s.port, 4u);
    EXPECT_EQ(s.baudCode, 9600u);
    EXPECT_EQ(s.parity, 0u);
    EXPECT_EQ(s.stxTimeout, 300u);
}

} // namespace
