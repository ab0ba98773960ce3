#include "model/ShelterEditor.h"

#include "dialogs/shapedialogs/CArcShapeDialog.h"
#include "dialogs/shapedialogs/CRectShapeDialog.h"
#include "framework/ui/CPropertyPage.h"
#include "model/CArcShelter.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/ShelterConversions.h"
#include "model/settings/ViewMetricSetting.h"
#include "model/shapedialogs/CArcShelterDialog.h"
#include "model/shapedialogs/CArcShelterPage.h"
#include "model/shapedialogs/CPolyShelterDialog.h"
#include "model/shapedialogs/CPolyShelterPage.h"
#include "model/shapedialogs/CRectShelterDialog.h"
#include "model/shapedialogs/CRectShelterPage.h"

#include <algorithm>

// The field shapes' dialogs and pages: the records open them through the editor installed
// here, as they are built with the controls and dialogs that sit above the records.

namespace {

constexpr int kDefaultBeamCount = 181;
// The contour field page's template.
constexpr UINT IDD_POLY_SHELTER_PAGE = 156;

// The dialogs check every length against the field's limits, which lie within 16 bits.
WORD ToWord(int cm) { return WORD(std::clamp(cm, 0, 0xFFFF)); }

// Rectangle extents, or null when the user cancels.
std::unique_ptr<CRectShapeDialog> AskRectangle(const CShelter& source, BOOL askBeamCount)
{
    auto dialog = std::make_unique<CRectShapeDialog>();
    dialog->m_bInch = IsInchDisplay();
    dialog->m_nLeft = dialog->m_nRight = dialog->m_nFront = source.GetDefaultDistance();
    dialog->m_nMinDistance = source.GetMinDistance();
    dialog->m_nMaxDistance = source.GetMaxDistance();
    dialog->m_nMaxWidth = source.GetMaxWidth();
    dialog->m_bShowBeamCount = askBeamCount;
    dialog->m_nBeamCount = kDefaultBeamCount;
    if (dialog->DoModal() != IDOK) return nullptr;
    return dialog;
}

// A radius up to maxDistance, or null when the user cancels.
std::unique_ptr<CArcShapeDialog> AskArc(const CShelter& source, int maxDistance, BOOL askBeamCount)
{
    auto dialog = std::make_unique<CArcShapeDialog>();
    dialog->m_bInch = IsInchDisplay();
    dialog->m_nRadius = source.GetDefaultDistance();
    dialog->m_nMinDistance = source.GetMinDistance();
    dialog->m_nMaxDistance = maxDistance;
    dialog->m_bShowBeamCount = askBeamCount;
    dialog->m_nBeamCount = kDefaultBeamCount;
    if (dialog->DoModal() != IDOK) return nullptr;
    return dialog;
}

class DialogShelterEditor final : public ShelterEditor {
public:
    BOOL EditArc(CArcShelter& field, CWnd* pParentWnd, BOOL inch) override
    {
        return EditCopy<CArcShelterDialog>(field, pParentWnd, inch);
    }

    BOOL EditRect(CRectShelter& field, CWnd* pParentWnd, BOOL inch) override
    {
        return EditCopy<CRectShelterDialog>(field, pParentWnd, inch);
    }

    BOOL EditPoly(CPolyShelter& field, CWnd* pParentWnd, int polarEntry, BOOL inch, CObject* pOwner) override
    {
        CPolyShelterDialog dialog(&field, DisplayMode(polarEntry), inch, pParentWnd);
        dialog.SetOwnerToNotify(pOwner);
        // Cancel keeps the changes already made too, so the edit always counts as one change.
        dialog.DoModal();
        return TRUE;
    }

    std::unique_ptr<CPropertyPage> CreateArcPage(CArcShelter& field, BOOL inch, UINT nIDCaption) override
    {
        return std::make_unique<CArcShelterPage>(nIDCaption, field.GetSensorType(), &field, inch);
    }

    std::unique_ptr<CPropertyPage> CreateRectPage(CRectShelter& field, BOOL inch, UINT nIDCaption) override
    {
        return std::make_unique<CRectShelterPage>(nIDCaption, field.GetSensorType(), &field, inch);
    }

    std::unique_ptr<CPropertyPage> CreatePolyPage(CPolyShelter& field, int polarEntry, BOOL inch,
                                                  UINT nIDCaption) override
    {
        return std::make_unique<CPolyShelterPage>(IDD_POLY_SHELTER_PAGE, nIDCaption, field.GetSensorType(), &field,
                                                  DisplayMode(polarEntry), inch);
    }

    std::unique_ptr<CShelter> AskConvertedShape(const CShelter& source, int code) override
    {
        switch (code) {
        case kConvertToRectangle: {
            const auto size = AskRectangle(source, FALSE);
            if (!size) return nullptr;
            auto rectangle = std::make_unique<CRectShelter>();
            rectangle->Initialize(source.GetSensorType(), ToWord(size->m_nLeft), ToWord(size->m_nFront),
                                  ToWord(size->m_nRight), source.GetFieldKind());
            return rectangle;
        }
        case kConvertToArc: {
            const auto size = AskArc(source, source.GetMaxDistance(), FALSE);
            if (!size) return nullptr;
            auto arc = std::make_unique<CArcShelter>();
            arc->Initialize(source.GetSensorType(), ToWord(size->m_nRadius), source.GetFieldKind());
            return arc;
        }
        case kConvertToRectangleContour: {
            const auto size = AskRectangle(source, TRUE);
            if (!size) return nullptr;
            return MakeRectangleContour(source, size->m_nBeamCount, size->m_nLeft, size->m_nFront, size->m_nRight);
        }
        case kConvertToArcContour: {
            // Every beam of the contour reaches the radius, the side beams too: the width limit applies.
            const auto size = AskArc(source, source.GetMaxWidth(), TRUE);
            if (!size) return nullptr;
            return MakeConstantContour(source, size->m_nRadius, size->m_nBeamCount);
        }
        default:
            return nullptr;
        }
    }

private:
    // The dialog edits a copy of the field, which OK copies back.
    template <class Dialog, class Field>
    static BOOL EditCopy(Field& field, CWnd* pParentWnd, BOOL inch)
    {
        Dialog dialog(field, inch, pParentWnd);
        if (dialog.DoModal() != IDOK) return FALSE;
        field.CopyFrom(dialog.GetShelter());
        return TRUE;
    }

    static int DisplayMode(int polarEntry)
    {
        return polarEntry ? CPolyShelterDialog::kPolar : CPolyShelterDialog::kCartesian;
    }
};

// Every program with the shape dialogs links this layer whole, so the shapes open their
// dialogs from the start.
DialogShelterEditor g_dialogEditor;
[[maybe_unused]] const ShelterEditor* const g_installed = InstallShelterEditor(&g_dialogEditor);

} // namespace
