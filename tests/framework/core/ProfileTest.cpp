#include "framework/core/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() / ("taliso-profile-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_path = (m_dir / "Taliso.INI").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void WriteFile(const std::string& content)
    {
        std::ofstream(m_path, std::ios::binary) << content;
    }
    std::string ReadFile() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string Get(const char* section, const char* key, const char* def = "<none>", DWORD size = 256)
    {
        std::string buffer(size, '#');
        const DWORD n = GetPrivateProfileString(section, key, def, buffer.data(), size, m_path.c_str());
        EXPECT_EQ(buffer[n], '\0');
        return buffer.substr(0, n);
    }

    fs::path m_dir;
    std::string m_path;
};

TEST_F(ProfileTest, WritesKeepCommentsBlankLinesSpacingAndLineEnds)
{
    WriteFile("; Taliso settings\r\n"
              "\r\n"
              "[SETUP]\r\n"
              "  Port =  1   \r\n"
              "Baud=9600\r\n"
              "; keep me\r\n"
              "\r\n"
              "; about the language\r\n"
              "[language]\r\n"
              "language=1");

    EXPECT_TRUE(WritePrivateProfileString("setup", "PORT", "2", m_path.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("SETUP", "Parity", "EVEN", m_path.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("Colors", "Grid", "128,128,128", m_path.c_str()));

    EXPECT_EQ(ReadFile(), "; Taliso settings\r\n"
                          "\r\n"
                          "[SETUP]\r\n"
                          "  Port =  2\r\n"
                          "Baud=9600\r\n"
                          "Parity=EVEN\r\n"
                          "; keep me\r\n"
                          "\r\n"
                          "; about the language\r\n"
                          "[language]\r\n"
                          "language=1\r\n"
                          "[Colors]\r\n"
                          "Grid=128,128,128\r\n");
    EXPECT_EQ(Get("Setup", "port"), "2");
}

TEST_F(ProfileTest, CreatesTheFileAtTheFirstWriteAndLeavesNoTemporaryFile)
{
    EXPECT_EQ(Get("Settings", "TimerProg", "250"), "250");
    EXPECT_TRUE(WritePrivateProfileString("Settings", "TimerProg", "300", m_path.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("Settings", "TimerScan", "500", m_path.c_str()));
    EXPECT_EQ(ReadFile(), "[Settings]\nTimerProg=300\nTimerScan=500\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(ProfileTest, WritesThroughASymbolicLinkAndKeepsThePermissions)
{
    WriteFile("[A]\nx=1\n");
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string link = (m_dir / "link.INI").string();
    fs::create_symlink(m_path, link);

    EXPECT_TRUE(WritePrivateProfileString("A", "x", "2", link.c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(), "[A]\nx=2\n");
    EXPECT_EQ(fs::status(m_path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileTest, ReadsAreCaseInsensitiveTrimmedAndFallBackToTheDefault)
{
    WriteFile("[LANGUAGE_1]\n"
              "  DLL  =  LAN_ENG.DLL  \n"
              "help=\"HELP ENG.HLP\"\n"
              "quote='x\"\n"
              "empty=\n"
              "; dll=commented\n"
              "[ Other ]\n"
              "dll=other\n");
    struct Case {
        const char* section;
        const char* key;
        const char* def;
        const char* expected;
    };
    const Case cases[] = {
        {"language_1", "dll", "LAN_GER.DLL", "LAN_ENG.DLL"},
        {"LANGUAGE_1", "HELP", nullptr, "HELP ENG.HLP"},
        {"LANGUAGE_1", "quote", nullptr, "'x\""},
        {"LANGUAGE_1", "empty", "def", ""},
        {"LANGUAGE_1", "missing", "LAN_GER.DLL", "LAN_GER.DLL"},
        {"LANGUAGE_2", "dll", "LAN_GER.DLL  ", "LAN_GER.DLL"},
        {"LANGUAGE_2", "dll", nullptr, ""},
        {"other", "DLL", nullptr, "other"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(Get(c.section, c.key, c.def), c.expected);
    }
    const std::string missingFile = (m_dir / "none.INI").string();
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileString("LANGUAGE", "dll", "LAN_GER.DLL", buffer, sizeof buffer, missingFile.c_str()), 11u);
    EXPECT_STREQ(buffer, "LAN_GER.DLL");
    EXPECT_EQ(ReadProfileString("language_1", "dll", "x", m_path.c_str()), "LAN_ENG.DLL");
    EXPECT_EQ(ReadProfileString("language_1", "none", "x", m_path.c_str()), "x");
}

TEST_F(ProfileTest, LongValuesAreTruncatedToSizeMinusOne)
{
    WriteFile("[LANGUAGE_1]\ndll=ABCDEFGHIJ\n");
    EXPECT_EQ(Get("LANGUAGE_1", "dll", nullptr, 5), "ABCD");
    EXPECT_EQ(Get("LANGUAGE_1", "dll", nullptr, 11), "ABCDEFGHIJ");
    EXPECT_EQ(Get("LANGUAGE_1", "missing", "0123456789", 4), "012");
    EXPECT_EQ(Get("LANGUAGE_1", "dll", nullptr, 1), "");

    char untouched = 'u';
    EXPECT_EQ(GetPrivateProfileString("LANGUAGE_1", "dll", nullptr, &untouched, 0, m_path.c_str()), 0u);
    EXPECT_EQ(untouched, 'u');
}

TEST_F(ProfileTest, ListsSectionsAndKeysAsDoubleNulTerminatedLists)
{
    WriteFile("[SETUP]\nPort=1\nBaud=9600\n; c=3\n[Colors]\nGrid=1\n");
    struct Case {
        const char* section;
        DWORD size;
        std::string expected; // buffer contents up to the returned count plus two NULs
        DWORD count;
    };
    const Case cases[] = {
        {nullptr, 64, std::string("SETUP\0Colors\0\0", 14), 13},
        {"setup", 64, std::string("Port\0Baud\0\0", 11), 10},
        {"setup", 8, std::string("Port\0B\0\0", 8), 6}, // cut to size-2 plus two NULs
        {"setup", 2, std::string("\0\0", 2), 0},
        {"missing", 8, std::string("\0\0", 2), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section ? c.section : "(sections)");
        std::string buffer(c.size, '#');
        EXPECT_EQ(GetPrivateProfileString(c.section, nullptr, "default", buffer.data(), c.size, m_path.c_str()),
                  c.count);
        EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected);
    }
}

TEST_F(ProfileTest, IntegersAreReadTheClassicWay)
{
    WriteFile("[LANGUAGE]\n"
              "a=42\n"
              "b=  42x\n"
              "c=-7\n"
              "d=abc\n"
              "e=\n"
              "f=0x1F\n"
              "g=+12\n"
              "h=4294967295\n"
              "i=0x\n");
    struct Case {
        const char* key;
        int expected;
    };
    const Case cases[] = {
        {"a", 42}, {"b", 42}, {"c", -7},  {"d", 0}, {"e", 99},
        {"f", 31}, {"g", 12}, {"h", -1},  {"i", 0}, {"missing", 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(int(GetPrivateProfileInt("language", c.key, 99, m_path.c_str())), c.expected);
    }
}

TEST_F(ProfileTest, DeletesKeysAndSectionsButKeepsTheNextSectionsComment)
{
    WriteFile("[A]\nx=1\ny=2\nx=3\n\n; about B\n[B]\nz=1\n");
    EXPECT_TRUE(WritePrivateProfileString("a", "X", nullptr, m_path.c_str()));
    EXPECT_EQ(ReadFile(), "[A]\ny=2\n\n; about B\n[B]\nz=1\n");
    EXPECT_TRUE(WritePrivateProfileString("A", nullptr, nullptr, m_path.c_str()));
    EXPECT_EQ(ReadFile(), "\n; about B\n[B]\nz=1\n");
    EXPECT_EQ(Get("A", "y", "gone"), "gone");

    const std::string missingFile = (m_dir / "none.INI").string();
    EXPECT_TRUE(WritePrivateProfileString("A", "x", nullptr, missingFile.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("A", nullptr, nullptr, missingFile.c_str()));
    EXPECT_FALSE(fs::exists(missingFile));
}

TEST_F(ProfileTest, RefusesWritesThatWouldNotReadBackAndNeverReplacesAnUnreadableFile)
{
    WriteFile("[A]\nx=1\n");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case refused[] = {
        {"A", "x", "two\nlines"}, {"A", "k=v", "1"}, {"A", "", "1"},       {"A", ";x", "1"},
        {"A]", "x", "1"},         {"A\n", "x", "1"}, {nullptr, "x", "1"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.key);
        EXPECT_FALSE(WritePrivateProfileString(c.section, c.key, c.value, m_path.c_str()));
    }
    EXPECT_EQ(ReadFile(), "[A]\nx=1\n");

    const std::string directory = (m_dir / "sub.INI").string();
    fs::create_directory(directory);
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "1", directory.c_str()));
    EXPECT_TRUE(fs::is_directory(directory));
    EXPECT_FALSE(WritePrivateProfileString("A", "x", "1", (m_dir / "no" / "such.INI").c_str()));
}

} // namespace
