// The parameter dialogs driven headless through their launchers.
#include "diagnose/DiagnoseFixture.h"
#include "diagnose/internal/InputDialogs.h"
#include "outside/dravdlg/internal/DravDialogActions.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

TEST(ParseNumber, ReadsDecimalOrHexAfterTheFirstX)
{
    struct Case {
        const char* text;
        DWORD value;
    };
    for (const Case& c : {Case{"0x1F", 0x1F}, Case{"abcx1f", 0x1F}, Case{"0x1G", 0xFFFF}, Case{"12a", 0xFFFF},
                          Case{"", 0}, Case{"250", 250}, Case{"X10", 16}})
        EXPECT_EQ(ParseNumber(c.text), c.value) << c.text;
    EXPECT_FALSE(ParseNumberChecked("12a").has_value());
    EXPECT_EQ(ParseNumberChecked("0xFFFF"), 0xFFFFu);
}

class InputDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AfxEnsureGuiApplication()); }

    // Types the texts into the dialog, presses OK and returns the dialog's result.
    // With staysOpen the dialog is expected to refuse OK, and is left by Cancel.
    INT_PTR Enter(UINT templateId, DLGPROC procedure, void* block, std::vector<std::pair<int, const char*>> entries,
                  bool staysOpen = false)
    {
        ui.QueueModal([entries, staysOpen](CWnd& dialog) {
            DialogDriver driver(dialog);
            for (const auto& [id, text] : entries)
                driver.SetText(id, text);
            driver.Click(IDOK);
            if (staysOpen)
                driver.Cancel();
        });
        return RunInputDialog(nullptr, templateId, procedure, block);
    }
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> ids;
        for (const MessageBoxRecord& box : ui.MessageBoxes())
            ids.push_back(box.id);
        return ids;
    }

    DiagnoseTexts texts;
    ScriptedUi ui;
};

TEST_F(InputDialogTest, RangeDialogsCheckTheWholeValueBeforeItBecomesAByte)
{
    struct Case {
        UINT templateId;
        DLGPROC procedure;
        int edit;
        const char* text;
        INT_PTR result;
        BYTE stored;
    };
    const Case cases[] = {{IDD_WA_TIME, WATimeDlgProc, 2266, "60", 1, 60},
                          {IDD_WA_TIME, WATimeDlgProc, 2266, "1", 0, 0xEE},
                          {IDD_WA_TIME, WATimeDlgProc, 2266, "258", 0, 0xEE},
                          {IDD_AGL_MODE, AglModeDlgProc, 2298, "10", 1, 10},
                          {IDD_ZOK_NR, ZOKNrDlgProc, 2284, "0", 1, 0},
                          {IDD_ZOK_NR, ZOKNrDlgProc, 2284, "5", 0, 0xEE},
                          {IDD_RSP_TIME, RspTimeDlgProc, 2270, "x", 0, 0xEE},
                          {IDD_SENSOR_ADR, SensorAdrDlgProc, 2275, "127", 1, 127},
                          {IDD_SENSOR_ADR, SensorAdrDlgProc, 2275, "128", 0, 0xEE}};
    for (const Case& c : cases) {
        std::array<BYTE, 4> block{0xEE, 0xEE, 0xEE, 0xEE};
        ui.ClearMessageBoxes();
        EXPECT_EQ(Enter(c.templateId, c.procedure, block.data(), {{c.edit, c.text}}), c.result) << c.text;
        EXPECT_EQ(block[0], c.stored) << c.templateId << " " << c.text;
        EXPECT_EQ(ui.MessageBoxes().size(), c.result == 1 ? 0u : 1u) << c.text;
    }
}

TEST_F(InputDialogTest, DeviceAddressAbove127IsRefusedAndConfirmedAsZero)
{
    for (const char* typed : {"200", "300"}) {
        std::array<BYTE, 4> block{0xEE, 0xEE, 1, 0};
        ui.ClearMessageBoxes();
        EXPECT_EQ(Enter(IDD_DEVICE_ADR, DeviceAdrDlgProc, block.data(), {{2277, typed}}), 1);
        EXPECT_EQ(block[0], 0) << typed << ": 300 is not taken as 44";
        EXPECT_EQ(block[1], 1) << "the KVR preset";
        ASSERT_EQ(Messages(), std::vector<UINT>{0}) << "message by text";
        EXPECT_EQ(ui.MessageBoxes()[0].text, CString("The device address must be below 128."));
    }
}

