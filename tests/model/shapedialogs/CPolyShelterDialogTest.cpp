#include "model/shapedialogs/CPolyShelterDialog.h"

#include "dialogs/PolygonLanguage.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CPolyShelter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int IDC_DELETE = 2059;
constexpr int IDC_EDIT_POINT = 2060;
constexpr int IDC_ADD_POINT = 2168;
constexpr int IDC_UNDO = 2147;
constexpr int IDC_REDO = 2150;
constexpr int IDC_VERTICES = 2078;
constexpr int IDC_X = 2012;
constexpr int IDC_Y = 2013;
constexpr int IDC_ANGLE = 2014;
constexpr int IDC_DISTANCE = 2015;

class CPolyShelterDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(language.Loaded()) << language.Error();
        // 181 beams at 300 cm with vertices at 0, 90 and 180 degrees.
        field.InitializeConstant(CSensorType(50, 0), 300, 181, kGeneralField);
        field.SetVertexFlags(-1, FALSE);
        for (int beam : {0, 90, 180}) field.SetVertexFlags(beam, TRUE);
        field.SetProtectiveInDevice(1);
        before = Words();
    }

    std::vector<WORD> Words() const
    {
        std::vector<WORD> words;
        for (int k = 0; k < field.GetBeamCount(); ++k) words.push_back(field.GetContour().GetWord(k));
        return words;
    }

    // Runs the vertex dialog with the script; the result of DoModal.
    INT_PTR Run(int mode, const std::function<void(DialogDriver&)>& act, bool ok = true)
    {
        CPolyShelterDialog dialog(&field, mode, FALSE);
        dialog.SetChangeHandler([this] { ++changes; });
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            act(driver);
            driver.Click(ok ? IDOK : IDCANCEL);
        });
        // The point dialogs open from inside the vertex dialog, so their scripts come next.
        for (auto& answer : answers) ui.QueueModal(std::move(answer));
        answers.clear();
        return dialog.DoModal();
    }

    // The next point dialog answers with the texts and OK.
    void AnswerPoint(int firstId, const char* first, int secondId, const char* second, CString* shownFirst = nullptr)
    {
        answers.push_back([=](CWnd& dlg) {
            DialogDriver driver(dlg);
            if (shownFirst) *shownFirst = driver.Text(firstId);
            driver.SetText(firstId, first);
            driver.SetText(secondId, second);
            driver.Click(IDOK);
        });
    }

    PolygonLanguage language;
    ScriptedUi ui;
    CPolyShelter field;
    std::vector<WORD> before;
    int changes = 0;
    std::vector<ScriptedUi::ModalScript> answers;
};

TEST_F(CPolyShelterDialogTest, AddUndoAndRedo)
{
    AnswerPoint(IDC_ANGLE, "45", IDC_DISTANCE, "200");
    bool undoBefore = true, deleteBefore = true;
    int rowsAfterAdd = 0;
    CString angleCell, distanceCell;
    EXPECT_EQ(Run(CPolyShelterDialog::kPolar,
                  [&](DialogDriver& driver) {
                      undoBefore = driver.IsEnabled(IDC_UNDO);
                      deleteBefore = driver.IsEnabled(IDC_DELETE);
                      EXPECT_EQ(driver.Count(IDC_VERTICES), 3);
                      EXPECT_TRUE(driver.Click(IDC_ADD_POINT));
                      rowsAfterAdd = driver.Count(IDC_VERTICES);
                      auto* list = static_cast<CColumnListBox*>(CWnd::FromHandlePermanent(driver.Control(IDC_VERTICES)));
                      angleCell = list->GetItemText(1, 0);
                      distanceCell = list->GetItemText(1, 1);
                      EXPECT_EQ(list->GetItemData(1), 45u);
                      EXPECT_TRUE(driver.Click(IDC_UNDO));
                      EXPECT_EQ(driver.Count(IDC_VERTICES), 3);
                      EXPECT_FALSE(field.IsVertex(45));
                      EXPECT_TRUE(driver.IsEnabled(IDC_REDO));
                      EXPECT_TRUE(driver.Click(IDC_REDO));
                  }),
              IDOK);
    EXPECT_FALSE(undoBefore);
    EXPECT_FALSE(deleteBefore);
    EXPECT_EQ(rowsAfterAdd, 4);
    EXPECT_STREQ(angleCell, "45.00\u00B0");
    EXPECT_STREQ(distanceCell, "200cm");
    EXPECT_TRUE(field.IsVertex(45));
    EXPECT_EQ(field.GetBeamDistance(45), 200);
    EXPECT_EQ(field.IsProtectiveInDevice(), 0); // the field no longer agrees with the device
    EXPECT_GT(changes, 0);
}

