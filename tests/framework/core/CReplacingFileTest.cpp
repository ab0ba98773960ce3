// Whole-file replacement: the new file reaches the disk before it takes the target's
// name and the folder after, a write given up leaves the target as it was, and the
// target keeps its permissions and its symbolic link.
#include "framework/core/CReplacingFile.h"

#include "SyncWatch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class CReplacingFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "replacingfile-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(CFile& file, const std::string& text) { file.Write(text.data(), UINT(text.size())); }
    std::vector<fs::path> Entries() const
    {
        std::vector<fs::path> entries;
        for (const auto& entry : fs::directory_iterator(m_dir))
            entries.push_back(entry.path().filename());
        return entries;
    }

    fs::path m_dir;
};

TEST_F(CReplacingFileTest, TheNewFileIsSyncedBeforeItsRenameAndTheFolderAfter)
{
    const fs::path target = m_dir / "config.kvr";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path link = m_dir / "link.kvr";
    fs::create_symlink(target, link);

    // What the target and the temporary file held at each sync.
    const std::string temporary = CReplacingFile::TemporaryPathFor(link.c_str());
    std::vector<std::string> seen;
    const auto previous = CReplacingFile::SetSyncObserver([&](const std::string& path) {
        seen.push_back(path + ": target " + Read(target) + ", temporary " +
                       (fs::exists(temporary) ? Read(temporary) : "gone"));
    });
    {
        CReplacingFile file;
        ASSERT_TRUE(file.OpenReplacing(link.c_str()));
        Write(file, "new");
        EXPECT_EQ(Read(target), "old") << "nothing changes before the commit";
        file.Commit();
        file.Close();
    }
    CReplacingFile::SetSyncObserver(previous);
    EXPECT_EQ(seen, (std::vector<std::string>{temporary + ": target old, temporary new",
                                              m_dir.string() + ": target new, temporary gone"}));
    EXPECT_EQ(fs::path(temporary).parent_path(), m_dir);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Entries().size(), 2u) << "no temporary file stays";
}

TEST_F(CReplacingFileTest, AWriteGivenUpLeavesTheTargetAndNoTemporaryFile)
{
    const fs::path target = m_dir / "area.mon";
    std::ofstream(target) << "old";
    for (const char* how : {"abort", "close", "destroy", "exception"}) {
        SCOPED_TRACE(how);
        SyncWatch watch;
        try {
            CReplacingFile file;
            ASSERT_TRUE(file.OpenReplacing(target.c_str()));
            Write(file, "half");
            if (std::string(how) == "abort")
                file.Abort();
            else if (std::string(how) == "close")
                file.Close();
            else if (std::string(how) == "exception")
                throw CFileException(CFileException::diskFull, ENOSPC, target.c_str());
        } catch (const CFileException&) {
        }
        EXPECT_EQ(Read(target), "old");
        EXPECT_EQ(Entries(), std::vector<fs::path>{"area.mon"});
        EXPECT_TRUE(watch.Take().empty());
    }

    // A folder that is not there is a bad path, named after the target.
    CReplacingFile file;
    CFileException error;
    const fs::path nowhere = m_dir / "missing" / "area.mon";
    EXPECT_FALSE(file.OpenReplacing(nowhere.c_str(), &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_EQ(error.m_strFileName, CString(nowhere.c_str()));
    EXPECT_FALSE(file.OpenReplacing(m_dir.c_str(), &error)) << "a folder is no file to replace";
}

TEST_F(CReplacingFileTest, AFileTheUserMayNotWriteStays)
{
    const fs::path target = m_dir / "kept.kvr";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read);
    if (::access(target.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with the right to write every file";
    CReplacingFile file;
    CFileException error;
    EXPECT_FALSE(file.OpenReplacing(target.c_str(), &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_EQ(Read(target), "old");
}

TEST_F(CReplacingFileTest, AnOpenFileKnowsWhetherItsPathStillNamesIt)
{
    const fs::path target = m_dir / "run.prt";
    CReplacingFile file;
    ASSERT_TRUE(file.OpenReplacing(target.c_str()));
    EXPECT_FALSE(file.IsNamedBy(target.c_str())) << "not before the commit";
    file.Commit();
    EXPECT_TRUE(file.IsNamedBy(target.c_str()));
    fs::rename(target, m_dir / "moved.prt");
    EXPECT_FALSE(file.IsNamedBy(target.c_str()));
    EXPECT_TRUE(file.IsNamedBy((m_dir / "moved.prt").c_str()));
    std::ofstream(target) << "another";
    EXPECT_FALSE(file.IsNamedBy(target.c_str()));
    fs::remove(m_dir / "moved.prt");
    EXPECT_FALSE(file.IsNamedBy((m_dir / "moved.prt").c_str()));
}

} // namespace
