#include "app/CTalisoDoc.h"

#include "app/settings/CTalisoSetup.h"
#include "dialogs/CHelpFileDialog.h"
#include "framework/core/ExtractSubString.h"
#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/core/CReplacingFile.h"
#include "framework/core/CFile.h"
#include "framework/core/CMemFile.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CPropertyPage.h"
#include "framework/ui/CPropertySheet.h"
#include "framework/ui/CWaitCursor.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/MessageBox.h"
#include "model/ArchiveOwnership.h"
#include "model/CShelter.h"
#include "model/LegacyShelterImport.h"

#include <array>
#include <functional>
#include <vector>

IMPLEMENT_SERIAL(CTalisoDoc, CDocument, 1)

namespace {

constexpr int kUndoDepth = 10;
constexpr int kArchiveBufferSize = 4096;
constexpr UINT kClipboardGrowBytes = 4096;
constexpr int kSelectNone = 0;
constexpr int kSelectAll = 1;
constexpr int kSelectInvert = 2;
constexpr int kConversionCodeCount = 7;

// Piece 'index' of a text whose pieces are separated by '\n'; empty when missing.
CString ExtractSubString(const CString& text, int index)
{
    CString piece;
    AfxExtractSubString(piece, text.c_str(), index);
    return piece;
}

std::unique_ptr<CShelter> SelectionFreeCopy(const CSensorObject* pObject)
{
    if (pObject == nullptr)
        return nullptr;
    std::unique_ptr<CSensorObject> copy = pObject->Clone();
    auto* field = dynamic_cast<CShelter*>(copy.get());
    if (field == nullptr)
        return nullptr;
    copy.release();
    std::unique_ptr<CShelter> owned(field);
    if (owned->HasSelection())
        owned->Select(kSelectNone, CSensorPoint());
    return owned;
}

HWND ClipboardOwner()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain != nullptr ? pMain->GetSafeHwnd() : nullptr;
}

// One field written by pointer: the form of the clipboard and of monitor-area files.
void WriteField(CFile& file, const CShelter& field)
{
    CArchive ar(&file, CArchive::store, kArchiveBufferSize);
    ar << static_cast<const CObject*>(&field);
    ar.Close();
}

std::vector<BYTE> StoredForm(const CShelter& field)
{
    CMemFile file;
    WriteField(file, field);
    return file.Detach();
}

// Whether the field keeps the shape of 'before': their stored forms without the selection
// and without what the views set for drawing (fill colour, handle size).
BOOL HaveSameShape(const CShelter& before, const CShelter& field)
{
    const std::unique_ptr<CShelter> first = SelectionFreeCopy(&before);
    const std::unique_ptr<CShelter> second = SelectionFreeCopy(&field);
    second->SetFillColor(first->GetFillColor());
    second->SetHandleSize(first->GetHandleSize());
    return StoredForm(*first) == StoredForm(*second);
}

// One field read by pointer; any other class (or a reference back) is refused by the
// archive, so no other kind of object is ever made from outside data.
std::unique_ptr<CShelter> ReadField(CFile& file)
{
    CArchive ar(&file, CArchive::load, kArchiveBufferSize);
    return ReadOwned<CShelter>(ar, RUNTIME_CLASS(CShelter));
}

using FieldReader = std::function<std::unique_ptr<CShelter>(CArchive&)>;

// The readers of monitor-area files, the current form first, then the older ones.
const std::array<FieldReader, 5>& MonitorAreaReaders()
{
    static const std::array<FieldReader, 5> readers = {
        [](CArchive& ar) { return ReadOwned<CShelter>(ar, RUNTIME_CLASS(CShelter)); },
        [](CArchive& ar) { return ImportBShelter(ar, TRUE); },
        [](CArchive& ar) { return ImportCShelter(ar, TRUE); },
        [](CArchive& ar) { return ImportEditShelterWithTime(ar); },
        [](CArchive& ar) { return ImportEditShelter(ar); },
    };
    return readers;
}

