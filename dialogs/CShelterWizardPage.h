#pragma once
// The pages of the field wizard (CShelterWizard), each with the wizard's side picture.
#include "dialogs/CShelterShapesPageBase.h"
#include "dialogs/CWizardPage.h"

class CShelterWizard;

class CShelterWizardPage : public CWizardPageOf<CShelterWizard> {
    DECLARE_DYNAMIC(CShelterWizardPage)
public:
    static constexpr UINT IDB_SIDE_PICTURE = 86;

    explicit CShelterWizardPage(UINT nIDTemplate);
};

// 191: the name of the new field pair (edit 2086, at most 8 characters); a name in use
// keeps the page with message 448, in either direction.
class CShelterNamePage : public CShelterWizardPage {
public:
    static constexpr UINT IDD = 191;
    static constexpr int IDC_NAME = 2086;
    static constexpr UINT IDP_NAME_USED = 448;
    static constexpr int kMaxNameLength = 8;

    CShelterNamePage();
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

    CString m_strName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// 192: the shapes of both fields (combo boxes 2122 and 2124) and their sizes (buttons
// 2103 and 2104, each enabled only for a rectangle or an arc).
class CShelterShapePage : public CShelterShapesPageBase<CShelterWizardPage> {
public:
    static constexpr UINT IDD = 192;

    CShelterShapePage();

protected:
    // The wizard's shapes and sensor type.
    CShelterShapes* GetShapes() override;
    const CSensorType* GetShapesType() const override;

    DECLARE_MESSAGE_MAP()
};

// 193: the end; Back and "OK".
class CShelterFinishPage : public CShelterWizardPage {
public:
    static constexpr UINT IDD = 193;

    CShelterFinishPage();
    BOOL OnSetActive() override;
};
