#pragma once
// The named lists of a KVR configuration (sensors, field pairs, monitoring cases) as the
// configuration sheet and the configuration wizard both show them: a list box of names
// with add, rename and remove buttons whose enabling follows the number of entries, and
// the rename and remove handling both share. The list changes the configuration at once.
#include "framework/core/CString.h"
#include "framework/ui/CListBox.h"

class CKVRConfig;

// One named list of a configuration: how a page reaches its entries.
struct KVRConfigList {
    int maxCount;
    UINT defaultNameText; // the stem of a proposed name, followed by the new count
    UINT inUsePrompt;     // shown instead of removing an entry a case uses; 0: never in use
    UINT removePrompt;    // the Yes/No question before removing
    int (*count)(const CKVRConfig&);
    CString (*name)(const CKVRConfig&, int n);
    int (*find)(const CKVRConfig&, const CString& name);
    void (*rename)(CKVRConfig&, int n, const CString& name);
    void (*remove)(CKVRConfig&, int n);
    BOOL (*used)(const CKVRConfig&, int n); // null when entries are never in use
    void (*fill)(const CKVRConfig&, CListBox* list, BOOL bare);
};

extern const KVRConfigList kKVRSensorList;
extern const KVRConfigList kKVRShelterList;
extern const KVRConfigList kKVRControlList;

// PageBase: the sheet's or the wizard's page class; it provides GetConfig().
template <class PageBase>
class CKVRListPageBase : public PageBase {
public:
    static constexpr int IDC_ADD = 2168;
    static constexpr int IDC_RENAME = 2173;
    static constexpr int IDC_REMOVE = 2059;
    static constexpr UINT IDP_NAME_IN_USE = 448;

    BOOL OnInitDialog() override;

protected:
    // bare: the list shows the names alone, else numbered lines.
    CKVRListPageBase(UINT nIDTemplate, int nListId, const KVRConfigList& list, BOOL bare);

    // Refills the list, selects the row and sets the buttons by the entry count.
    void Refresh(int nSelect);
    // Refreshes after an entry was appended: the new last row is selected.
    void RefreshAfterAdd() { Refresh(Count() - 1); }
    virtual void EnableButtons(int count);
    void EnableItem(int nID, BOOL bEnable) const;
    // The entry count; 0 without a configuration.
    int Count() const;
    int Selected() const;
    // The proposal for a new entry: the stem followed by the count plus one.
    CString DefaultName() const;
    // FALSE, after the name-in-use message, when an entry has the name already.
    BOOL IsNameFree(const CString& name) const;
    // The message with the name inserted; the box's answer.
    int ShowNamed(UINT nIDPrompt, const CString& name, UINT nType) const;

    // A new name for the selected entry through the rename dialog. Renaming to the name
    // the entry has counts as a name in use.
    void OnRename();
    // The selected entry, unless it is the last one or a case uses it, after a question.
    void OnRemove();
    // A new sensor under a name from the new-name dialog.
    void AddNamedSensor();

    CListBox m_list;
    const KVRConfigList& m_kind;
    const int m_nListId;
    const BOOL m_bBare;
};
