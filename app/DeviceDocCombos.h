#pragma once
// The bar combo boxes both device documents fill and read in the same way: the scanner
// selector, the first- and second-object selectors, and what a pick in them means.
#include "framework/core/CString.h"
#include "model/CShelterSelection.h"

#include <functional>
#include <optional>
#include <vector>

class CComboBox;
class CSelectorComboBox;
class CShelter;

// Texts of the bar combos and their prompts.
constexpr UINT IDS_SELECTOR_NO_SCANNER = 988;
constexpr UINT IDS_SELECTOR_SCANNER = 995;  // %1 number, %2 name
constexpr UINT IDP_LOCKED_FIELD = 312;      // Yes/No: work on a locked protective field?
constexpr UINT IDP_ITEM_WITHOUT_FIELD = 340; // %1 the item's text

// One item of a first- or second-object selector.
struct FieldItem {
    CString name;
    CShelterSelection selection;
};

// The selector: string 988 with item data noScanner, then string 995 with the number
// and name of each scanner, item data firstScanner + i; the selected scanner selected.
void FillScannerCombo(CComboBox& combo, const std::vector<CString>& names, int noScanner, int firstScanner,
                      int selected);
// The item data of the picked scanner item; none when nothing is picked.
std::optional<int> PickedScanner(const CComboBox& combo);

// The first-object selector: the items, the current selection selected.
void FillFirstObjectCombo(CSelectorComboBox& combo, const std::vector<FieldItem>& items, CShelterSelection current);
// The second-object selector: an empty item (no field) first, then the items.
void FillSecondObjectCombo(CSelectorComboBox& combo, const std::vector<FieldItem>& items, CShelterSelection second);

// What the user picked in a first-object selector: the new current selection, or none
// when the document keeps its own (the combo is then set back to it). An item that names
// no field shows message 340; in edit mode a locked protective field needs Yes to 312.
std::optional<CShelterSelection> PickedFirstObject(CSelectorComboBox& combo, CShelterSelection current,
                                                   BOOL editMode,
                                                   const std::function<CShelter*(CShelterSelection)>& fieldOf);
// The same for the second-object selector, without the edit-mode question.
std::optional<CShelterSelection> PickedSecondObject(CSelectorComboBox& combo, CShelterSelection second);
