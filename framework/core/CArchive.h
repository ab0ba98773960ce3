#pragma once
// The binary object archive. Its byte layout is fixed: documents saved by every release
// of the program, earlier ones included, load here, and what is saved here loads there.
//
// Values are little-endian: BYTE, WORD, short (16 bits), int/LONG/BOOL (32), DWORD/UINT
// (32), float (IEEE 32), double (IEEE 64). bool, char and the 64-bit integers have no
// archive form and do not compile. Strings carry a length prefix (BYTE below 255, else
// 0xFF + WORD below 0xFFFE, else 0xFF 0xFFFF + DWORD) and Windows-1252 bytes.
//
// Objects by pointer: WORD 0 for null; a class met for the first time as WORD 0xFFFF,
// WORD schema, WORD name length, the name; a known class as WORD 0x8000|index; an object
// already written as WORD index; indexes from 0x7FFF on as WORD 0x7FFF + DWORD index
// (with 0x80000000 set for a class). Classes and objects share one index count from 1.
//
// Reading throws CArchiveException: endOfFile when the data ends early, badIndex for a
// reference the archive does not hold, badClass for an unknown or unexpected class,
// badSchema for a stored schema that differs from the class's. It never reads beyond
// the data and never reserves memory for a count before the data is there.
//
// Objects returned by ReadObject belong to the caller. A back-reference returns the same
// pointer again: a reader that owns what it reads must not delete such a pointer twice.
// When an object's Serialize throws while it is being read, ReadObject deletes it.
#include "framework/core/CException.h"
#include "framework/core/CFile.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

class CDocument;

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // The file must outlive the archive. nBufSize is the read-ahead or write-behind size.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096);
    // Flushes a storing archive unless bNoFlushOnDelete; errors are dropped here, so a
    // writer that must know calls Close.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }

    // The schema of the object being read, once per Serialize; (UINT)-1 afterwards.
    UINT GetObjectSchema();

    // Raw blocks. Read returns fewer bytes than asked only at the end of the data.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);

    // Storing: writes the buffer to the file. Loading: gives unread bytes back to it.
    void Flush();
    void Close();
    void Abort(); // detaches from the file without writing what is buffered

    void WriteObject(const CObject* pOb);
    // Throws badClass when pClassRefRequested is given and the object is of another class.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    // Classes and objects a loading archive knows so far: reading a new object raises the
    // count, reading a back-reference to an object leaves it as it was.
    DWORD GetMapCount() const { return m_nMapCount; }
    void WriteClass(const CRuntimeClass* pClassRef);
    const CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                                   DWORD* pObTag = nullptr);

    // Element counts: WORD, or WORD 0xFFFF + DWORD from 0xFFFF on.
    void WriteCount(DWORD dwCount);
    DWORD ReadCount();

    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(short w);
    CArchive& operator<<(int l);
    CArchive& operator<<(DWORD dw);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(bool) = delete;
    CArchive& operator<<(char) = delete;
    CArchive& operator<<(signed char) = delete;
    CArchive& operator<<(long) = delete;
    CArchive& operator<<(unsigned long) = delete;
    CArchive& operator<<(long long) = delete;
    CArchive& operator<<(unsigned long long) = delete;

    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(short& w);
    CArchive& operator>>(int& l);
    CArchive& operator>>(DWORD& dw);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);

    // Set by the document that loads or saves itself through this archive.
    CDocument* m_pDocument = nullptr;
    // The file's path, carried by every exception of this archive.
    CString m_strFileName;

private:
    // One slot of the load table: the null slot 0, a class or an object.
    struct LoadEntry {
        const CRuntimeClass* pClass = nullptr;
        UINT nSchema = 0;
        CObject* pObject = nullptr;
        bool isClass = false;
    };

    void RequireStoring() const;
    void RequireLoading() const;
    void RequireFile() const;
    [[noreturn]] void Fail(int cause) const;
    void CheckCount() const;

    void WriteBytes(const void* data, std::size_t size);
    // Reads exactly size bytes or throws endOfFile.
    void ReadExact(void* data, std::size_t size);
    std::size_t ReadSome(void* data, std::size_t size);
    void FlushStoreBuffer();
    std::size_t Buffered() const { return m_buffer.size() - m_bufferPos; }

    const CRuntimeClass* LoadNewClass(UINT& nSchema);
    CObject* ReferencedObject(DWORD obTag, const CRuntimeClass* pClassRefRequested) const;

    CFile* m_pFile;
    UINT m_nMode;
    std::size_t m_nBufSize;
    std::vector<BYTE> m_buffer;
    std::size_t m_bufferPos = 0;
    UINT m_nObjectSchema = UINT(-1);

    DWORD m_nMapCount = 1; // slot 0 is the null reference
    std::unordered_map<const CObject*, DWORD> m_storedObjects;
    std::unordered_map<const CRuntimeClass*, DWORD> m_storedClasses;
    std::vector<LoadEntry> m_loadTable;
};

CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator<<(CArchive& ar, const char* lpsz);
CArchive& operator>>(CArchive& ar, CString& string);

CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
