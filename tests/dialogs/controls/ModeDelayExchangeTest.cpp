#include "dialogs/controls/UnitDataExchange.h"

#include "framework/core/CException.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CModeDelay.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The mode and delay pair exchanged as its dialogs do (the record's radio buttons and
// check around the delay's edit): three radio buttons and an edit in a plain window, with
// the framework's range message.
class ModeDelayExchangeTest : public testing::Test {
protected:
    static constexpr int kFirstRadio = 2040;
    static constexpr int kDelayEdit = 2050;

    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        std::string error;
        m_module = CreateResourceModule("delay.rc", "STRINGTABLE\nBEGIN\n 61712 \"int\"\n 61714 \"range <%1> <%2>\"\nEND\n",
                                        nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
        ASSERT_TRUE(m_dialog.CreateEx(0, nullptr, "delay", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
        for (int i = 0; i < 3; ++i) {
            const DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0);
            ASSERT_TRUE(m_radios[i].Create("BUTTON", "mode", style, CRect(10, 10 + 20 * i, 100, 28 + 20 * i), &m_dialog,
                                           UINT(kFirstRadio + i)));
        }
        ASSERT_TRUE(m_edit.Create("EDIT", "", WS_CHILD | WS_VISIBLE | WS_GROUP, CRect(10, 80, 100, 98), &m_dialog,
                                  UINT(kDelayEdit)));
    }
    void TearDown() override
    {
        m_edit.DestroyWindow();
        for (CWnd& radio : m_radios) radio.DestroyWindow();
        m_dialog.DestroyWindow();
        AfxSetResourceHandle(m_previous);
        if (m_module) FreeLibrary(m_module);
    }

    // One pass of the whole exchange; false when it failed.
    bool Exchange(BOOL saving, CModeDelay& value)
    {
        CDataExchange dx(&m_dialog, saving);
        try {
            DDX_ModeRadio(&dx, kFirstRadio, value);
            DDX_Delay(&dx, kDelayEdit, value);
            DDV_Delay(&dx, value);
        } catch (CUserException&) {
            dx.RestoreStoredValues();
            return false;
        }
        return true;
    }
    int CheckedRadio()
    {
        for (int i = 0; i < 3; ++i)
            if (m_radios[i].SendMessage(BM_GETCHECK) == BST_CHECKED) return i;
        return -1;
    }
    void CheckRadio(int button)
    {
        for (int i = 0; i < 3; ++i) m_radios[i].SendMessage(BM_SETCHECK, i == button ? BST_CHECKED : BST_UNCHECKED);
    }

    ScriptedUi ui;
    CWnd m_dialog;
    CWnd m_radios[3];
    CWnd m_edit;
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

TEST_F(ModeDelayExchangeTest, ModesMapToTheButtonsZeroTwoOne)
{
    const int buttonOfMode[] = {0, 2, 1, -1};
    for (BYTE mode = 0; mode < 4; ++mode) {
        CModeDelay value(mode, 2);
        ASSERT_TRUE(Exchange(FALSE, value));
        EXPECT_EQ(CheckedRadio(), buttonOfMode[mode]) << int(mode);
    }
    const BYTE modeOfButton[] = {0, 2, 1};
    for (int button = 0; button < 3; ++button) {
        CModeDelay value(3, 2);
        CheckRadio(button);
        m_edit.SetWindowText("2");
        ASSERT_TRUE(Exchange(TRUE, value));
        EXPECT_EQ(value.GetMode(), modeOfButton[button]);
    }
    // No button checked keeps the mode.
    CModeDelay value(1, 10);
    CheckRadio(-1);
    m_edit.SetWindowText("10");
    ASSERT_TRUE(Exchange(TRUE, value));
    EXPECT_EQ(value, CModeDelay(1, 10));
}

TEST_F(ModeDelayExchangeTest, DelayIsEditedOnlyInModeOneAndChecked)
{
    CModeDelay value(1, 30);
    ASSERT_TRUE(Exchange(FALSE, value));
    CString shown;
    m_edit.GetWindowText(shown);
    EXPECT_STREQ(shown, "30 ");

    m_edit.SetWindowText("45");
    ASSERT_TRUE(Exchange(TRUE, value));
    EXPECT_EQ(value, CModeDelay(1, 45));

    // Out of range in mode 1: the framework's range message, the value stays.
    m_edit.SetWindowText("61");
    EXPECT_FALSE(Exchange(TRUE, value));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_STREQ(ui.MessageBoxes()[0].text, "range <2> <60>");
    EXPECT_EQ(value, CModeDelay(1, 45));

    m_edit.SetWindowText("300");
    EXPECT_FALSE(Exchange(TRUE, value));
    EXPECT_STREQ(ui.MessageBoxes().back().text, "int");

    // In another mode the typed delay gives way to 2 and passes the check.
    CheckRadio(0);
    m_edit.SetWindowText("61");
    ASSERT_TRUE(Exchange(TRUE, value));
    EXPECT_EQ(value, CModeDelay(0, 2));
}

} // namespace
