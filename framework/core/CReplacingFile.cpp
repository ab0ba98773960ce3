#include "framework/core/CReplacingFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CReplacingFile, CFile)

namespace {

// As many links as the system follows itself before it gives up (ELOOP).
constexpr int kMaxSymbolicLinks = 40;

std::mutex s_observerLock;
CReplacingFile::SyncObserver s_observer;

// Syncs the descriptor and tells the observer; a file system that cannot sync (EINVAL)
// has nothing to lose.
bool Sync(int fd, const std::string& path)
{
    while (::fsync(fd) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EINVAL && errno != EROFS)
            return false;
        break;
    }
    CReplacingFile::SyncObserver observer;
    {
        const std::lock_guard<std::mutex> lock(s_observerLock);
        observer = s_observer;
    }
    if (observer)
        observer(path);
    return true;
}

// The file a write replaces: the end of a chain of symbolic links, so the links stay,
// also when that file is not there yet.
std::string ResolvedTarget(const char* fileName)
{
    namespace fs = std::filesystem;
    fs::path path = fileName;
    for (int hop = 0; hop < kMaxSymbolicLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            break;
        const fs::path next = fs::read_symlink(path, error);
        if (error)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path.string() : resolved.string();
}

std::string DirectoryOf(const std::filesystem::path& path)
{
    return path.has_parent_path() ? path.parent_path().string() : std::string(".");
}

// 64-bit FNV-1a: a short, fixed stand-in for a name too long to be part of another.
std::uint64_t NameHash(const std::string& name)
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const unsigned char c : name) {
        hash ^= c;
        hash *= 0x100000001b3u;
    }
    return hash;
}

std::string TemporaryBeside(const std::string& target)
{
    const std::string name = std::filesystem::path(target).filename().string();
    std::string temporary = "." + name + ".tmp";
    if (temporary.size() > NAME_MAX) {
        char hashed[32];
        std::snprintf(hashed, sizeof hashed, ".~%016llx.tmp", static_cast<unsigned long long>(NameHash(name)));
        temporary = hashed;
    }
    return DirectoryOf(target) + "/" + temporary;
}

bool LockExclusive(int fd)
{
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

// Whether path still names the file open as fd.
bool StillNamed(int fd, const std::string& path)
{
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

// Closes the descriptor when the scope ends, unless it was released.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// The temporary file belongs to whoever holds the lock on the file it names; the
// holder renames it away or removes it before letting go. One found there with no
// holder is what an interrupted write left: it is removed and made anew, so a new
// file never inherits its permissions.
enum class Claim { Owned, Retry, Failed };

Claim RemoveIfAbandoned(const std::string& temporary)
{
    FileDescriptor existing(::open(temporary.c_str(), O_RDONLY | O_CLOEXEC));
    if (existing.Get() < 0)
        return errno == ENOENT ? Claim::Retry : Claim::Failed;
    if (!LockExclusive(existing.Get()))
        return Claim::Failed;
    if (StillNamed(existing.Get(), temporary))
        ::unlink(temporary.c_str());
    return Claim::Retry;
}

Claim ClaimTemporary(const std::string& temporary, mode_t mode, int& owned)
{
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (fd.Get() < 0)
        return errno == EEXIST ? RemoveIfAbandoned(temporary) : Claim::Failed;
    if (!LockExclusive(fd.Get()))
        return Claim::Failed;
    // Another writer may have taken the fresh empty file for an abandoned one.
    if (!StillNamed(fd.Get(), temporary))
        return Claim::Retry;
    owned = fd.Release();
    return Claim::Owned;
}

// The new file gets the old one's group, and its owner where the user may give it (only
// a privileged user may); false when even the group cannot be kept.
bool KeepOwnership(int fd, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) == 0)
        return true;
    return ::fchown(fd, uid_t(-1), old.st_gid) == 0;
}

// Where the temporary file cannot be made because the folder refuses it, the target
// itself may still be writable.
bool FolderRefused(int error)
{
    return error == EACCES || error == EPERM;
}

} // namespace

CReplacingFile::~CReplacingFile()
{
    RemoveTemporary();
}

std::string CReplacingFile::TemporaryPathFor(LPCTSTR lpszTarget)
{
    return TemporaryBeside(ResolvedTarget(lpszTarget != nullptr ? lpszTarget : ""));
}

