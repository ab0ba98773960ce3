#pragma once
// The choice of document type for File New when the application has several templates:
// a list of the templates' "file new" names.
#include "framework/ui/CDialog.h"
#include "framework/ui/CListBox.h"

#include <vector>

class CDocTemplate;

class CNewTypeDlg : public CDialog {
    DECLARE_DYNAMIC(CNewTypeDlg)
public:
    explicit CNewTypeDlg(std::vector<CDocTemplate*> templates, CWnd* pParentWnd = nullptr);

    // The template chosen on OK.
    CDocTemplate* m_pSelectedTemplate = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    static const DialogTemplate& Template();
    std::vector<CDocTemplate*> m_templates;
    CListBox m_list;
};
