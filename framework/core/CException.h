#pragma once
// The framework's exceptions.
//
// They are thrown BY VALUE and caught BY REFERENCE; nothing is allocated for them and
// nothing has to be deleted. The handler macros map like this:
//   TRY { ... } CATCH(CArchiveException, e) { ... } END_CATCH
//       -> try { ... } catch (CArchiveException& e) { ... }
//   CATCH_ALL(e) -> catch (CException& e);   THROW_LAST() -> throw;
//   e->m_cause   -> e.m_cause;   e->IsKindOf(RUNTIME_CLASS(CFileException)) works as well
// Every CException is also a std::exception, so a library entry point can stop all of
// them, and the standard library's own (std::bad_alloc for memory), with one handler.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"

#include <exception>
#include <string>

class CException : public CObject, public std::exception {
    DECLARE_DYNAMIC(CException)
public:
    CException() = default;

    // Copies the description into lpszError (always terminated, cut to nMaxError - 1
    // bytes); the help context is always 0 here. FALSE when there is no room at all.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
    CString GetErrorText() const { return ErrorText(); }
    const char* what() const noexcept override;

protected:
    virtual CString ErrorText() const;

private:
    mutable std::string m_what;
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none = 0,
        genericException = 1,
        readOnly = 2,   // an archive opened for loading was written to
        endOfFile = 3,  // the data ended before what had to be read
        writeOnly = 4,  // an archive opened for storing was read from
        badIndex = 5,   // an object or class reference that the archive does not hold
        badClass = 6,   // an unknown class name or an object of an unexpected class
        badSchema = 7,  // a version the reading class does not know
    };

    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);

    int m_cause;
    CString m_strFileName;

protected:
    CString ErrorText() const override;
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);

    // The cause for a POSIX errno value.
    static int OsErrorToException(LONG lOsError);
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);
    // The system's own words for a POSIX errno value; empty for none (0 or -1).
    static CString OsErrorText(LONG lOsError);

    int m_cause;
    LONG m_lOsError; // the errno value behind the cause, -1 when there is none
    CString m_strFileName;

protected:
    CString ErrorText() const override;
};

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
protected:
    CString ErrorText() const override;
};

// Raised after a data-exchange failure has been reported to the user: handlers stop
// quietly.
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
protected:
    CString ErrorText() const override;
};

class CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
protected:
    CString ErrorText() const override;
};

// An index or position outside a collection, or another argument that cannot be used.
class CInvalidArgException : public CException {
    DECLARE_DYNAMIC(CInvalidArgException)
protected:
    CString ErrorText() const override;
};

[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowInvalidArgException();
