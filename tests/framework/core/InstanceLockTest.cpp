#include "framework/core/InstanceLock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("taliso-lock-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

TEST_F(InstanceLockTest, RefusesASecondHolderUntilTheFirstIsGone)
{
    std::optional<InstanceLock> first(std::in_place, "TEST", m_dir.string());
    ASSERT_TRUE(first->IsHeld()) << first->ErrorText();

    const InstanceLock second("TEST", m_dir.string());
    EXPECT_EQ(second.GetState(), InstanceLock::State::HeldElsewhere);
    EXPECT_TRUE(second.IsHeldElsewhere());

    const InstanceLock other("OTHER", m_dir.string());
    EXPECT_TRUE(other.IsHeld());

    first.reset();
    const InstanceLock third("TEST", m_dir.string());
    EXPECT_TRUE(third.IsHeld());
}

TEST_F(InstanceLockTest, NamesStayInsideTheDirectoryAndFailuresAreReported)
{
    const InstanceLock lock("a/../b", m_dir.string());
    EXPECT_TRUE(lock.IsHeld());
    EXPECT_EQ(fs::path(lock.Path()).parent_path(), m_dir);

    const InstanceLock missing("TEST", (m_dir / "missing").string());
    EXPECT_EQ(missing.GetState(), InstanceLock::State::Failed);
    EXPECT_NE(missing.ErrorText().find("missing"), std::string::npos);
}

TEST_F(InstanceLockTest, UsesTheRuntimeDirectoryElseAPrivateOneInTmp)
{
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;

    std::string error;
    ::setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    EXPECT_EQ(InstanceLock::RuntimeDirectory(error), m_dir.string());

    ::unsetenv("XDG_RUNTIME_DIR");
    const std::string fallback = InstanceLock::RuntimeDirectory(error);
    EXPECT_EQ(fallback, "/tmp/taliso-" + std::to_string(::getuid())) << error;
    struct stat info {};
    ASSERT_EQ(::stat(fallback.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    if (previous)
        ::setenv("XDG_RUNTIME_DIR", previous->c_str(), 1);
}

} // namespace
