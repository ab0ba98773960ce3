#pragma once
// Asks for the name of a new entry of a named configuration list (template 123).
#include "dialogs/CEntryNameDialog.h"

class CNewNameDialog : public CEntryNameDialog {
    DECLARE_DYNAMIC(CNewNameDialog)
public:
    explicit CNewNameDialog(CWnd* pParentWnd = nullptr);
};
