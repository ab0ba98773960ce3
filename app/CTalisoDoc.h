#pragma once
// The base of every document: the field the user edits (the current object) and the one
// shown beside it, the edit-mode switch, the undo and redo store of snapshots of the
// current object, and the commands on it: undo, redo, point deletion, the clipboard,
// selection, the shape's dialog and property page, conversion into another shape, and
// export and import of one field as a monitor-area file. Which field is current is the
// family document's choice, made through the virtual operations below.
#include "framework/ui/CDocument.h"
#include "model/CObjectStack.h"

class CArchive;
class CCmdUI;
class CSensorObject;
class CShelter;

// Command ids of the edit commands.
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_EDIT_REDO = 57644;
constexpr UINT ID_EDIT_OBJECT = 32771;
constexpr UINT ID_SELECT_ALL_POINTS = 32772;
constexpr UINT ID_INVERT_SELECTION = 32773;
constexpr UINT ID_OBJECT_PROPERTIES = 32777;
constexpr UINT ID_DELETE_SELECTION = 32780;
constexpr UINT ID_IMPORT_MONITOR_AREA = 32850;
constexpr UINT ID_EXPORT_MONITOR_AREA = 32851;
// Conversion commands for the codes 0 to 6 of CShelter::ConvertTo.
constexpr UINT ID_CONVERT_CONTOUR91 = 32897;
constexpr UINT ID_CONVERT_CONTOUR181 = 32898;
constexpr UINT ID_CONVERT_CONTOUR361 = 32899;
constexpr UINT ID_CONVERT_RECTANGLE = 32907;
constexpr UINT ID_CONVERT_ARC = 32908;
constexpr UINT ID_CONVERT_RECTANGLE_CONTOUR = 32913;
constexpr UINT ID_CONVERT_ARC_CONTOUR = 32914;

// The update hint of every change of the current object or its selection.
constexpr LPARAM kHintCurrentObjectChanged = 300;

// Texts of the document's prompts.
constexpr UINT IDP_DELETE_SELECTED_POINTS = 311;
constexpr UINT IDP_FIELD_NOT_TAKEN = 440;
constexpr UINT IDP_FIELD_OTHER_DEVICE_TYPE = 441;
constexpr UINT IDP_FIELD_IS_WARNING = 442;
constexpr UINT IDP_FIELD_IS_PROTECTIVE = 443;
constexpr UINT IDP_FILE_CREATE_FAILED = 444;
constexpr UINT IDP_FILE_OPEN_FAILED = 445;
constexpr UINT IDP_FILE_WRITE_FAILED = 446;
constexpr UINT IDS_FIELD_PROPERTIES = 941;
constexpr UINT IDS_MONITOR_AREA_IMPORT = 1118; // default extension "\n" filter
constexpr UINT IDS_MONITOR_AREA_EXPORT = 1119;
constexpr int kHelpMonitorAreaExport = 117;
constexpr int kHelpMonitorAreaImport = 118;

class CTalisoDoc : public CDocument {
    DECLARE_SERIAL(CTalisoDoc)
public:
    CTalisoDoc();
    ~CTalisoDoc() override;

    // The objects the family document decides on. SetCurrentObject and SetSecondObject
    // put a copy of the object into the configuration; the caller keeps its object.
    virtual void SetCurrentObject(CSensorObject* pObject);
    virtual CShelter* GetCurrentObject();
    virtual COLORREF GetCurrentObjectColor();
    virtual void SetSecondObject(CSensorObject* pObject);
    virtual CShelter* GetSecondObject();
    virtual COLORREF GetSecondObjectColor();
    virtual int GetActiveLayer();

    // Switching edit mode off empties the undo store and clears the current selection.
    void SetEditMode(int on);
    int IsEditMode() const { return m_nEditMode; }

    // Every change records a copy of the object before it (PushUndo) and after it
    // (SetUndoCurrent); the copies keep no selection. 0 when the object is no field.
    int PushUndo(CSensorObject* pObject);
    int SetUndoCurrent(CSensorObject* pObject);
    // A mouse edit of the field done: when its shape differs from 'before' (the selection
    // aside), 'before' becomes the undo step and the field is marked as changed. FALSE
    // when the shape is the same, so that an edit that came to nothing takes no step.
    BOOL RecordFieldChange(const CShelter& before, CShelter& field);
    void ClearUndo();
    BOOL CanUndo() const { return m_undoStack.CanUndo(); }
    BOOL CanRedo() const { return m_undoStack.CanRedo(); }

    // The current object replaced by its conversion (code 0 to 6); nothing when the
    // shape cannot convert or the user cancels the shape's dialog.
    void ConvertCurrentObject(int code);
    // The conversion command's item, or the pop-up that holds the conversion items.
    void OnUpdateConvert(CCmdUI* pCmdUI, int code);

    void DeleteContents() override;
    // The base level of the document file holds no data.
    void Serialize(CArchive& ar) override;

    // The clipboard format of a field: its kind's text id (0: none, never copied).
    static UINT GetClipboardFormat(const CShelter& field);

    afx_msg void OnEditUndo();
    afx_msg void OnEditRedo();
    afx_msg void OnDeleteSelection();
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnExportMonitorArea();
    afx_msg void OnImportMonitorArea();
    afx_msg void OnSelectAll();
    afx_msg void OnInvertSelection();
    afx_msg void OnEditObject();
    afx_msg void OnObjectProperties();

    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDeleteSelection(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditCutCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMonitorArea(CCmdUI* pCmdUI);
    afx_msg void OnUpdateSelectAll(CCmdUI* pCmdUI);
    afx_msg void OnUpdateInvertSelection(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditObject(CCmdUI* pCmdUI);
    afx_msg void OnUpdateObjectProperties(CCmdUI* pCmdUI);

private:
    // The monitor-area file chosen by the user; FALSE on Cancel.
    BOOL PromptMonitorAreaPath(BOOL bOpen, CString& path);
    // The current object while edit mode is on.
    CShelter* GetEditableObject();
    // Copies the current object onto the clipboard; FALSE when nothing was placed.
    BOOL CopyToClipboard(const CShelter& field);
    // The field on the clipboard under the format; null when there is none (present
    // FALSE) or when the data there is no field (present TRUE).
    std::unique_ptr<CShelter> ReadFieldFromClipboard(UINT format, BOOL& present);
    // The first reader that understands the file gives the field; null when none does.
    std::unique_ptr<CShelter> ReadMonitorAreaFile(const CString& path);
    BOOL WriteMonitorAreaFile(const CString& path, const CShelter& field);
    // Replaces the current object by the field as one undoable change.
    void ReplaceCurrentObject(CShelter& current, CShelter& replacement);
    void RestoreSnapshot(CObject* pSnapshot);
    void NotifyCurrentObjectChanged();

    int m_nEditMode = 0;
    CObjectStack m_undoStack;

    DECLARE_MESSAGE_MAP()
};
