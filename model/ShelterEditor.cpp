#include "model/ShelterEditor.h"

#include "framework/ui/CPropertyPage.h"
#include "model/CShelter.h"

#include <utility>

namespace {

// The records without their dialogs: no edit is confirmed, no page is made, no size is
// asked for.
class NoShelterEditor final : public ShelterEditor {
public:
    BOOL EditArc(CArcShelter&, CWnd*, BOOL) override { return FALSE; }
    BOOL EditRect(CRectShelter&, CWnd*, BOOL) override { return FALSE; }
    BOOL EditPoly(CPolyShelter&, CWnd*, int, BOOL, CObject*) override { return FALSE; }
    std::unique_ptr<CPropertyPage> CreateArcPage(CArcShelter&, BOOL, UINT) override { return nullptr; }
    std::unique_ptr<CPropertyPage> CreateRectPage(CRectShelter&, BOOL, UINT) override { return nullptr; }
    std::unique_ptr<CPropertyPage> CreatePolyPage(CPolyShelter&, int, BOOL, UINT) override { return nullptr; }
    std::unique_ptr<CShelter> AskConvertedShape(const CShelter&, int) override { return nullptr; }
};

NoShelterEditor g_noEditor;
// Constant-initialised, so an editor installed while statics are made is never lost.
ShelterEditor* g_installed = nullptr;

} // namespace

ShelterEditor& GetShelterEditor() { return g_installed != nullptr ? *g_installed : g_noEditor; }

ShelterEditor* InstallShelterEditor(ShelterEditor* editor) { return std::exchange(g_installed, editor); }
