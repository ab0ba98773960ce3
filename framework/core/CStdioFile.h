#pragma once
// A file read and written as lines of text. Lines end with LF or CR LF when read;
// WriteString writes its text unchanged (no line-end translation on this platform).
#include "framework/core/CFile.h"

#include <string>

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile() = default;
    CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);

    // The next line without its line end; FALSE at the end of the file when nothing was
    // left to read. A last line without a line end is still returned.
    virtual BOOL ReadString(CString& rString);
    virtual void WriteString(LPCTSTR lpsz);

    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

private:
    // Gives the bytes read ahead back to the file, so the descriptor's position is the
    // position of the next byte the caller has not seen.
    void DropReadAhead();
    bool FillReadAhead();

    std::string m_readAhead;
    std::size_t m_readPos = 0;
};
