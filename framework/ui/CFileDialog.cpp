#include "framework/ui/CFileDialog.h"

#include "framework/core/Resources.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/ModalOwner.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/WinHelp.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QStringList>

#include <array>
#include <filesystem>
#include <functional>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {

constexpr UINT AFX_IDS_OPENFILE = 61440;
constexpr UINT AFX_IDS_SAVEFILE = 61441;

QString ToQt(const CString& text) { return QString::fromUtf8(text.c_str()); }

CString FromQt(const QString& text) { return CString(text.toUtf8().toStdString()); }

// "Text files (*.txt)" with "*.txt" stays as it is; otherwise the patterns are added for Qt.
QString QtFilter(const CString& name, const CString& patterns)
{
    QString list = ToQt(patterns);
    list.replace(u';', u' ');
    const QString shown = ToQt(name);
    if (shown.endsWith(QLatin1Char(')')) && shown.contains(u'(' + list + u')')) return shown;
    return shown + QStringLiteral(" (") + list + u')';
}

std::filesystem::path PathOf(const CString& text) { return std::filesystem::path(text.str()); }

// While the dialog runs, F1 typed anywhere in it asks for help.
class HelpKeyWatch final : public QObject {
public:
    HelpKeyWatch(QWidget& dialog, std::function<void()> onHelp) : m_dialog(dialog), m_onHelp(std::move(onHelp))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~HelpKeyWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
    HelpKeyWatch(const HelpKeyWatch&) = delete;
    HelpKeyWatch& operator=(const HelpKeyWatch&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !widget) return false;
        if (widget != &m_dialog && !m_dialog.isAncestorOf(widget)) return false;
        m_onHelp();
        return true;
    }

private:
    QWidget& m_dialog;
    std::function<void()> m_onHelp;
};

} // namespace

std::vector<std::pair<CString, CString>> AfxParseFileFilter(LPCTSTR lpszFilter)
{
    std::vector<std::pair<CString, CString>> filters;
    const CString filter(lpszFilter);
    std::vector<CString> fields;
    int start = 0;
    while (start < filter.GetLength()) {
        const int bar = filter.Find('|', start);
        const int end = bar < 0 ? filter.GetLength() : bar;
        fields.push_back(filter.Mid(start, end - start));
        start = end + 1;
    }
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (fields[i].IsEmpty()) break; // "||" ends the list
        filters.emplace_back(fields[i], fields[i + 1]);
    }
    return filters;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt), m_strFileName(lpszFileName),
      m_filters(AfxParseFileFilter(lpszFilter))
{
    m_ofn.Flags = dwFlags;
    m_pParentWnd = pParentWnd;
}

CString CFileDialog::GetTitle() const
{
    if (m_ofn.lpstrTitle) return CString(m_ofn.lpstrTitle);
    CString title;
    if (!title.LoadString(m_bOpenFileDialog ? AFX_IDS_OPENFILE : AFX_IDS_SAVEFILE))
        title = m_bOpenFileDialog ? "Open" : "Save As";
    return title;
}

CString CFileDialog::GetFileName() const { return CString(PathOf(m_strPathName).filename().string()); }

// Without the dot; the extension of "name." is empty.
CString CFileDialog::GetFileExt() const
{
    const std::string extension = PathOf(m_strPathName).extension().string();
    return CString(extension.empty() ? extension : extension.substr(1));
}

CString CFileDialog::GetFileTitle() const { return CString(PathOf(m_strPathName).stem().string()); }

void CFileDialog::ChooseFile(LPCTSTR lpszPath, DWORD filterIndex)
{
    m_scriptChose = true;
    m_scriptPath = lpszPath;
    if (filterIndex != 0) m_ofn.nFilterIndex = filterIndex;
}

BOOL CFileDialog::AcceptChoice(CString& path)
{
    namespace fs = std::filesystem;
    if (path.IsEmpty()) return FALSE;
    if (!m_strDefExt.IsEmpty() && !PathOf(path).has_extension()) {
        path += ".";
        path += m_strDefExt;
    }
    std::error_code error;
    const fs::path chosen(path.str());
    const bool exists = fs::exists(chosen, error);
    CString prompt;
    if ((m_ofn.Flags & OFN_FILEMUSTEXIST) && !exists) {
        AfxFormatStrings(prompt, "%1\nFile not found.\nCheck the file name and try again.", std::array{path.c_str()}.data(), 1);
        AfxMessageBox(prompt, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    const fs::path folder = chosen.parent_path();
    if ((m_ofn.Flags & OFN_PATHMUSTEXIST) && !folder.empty() && !fs::is_directory(folder, error)) {
        AfxFormatStrings(prompt, "%1\nPath does not exist.\nCheck the path and try again.", std::array{path.c_str()}.data(), 1);
        AfxMessageBox(prompt, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!m_bOpenFileDialog && (m_ofn.Flags & OFN_OVERWRITEPROMPT) && exists) {
        AfxFormatStrings(prompt, "%1 already exists.\nDo you want to replace it?", std::array{path.c_str()}.data(), 1);
        if (AfxMessageBox(prompt, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return FALSE;
    }
    return TRUE;
}

INT_PTR CFileDialog::DoModal()
{
    m_strPathName.Empty();
    if (ScriptedUi::Active()) {
        m_scriptChose = false;
        m_scriptPath.Empty();
        ScriptedUi::RunModal(*this, 0);
        if (!m_scriptChose) return IDCANCEL;
        CString path = m_scriptPath;
        if (!AcceptChoice(path)) return IDCANCEL;
        m_strPathName = path;
        return IDOK;
    }
    return RunRealDialog();
}

INT_PTR CFileDialog::RunRealDialog()
{
    if (!AfxEnsureGuiApplication()) return IDCANCEL;
    const ModalOwner owner(m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr);
    QFileDialog dialog(owner.Window(), ToQt(GetTitle()));
    // Qt's own dialog: a native one keeps F1 from the program.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The dialog's help (a help-aware prompt answers WM_COMMANDHELP), else the program's.
    const HelpKeyWatch helpKey(dialog, [this] {
        if (!WindowProc(WM_COMMANDHELP, 0, 0)) AfxWinHelp(0, HELP_CONTENTS);
    });
    dialog.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_bOpenFileDialog && (m_ofn.Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                                                : QFileDialog::AnyFile);
    // The checks of AcceptChoice ask their own questions.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    QStringList filters;
    for (const auto& [name, patterns] : m_filters) filters << QtFilter(name, patterns);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = int(m_ofn.nFilterIndex) - 1;
        if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
    }
    if (m_ofn.lpstrInitialDir && *m_ofn.lpstrInitialDir) dialog.setDirectory(QString::fromUtf8(m_ofn.lpstrInitialDir));
    if (!m_strFileName.IsEmpty()) dialog.selectFile(ToQt(m_strFileName));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    owner.Centre(&dialog);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        CString path = FromQt(dialog.selectedFiles().front());
        m_ofn.nFilterIndex = DWORD(filters.indexOf(dialog.selectedNameFilter()) + 1);
        if (AcceptChoice(path)) {
            m_strPathName = path;
            return IDOK;
        }
    }
    return IDCANCEL;
}
