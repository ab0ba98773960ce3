// Whole-file replacement: the new file reaches the disk before it takes the target's
// name and the folder after, a write given up leaves the target as it was, and the
// target keeps its permissions and its symbolic link.
#include "framework/core/CReplacingFile.h"

#include "SyncWatch.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>
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
    // One whole write of the target; false when it could not be made.
    static bool Save(const fs::path& target, const std::string& text)
    {
        try {
            CReplacingFile file;
            if (!file.OpenReplacing(target.c_str()))
                return false;
            Write(file, text);
            file.Commit();
            file.Close();
        } catch (const CFileException&) {
            return false;
        }
        return true;
    }
    static struct stat StatusOf(const fs::path& path)
    {
        struct stat status {};
        ::stat(path.c_str(), &status);
        return status;
    }
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

// A shared folder: the user may write the file but not the folder, so no temporary file
// can go beside it. The file is written in place and synced; a new file there is refused
// with the folder's reason, named after the file.
TEST_F(CReplacingFileTest, AWritableFileInAFolderTheUserMayNotWriteIsWrittenInPlace)
{
    const fs::path shared = m_dir / "shared";
    const fs::path target = shared / "config.kvr";
    fs::create_directory(shared);
    std::ofstream(target) << "old content, longer than the new";
    fs::permissions(target, fs::perms(0666));
    fs::permissions(shared, fs::perms(0555));
    fs::permissions(m_dir, fs::perms(0755));

    const int result = unprivileged::Run([&] {
        if (::access(shared.c_str(), W_OK) == 0)
            return 10; // the folder would take a temporary file
        {
            // Given up before anything was written: the file is as it was.
            CReplacingFile file;
            if (!file.OpenReplacing(target.c_str()))
                return 1;
            file.Abort();
        }
        SyncWatch watch;
        CReplacingFile file;
        if (!file.OpenReplacing(target.c_str()))
            return 2;
        if (!file.IsWritingInPlace())
            return 3;
        Write(file, "new");
        file.Commit();
        file.Close();
        if (watch.Take() != std::vector<std::string>{target.string()})
            return 4; // the file itself synced, no folder changed

        CFileException error;
        const fs::path created = shared / "new.kvr";
        if (file.OpenReplacing(created.c_str(), &error) || error.m_cause != CFileException::accessDenied ||
            error.m_lOsError != EACCES || error.m_strFileName != CString(created.c_str()))
            return 5;
        return 0;
    });
    fs::permissions(shared, fs::perms(0755));
    ASSERT_NE(result, 10) << "the folder stays writable for this user";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0666));
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(shared))
        entries.push_back(entry.path().filename());
    EXPECT_EQ(entries, std::vector<fs::path>{"config.kvr"});
}

// The new file gets the group of the one it replaces (a group the user is in), not the
// user's own; where even the group cannot be given, the file is written in place.
TEST_F(CReplacingFileTest, AReplacedFileKeepsItsGroup)
{
    const fs::path target = m_dir / "area.mon";
    std::ofstream(target) << "old";
    gid_t group = 0;
    std::vector<gid_t> childGroups;
    if (unprivileged::RunningAsRoot()) {
        group = 4242;
        childGroups = {group};
        fs::permissions(m_dir, fs::perms(0777));
    } else {
        std::vector<gid_t> groups(std::size_t(::getgroups(0, nullptr)));
        groups.resize(std::size_t(::getgroups(int(groups.size()), groups.data())));
        for (const gid_t candidate : groups) {
            if (candidate != ::getegid())
                group = candidate;
        }
        if (group == 0)
            GTEST_SKIP() << "the user is in no group besides the own one";
    }
    ASSERT_EQ(::chown(target.c_str(), uid_t(-1), group), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0664), 0);

    EXPECT_EQ(unprivileged::Run([&] { return Save(target, "new") ? 0 : 1; }, childGroups), 0);
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(StatusOf(target).st_gid, group);
    EXPECT_EQ(StatusOf(target).st_mode & 07777, 0664u);

    if (!unprivileged::RunningAsRoot())
        return; // only root can give a file a group its writer is not in
    ASSERT_EQ(::chown(target.c_str(), 0, group), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
    const int result = unprivileged::Run([&] {
        CReplacingFile file;
        if (!file.OpenReplacing(target.c_str()))
            return 1;
        Write(file, "in place");
        file.Commit();
        return file.IsWritingInPlace() ? 2 : 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(target), "in place");
    EXPECT_EQ(StatusOf(target).st_gid, group);
    EXPECT_EQ(StatusOf(target).st_uid, 0u) << "in place, the owner stays too";
}

// A link to a file not there yet: the file is made where the chain of links ends, and
// every link stays a link.
TEST_F(CReplacingFileTest, ALinkToAFileNotThereGetsTheFileAtItsEnd)
{
    fs::create_directory(m_dir / "sub");
    fs::create_symlink("sub/later.kvr", m_dir / "first.kvr");
    fs::create_symlink(m_dir / "first.kvr", m_dir / "second.kvr");
    SyncWatch watch;
    ASSERT_TRUE(Save(m_dir / "second.kvr", "new"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "first.kvr"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "second.kvr"));
    EXPECT_EQ(Read(m_dir / "sub" / "later.kvr"), "new");
    EXPECT_EQ(watch.Take(), SyncWatch::DurableWriteOf(m_dir / "sub" / "later.kvr"));
    ASSERT_TRUE(Save(m_dir / "second.kvr", "newer")) << "and replaced through them";
    EXPECT_EQ(Read(m_dir / "sub" / "later.kvr"), "newer");
    EXPECT_TRUE(fs::is_symlink(m_dir / "second.kvr"));
}

// Names up to the longest a folder takes save, made and replaced: the temporary file's
// name never grows beyond that limit.
TEST_F(CReplacingFileTest, NamesOfTheLongestLengthSave)
{
    for (std::size_t length = 250; length <= NAME_MAX; ++length) {
        SCOPED_TRACE(length);
        const fs::path target = m_dir / (std::string(length - 4, 'n') + ".kvr");
        EXPECT_LE(fs::path(CReplacingFile::TemporaryPathFor(target.c_str())).filename().string().size(),
                  std::size_t(NAME_MAX));
        EXPECT_TRUE(Save(target, "first"));
        EXPECT_TRUE(Save(target, "second"));
        EXPECT_EQ(Read(target), "second");
        EXPECT_EQ(Entries(), std::vector<fs::path>{target.filename()});
        fs::remove(target);
    }
}

} // namespace
