#pragma once
// The open and save dialogs. The filter is the usual "name|patterns|name|patterns||"
// (patterns separated by ';'); the default extension is added to a name typed without
// one. Under a ScriptedUi the dialog is one of the modal runs: its script gets this
// object, reads the request and answers with ChooseFile, or leaves it to cancel.
#include "framework/core/CString.h"
#include "framework/ui/CDialog.h"

#include <utility>
#include <vector>

struct OPENFILENAME {
    DWORD Flags = 0;               // OFN_ flags
    LPCTSTR lpstrInitialDir = nullptr;
    LPCTSTR lpstrTitle = nullptr;  // null: "Open" or "Save As"
    DWORD nFilterIndex = 1;        // 1-based; the filter chosen, after DoModal
};

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    // IDOK with a path, or IDCANCEL.
    INT_PTR DoModal() override;

    CString GetPathName() const { return m_strPathName; }
    CString GetFileName() const;  // with its extension
    CString GetFileExt() const;   // without the dot
    CString GetFileTitle() const; // without the extension

    // What the dialog asks.
    BOOL IsOpenDialog() const { return m_bOpenFileDialog; }
    CString GetTitle() const;
    CString GetDefExt() const { return m_strDefExt; }
    CString GetInitialFileName() const { return m_strFileName; }
    const std::vector<std::pair<CString, CString>>& GetFilters() const { return m_filters; }

    // The user's choice in a scripted run; filterIndex 0 keeps the current filter.
    void ChooseFile(LPCTSTR lpszPath, DWORD filterIndex = 0);

    OPENFILENAME m_ofn;

protected:
    // The checks on a chosen path: the extension added, the file or path that
    // must exist, the overwrite question. FALSE when the choice does not stand.
    BOOL AcceptChoice(CString& path);

    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    CString m_strFileName;
    CString m_strPathName;
    CString m_strTitle;
    std::vector<std::pair<CString, CString>> m_filters;

private:
    INT_PTR RunRealDialog();
    bool m_scriptChose = false;
    CString m_scriptPath;
};

// "name|patterns|...||" split into its pairs; an odd last name without patterns is left out.
std::vector<std::pair<CString, CString>> AfxParseFileFilter(LPCTSTR lpszFilter);
