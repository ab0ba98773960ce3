#pragma once
// Shared behaviour of the three list pages of the KVR configuration sheet: a list box of
// entry names (2050) with add (2168), rename (2173) and delete (2059) buttons whose
// enabling follows the number of entries. The list changes the sheet's copy at once.
#include "dialogs/CKVRConfigPage.h"
#include "framework/ui/CListBox.h"

class CKVRListPage : public CKVRConfigPage {
    DECLARE_DYNAMIC(CKVRListPage)
public:
    CKVRListPage(UINT nIDTemplate, int maxCount);

    BOOL OnInitDialog() override;

protected:
    // The entries of the page's list in the configuration.
    virtual int GetEntryCount() const = 0;
    virtual void FillList() = 0;
    virtual int FindEntry(const CString& name) const = 0;
    virtual void RenameEntry(int n, const CString& name) = 0;
    virtual void AddEntry() = 0;
    virtual void DeleteEntry(int n) = 0;
    virtual void EnableButtons(int count);

    // Refills the list, selects the line and enables the buttons.
    void Refresh(int selection);
    int GetSelection() const;
    CString GetSelectedName() const;
    // Yes/No with the question icon, No as the default; the name inserted as %1.
    static BOOL ConfirmDeletion(UINT nIDPrompt, const CString& name);
    // OK only, with the name inserted as %1.
    static void ShowRefusal(UINT nIDPrompt, const CString& name);
    // The proposal for a new entry: the text of the string followed by count + 1.
    CString DefaultName(UINT nIDString) const;
    BOOL IsNameFree(const CString& name) const;

    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnAdd();
    afx_msg void OnRename();
    afx_msg void OnDelete();
    afx_msg virtual void OnListDoubleClick();

    CListBox m_list;
    const int m_maxCount;

    DECLARE_MESSAGE_MAP()
};
