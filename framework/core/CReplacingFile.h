#pragma once
// A file written whole and put in place of its target only once it is complete and on the
// disk. The writes go to a temporary file beside the target; Commit syncs it, renames it
// over the target and syncs the folder, so after a crash or a power loss the target is
// the old file or the new one, never an empty or partial one. Without Commit (a failed
// write, an exception) the temporary file is removed and the target stays as it was.
//
// The temporary file has a fixed name (".<name>.tmp", or ".~<hash>.tmp" where that would
// be too long), held under an exclusive lock by its writer until it is renamed or
// removed; one left behind by a writer that died is taken over. A symbolic link as target
// stays a link: the file at the end of its chain is replaced, or made when not there yet.
// The new file keeps the permission bits, the group and, where the user may give it, the
// owner of the file it replaces; a file the user may not write is not replaced (access
// denied).
//
// A file the user may write in a folder the user may not (a shared folder), or one whose
// group the new file could not keep, is written in place instead: the writes go to the
// target itself, and Commit cuts it to what was written and syncs it. That write is not
// all-or-nothing, but it is the only one possible there; nothing is written before the
// first Write.
#include "framework/core/CFile.h"

#include <functional>
#include <string>

class CReplacingFile : public CFile {
    DECLARE_DYNAMIC(CReplacingFile)
public:
    CReplacingFile() = default;
    ~CReplacingFile() override; // removes the temporary file unless committed

    // Creates the temporary file for the target, open for writing; FALSE with the cause
    // in *pError, named after the target. Errors of later writes name the target too.
    BOOL OpenReplacing(LPCTSTR lpszTarget, CFileException* pError = nullptr);
    // Syncs the written file, renames it over the target and syncs the folder. The file
    // stays open (now as the target) until Close. Throws CFileException; the temporary
    // file is then removed.
    void Commit();
    // Both close the file; unless committed, the temporary file is removed first.
    void Close() override;
    void Abort() override;
    // Keep the end of what was written, where Commit cuts a file written in place.
    void Write(const void* lpBuf, UINT nCount) override;
    void SetLength(ULONGLONG dwNewLen) override;

    // Whether the open file is the target itself (see above).
    BOOL IsWritingInPlace() const { return m_inPlace ? TRUE : FALSE; }

    // The temporary file a replacement of the target writes first.
    static std::string TemporaryPathFor(LPCTSTR lpszTarget);

    // Tests observe the syncs: after each, the observer gets the path synced (the
    // temporary file before its rename, the folder after it). Returns the previous one.
    using SyncObserver = std::function<void(const std::string& path)>;
    static SyncObserver SetSyncObserver(SyncObserver observer);

private:
    void RemoveTemporary();
    // Opens the existing target itself for writing; errno on failure.
    bool OpenInPlace();
    void CommitInPlace();

    std::string m_temporary; // empty once renamed or removed
    std::string m_target;
    bool m_inPlace = false;
    ULONGLONG m_written = 0; // the end of the written bytes
};
