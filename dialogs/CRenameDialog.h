#pragma once
// Asks for a new name for an existing entry of a named configuration list (template 122).
#include "dialogs/CEntryNameDialog.h"

class CRenameDialog : public CEntryNameDialog {
    DECLARE_DYNAMIC(CRenameDialog)
public:
    explicit CRenameDialog(CWnd* pParentWnd = nullptr);
};
