#include "app/DeviceDocCombos.h"

#include "app/CSelectorComboBox.h"
#include "framework/core/Resources.h"
#include "framework/ui/MessageBox.h"
#include "model/CShelter.h"

namespace {

// Fills with redrawing off, then redraws the whole box once.
template <class Fill>
void Refill(CComboBox& combo, Fill fill)
{
    combo.SetRedraw(FALSE);
    combo.ResetContent();
    fill();
    combo.SetRedraw(TRUE);
    combo.Invalidate();
}

void AddFieldItems(CSelectorComboBox& combo, const std::vector<FieldItem>& items)
{
    for (const FieldItem& item : items)
        combo.AddItem(item.name.c_str(), item.selection);
}

// An item that names a pair but no kind of field in it.
BOOL NamesNoField(CShelterSelection selection)
{
    return selection.GetIndex() != -1 && selection.GetKind() == -1;
}

BOOL ShowItemWithoutField(CSelectorComboBox& combo, int item)
{
    CString itemText;
    combo.GetLBText(item, itemText);
    CString text;
    AfxFormatString1(text, IDP_ITEM_WITHOUT_FIELD, itemText.c_str());
    AfxMessageBox(text.c_str(), MB_OK);
    return FALSE;
}

} // namespace

void FillScannerCombo(CComboBox& combo, const std::vector<CString>& names, int noScanner, int firstScanner,
                      int selected)
{
    Refill(combo, [&] {
        CString none;
        none.LoadString(IDS_SELECTOR_NO_SCANNER);
        const int first = combo.AddString(none.c_str());
        combo.SetItemData(first, DWORD_PTR(DWORD(noScanner)));
        if (selected == noScanner)
            combo.SetCurSel(first);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const int scanner = firstScanner + int(i);
            CString number;
            number.Format("%d", int(i) + 1);
            CString text;
            AfxFormatString2(text, IDS_SELECTOR_SCANNER, number.c_str(), names[i].c_str());
            const int item = combo.AddString(text.c_str());
            combo.SetItemData(item, DWORD_PTR(DWORD(scanner)));
            if (scanner == selected)
                combo.SetCurSel(item);
        }
    });
}

std::optional<int> PickedScanner(const CComboBox& combo)
{
    const int item = combo.GetCurSel();
    if (item < 0)
        return std::nullopt;
    return int(DWORD(combo.GetItemData(item)));
}

void FillFirstObjectCombo(CSelectorComboBox& combo, const std::vector<FieldItem>& items, CShelterSelection current)
{
    Refill(combo, [&] {
        AddFieldItems(combo, items);
        combo.SelectBySelection(current);
    });
}

void FillSecondObjectCombo(CSelectorComboBox& combo, const std::vector<FieldItem>& items, CShelterSelection second)
{
    Refill(combo, [&] {
        CShelterSelection none;
        none.Clear();
        const int empty = combo.AddItem("", none);
        if (second.GetIndex() == -1)
            combo.SetCurSel(empty);
        AddFieldItems(combo, items);
        if (second.GetIndex() != -1)
            combo.SelectBySelection(second);
    });
}

std::optional<CShelterSelection> PickedFirstObject(CSelectorComboBox& combo, CShelterSelection current,
                                                   BOOL editMode,
                                                   const std::function<CShelter*(CShelterSelection)>& fieldOf)
{
    const int item = combo.GetCurSel();
    if (item < 0)
        return std::nullopt;
    const CShelterSelection picked = combo.GetItemSelection(item);
    BOOL take = TRUE;
    if (NamesNoField(picked)) {
        take = ShowItemWithoutField(combo, item);
    } else if (editMode) {
        const CShelter* field = fieldOf(picked);
        if (field != nullptr && field->GetFieldKind() == kProtectiveField && field->IsLocked())
            take = AfxMessageBox(IDP_LOCKED_FIELD, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    if (!take) {
        combo.SelectBySelection(current);
        return std::nullopt;
    }
    return picked;
}

std::optional<CShelterSelection> PickedSecondObject(CSelectorComboBox& combo, CShelterSelection second)
{
    const int item = combo.GetCurSel();
    if (item < 0)
        return std::nullopt;
    const CShelterSelection picked = combo.GetItemSelection(item);
    if (NamesNoField(picked)) {
        ShowItemWithoutField(combo, item);
        combo.SelectBySelection(second);
        return std::nullopt;
    }
    return picked;
}
