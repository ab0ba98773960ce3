#include "framework/core/CFile.h"
#include "framework/core/CMemFile.h"
#include "framework/core/CStdioFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class CFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "cfiletest-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(m_dir / "locked", fs::perms::owner_all, ignored);
        fs::remove_all(m_dir, ignored);
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    void WriteFile(const std::string& name, const std::string& content) const
    {
        std::ofstream(Path(name), std::ios::binary) << content;
    }

    fs::path m_dir;
};

int OpenCause(const std::string& path, UINT flags)
{
    CFile file;
    CFileException error;
    if (file.Open(path.c_str(), flags, &error)) return CFileException::none;
    return error.m_cause;
}

std::vector<CString> ReadLines(CStdioFile& file)
{
    std::vector<CString> lines;
    CString line;
    while (file.ReadString(line)) lines.push_back(line);
    return lines;
}

} // namespace

TEST_F(CFileTest, OpenFailuresMapToTheirCauses)
{
    fs::create_directory(m_dir / "sub");
    struct Case {
        std::string path;
        UINT flags;
        int cause;
    };
    const Case cases[] = {
        {Path("missing.dat"), CFile::modeRead, CFileException::fileNotFound},
        {Path("nodir/missing.dat"), CFile::modeRead, CFileException::badPath},
        {Path("nodir/new.dat"), CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
        {"", CFile::modeRead, CFileException::badPath},
        {Path("sub"), CFile::modeRead, CFileException::accessDenied},
        {Path("new.dat"), CFile::modeWrite | CFile::modeReadWrite, CFileException::genericException},
    };
    for (const Case& c : cases) EXPECT_EQ(OpenCause(c.path, c.flags), c.cause) << c.path;

    try {
        CFile file(Path("missing.dat").c_str(), CFile::modeRead | CFile::shareDenyWrite);
        ADD_FAILURE() << "opened a missing file";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_lOsError, ENOENT);
        EXPECT_EQ(e.m_strFileName.str(), Path("missing.dat"));
    }
}

TEST_F(CFileTest, PermissionDeniedIsAccessDenied)
{
    if (geteuid() == 0) GTEST_SKIP() << "root is never denied";
    fs::create_directory(m_dir / "locked");
    WriteFile("locked/file.dat", "x");
    fs::permissions(m_dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(m_dir / "locked/file.dat", fs::perms::none);
    EXPECT_EQ(OpenCause(Path("locked/file.dat"), CFile::modeRead), CFileException::accessDenied);
    EXPECT_EQ(OpenCause(Path("locked/new.dat"), CFile::modeCreate | CFile::modeWrite), CFileException::accessDenied);
}

TEST_F(CFileTest, ReadWriteSeekAndLength)
{
    CFile file(Path("data.bin").c_str(), CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_EQ(file.GetFileName(), "data.bin");
    EXPECT_EQ(file.GetFileTitle(), "data");
    file.Write("hello world", 11);
    EXPECT_EQ(file.GetLength(), 11u);
    EXPECT_EQ(file.Seek(-5, CFile::end), 6u);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "world");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);

    file.SetLength(5);
    EXPECT_EQ(file.SeekToEnd(), 5u);
    EXPECT_THROW(file.Seek(-6, CFile::end), CFileException);
    file.Close();
    file.Close(); // closing twice is harmless

    try {
        file.Read(buffer, 1);
        ADD_FAILURE() << "read from a closed file";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::invalidFile);
    }
}