// The refusal message for a field of another kind or device type; 0 when it fits.
UINT FieldMismatchPrompt(const CShelter& imported, const CShelter& current)
{
    const int importedKind = imported.GetFieldKind();
    const int currentKind = current.GetFieldKind();
    if (importedKind == kProtectiveField && currentKind == kWarningField)
        return IDP_FIELD_IS_PROTECTIVE;
    if (importedKind == kWarningField && currentKind == kProtectiveField)
        return IDP_FIELD_IS_WARNING;
    if (importedKind == currentKind && imported.GetSensorType() != current.GetSensorType())
        return IDP_FIELD_OTHER_DEVICE_TYPE;
    if (importedKind == currentKind)
        return 0;
    return IDP_FIELD_NOT_TAKEN;
}

int PolarEntrySetting()
{
    return GetTalisoSetup().m_bViewRectGrid ? 0 : 1;
}

BOOL InchSetting()
{
    return GetTalisoSetup().m_bViewMetric ? FALSE : TRUE;
}

} // namespace

// The conversion commands are not one contiguous range: each id names its code.
#define ON_CONVERT_COMMAND(id, code)                                                      \
    {WM_COMMAND, UINT(CN_COMMAND), UINT(id), UINT(id), AfxSig::Command,                   \
     AFX_THUNK(self->ConvertCurrentObject(code); return TRUE;)},                          \
    {WM_COMMAND, UINT(CN_UPDATE_COMMAND_UI), UINT(id), UINT(id), AfxSig::UpdateUi,        \
     AFX_THUNK(self->OnUpdateConvert(static_cast<CCmdUI*>(call.pExtra), code); return TRUE;)},

BEGIN_MESSAGE_MAP(CTalisoDoc, CDocument)
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
    ON_COMMAND(ID_DELETE_SELECTION, OnDeleteSelection)
    ON_UPDATE_COMMAND_UI(ID_DELETE_SELECTION, OnUpdateDeleteSelection)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCutCopy)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCutCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_COMMAND(ID_EXPORT_MONITOR_AREA, OnExportMonitorArea)
    ON_UPDATE_COMMAND_UI(ID_EXPORT_MONITOR_AREA, OnUpdateMonitorArea)
    ON_COMMAND(ID_IMPORT_MONITOR_AREA, OnImportMonitorArea)
    ON_UPDATE_COMMAND_UI(ID_IMPORT_MONITOR_AREA, OnUpdateMonitorArea)
    ON_COMMAND(ID_SELECT_ALL_POINTS, OnSelectAll)
    ON_UPDATE_COMMAND_UI(ID_SELECT_ALL_POINTS, OnUpdateSelectAll)
    ON_COMMAND(ID_INVERT_SELECTION, OnInvertSelection)
    ON_UPDATE_COMMAND_UI(ID_INVERT_SELECTION, OnUpdateInvertSelection)
    ON_COMMAND(ID_EDIT_OBJECT, OnEditObject)
    ON_UPDATE_COMMAND_UI(ID_EDIT_OBJECT, OnUpdateEditObject)
    ON_COMMAND(ID_OBJECT_PROPERTIES, OnObjectProperties)
    ON_UPDATE_COMMAND_UI(ID_OBJECT_PROPERTIES, OnUpdateObjectProperties)
    ON_CONVERT_COMMAND(ID_CONVERT_CONTOUR91, kConvertToContour91)
    ON_CONVERT_COMMAND(ID_CONVERT_CONTOUR181, kConvertToContour181)
    ON_CONVERT_COMMAND(ID_CONVERT_CONTOUR361, kConvertToContour361)
    ON_CONVERT_COMMAND(ID_CONVERT_RECTANGLE, kConvertToRectangle)
    ON_CONVERT_COMMAND(ID_CONVERT_ARC, kConvertToArc)
    ON_CONVERT_COMMAND(ID_CONVERT_RECTANGLE_CONTOUR, kConvertToRectangleContour)
    ON_CONVERT_COMMAND(ID_CONVERT_ARC_CONTOUR, kConvertToArcContour)