TEST_F(InputDialogTest, AccessCodeNeedsExactlyEightCharacters)
{
    std::array<BYTE, 9> block{};
    std::vector<bool> enabled;
    ui.QueueModal([&enabled](CWnd& dialog) {
        DialogDriver driver(dialog);
        enabled.push_back(driver.IsEnabled(IDOK));
        for (const char* code : {"1234567", "123456789", "ABCD1234"}) {
            driver.SetText(2265, code);
            enabled.push_back(driver.IsEnabled(IDOK));
        }
        driver.Click(IDOK);
    });
    EXPECT_EQ(RunInputDialog(nullptr, IDD_HCODE, HcodeDlgProc, block.data()), 1);
    EXPECT_EQ(enabled, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data())), "ABCD1234");
}

TEST_F(InputDialogTest, SegmentFieldFillsMissingValuesWith60AndKeepsTyposOut)
{
    std::vector<BYTE> block(kShapeBlockSize, 0xEE);
    EXPECT_EQ(Enter(IDD_SF_KFG_SEGMENT, SfKfgSegmentDlgProc, block.data(),
                    {{2261, "2"}, {2260, "Seg"}, {2257, "3"}, {2258, "20, 30"}}),
              1);
    auto value = [&block](std::size_t offset) {
        return DWORD(block[offset]) | DWORD(block[offset + 1]) << 8 | DWORD(block[offset + 2]) << 16 |
               DWORD(block[offset + 3]) << 24;
    };
    EXPECT_EQ((std::vector<DWORD>{value(12), value(16), value(20), value(24), value(28)}),
              (std::vector<DWORD>{3, 20, 30, 60, 60}));
    EXPECT_EQ(block[32], 0xEE) << "four values";
    EXPECT_EQ(block[0], 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[1])), "Seg");

    std::vector<BYTE> untouched(kShapeBlockSize, 0xEE);
    EXPECT_EQ(Enter(IDD_SF_KFG_SEGMENT, SfKfgSegmentDlgProc, untouched.data(), {{2257, "3"}, {2258, "20 3o"}}, true), 0)
        << "left by Cancel after the warning";
    EXPECT_EQ(Messages(), std::vector<UINT>{0});
    EXPECT_EQ(untouched, std::vector<BYTE>(kShapeBlockSize, 0xEE));
    EXPECT_EQ(Enter(IDD_SF_KFG_SEGMENT, SfKfgSegmentDlgProc, untouched.data(), {{2257, "361"}}), 0);
}

TEST_F(InputDialogTest, InvalidCountOrRangeKeepsTheDialogOpen)
{
    std::array<BYTE, 10> block{};
    EXPECT_EQ(Enter(IDD_MV_PARTIAL, MVPartialDlgProc, block.data(), {{2268, "1"}, {2273, "180"}, {2259, "181"}}), 1);
    EXPECT_EQ(block[0], 1);
    EXPECT_EQ(Enter(IDD_MV_PARTIAL, MVPartialDlgProc, block.data(), {{2273, "200"}, {2259, "181"}}, true), 0);
    EXPECT_EQ(Enter(IDD_SEGMENT_COUNT, SegmentCountDlgProc, block.data(), {{2257, "11"}}, true), 0);
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(Enter(IDD_SEGMENT_COUNT, SegmentCountDlgProc, block.data(), {{2257, "45"}, {2293, "2"}}), 1);
    EXPECT_EQ(block[0], 45);
    EXPECT_EQ(block[2], 2);
}

TEST_F(InputDialogTest, EditResultCopiesAtMost254CharactersAndCancelEmptiesTheBuffer)
{
    std::vector<char> buffer(kEditResultBufferSize + 10, 'z');
    const std::string longText(400, 'a');
    EXPECT_EQ(Enter(IDD_EDIT_RESULT, EditResultDlgProc, buffer.data(), {{2263, longText.c_str()}}), 1);
    EXPECT_EQ(std::string(buffer.data()), std::string(254, 'a'));
    EXPECT_EQ(buffer[255], 'z');
    ui.QueueModal([](CWnd& dialog) { DialogDriver(dialog).Cancel(); });
    EXPECT_EQ(RunInputDialog(nullptr, IDD_EDIT_RESULT, EditResultDlgProc, buffer.data()), 0);
    EXPECT_EQ(buffer[0], '\0');
}

} // namespace