// The name and the title come from the last part of the absolute path the file was
// opened by: a dot in a folder name is no extension, a leading dot no extension either.
TEST_F(CFileTest, NameAndTitleOfTheOpenedPath)
{
    struct Case {
        const char* path;
        const char* name;
        const char* title;
    };
    const Case cases[] = {
        {"dir.d/plain", "plain", "plain"},
        {"dir.d/.hidden", ".hidden", ".hidden"},
        {"dir.d/archive.tar.gz", "archive.tar.gz", "archive.tar"},
        {"dir.d/trailing.", "trailing.", "trailing"},
    };
    fs::create_directory(m_dir / "dir.d");
    const fs::path before = fs::current_path();
    fs::current_path(m_dir); // opened by a relative path, named by the absolute one
    for (const Case& c : cases) {
        CFile file(c.path, CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(file.GetFilePath(), Path(c.path));
        EXPECT_EQ(file.GetFileName(), c.name) << c.path;
        EXPECT_EQ(file.GetFileTitle(), c.title) << c.path;
    }
    fs::current_path(before);
}

TEST_F(CFileTest, CreateTruncatesUnlessNoTruncate)
{
    WriteFile("keep.dat", "12345");
    WriteFile("cut.dat", "12345");
    {
        CFile keep(Path("keep.dat").c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        keep.SeekToEnd();
        keep.Write("6", 1);
        CFile cut(Path("cut.dat").c_str(), CFile::modeCreate | CFile::modeWrite);
    }
    EXPECT_EQ(fs::file_size(m_dir / "keep.dat"), 6u);
    EXPECT_EQ(fs::file_size(m_dir / "cut.dat"), 0u);
}

TEST_F(CFileTest, RemoveAndRename)
{
    WriteFile("a.dat", "a");
    CFile::Rename(Path("a.dat").c_str(), Path("b.dat").c_str());
    EXPECT_TRUE(fs::exists(m_dir / "b.dat"));
    CFile::Remove(Path("b.dat").c_str());
    EXPECT_FALSE(fs::exists(m_dir / "b.dat"));
    try {
        CFile::Remove(Path("b.dat").c_str());
        ADD_FAILURE() << "removed a missing file";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    }
}

TEST_F(CFileTest, ReadStringSplitsLfAndCrLfLines)
{
    const std::string longLine(10000, 'x');
    struct Case {
        std::string content;
        std::vector<CString> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one\ntwo\r\n\r\nlast", {"one", "two", "", "last"}},
        {"ends with newline\n", {"ends with newline"}},
        {"a\r\n" + longLine + "\r\nb", {"a", CString(longLine), "b"}},
        {"cr\rinside\n", {"cr\rinside"}},
    };
    for (const Case& c : cases) {
        WriteFile("text.txt", c.content);
        CStdioFile file(Path("text.txt").c_str(), CFile::modeRead | CFile::typeText);
        EXPECT_EQ(ReadLines(file), c.lines) << c.content.substr(0, 40);
    }
}

TEST_F(CFileTest, StdioFileKeepsItsPositionAcrossLineReads)
{
    WriteFile("log.txt", "first\nsecond\n");
    CStdioFile file(Path("log.txt").c_str(), CFile::modeReadWrite);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(file.GetPosition(), 6u);
    file.WriteString("SECOND\nthird\n");
    file.SeekToBegin();
    EXPECT_EQ(ReadLines(file), (std::vector<CString>{"first", "SECOND", "third"}));
}

TEST(CMemFile, GrowsAndReadsBack)
{
    CMemFile file(16);
    std::vector<BYTE> block(1000);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = BYTE(i * 7);
    file.Write(block.data(), UINT(block.size()));
    EXPECT_EQ(file.GetLength(), 1000u);

    file.Seek(1010, CFile::begin); // writing past the end fills the gap with zeros
    file.Write("\x01", 1);
    EXPECT_EQ(file.GetLength(), 1011u);
    EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);

    file.SeekToBegin();
    std::vector<BYTE> back(2000);
    EXPECT_EQ(file.Read(back.data(), UINT(back.size())), 1011u);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), back.begin()));
    EXPECT_EQ(back[1005], 0);
    EXPECT_EQ(back[1010], 1);

    file.SetLength(3);
    EXPECT_EQ(file.GetPosition(), 3u);
    const std::vector<BYTE> content = file.Detach();
    EXPECT_EQ(content, (std::vector<BYTE>{0, 7, 14}));
    EXPECT_THROW(file.GetLength(), CFileException);

    file.Attach(content.data(), UINT(content.size()));
    BYTE middle[2] = {};
    file.Seek(1, CFile::begin);
    EXPECT_EQ(file.Read(middle, 5), 2u);
    EXPECT_EQ(middle[1], 14);
}
