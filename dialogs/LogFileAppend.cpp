#include "dialogs/LogFileAppend.h"

#include "dialogs/CHelpFileDialog.h"
#include "framework/core/CFile.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/MessageBox.h"

BOOL ChooseLogFile(CWnd* pParentWnd, UINT filterId, DWORD dwFlags, int nHelpContext, CString& path)
{
    CString filter;
    filter.LoadString(filterId);
    const int split = filter.Find('\n');
    const CString extension = split < 0 ? CString() : filter.Left(split);
    const CString patterns = split < 0 ? filter : filter.Mid(split + 1);
    CHelpFileDialog dialog(FALSE, extension.c_str(), nullptr, dwFlags, patterns.c_str(), pParentWnd, nHelpContext);
    dialog.SetInitialDirFromProfile("ProtocolResults");
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    return TRUE;
}

BOOL PrepareLogFile(const CString& path)
{
    CFile file;
    if (file.Open(path.c_str(), CFile::modeReadWrite))
        return TRUE;
    CFileException error;
    if (file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite, &error))
        return TRUE;
    ReportLogFileException(path, &error, TRUE, kPromptLogCreate);
    return FALSE;
}

BOOL AppendToLogFile(const CString& path, const CString& text)
{
    CFile file;
    CFileException openError;
    if (!file.Open(path.c_str(), CFile::modeWrite, &openError)) {
        ReportLogFileException(path, &openError, FALSE, kPromptLogOpen);
        return FALSE;
    }
    try {
        file.SeekToEnd();
        file.Write(text.c_str(), UINT(text.GetLength()));
        file.Flush(); // on the disk before the next line is written
        file.Close();
    } catch (CException& e) {
        file.Abort();
        ReportLogFileException(path, &e, TRUE, kPromptLogWrite);
        return FALSE;
    }
    return TRUE;
}

void ReportLogFileException(const CString& path, const CException* e, BOOL bSaving, UINT nIDPDefault)
{
    const UINT prompt = AfxSaveLoadPromptId(e, bSaving, nIDPDefault);
    if (prompt == 0)
        return;
    CString text;
    AfxFormatString1(text, prompt, path.c_str());
    if (text.IsEmpty() && e != nullptr)
        text = e->GetErrorText();
    AfxMessageBox(text.c_str(), MB_ICONEXCLAMATION, prompt);
}