TEST_F(CPolyShelterDialogTest, EditTheSelectedVertex)
{
    CString shownAngle;
    AnswerPoint(IDC_DISTANCE, "250", IDC_ANGLE, "90", &shownAngle);
    EXPECT_EQ(Run(CPolyShelterDialog::kPolar,
                  [&](DialogDriver& driver) {
                      EXPECT_FALSE(driver.IsEnabled(IDC_EDIT_POINT));
                      EXPECT_TRUE(driver.ToggleSelection(IDC_VERTICES, 1));
                      EXPECT_TRUE(field.IsBeamSelected(90));
                      EXPECT_TRUE(driver.IsEnabled(IDC_EDIT_POINT));
                      EXPECT_TRUE(driver.Click(IDC_EDIT_POINT));
                  }),
              IDOK);
    EXPECT_STREQ(shownAngle, "300.00 cm");
    EXPECT_EQ(field.GetBeamDistance(90), 250);
    EXPECT_EQ(field.GetVertexCount(), 3);
}

TEST_F(CPolyShelterDialogTest, SelectedBeamsWithoutAVertexAreReported)
{
    // Delete: the vertex goes, the plain beam gives message 307 and loses its selection.
    field.SetBeamSelection(90, TRUE);
    field.SetBeamSelection(45, TRUE);
    EXPECT_EQ(Run(CPolyShelterDialog::kPolar, [](DialogDriver& driver) { EXPECT_TRUE(driver.Click(IDC_DELETE)); }), IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, 307u);
    EXPECT_FALSE(field.IsVertex(90));
    EXPECT_FALSE(field.HasSelection());

    // Edit in the Cartesian mode: message 307, no dialog, no change.
    ui.ClearMessageBoxes();
    field.SetBeamSelection(30, TRUE);
    std::vector<WORD> words = Words();
    words[30] &= WORD(~0x2000); // only the selection goes
    const std::size_t runs = ui.ModalRuns().size();
    EXPECT_EQ(Run(CPolyShelterDialog::kCartesian, [](DialogDriver& driver) { driver.Click(IDC_EDIT_POINT); }), IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, 307u);
    EXPECT_EQ(ui.ModalRuns().size(), runs + 1); // only the vertex dialog itself
    EXPECT_FALSE(field.HasSelection());
    EXPECT_EQ(Words(), words);
}

// Cancel keeps what was changed and only clears the selection; the field's Edit counts
// every run as a change, so the caller's undo step covers it.
TEST_F(CPolyShelterDialogTest, CancelKeepsTheChangesMade)
{
    AnswerPoint(IDC_X, "0", IDC_Y, "150");
    int rows = 0;
    EXPECT_EQ(Run(
                  CPolyShelterDialog::kCartesian,
                  [&](DialogDriver& driver) {
                      driver.Click(IDC_ADD_POINT);
                      rows = driver.Count(IDC_VERTICES);
                      EXPECT_TRUE(driver.ToggleSelection(IDC_VERTICES, 0));
                  },
                  false),
              IDCANCEL);
    EXPECT_EQ(rows, 3); // the new vertex replaced the one straight ahead
    EXPECT_EQ(field.GetBeamDistance(90), 150);
    EXPECT_NE(Words(), before);
    EXPECT_FALSE(field.HasSelection());
    EXPECT_TRUE(field.GetModified());

    ui.QueueModal([](CWnd& dlg) { DialogDriver(dlg).Click(IDCANCEL); });
    EXPECT_TRUE(field.Edit(nullptr, 1, FALSE, nullptr));
    ui.QueueModal([](CWnd& dlg) { DialogDriver(dlg).Click(IDOK); });
    EXPECT_TRUE(field.Edit(nullptr, 0, TRUE, nullptr));
}

} // namespace