CReplacingFile::SyncObserver CReplacingFile::SetSyncObserver(SyncObserver observer)
{
    const std::lock_guard<std::mutex> lock(s_observerLock);
    return std::exchange(s_observer, std::move(observer));
}

BOOL CReplacingFile::OpenReplacing(LPCTSTR lpszTarget, CFileException* pError)
{
    Abort();
    const std::string named = lpszTarget != nullptr ? lpszTarget : "";
    auto fail = [&](int error) {
        Abort();
        if (pError != nullptr) {
            pError->m_cause = OpenFailureCause(error, named);
            pError->m_lOsError = error;
            pError->m_strFileName = CString(named);
        }
        return FALSE;
    };
    if (named.empty())
        return fail(ENOENT);
    m_target = ResolvedTarget(named.c_str());
    m_strFileName = CString(named);
    m_written = 0;
    struct stat existing {};
    const bool exists = ::stat(m_target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(EISDIR);
    // A file the user may not write stays, though its folder would let a rename replace it.
    if (exists && ::access(m_target.c_str(), W_OK) != 0)
        return fail(errno);

    const std::string temporary = TemporaryBeside(m_target);
    // Each retry follows another writer's progress, so the bound is only a safety net.
    int owned = -1;
    Claim claim = Claim::Retry;
    for (int attempt = 0; attempt < 10000 && claim == Claim::Retry; ++attempt)
        claim = ClaimTemporary(temporary, exists ? 0600 : 0666, owned);
    if (claim != Claim::Owned) {
        const int error = claim == Claim::Retry ? EBUSY : errno;
        if (exists && FolderRefused(error))
            return OpenInPlace() ? TRUE : fail(errno);
        return fail(error);
    }
    m_hFile = owned;
    m_temporary = temporary;
    if (!exists)
        return TRUE;
    if (!KeepOwnership(m_hFile, existing)) {
        RemoveTemporary();
        CFile::Abort();
        return OpenInPlace() ? TRUE : fail(errno);
    }
    // After the change of owner, which may clear the set-id bits.
    if (::fchmod(m_hFile, existing.st_mode & 07777) != 0)
        return fail(errno);
    return TRUE;
}

bool CReplacingFile::OpenInPlace()
{
    FileDescriptor fd(::open(m_target.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.Get() < 0 || !LockExclusive(fd.Get()))
        return false;
    m_hFile = fd.Release();
    m_inPlace = true;
    return true;
}

void CReplacingFile::Write(const void* lpBuf, UINT nCount)
{
    CFile::Write(lpBuf, nCount);
    m_written = std::max(m_written, GetPosition());
}

void CReplacingFile::SetLength(ULONGLONG dwNewLen)
{
    CFile::SetLength(dwNewLen);
    m_written = dwNewLen;
}

void CReplacingFile::Commit()
{
    RequireOpen();
    if (m_inPlace) {
        CommitInPlace();
        return;
    }
    if (m_temporary.empty())
        return;
    const bool synced = Sync(m_hFile, m_temporary);
    const int syncError = errno;
    if (!synced || ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int error = synced ? errno : syncError;
        Abort();
        ThrowErrno(error);
    }
    m_temporary.clear();
    // The rename is the folder's change: without this sync it may be lost with the power.
    const FileDescriptor folder(::open(DirectoryOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        Sync(folder.Get(), DirectoryOf(m_target));
}

// The old content beyond the new goes; the file keeps its name, so no folder changes.
void CReplacingFile::CommitInPlace()
{
    m_inPlace = false;
    if (::ftruncate(m_hFile, off_t(m_written)) != 0 || !Sync(m_hFile, m_target)) {
        const int error = errno;
        Abort();
        ThrowErrno(error);
    }
}

void CReplacingFile::Close()
{
    RemoveTemporary();
    m_inPlace = false;
    CFile::Close();
}

void CReplacingFile::Abort()
{
    RemoveTemporary();
    m_inPlace = false;
    CFile::Abort();
}

// Removed while the lock is still held, so no other writer takes it over meanwhile.
void CReplacingFile::RemoveTemporary()
{
    if (m_temporary.empty())
        return;
    if (m_hFile != hFileNull && StillNamed(m_hFile, m_temporary))
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}