END_MESSAGE_MAP()

CTalisoDoc::CTalisoDoc() : m_undoStack(kUndoDepth) {}

CTalisoDoc::~CTalisoDoc() = default;

// ------------------------------------------------------------ objects of the family

void CTalisoDoc::SetCurrentObject(CSensorObject*) {}

CShelter* CTalisoDoc::GetCurrentObject()
{
    return nullptr;
}

COLORREF CTalisoDoc::GetCurrentObjectColor()
{
    return 0xC0C0C0;
}

void CTalisoDoc::SetSecondObject(CSensorObject*) {}

CShelter* CTalisoDoc::GetSecondObject()
{
    return nullptr;
}

COLORREF CTalisoDoc::GetSecondObjectColor()
{
    return 0x808080;
}

int CTalisoDoc::GetActiveLayer()
{
    return 0;
}

// ---------------------------------------------------------------- edit mode and undo

void CTalisoDoc::SetEditMode(int on)
{
    if (on == m_nEditMode)
        return;
    m_nEditMode = on;
    if (m_nEditMode == 0) {
        ClearUndo();
        CShelter* pCurrent = GetCurrentObject();
        if (pCurrent != nullptr && pCurrent->HasSelection())
            pCurrent->Select(kSelectNone, CSensorPoint());
    }
    NotifyCurrentObjectChanged();
}

int CTalisoDoc::PushUndo(CSensorObject* pObject)
{
    std::unique_ptr<CShelter> copy = SelectionFreeCopy(pObject);
    if (copy == nullptr)
        return 0;
    m_undoStack.Push(std::move(copy));
    return 1;
}

int CTalisoDoc::SetUndoCurrent(CSensorObject* pObject)
{
    std::unique_ptr<CShelter> copy = SelectionFreeCopy(pObject);
    if (copy == nullptr)
        return 0;
    m_undoStack.SetCurrent(std::move(copy));
    return 1;
}

BOOL CTalisoDoc::RecordFieldChange(const CShelter& before, CShelter& field)
{
    if (HaveSameShape(before, field))
        return FALSE;
    m_undoStack.Push(SelectionFreeCopy(&before));
    field.SetModified(1);
    SetUndoCurrent(&field);
    return TRUE;
}

void CTalisoDoc::ClearUndo()
{
    m_undoStack.Clear();
}

void CTalisoDoc::RestoreSnapshot(CObject* pSnapshot)
{
    auto* pField = dynamic_cast<CSensorObject*>(pSnapshot);
    if (pField == nullptr)
        return;
    SetCurrentObject(pField);
    SetModifiedFlag(TRUE);
    NotifyCurrentObjectChanged();
}

void CTalisoDoc::OnEditUndo()
{
    RestoreSnapshot(m_undoStack.Undo());
}

void CTalisoDoc::OnEditRedo()
{
    RestoreSnapshot(m_undoStack.Redo());
}

void CTalisoDoc::NotifyCurrentObjectChanged()
{
    UpdateAllViews(nullptr, kHintCurrentObjectChanged, nullptr);
}

void CTalisoDoc::ReplaceCurrentObject(CShelter& current, CShelter& replacement)
{
    PushUndo(&current);
    SetCurrentObject(&replacement);
    SetUndoCurrent(&replacement);
    SetModifiedFlag(TRUE);
    NotifyCurrentObjectChanged();
}

CShelter* CTalisoDoc::GetEditableObject()
{
    return m_nEditMode != 0 ? GetCurrentObject() : nullptr;
}

// ------------------------------------------------------------------ point commands

