#include "framework/core/Profile.h"
#include "framework/core/ProfileBatch.h"
#include "framework/core/ProfileFile.h"

#include "SyncWatch.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace std::string_view_literals;

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

    int EntriesInDirectory() const
    {
        int entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir))
            ++entries;
        return entries;
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
    SyncWatch syncs;
    EXPECT_TRUE(WritePrivateProfileString("Settings", "TimerProg", "300", m_path.c_str()));
    EXPECT_EQ(syncs.Take(), SyncWatch::DurableWriteOf(m_path)) << "the file, then its folder";
    EXPECT_TRUE(WritePrivateProfileString("Settings", "TimerScan", "500", m_path.c_str()));
    EXPECT_EQ(ReadFile(), "[Settings]\nTimerProg=300\nTimerScan=500\n");
    EXPECT_EQ(EntriesInDirectory(), 1);
}

TEST_F(ProfileTest, AWriteRemovesTheTemporaryFileAnInterruptedWriteLeft)
{
    const std::string temporary = ProfileTemporaryPath(m_path.c_str());
    EXPECT_EQ(fs::path(temporary).parent_path(), m_dir);
    const auto leaveTemporary = [&] {
        std::ofstream(temporary, std::ios::binary) << "[half";
        fs::permissions(temporary, fs::perms::owner_read);
    };

    // Without an INI yet: the new file gets the usual permissions, not the leftover's.
    leaveTemporary();
    EXPECT_TRUE(WritePrivateProfileString("A", "x", "1", m_path.c_str()));
    EXPECT_EQ(ReadFile(), "[A]\nx=1\n");
    EXPECT_EQ(EntriesInDirectory(), 1);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(unsigned(fs::status(m_path).permissions()), 0666u & ~unsigned(mask));

    leaveTemporary();
    EXPECT_TRUE(WritePrivateProfileString("A", "x", "2", m_path.c_str()));
    EXPECT_EQ(ReadFile(), "[A]\nx=2\n");
    EXPECT_EQ(EntriesInDirectory(), 1);
}

TEST_F(ProfileTest, ConcurrentWritersNeverShowAPartFile)
{
    // Each writer sets the one key to a long run of its own letter; any mix of two
    // writes or a cut-off write would show as a value that is not one such run.
    constexpr std::size_t kLength = 20000;
    ASSERT_TRUE(WritePrivateProfileString("S", "k", std::string(kLength, 'a').c_str(), m_path.c_str()));
    std::atomic<int> failures{0};
    std::atomic<bool> writing{true};
    std::vector<std::thread> writers;
    for (char letter : {'b', 'c', 'd'}) {
        writers.emplace_back([&, letter] {
            const std::string value(kLength, letter);
            for (int i = 0; i < 15; ++i) {
                if (!WritePrivateProfileString("S", "k", value.c_str(), m_path.c_str()))
                    ++failures;
            }
        });
    }
    std::thread reader([&] {
        while (writing) {
            const std::string value = ReadProfileString("S", "k", "", m_path.c_str()).c_str();
            if (value.size() != kLength || value.find_first_not_of(value.front()) != std::string::npos)
                ++failures;
        }
    });
    for (auto& writer : writers)
        writer.join();
    writing = false;
    reader.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(EntriesInDirectory(), 1);
}

TEST_F(ProfileTest, ABatchReplacesTheFileOnceAtCommit)
{
    WriteFile("[SETUP]\r\nPort=1\r\n");
    {
        ProfileBatch uncommitted(m_path.c_str());
        EXPECT_TRUE(uncommitted.WriteString("SETUP", "Port", "5"));
    }
    EXPECT_EQ(ReadFile(), "[SETUP]\r\nPort=1\r\n");

    ProfileBatch batch(m_path.c_str());
    EXPECT_TRUE(batch.WriteString("setup", "port", "2"));
    EXPECT_TRUE(batch.WriteString("SETUP", "Baud", "9600"));
    EXPECT_TRUE(batch.WriteString("Colors", "Grid", "1,2,3"));
    EXPECT_TRUE(batch.WriteString("Colors", "Grid", nullptr));
    EXPECT_FALSE(batch.WriteString("SETUP", "two\nlines", "1"));
    EXPECT_EQ(batch.GetString("SETUP", "PORT", "?"), "2");
    EXPECT_EQ(ReadFile(), "[SETUP]\r\nPort=1\r\n"); // nothing on disk before Commit
    EXPECT_TRUE(batch.Commit());
    EXPECT_EQ(ReadFile(), "[SETUP]\r\nPort=2\r\nBaud=9600\r\n[Colors]\r\n");

    const std::string directory = (m_dir / "sub.INI").string();
    fs::create_directory(directory);
    ProfileBatch unreadable(directory.c_str());
    EXPECT_FALSE(unreadable.IsReadable());
    EXPECT_FALSE(unreadable.WriteString("A", "x", "1"));
    EXPECT_FALSE(unreadable.Commit());
}

