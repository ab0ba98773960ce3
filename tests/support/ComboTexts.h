#pragma once

#include "framework/ui/CComboBox.h"

#include <vector>

// The item texts of a combo box as a user reads them, top to bottom.
inline std::vector<CString> ComboTexts(const CComboBox& combo)
{
    std::vector<CString> texts;
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString text;
        combo.GetLBText(i, text);
        texts.push_back(text);
    }
    return texts;
}
