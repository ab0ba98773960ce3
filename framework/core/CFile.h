#pragma once
// Binary file on a POSIX descriptor. Failures throw CFileException (Open reports them
// through its optional exception object instead). Sharing flags are accepted and have no
// effect: POSIX has no mandatory sharing modes. Text files get no line-end translation.
#include "framework/core/CException.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"

#include <string>

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };
    static constexpr int hFileNull = -1;

    CFile() = default;
    // Opens at once; throws CFileException on failure.
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override; // closes without reporting errors; call Close to see them
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE on failure, with the cause, errno and file name in *pError when given.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    // Reads up to nCount bytes; fewer only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes or throws (diskFull when the device takes no more).
    virtual void Write(const void* lpBuf, UINT nCount);
    // New position from begin; a position before the start throws badSeek.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG GetPosition() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    virtual void Close();
    virtual void Abort(); // closes and ignores any error
    virtual BOOL IsOpen() const { return m_hFile != hFileNull; }

    // Absolute path as opened; the name with and without its extension.
    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;

    static void Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
    static void Remove(LPCTSTR lpszFileName);

    // Whether the path still names the open file: FALSE once it was removed, moved away
    // or replaced by another file (or when no file is open).
    BOOL IsNamedBy(LPCTSTR lpszPath) const;

    int m_hFile = hFileNull;

protected:
    // Throws invalidFile when no file is open.
    void RequireOpen() const;
    [[noreturn]] void ThrowErrno(int error) const;
    // The cause of a failed open of the path: a missing folder is a bad path.
    static int OpenFailureCause(int error, const std::string& path);

    CString m_strFileName;
};