void CTalisoDoc::OnDeleteSelection()
{
    CShelter* pCurrent = GetCurrentObject();
    if (pCurrent == nullptr || !pCurrent->HasSelection())
        return;
    if (AfxMessageBox(IDP_DELETE_SELECTED_POINTS, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    {
        CWaitCursor wait;
        PushUndo(pCurrent);
        pCurrent->DeleteSelection();
        pCurrent->SetModified(1);
        SetUndoCurrent(pCurrent);
    }
    SetModifiedFlag(TRUE);
    NotifyCurrentObjectChanged();
}

void CTalisoDoc::OnSelectAll()
{
    CShelter* pCurrent = GetCurrentObject();
    if (pCurrent == nullptr || !pCurrent->IsBeamContour())
        return;
    pCurrent->Select(kSelectAll, CSensorPoint());
    NotifyCurrentObjectChanged();
}

void CTalisoDoc::OnInvertSelection()
{
    CShelter* pCurrent = GetCurrentObject();
    if (pCurrent == nullptr || !pCurrent->IsBeamContour() || !pCurrent->HasSelection())
        return;
    pCurrent->Select(kSelectInvert, CSensorPoint());
    NotifyCurrentObjectChanged();
}

// ------------------------------------------------------------------------ clipboard

UINT CTalisoDoc::GetClipboardFormat(const CShelter& field)
{
    return field.GetKindTextId();
}

BOOL CTalisoDoc::CopyToClipboard(const CShelter& field)
{
    const UINT format = GetClipboardFormat(field);
    if (format == 0)
        return FALSE; // a general field has no format of its own
    if (!OpenClipboard(ClipboardOwner()))
        return FALSE;
    // Other fields already on the clipboard stay: each kind has its own format.
    BOOL placed = FALSE;
    try {
        CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE, kClipboardGrowBytes);
        WriteField(file, field);
        placed = SetClipboardData(format, file.Detach()) != nullptr;
    } catch (CException&) {
        placed = FALSE;
    }
    CloseClipboard();
    return placed;
}

std::unique_ptr<CShelter> CTalisoDoc::ReadFieldFromClipboard(UINT format, BOOL& present)
{
    present = FALSE;
    if (format == 0 || !OpenClipboard(ClipboardOwner()))
        return nullptr;
    std::unique_ptr<CShelter> field;
    if (HGLOBAL block = GetClipboardData(format)) {
        present = TRUE;
        try {
            CSharedFile file;
            file.SetHandle(block, TRUE);
            field = ReadField(file);
        } catch (CException&) {
            field.reset();
        }
    }
    CloseClipboard();
    return field;
}

void CTalisoDoc::OnEditCopy()
{
    if (CShelter* pCurrent = GetCurrentObject())
        CopyToClipboard(*pCurrent);
}

void CTalisoDoc::OnEditCut()
{
    CShelter* pCurrent = GetCurrentObject();
    // The field is reset only once it is safe on the clipboard.
    if (pCurrent == nullptr || !CopyToClipboard(*pCurrent))
        return;
    PushUndo(pCurrent);
    pCurrent->ResetToDefaults();
    pCurrent->SetModified(1);
    SetUndoCurrent(pCurrent);
    SetModifiedFlag(TRUE);
    NotifyCurrentObjectChanged();
}

void CTalisoDoc::OnEditPaste()
{
    CShelter* pCurrent = GetCurrentObject();
    if (pCurrent == nullptr)
        return;
    const UINT format = GetClipboardFormat(*pCurrent);
    BOOL present = FALSE;
    std::unique_ptr<CShelter> pasted = ReadFieldFromClipboard(format, present);
    if (!present)
        return;
    // The private format numbers may hold anything another program put there: only a
    // field of the format's own kind and device type is taken.
    if (pasted == nullptr || GetClipboardFormat(*pasted) != format) {
        AfxMessageBox(IDP_FIELD_NOT_TAKEN, MB_OK);
        return;
    }
    // The format names the type code only; a field of the other variant has other limits.
    if (const UINT prompt = FieldMismatchPrompt(*pasted, *pCurrent)) {
        AfxMessageBox(prompt, MB_OK);
        return;
    }
    ReplaceCurrentObject(*pCurrent, *pasted);
}

// -------------------------------------------------------------- monitor-area files

BOOL CTalisoDoc::PromptMonitorAreaPath(BOOL bOpen, CString& path)
{
    CString texts;
    texts.LoadString(bOpen ? IDS_MONITOR_AREA_IMPORT : IDS_MONITOR_AREA_EXPORT);
    const CString defaultExt = ExtractSubString(texts, 0);
    const CString filter = ExtractSubString(texts, 1);
    DWORD flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!bOpen)
        flags |= OFN_OVERWRITEPROMPT;
    CHelpFileDialog dialog(bOpen, defaultExt, nullptr, flags, filter, nullptr,
                           bOpen ? kHelpMonitorAreaImport : kHelpMonitorAreaExport);
    dialog.SetInitialDirFromProfile("MonitorAreas");
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    return TRUE;
}

