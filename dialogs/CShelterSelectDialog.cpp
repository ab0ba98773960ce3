#include "dialogs/CShelterSelectDialog.h"

#include "framework/ui/DDX.h"
#include "framework/ui/MessageBox.h"

IMPLEMENT_DYNAMIC(CShelterSelectDialog, CDialog)
IMPLEMENT_DYNAMIC(CShelterListDialog, CDialog)

namespace {
constexpr UINT IDS_FLAG_SET = 963;
constexpr UINT IDS_FLAG_CLEAR = 964;
constexpr UINT IDS_FIELD_COLUMNS = 1171;
constexpr UINT IDS_CHOSEN_COLUMN = 1172;
constexpr UINT IDP_FIELD_LOCKED = 317;
constexpr int kCentred = 4;

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

// The three-column table of items shared by both dialogs: row text, in device, locked.
void FillFieldTable(CColumnListBox& list, const CShelterSelectItemList& items, const CString& set,
                    const CString& clear)
{
    list.SetColumnCount(3);
    list.SetColumnTitles(IDS_FIELD_COLUMNS, '\n');
    list.SetColumnFormat(0, kColumnLeft);
    list.SetColumnFormat(1, kCentred);
    list.SetColumnFormat(2, kCentred);
    for (POSITION pos = items.GetHeadPosition(); pos != nullptr;) {
        CShelterSelectItem* item = items.GetNext(pos);
        const int row = list.AddItem(item->GetRowText());
        if (row < 0) continue;
        list.SetItemObject(row, 0, item);
        list.SetItemText(row, 1, item->m_bInDevice ? set : clear);
        list.SetItemText(row, 2, item->m_bLocked ? set : clear);
    }
    list.SetCurSel(0);
    list.AutoSizeColumns(-1);
}
} // namespace

CString CShelterSelectItem::GetRowText() const
{
    CString text;
    text.Format("%d %s %s", m_nNumber, m_bProtective ? "SF" : "WF", LPCTSTR(m_strName));
    return text;
}

CShelterSelectItemList::~CShelterSelectItemList()
{
    while (!IsEmpty())
        delete RemoveHead();
}

BEGIN_MESSAGE_MAP(CShelterSelectDialog, CDialog)
    ON_BN_CLICKED(CShelterSelectDialog::IDC_ADD, OnAdd)
    ON_BN_CLICKED(CShelterSelectDialog::IDC_ADD_ALL, OnAddAll)
    ON_BN_CLICKED(CShelterSelectDialog::IDC_REMOVE, OnRemove)
    ON_BN_CLICKED(CShelterSelectDialog::IDC_REMOVE_ALL, OnRemoveAll)
    ON_LBN_SELCHANGE(CShelterSelectDialog::IDC_AVAILABLE, OnSelChange)
    ON_LBN_SELCHANGE(CShelterSelectDialog::IDC_CHOSEN, OnSelChange)
END_MESSAGE_MAP()

CShelterSelectDialog::CShelterSelectDialog(CWnd* pParentWnd) : CDialog(IDD, pParentWnd) {}

void CShelterSelectDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_buttonOK);
    DDX_Control(pDX, IDC_ADD, m_buttonAdd);
    DDX_Control(pDX, IDC_ADD_ALL, m_buttonAddAll);
    DDX_Control(pDX, IDC_REMOVE, m_buttonRemove);
    DDX_Control(pDX, IDC_REMOVE_ALL, m_buttonRemoveAll);
}

BOOL CShelterSelectDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_strSet = LoadText(IDS_FLAG_SET);
    m_strClear = LoadText(IDS_FLAG_CLEAR);

    m_listAvailable.AttachToDlgItem(IDC_AVAILABLE, this);
    FillFieldTable(m_listAvailable, m_items, m_strSet, m_strClear);

    m_listChosen.AttachToDlgItem(IDC_CHOSEN, this);
    m_listChosen.SetColumnCount(1);
    m_listChosen.SetColumnTitle(0, LoadText(IDS_CHOSEN_COLUMN));
    m_listChosen.SetColumnFormat(0, kColumnLeft);
    m_listChosen.AutoSizeColumns(-1);

    UpdateButtons();
    return TRUE;
}

