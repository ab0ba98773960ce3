#pragma once
// The field-transfer dialogs: the selection dialog (template 116) moves fields from an
// "available" table into a "chosen" one, the list dialog (template 117) shows them in one
// table. The calling document creates the items and appends them to m_items; the dialogs
// own them from then on and delete them with themselves.
#include "dialogs/controls/CColumnListBox.h"
#include "framework/core/CList.h"
#include "framework/core/CString.h"
#include "framework/ui/CButton.h"
#include "framework/ui/CDialog.h"

class CShelterSelectItem {
public:
    CShelterSelectItem() = default;
    virtual ~CShelterSelectItem() = default;

    // "%d %s %s": number, "SF" or "WF", name.
    CString GetRowText() const;

    int m_nNumber = 0;       // 1-based field-pair number
    CString m_strName;       // field-pair name
    int m_bProtective = 0;   // 1 protective field, 0 warning field
    int m_bInDevice = 0;     // known to be stored in the device
    int m_bLocked = 0;       // may not be chosen
    int m_bChosen = 0;       // stands in the chosen list
};

// Items of a dialog; the list deletes them with itself.
class CShelterSelectItemList : public CList<CShelterSelectItem*, CShelterSelectItem*> {
public:
    CShelterSelectItemList() : CList(10) {}
    ~CShelterSelectItemList() override;
};

class CShelterSelectDialog : public CDialog {
    DECLARE_DYNAMIC(CShelterSelectDialog)
public:
    static constexpr UINT IDD = 116;
    static constexpr int IDC_ADD = 2168;
    static constexpr int IDC_ADD_ALL = 2171;
    static constexpr int IDC_REMOVE = 2172;
    static constexpr int IDC_REMOVE_ALL = 2175;
    static constexpr int IDC_AVAILABLE = 2136;
    static constexpr int IDC_CHOSEN = 2082;

    explicit CShelterSelectDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    CShelterSelectItemList m_items;
    CButton m_buttonOK;
    CButton m_buttonAdd;
    CButton m_buttonAddAll;
    CButton m_buttonRemove;
    CButton m_buttonRemoveAll;
    CColumnListBox m_listAvailable;
    CColumnListBox m_listChosen;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;

    void OnAdd();
    void OnAddAll();
    void OnRemove();
    void OnRemoveAll();
    void OnSelChange();

private:
    void UpdateButtons();
    // Appends the item to the chosen list unless it stands there already.
    void Choose(CShelterSelectItem* item);
    int FindChosenRow(const CShelterSelectItem* item) const;
    CShelterSelectItem* AvailableItem(int row) const;
    CShelterSelectItem* ChosenItem(int row) const;

    CString m_strSet;
    CString m_strClear;

    DECLARE_MESSAGE_MAP()
};

class CShelterListDialog : public CDialog {
    DECLARE_DYNAMIC(CShelterListDialog)
public:
    static constexpr UINT IDD = 117;
    static constexpr int IDC_FIELDS = 2078;

    explicit CShelterListDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    CShelterSelectItemList m_items;
    CColumnListBox m_list;
};