BOOL CTalisoDoc::WriteMonitorAreaFile(const CString& path, const CShelter& field)
{
    CReplacingFile file;
    CFileException openError;
    if (!file.OpenReplacing(path, &openError)) {
        ReportSaveLoadException(path, &openError, TRUE, IDP_FILE_CREATE_FAILED);
        return FALSE;
    }
    CWaitCursor wait;
    try {
        WriteField(file, field);
        file.Commit();
        file.Close();
    } catch (CException& e) {
        file.Abort();
        wait.Restore();
        ReportSaveLoadException(path, &e, TRUE, IDP_FILE_WRITE_FAILED);
        return FALSE;
    }
    return TRUE;
}

std::unique_ptr<CShelter> CTalisoDoc::ReadMonitorAreaFile(const CString& path)
{
    CFile file;
    CFileException openError;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        ReportSaveLoadException(path, &openError, FALSE, IDP_FILE_OPEN_FAILED);
        return nullptr;
    }
    CWaitCursor wait;
    std::unique_ptr<CShelter> field;
    for (const FieldReader& reader : MonitorAreaReaders()) {
        try {
            file.SeekToBegin();
            CArchive ar(&file, CArchive::load, kArchiveBufferSize);
            field = reader(ar);
        } catch (CException&) {
            field.reset(); // this reader does not understand the file
        }
        if (field != nullptr)
            break;
    }
    file.Abort();
    return field;
}

void CTalisoDoc::OnExportMonitorArea()
{
    CShelter* pCurrent = GetCurrentObject();
    CString path;
    if (pCurrent == nullptr || !PromptMonitorAreaPath(FALSE, path))
        return;
    WriteMonitorAreaFile(path, *pCurrent);
}

void CTalisoDoc::OnImportMonitorArea()
{
    CShelter* pCurrent = GetCurrentObject();
    CString path;
    if (pCurrent == nullptr || !PromptMonitorAreaPath(TRUE, path))
        return;
    std::unique_ptr<CShelter> imported = ReadMonitorAreaFile(path);
    if (imported == nullptr)
        return;
    if (const UINT prompt = FieldMismatchPrompt(*imported, *pCurrent)) {
        AfxMessageBox(prompt, MB_OK);
        return;
    }
    ReplaceCurrentObject(*pCurrent, *imported);
}

// ------------------------------------------------------ shape dialogs and conversion

void CTalisoDoc::OnEditObject()
{
    CShelter* pCurrent = GetCurrentObject();
    if (pCurrent == nullptr)
        return;
    std::unique_ptr<CSensorObject> before = pCurrent->Clone();
    if (!pCurrent->Edit(nullptr, PolarEntrySetting(), InchSetting(), this))
        return;
    PushUndo(before.get());
    pCurrent->SetModified(1);
    SetUndoCurrent(pCurrent);
    SetModifiedFlag(TRUE);
    NotifyCurrentObjectChanged();
}