CShelterSelectItem* CShelterSelectDialog::AvailableItem(int row) const
{
    return static_cast<CShelterSelectItem*>(m_listAvailable.GetItemObject(row, 0));
}

CShelterSelectItem* CShelterSelectDialog::ChosenItem(int row) const
{
    return static_cast<CShelterSelectItem*>(m_listChosen.GetItemObject(row, 0));
}

int CShelterSelectDialog::FindChosenRow(const CShelterSelectItem* item) const
{
    for (int row = 0; row < m_listChosen.GetCount(); ++row)
        if (ChosenItem(row) == item) return row;
    return LB_ERR;
}

void CShelterSelectDialog::Choose(CShelterSelectItem* item)
{
    item->m_bChosen = 1;
    if (FindChosenRow(item) != LB_ERR) return;
    const int row = m_listChosen.AddItem(item->GetRowText());
    if (row < 0) return;
    m_listChosen.SetItemObject(row, 0, item);
    m_listChosen.AutoSizeColumns(-1);
    m_listChosen.Invalidate();
    m_listChosen.UpdateWindow();
}

void CShelterSelectDialog::UpdateButtons()
{
    const bool hasAvailable = m_listAvailable.GetCount() > 0;
    const bool hasChosen = m_listChosen.GetCount() > 0;
    m_buttonAdd.EnableWindow(hasAvailable && m_listAvailable.GetCurSel() != LB_ERR);
    m_buttonAddAll.EnableWindow(hasAvailable);
    m_buttonRemove.EnableWindow(hasChosen && m_listChosen.GetCurSel() != LB_ERR);
    m_buttonRemoveAll.EnableWindow(hasChosen);
    m_buttonOK.EnableWindow(hasChosen);
}

void CShelterSelectDialog::OnAdd()
{
    const int row = m_listAvailable.GetCurSel();
    CShelterSelectItem* item = row == LB_ERR ? nullptr : AvailableItem(row);
    if (item != nullptr) {
        if (item->m_bLocked)
            AfxMessageBox(IDP_FIELD_LOCKED, MB_OK | MB_ICONEXCLAMATION);
        else
            Choose(item);
    }
    UpdateButtons();
}

void CShelterSelectDialog::OnAddAll()
{
    for (int row = 0; row < m_listAvailable.GetCount(); ++row) {
        CShelterSelectItem* item = AvailableItem(row);
        if (item != nullptr && !item->m_bLocked) Choose(item);
    }
    UpdateButtons();
}

void CShelterSelectDialog::OnRemove()
{
    const int row = m_listChosen.GetCurSel();
    if (row != LB_ERR) {
        if (CShelterSelectItem* item = ChosenItem(row)) item->m_bChosen = 0;
        m_listChosen.RemoveItem(row);
    }
    UpdateButtons();
}

void CShelterSelectDialog::OnRemoveAll()
{
    for (int row = 0; row < m_listChosen.GetCount(); ++row)
        if (CShelterSelectItem* item = ChosenItem(row)) item->m_bChosen = 0;
    m_listChosen.ResetContent();
    UpdateButtons();
}

void CShelterSelectDialog::OnSelChange()
{
    UpdateButtons();
}

void CShelterSelectDialog::OnCancel()
{
    for (int row = 0; row < m_listChosen.GetCount(); ++row)
        if (CShelterSelectItem* item = ChosenItem(row)) item->m_bChosen = 0;
    CDialog::OnCancel();
}

CShelterListDialog::CShelterListDialog(CWnd* pParentWnd) : CDialog(IDD, pParentWnd) {}

BOOL CShelterListDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    m_list.AttachToDlgItem(IDC_FIELDS, this);
    FillFieldTable(m_list, m_items, LoadText(IDS_FLAG_SET), LoadText(IDS_FLAG_CLEAR));
    return TRUE;
}