// An INI file the user may write in a folder the user may not takes its writes; one that
// cannot be written says why instead of failing without a word.
TEST_F(ProfileTest, AnIniInASharedFolderIsWrittenAndAFailedWriteTellsWhy)
{
    WriteFile("[SETUP]\nPort=1\nBaud=19200\n");
    fs::permissions(m_path, fs::perms(0666));
    fs::permissions(m_dir, fs::perms(0555));
    const int result = unprivileged::Run([&] {
        ProfileBatch batch(m_path.c_str());
        batch.WriteString("SETUP", "Port", "4");
        if (!batch.Commit())
            return 1;
        return WritePrivateProfileString("SETUP", "Baud", nullptr, m_path.c_str()) ? 0 : 2;
    });
    fs::permissions(m_dir, fs::perms(0755));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile(), "[SETUP]\nPort=4\n");
    EXPECT_EQ(EntriesInDirectory(), 1);

    const std::string missing = (m_dir / "missing" / "Taliso.INI").string();
    ProfileBatch batch(missing.c_str());
    EXPECT_TRUE(batch.WriteString("SETUP", "Port", "4"));
    EXPECT_FALSE(batch.Commit());
    EXPECT_EQ(batch.Error(), ENOENT);
    errno = 0;
    EXPECT_FALSE(WritePrivateProfileString("SETUP", "Port", "4", missing.c_str()));
    EXPECT_EQ(errno, ENOENT);
    const std::string directory = (m_dir / "sub.INI").string();
    fs::create_directory(directory);
    EXPECT_FALSE(ProfileBatch(directory.c_str()).Commit());
    EXPECT_EQ(ProfileBatch(directory.c_str()).Error(), EISDIR);
}

TEST_F(ProfileTest, AWriteOnADamagedFileChangesNoOtherLine)
{
    struct Case {
        std::string_view before;
        const char* section;
        const char* key;
        const char* value;
        std::string_view after;
    };
    const Case cases[] = {
        // An unterminated header, lone carriage returns, a section twice.
        {"[\nPot=\rc\r\n[zz other]\r\nk=\"v\"\r\r\n[zz other]\r\nk=\"v\"\r\x10\xff\xff\xff\n"sv, "SE^vP)", "Port",
         " 3",
         "[\nPot=\rc\r\n[zz other]\r\nk=\"v\"\r\r\n[zz other]\r\nk=\"v\"\r\x10\xff\xff\xff\n[SE^vP)]\nPort= 3\n"sv},
        {"[a]\r\nx=1\n[b]\r\ny=2\r\n"sv, "b", "y", "3", "[a]\r\nx=1\n[b]\r\ny=3\r\n"sv},
        {"[a]\nk=v\r"sv, "a", "n", "1", "[a]\nk=v\r\nn=1\n"sv},
        {"k=1\n\0\xff\n[a]\r\nk=2\r\n"sv, "a", "k", "3", "k=1\n\0\xff\n[a]\r\nk=3\r\n"sv},
        {"[a]\nk=1\n[A]\nk=2\n"sv, "A", "j", "5", "[a]\nk=1\nj=5\n[A]\nk=2\n"sv},
        {"\xEF\xBB\xBF[a]\r\nk=1"sv, "b", "k", "2", "\xEF\xBB\xBF[a]\r\nk=1\r\n[b]\r\nk=2\r\n"sv},
        {"[a]\r\nk=1\r\r\n[b]\nk=1\n"sv, "a", "k", nullptr, "[a]\r\n[b]\nk=1\n"sv},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.before)));
        WriteFile(std::string(c.before));
        const std::string otherBefore = Get("zz other", "k");
        EXPECT_TRUE(WritePrivateProfileString(c.section, c.key, c.value, m_path.c_str()));
        EXPECT_EQ(ReadFile(), c.after);
        EXPECT_EQ(Get("zz other", "k"), otherBefore);
    }
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