void CTalisoDoc::OnObjectProperties()
{
    CShelter* pCurrent = GetCurrentObject();
    if (pCurrent == nullptr)
        return;
    std::unique_ptr<CPropertyPage> page = pCurrent->CreatePropertyPage(PolarEntrySetting(), InchSetting(), 0);
    if (page == nullptr)
        return;
    CPropertySheet sheet(IDS_FIELD_PROPERTIES);
    sheet.AddPage(page.get());
    sheet.DoModal();
}

void CTalisoDoc::ConvertCurrentObject(int code)
{
    CShelter* pCurrent = GetCurrentObject();
    if (pCurrent == nullptr || !pCurrent->CanConvertTo(code))
        return;
    std::unique_ptr<CShelter> converted = pCurrent->ConvertTo(code);
    if (converted == nullptr)
        return;
    PushUndo(pCurrent);
    SetUndoCurrent(converted.get());
    SetCurrentObject(converted.get());
    SetModifiedFlag(TRUE);
    NotifyCurrentObjectChanged();
}

void CTalisoDoc::OnUpdateConvert(CCmdUI* pCmdUI, int code)
{
    CShelter* pCurrent = GetEditableObject();
    if (pCmdUI->m_pSubMenu == nullptr) {
        pCmdUI->Enable(pCurrent != nullptr && pCurrent->CanConvertTo(code));
        return;
    }
    // The pop-up that holds the conversion items: open when any conversion is possible.
    BOOL any = FALSE;
    for (int candidate = 0; pCurrent != nullptr && candidate < kConversionCodeCount && !any; ++candidate)
        any = pCurrent->CanConvertTo(candidate);
    if (pCmdUI->m_pMenu != nullptr)
        pCmdUI->m_pMenu->EnableMenuItem(pCmdUI->m_nIndex,
                                        MF_BYPOSITION | (any ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

// ------------------------------------------------------------------ update handlers

void CTalisoDoc::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nEditMode != 0 && m_undoStack.CanUndo());
}

void CTalisoDoc::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nEditMode != 0 && m_undoStack.CanRedo());
}

void CTalisoDoc::OnUpdateDeleteSelection(CCmdUI* pCmdUI)
{
    CShelter* pCurrent = GetEditableObject();
    pCmdUI->Enable(pCurrent != nullptr && pCurrent->HasSelection());
}

void CTalisoDoc::OnUpdateEditCutCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetEditableObject() != nullptr);
}

void CTalisoDoc::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    CShelter* pCurrent = GetEditableObject();
    BOOL available = FALSE;
    if (pCurrent != nullptr && OpenClipboard(ClipboardOwner())) {
        const UINT format = GetClipboardFormat(*pCurrent);
        available = format != 0 && IsClipboardFormatAvailable(format);
        CloseClipboard();
    }
    pCmdUI->Enable(available);
}

void CTalisoDoc::OnUpdateMonitorArea(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetEditableObject() != nullptr);
}

void CTalisoDoc::OnUpdateSelectAll(CCmdUI* pCmdUI)
{
    CShelter* pCurrent = GetEditableObject();
    pCmdUI->Enable(pCurrent != nullptr && pCurrent->IsBeamContour());
}

void CTalisoDoc::OnUpdateInvertSelection(CCmdUI* pCmdUI)
{
    CShelter* pCurrent = GetEditableObject();
    pCmdUI->Enable(pCurrent != nullptr && pCurrent->HasSelection());
}

void CTalisoDoc::OnUpdateEditObject(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetEditableObject() != nullptr);
}

void CTalisoDoc::OnUpdateObjectProperties(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetCurrentObject() != nullptr);
}

// ------------------------------------------------------------------------ document

void CTalisoDoc::DeleteContents()
{
    m_nEditMode = 0;
    ClearUndo();
    CDocument::DeleteContents();
}

void CTalisoDoc::Serialize(CArchive&)
{
    // The family levels write their data; this level has none.
}
