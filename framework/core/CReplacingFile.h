#pragma once
// A file written whole and put in place of its target only once it is complete and on the
// disk. The writes go to a temporary file beside the target; Commit syncs it, renames it
// over the target and syncs the folder, so after a crash or a power loss the target is
// the old file or the new one, never an empty or partial one. Without Commit (a failed
// write, an exception) the temporary file is removed and the target stays as it was.
//
// The temporary file has a fixed name (".<name>.tmp"), held under an exclusive lock by
// its writer until it is renamed or removed; one left behind by a writer that died is
// taken over. A symbolic link as target stays a link: the file it names is replaced. The
// new file keeps the permission bits of the file it replaces; a file the user may not
// write is not replaced (access denied).
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

    // The temporary file a replacement of the target writes first.
    static std::string TemporaryPathFor(LPCTSTR lpszTarget);

    // Tests observe the syncs: after each, the observer gets the path synced (the
    // temporary file before its rename, the folder after it). Returns the previous one.
    using SyncObserver = std::function<void(const std::string& path)>;
    static SyncObserver SetSyncObserver(SyncObserver observer);

private:
    void RemoveTemporary();

    std::string m_temporary; // empty once renamed or removed
    std::string m_target;
};
