#pragma once
// The table of the monitoring cases of a KVR configuration (template 124): one row per
// case with the input states, the speed range drawn as a bar, the option, the field pair
// and the sensor, so that the user sees which inputs and speeds select which case.
#include "dialogs/controls/CColumnListBox.h"
#include "framework/ui/CDialog.h"

class CKVRConfig;

// The case table's list: the bar column draws each row's speed range against the widest
// range added so far.
class CKVRControlListBox : public CColumnListBox {
    DECLARE_DYNAMIC(CKVRControlListBox)
public:
    void SetBarColumn(int column) { m_nBarColumn = column; }
    int GetBarColumn() const { return m_nBarColumn; }
    // Records the range as the bar cell's value (high bound in the upper, low bound in
    // the lower 16 bits) and widens the running bounds.
    void SetSpeedRange(int row, int low, int high);
    int GetLowestSpeed() const { return m_nLowest; }
    int GetHighestSpeed() const { return m_nHighest; }

    // The bar's left and right pixel for a cell of that extent; a cell without a range
    // (value 0) is covered whole.
    void GetBarExtent(const RECT& cellRect, DWORD_PTR value, int& left, int& right) const;

protected:
    void DrawCell(CDC* pDC, const RECT& cellRect, int column, int format, const CString& text,
                  DWORD_PTR data) override;

private:
    int m_nBarColumn = -1;
    int m_nLowest = 0;
    int m_nHighest = 0;
};

class CKVRControlTableDialog : public CDialog {
    DECLARE_DYNAMIC(CKVRControlTableDialog)
public:
    static constexpr int kMinBarWidth = 100;

    // The configuration must outlive the dialog.
    explicit CKVRControlTableDialog(const CKVRConfig* pConfig, CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    // The case left out of the table; -1 for none.
    int m_nExcluded = -1;

    CKVRControlListBox& GetList() { return m_list; }

private:
    void AddSpeedRow(int n);
    void AddPlainRow(int n);

    const CKVRConfig* m_pConfig;
    CKVRControlListBox m_list;
};
