#include "model/CShelterInfo.h"

#include "ArchiveBytes.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(CShelterInfoTest, TextsOfValueAndUnit)
{
    CShelterInfo info;
    EXPECT_EQ(info.FormatValue(), "4");
    const std::vector<std::pair<int, const char*>> units = {{0, "cm"}, {1, "mm"}, {2, "dm"}, {3, ""}, {-1, ""}};
    for (const auto& [unit, text] : units) {
        info.SetUnit(unit);
        EXPECT_EQ(info.GetUnitText(), text) << unit;
    }
    info.SetValue(65535);
    EXPECT_EQ(info.FormatValue(), "65535");
}

TEST(CShelterInfoTest, ArchiveBytesAndRefusedVersions)
{
    CShelterInfo info;
    EXPECT_EQ(StoreBytes(info), (std::vector<BYTE>{0x01, 0x04, 0x00, 0x00, 0x00}));

    info.SetValue(1234);
    info.SetUnit(2);
    const std::vector<BYTE> bytes = StoreBytes(info);
    EXPECT_EQ(bytes, (std::vector<BYTE>{0x01, 0xD2, 0x04, 0x02, 0x00}));
    CShelterInfo loaded;
    LoadBytes(loaded, bytes);
    EXPECT_EQ(loaded.GetValue(), 1234);
    EXPECT_EQ(loaded.GetUnit(), 2);

    CShelterInfo untouched;
    for (const BYTE version : {BYTE(0), BYTE(2)})
        EXPECT_EQ(LoadFailure(untouched, {version, 0xD2, 0x04, 0x02, 0x00}), CArchiveException::badSchema);
    EXPECT_EQ(LoadFailure(untouched, {0x01, 0xD2, 0x04}), CArchiveException::endOfFile);
    EXPECT_EQ(untouched.GetValue(), 4);
}

TEST(CShelterInfoTest, CreatedFromAnArchiveByClassName)
{
    CShelterInfo info;
    info.SetValue(7);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<const CObject*>(&info);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CObject* object = nullptr;
    ar >> object;
    std::unique_ptr<CObject> owner(object);
    auto* loaded = dynamic_cast<CShelterInfo*>(object);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetValue(), 7);
}

constexpr UINT kTestDialogId = 4300;
constexpr int kShapeComboId = 2100;

// A dialog that exchanges the shape choice through its combo.
class ShapeChoiceDialog : public CDialog {
public:
    ShapeChoiceDialog() : CDialog(kTestDialogId) {}
    DWORD m_choice = kShapeArc;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_ShelterShapeCombo(pDX, kShapeComboId, &m_choice); }
};

// The shipped shape texts and a small dialog template as the current resources.
class ShapeComboTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        std::ifstream file(std::string(source ? source : ".") + "/language/scan.rc");
        ASSERT_TRUE(file);
        std::stringstream script;
        script << file.rdbuf();
        script << "\n4300 DIALOG 0, 0, 160, 60\nSTYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION\nCAPTION \"Shape\"\n"
                  "BEGIN\n    COMBOBOX 2100, 7, 7, 100, 80, CBS_DROPDOWNLIST | WS_TABSTOP\n"
                  "    DEFPUSHBUTTON \"OK\", 1, 113, 7, 40, 14\n    PUSHBUTTON \"Cancel\", 2, 113, 25, 40, 14\nEND\n";
        std::string error;
        m_module = CreateResourceModule("shape.rc", script.str(), nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_previous);
        if (m_module) FreeLibrary(m_module);
    }

    static std::vector<CString> Items(const DialogDriver& driver)
    {
        std::vector<CString> items;
        for (int i = 0; i < driver.Count(kShapeComboId); ++i) items.push_back(driver.ItemText(kShapeComboId, i));
        return items;
    }

    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

const std::vector<CString> kShapeTexts = {"Rectangle field", "Arc field", "Contour field, 91 beams",
                                          "Contour field, 181 beams", "Contour field, 361 beams"};

// Opening fills the five shapes once and shows the choice; a second load (UpdateData)
// keeps them; OK takes the chosen item's code.
TEST_F(ShapeComboTest, DialogShowsTheChoiceAndTakesTheNewOne)
{
    ShapeChoiceDialog dialog;
    ScriptedUi ui;
    ui.QueueModal([](CWnd& wnd) {
        DialogDriver driver(wnd);
        EXPECT_EQ(Items(driver), kShapeTexts);
        EXPECT_EQ(driver.Selection(kShapeComboId), 1);
        static_cast<CDialog&>(wnd).UpdateData(FALSE);
        EXPECT_EQ(Items(driver), kShapeTexts);
        driver.Select(kShapeComboId, 4);
        driver.Click(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_choice, DWORD(kShapeContour361));
}

// A combo filled elsewhere with another number of items is refilled; a choice that no
// item carries leaves the selection; OK with nothing selected keeps the choice.
TEST_F(ShapeComboTest, ForeignItemsAreReplacedAndAnUnknownChoiceIsKept)
{
    ShapeChoiceDialog dialog;
    dialog.m_choice = 9;
    ScriptedUi ui;
    ui.QueueModal([](CWnd& wnd) {
        DialogDriver driver(wnd);
        EXPECT_EQ(Items(driver), kShapeTexts);
        EXPECT_EQ(driver.Selection(kShapeComboId), -1);
        const HWND combo = driver.Control(kShapeComboId);
        ::SendMessage(combo, CB_RESETCONTENT, 0, 0);
        for (const char* text : {"one", "two", "three"}) ::SendMessage(combo, CB_ADDSTRING, 0, LPARAM(text));
        ::SendMessage(combo, CB_SETCURSEL, 2, 0);
        auto& dialog = static_cast<ShapeChoiceDialog&>(wnd);
        dialog.m_choice = kShapeRectangle;
        dialog.UpdateData(FALSE);
        EXPECT_EQ(Items(driver), kShapeTexts);
        EXPECT_EQ(driver.Selection(kShapeComboId), 0);
        ::SendMessage(combo, CB_SETCURSEL, WPARAM(-1), 0);
        dialog.m_choice = kShapeContour91;
        driver.Click(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_choice, DWORD(kShapeContour91));
}

} // namespace
