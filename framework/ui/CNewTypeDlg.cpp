#include "framework/ui/CNewTypeDlg.h"

#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CListBox.h"
#include "framework/ui/CWinApp.h"

IMPLEMENT_DYNAMIC(CNewTypeDlg, CDialog)

CNewTypeDlg::CNewTypeDlg(std::vector<CDocTemplate*> templates, CWnd* pParentWnd)
    : m_templates(std::move(templates))
{
    InitModalIndirect(&Template(), pParentWnd);
    m_nIDTemplate = AFX_IDD_NEWTYPEDLG;
}

// Built here: the language library need not carry a template for it.
const DialogTemplate& CNewTypeDlg::Template()
{
    static const DialogTemplate dialog = [] {
        DialogTemplate t;
        t.id = AFX_IDD_NEWTYPEDLG;
        t.cx = 180;
        t.cy = 90;
        t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
        t.caption = "New";
        t.font = DialogFontTemplate{8, "MS Sans Serif", 0, false, 0};
        DialogItemTemplate list;
        list.className = "LISTBOX";
        list.id = AFX_IDC_LISTBOX;
        list.x = 7;
        list.y = 7;
        list.cx = 110;
        list.cy = 76;
        list.style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY;
        t.items.push_back(list);
        DialogItemTemplate ok;
        ok.className = "BUTTON";
        ok.text = "OK";
        ok.id = IDOK;
        ok.x = 124;
        ok.y = 7;
        ok.cx = 50;
        ok.cy = 14;
        ok.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
        t.items.push_back(ok);
        DialogItemTemplate cancel = ok;
        cancel.text = "Cancel";
        cancel.id = IDCANCEL;
        cancel.y = 24;
        cancel.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
        t.items.push_back(cancel);
        return t;
    }();
    return dialog;
}

BOOL CNewTypeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_list.SubclassDlgItem(AFX_IDC_LISTBOX, this))
        return TRUE;
    CListBox* list = &m_list;
    for (CDocTemplate* docTemplate : m_templates) {
        CString name;
        if (docTemplate->GetDocString(name, CDocTemplate::fileNewName) && !name.IsEmpty()) {
            const int index = list->AddString(name.c_str());
            list->SetItemDataPtr(index, docTemplate);
        }
    }
    list->SetCurSel(0);
    return TRUE;
}

void CNewTypeDlg::OnOK()
{
    const int selection = m_list.m_hWnd != nullptr ? m_list.GetCurSel() : -1;
    if (selection < 0)
        return;
    m_pSelectedTemplate = static_cast<CDocTemplate*>(m_list.GetItemDataPtr(selection));
    CDialog::OnOK();
}
