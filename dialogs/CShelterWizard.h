#pragma once
// The field wizard: asks for the name of a new field pair and the shapes and sizes of
// its protective and its warning field, then builds the two fields. It does not touch a
// configuration. The caller copies the sensor type in, adds the names in use, proposes a
// name, runs DoModal and, on ID_WIZFINISH, takes both fields and the name.
#include "dialogs/CShelterShapes.h"
#include "framework/core/CArray.h"
#include "framework/core/CString.h"
#include "framework/ui/CPropertySheet.h"
#include "model/CSensorType.h"

#include <memory>
#include <vector>

class CPolyShelter;
class CShelter;

class CShelterWizard : public CPropertySheet {
    DECLARE_DYNAMIC(CShelterWizard)
public:
    static constexpr UINT IDS_CAPTION = 944;

    explicit CShelterWizard(CWnd* pParentWnd = nullptr);

    // Runs the name, shape and end pages; ID_WIZFINISH when the user finished.
    INT_PTR DoModal() override;
    // No page is skipped.
    virtual BOOL SkipPage(int nPage);

    // Exact, case-sensitive comparison with the names in use.
    BOOL IsNameUsed(const CString& name) const;

    // A new protective field (kind 1) and a new warning contour (kind 2) on the sensor
    // type by the chosen shapes, owned by the caller; null for a shape outside 0..4.
    std::unique_ptr<CShelter> CreateProtectiveField() const;
    std::unique_ptr<CPolyShelter> CreateWarningField() const;

    // The caller's protocol in one call: a wizard on the type with the names in use and the
    // proposed name. TRUE when the user finished and both fields were built; name and
    // both fields are then the new pair's. Otherwise FALSE and both fields null.
    static BOOL RunForNewPair(CWnd* pParentWnd, const CSensorType& type, const std::vector<CString>& usedNames,
                              const CString& proposedName, CString& name, std::unique_ptr<CShelter>& protective,
                              std::unique_ptr<CShelter>& warning);

    CStringArray m_usedNames;
    CString m_strName;
    CSensorType m_sensorType{4, 0};
    CShelterShapes m_shapes;
};
