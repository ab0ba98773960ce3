// Control bars in a frame: the status bar's panes (message pane, update handlers,
// owner drawing), tool bar buttons that run commands through the frame's route, a
// dialog bar whose combo box notifies the frame, and the frame's layout around them.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CComboBox.h"
#include "framework/ui/CDialogBar.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CStatusBar.h"
#include "framework/ui/CToolBar.h"
#include "framework/ui/WindowHandle.h"
#include "ScreenshotFolder.h"
#include "support/TypedKeys.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT ID_PANE_LEVEL = 50;
constexpr UINT ID_PANE_MODE = 51;
constexpr UINT ID_PANE_LEGEND = 59;
constexpr UINT ID_PANE_NO_STRING = 77;
constexpr UINT ID_OPEN = 32801;
constexpr UINT ID_MODE = 32802;
constexpr UINT ID_PLAIN = 32803;
constexpr UINT IDD_SELECTORS = 200;
constexpr UINT IDB_BUTTONS = 300;
constexpr int IDC_SELECTOR = 2141;
constexpr int IDC_SPEED = 2142;
constexpr UINT IDR_BAR_MENU = 400;
constexpr UINT ID_SELECTOR_BAR = 0xE820;

constexpr const char* kScript = R"(
STRINGTABLE
BEGIN
    50      "Level: expert"
    51      "Mode"
    59      "Legend"
    32801   "Opens the scanner file\nOpen"
    32802   "Switches the mode\nMode"
    32803   "Plain command"
END

200 DIALOG 0, 0, 200, 18
STYLE WS_CHILD
FONT 8, "MS Sans Serif"
BEGIN
    COMBOBOX        2141, 4, 3, 80, 60, CBS_DROPDOWNLIST | WS_TABSTOP
    LTEXT           "&Speed:", -1, 90, 5, 26, 8
    COMBOBOX        2142, 118, 3, 60, 60, CBS_DROPDOWNLIST | WS_TABSTOP
END
400 MENU
BEGIN
    POPUP "&Settings"
    BEGIN
        MENUITEM "&Plain command", 32803
    END
END
)";

// A 24-bit bitmap file of three 16x15 images: red, grey background with a black dot,
// and blue.
std::vector<BYTE> ButtonBitmap()
{
    constexpr int width = 48;
    constexpr int height = 15;
    constexpr int rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<BYTE> bytes;
    auto put16 = [&](std::uint16_t v) { bytes.push_back(BYTE(v)); bytes.push_back(BYTE(v >> 8)); };
    auto put32 = [&](std::uint32_t v) { put16(std::uint16_t(v)); put16(std::uint16_t(v >> 16)); };
    bytes.push_back('B');
    bytes.push_back('M');
    put32(14 + 40 + rowBytes * height);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(width);
    put32(height);
    put16(1);
    put16(24);
    put32(0);
    put32(rowBytes * height);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF c = x < 16 ? RGB(255, 0, 0) : x < 32 ? RGB(192, 192, 192) : RGB(0, 0, 255);
            if (x == 24 && y == 7)
                c = RGB(0, 0, 0);
            bytes.push_back(GetBValue(c));
            bytes.push_back(GetGValue(c));
            bytes.push_back(GetRValue(c));
        }
        bytes.resize(bytes.size() + std::size_t(rowBytes - width * 3), 0);
    }
    return bytes;
}

LPARAM PointParam(CPoint point)
{
    return LPARAM(MAKELONG(WORD(point.x), WORD(point.y)));
}

void PumpUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

class LegendStatusBar : public CStatusBar {
public:
    using CStatusBar::DrawBar;
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        drawnIndex = int(item->itemID);
        drawnRect = item->rcItem;
        CDC::FromHandle(item->hDC)->FillSolidRect(&item->rcItem, RGB(0, 128, 0));
    }
    int drawnIndex = -1;
    CRect drawnRect;
};

class BarFrame : public CFrameWnd {
public:
    BarFrame() { m_bAutoDelete = FALSE; }

    CString levelText = "Level: novice";
    BOOL levelEnabled = TRUE;
    BOOL openEnabled = TRUE;
    int modeCheck = 0;
    int opened = 0;
    int plainRuns = 0;
    std::vector<int> selections;

    CToolBar toolBar;
    CDialogBar selectorBar;
    LegendStatusBar statusBar;
    CWnd client;

protected:
    void OnUpdateLevel(CCmdUI* pCmdUI)
    {
        pCmdUI->SetText(levelText.c_str());
        pCmdUI->Enable(levelEnabled);
    }
    void OnOpen() { ++opened; }
    void OnUpdateOpen(CCmdUI* pCmdUI) { pCmdUI->Enable(openEnabled); }
    void OnMode() {}
    void OnUpdateMode(CCmdUI* pCmdUI) { pCmdUI->SetCheck(modeCheck); }
    void OnPlain() { ++plainRuns; }
    void OnSelectorChange()
    {
        selections.push_back(int(selectorBar.SendDlgItemMessage(IDC_SELECTOR, CB_GETCURSEL)));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BarFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_PANE_LEVEL, OnUpdateLevel)
    ON_COMMAND(ID_OPEN, OnOpen)
    ON_UPDATE_COMMAND_UI(ID_OPEN, OnUpdateOpen)
    ON_COMMAND(ID_MODE, OnMode)
    ON_UPDATE_COMMAND_UI(ID_MODE, OnUpdateMode)
    ON_COMMAND(ID_PLAIN, OnPlain)
    ON_CBN_SELCHANGE(IDC_SELECTOR, OnSelectorChange)
END_MESSAGE_MAP()

class ControlBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        std::string error;
        m_module = CreateResourceModule("ControlBarTest.rc", kScript, nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
        GdiSetBitmapResourceSource([](UINT id, std::vector<BYTE>& bytes) {
            if (id != IDB_BUTTONS)
                return false;
            bytes = ButtonBitmap();
            return true;
        });

        ASSERT_TRUE(frame.Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW, CRect(0, 0, 480, 320)));
        ASSERT_TRUE(frame.client.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &frame,
                                        AFX_IDW_PANE_FIRST));
        ASSERT_TRUE(frame.toolBar.CreateEx(&frame, TBSTYLE_FLAT,
                                           WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY));
        const UINT buttons[] = {ID_OPEN, ID_SEPARATOR, ID_MODE, ID_PLAIN};
        ASSERT_TRUE(frame.toolBar.LoadToolBar(IDB_BUTTONS, buttons, 4));
        frame.toolBar.EnableDocking(CBRS_ALIGN_ANY);
        frame.EnableDocking(CBRS_ALIGN_ANY);
        frame.DockControlBar(&frame.toolBar);
        ASSERT_TRUE(frame.selectorBar.Create(&frame, IDD_SELECTORS, WS_VISIBLE | CBRS_TOP, ID_SELECTOR_BAR));
        ASSERT_TRUE(frame.statusBar.Create(&frame));
        const UINT indicators[] = {ID_SEPARATOR, ID_PANE_LEGEND, ID_PANE_LEVEL, ID_PANE_MODE};
        ASSERT_TRUE(frame.statusBar.SetIndicators(indicators, 4));
        frame.ShowWindow(SW_SHOW);
        frame.RecalcLayout();
    }

    void TearDown() override
    {
        frame.DestroyWindow();
        GdiSetBitmapResourceSource(nullptr);
        AfxSetResourceHandle(m_previous);
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }

    // What the application's idle step sends.
    void IdleUpdate()
    {
        frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }

    CRect RectInFrame(const CWnd& wnd) const
    {
        CRect rect;
        wnd.GetWindowRect(&rect);
        frame.ScreenToClient(&rect);
        return rect;
    }

    std::vector<CString> PaintedStatusBar()
    {
        CRect client;
        frame.statusBar.GetClientRect(&client);
        CDC dc;
        EXPECT_TRUE(dc.CreateRecordingDC(client.Width(), client.Height()));
        frame.statusBar.DrawBar(dc);
        return dc.GetRecording();
    }

    static bool Mentions(const std::vector<CString>& log, const char* text)
    {
        return std::any_of(log.begin(), log.end(), [&](const CString& line) { return line.Find(text) >= 0; });
    }

    void Click(CToolBar& bar, int index)
    {
        CRect rect;
        bar.GetItemRect(index, &rect);
        const LPARAM at = PointParam(rect.CenterPoint());
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        bar.SendMessage(WM_LBUTTONUP, 0, at);
    }

    BarFrame frame;

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

TEST_F(ControlBarTest, StatusBarPanesComeFromIndicatorsMessageTextAndUpdateHandlers)
{
    CStatusBar& bar = frame.statusBar;
    ASSERT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.CommandToIndex(ID_PANE_LEVEL), 2);
    EXPECT_EQ(bar.CommandToIndex(4711), -1);
    EXPECT_EQ(bar.GetPaneText(3), CString("Mode")) << "an indicator starts with its string";
    EXPECT_NE(bar.GetFont(), nullptr) << "handlers measure pane texts with the bar's font";

    frame.SetMessageText("Ready to connect");
    EXPECT_EQ(bar.GetPaneText(0), CString("Ready to connect"));

    IdleUpdate();
    EXPECT_EQ(bar.GetPaneText(2), CString("Level: novice"));
    EXPECT_TRUE(Mentions(PaintedStatusBar(), "\"Level: novice\""));
    EXPECT_TRUE(Mentions(PaintedStatusBar(), "\"Ready to connect\""));

    frame.levelEnabled = FALSE;
    IdleUpdate();
    EXPECT_NE(bar.GetPaneStyle(2) & SBPS_DISABLED, 0u);
    EXPECT_FALSE(Mentions(PaintedStatusBar(), "Level: novice")) << "a disabled pane shows no text";
    EXPECT_TRUE(Mentions(PaintedStatusBar(), "\"Mode\"")) << "a pane without a handler keeps its text";

    // Bad indexes are refused, not written past the panes.
    EXPECT_FALSE(bar.SetPaneText(4, "x"));
    EXPECT_FALSE(bar.SetPaneText(-1, "x"));
    EXPECT_EQ(bar.GetPaneText(9), CString());
}

TEST_F(ControlBarTest, StatusBarPaneWidthsAndOwnerDrawnPane)
{
    LegendStatusBar& bar = frame.statusBar;
    CRect before;
    bar.GetItemRect(2, &before);
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    bar.GetPaneInfo(2, id, style, width);
    EXPECT_EQ(id, ID_PANE_LEVEL);
    bar.SetPaneInfo(2, id, style, width + 40);
    CRect after;
    bar.GetItemRect(2, &after);
    EXPECT_EQ(after.Width(), before.Width() + 40);
    EXPECT_EQ(after.right, before.right) << "the panes are right-aligned behind the stretchy message pane";

    CRect client;
    bar.GetClientRect(&client);
    CRect last;
    bar.GetItemRect(3, &last);
    EXPECT_LE(last.right, client.right);
    CRect message;
    bar.GetItemRect(0, &message);
    EXPECT_LT(message.right, client.right);
    EXPECT_GT(message.Width(), 100) << "the message pane takes the free width";

    bar.GetPaneInfo(1, id, style, width);
    bar.SetPaneInfo(1, id, style | SBPS_OWNERDRAW, 60);
    const std::vector<CString> log = PaintedStatusBar();
    EXPECT_EQ(bar.drawnIndex, 1);
    CRect legend;
    bar.GetItemRect(1, &legend);
    legend.DeflateRect(1, 1);
    EXPECT_EQ(bar.drawnRect, legend) << "the owner draws inside the pane's edge";
    EXPECT_FALSE(Mentions(log, "\"Legend\"")) << "an owner-drawn pane is not painted as text";
}

TEST_F(ControlBarTest, MissingIndicatorStringFailsButKeepsThePanes)
{
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE830));
    const UINT indicators[] = {ID_SEPARATOR, ID_PANE_NO_STRING, ID_PANE_MODE};
    EXPECT_FALSE(bar.SetIndicators(indicators, 3));
    EXPECT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.GetPaneText(2), CString("Mode"));
    EXPECT_FALSE(bar.SetIndicators(nullptr, 2));
}

TEST_F(ControlBarTest, ToolBarClickRunsTheCommandWhileItsHandlerEnablesIt)
{
    CToolBar& bar = frame.toolBar;
    ASSERT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.CommandToIndex(ID_MODE), 2);
    EXPECT_NE(bar.GetButtonStyle(1) & TBBS_SEPARATOR, 0u);

    Click(bar, 0);
    PumpUntil([&] { return frame.opened == 1; });
    EXPECT_EQ(frame.opened, 1);

    frame.openEnabled = FALSE;
    IdleUpdate();
    EXPECT_NE(bar.GetButtonStyle(0) & TBBS_DISABLED, 0u);
    Click(bar, 0);
    // A stale enabled state must not run it either: the frame tests the command again.
    frame.PostMessage(WM_COMMAND, ID_OPEN, 0);
    Click(bar, 3);
    PumpUntil([&] { return frame.plainRuns == 1; });
    EXPECT_EQ(frame.plainRuns, 1);
    EXPECT_EQ(frame.opened, 1);

    frame.modeCheck = 1;
    IdleUpdate();
    EXPECT_NE(bar.GetButtonStyle(2) & TBBS_CHECKED, 0u);
    frame.modeCheck = 0;
    IdleUpdate();
    EXPECT_EQ(bar.GetButtonStyle(2) & TBBS_CHECKED, 0u);

    // Press on a button, release elsewhere: nothing runs.
    CRect first;
    CRect last;
    bar.GetItemRect(2, &first);
    bar.GetItemRect(3, &last);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(first.CenterPoint()));
    bar.SendMessage(WM_LBUTTONUP, 0, PointParam(last.CenterPoint()));
    frame.PostMessage(WM_COMMAND, ID_PLAIN, 0);
    PumpUntil([&] { return frame.plainRuns == 2; });
    EXPECT_EQ(frame.plainRuns, 2);
    EXPECT_EQ(frame.opened, 1);
}

TEST_F(ControlBarTest, ToolBarTipsAndFlyByPrompts)
{
    CToolBar& bar = frame.toolBar;
    EXPECT_EQ(bar.GetToolTipText(0), CString("Open"));
    EXPECT_EQ(bar.GetPromptText(0), CString("Opens the scanner file"));
    EXPECT_EQ(bar.GetToolTipText(3), CString("Plain command")) << "a string without a tip part is the tip";
    EXPECT_EQ(bar.GetToolTipText(1), CString()) << "separators have no tip";
    EXPECT_EQ(bar.GetToolTipText(17), CString());

    frame.SetMessageText("Ready");
    CRect rect;
    bar.GetItemRect(2, &rect);
    EXPECT_EQ(bar.HitTest(rect.CenterPoint()), 2);
    bar.SendMessage(WM_MOUSEMOVE, 0, PointParam(rect.CenterPoint()));
    EXPECT_EQ(frame.statusBar.GetPaneText(0), CString("Switches the mode"));
    bar.SendMessage(WM_MOUSEMOVE, 0, PointParam(CPoint(400, rect.CenterPoint().y)));
    EXPECT_EQ(frame.statusBar.GetPaneText(0), CString("Ready")) << "leaving the buttons restores the message";
}

TEST_F(ControlBarTest, ToolBarImagesShowTheBarFaceForTheirGreyBackground)
{
    CToolBar& bar = frame.toolBar;
    bar.UpdateWindow();
    const QImage shot = AfxWidgetFromHandle(bar.m_hWnd)->grab().toImage();
    CRect rect;
    bar.GetItemRect(2, &rect); // the second image: grey with a black dot
    const QPoint imageOrigin(rect.left + (rect.Width() - 16) / 2, rect.top + (rect.Height() - 15) / 2);
    const QColor background = shot.pixelColor(imageOrigin + QPoint(2, 2));
    EXPECT_EQ(RGB(BYTE(background.red()), BYTE(background.green()), BYTE(background.blue())), kBarFaceColor);
    const QColor dot = shot.pixelColor(imageOrigin + QPoint(8, 7));
    EXPECT_EQ(dot.red() + dot.green() + dot.blue(), 0);
    CRect first;
    bar.GetItemRect(0, &first);
    const QColor red = shot.pixelColor(first.CenterPoint().x, first.CenterPoint().y);
    EXPECT_EQ(red.red(), 255);
    EXPECT_EQ(red.blue(), 0);

    frame.UpdateWindow();
    ScreenshotFolder("control-bars").Save(AfxWidgetFromHandle(frame.m_hWnd)->grab().toImage(), "control-bars.png");
}

TEST_F(ControlBarTest, DialogBarComboNotifiesTheFrame)
{
    CComboBox combo;
    ASSERT_TRUE(combo.SubclassDlgItem(IDC_SELECTOR, &frame.selectorBar));
    combo.AddString("first");
    combo.AddString("second");
    combo.SetCurSel(1);
    auto* widget = qobject_cast<QComboBox*>(AfxWidgetFromHandle(combo.m_hWnd));
    ASSERT_NE(widget, nullptr);
    emit widget->activated(1);
    EXPECT_EQ(frame.selections, std::vector<int>{1});
    combo.UnsubclassWindow();
}

// While the focus is in a bar, its labels' keys go before the frame's menu of the same key.
TEST_F(ControlBarTest, DialogBarLabelKeyGoesBeforeTheFramesMenu)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_BAR_MENU));
    frame.SetMenu(&menu);
    QApplication::setActiveWindow(AfxWidgetFromHandle(frame.m_hWnd));
    frame.selectorBar.GetDlgItem(IDC_SELECTOR)->SetFocus();
    ASSERT_EQ(::GetFocus(), frame.selectorBar.GetDlgItem(IDC_SELECTOR)->m_hWnd);
    typedkeys::Alt('s');
    EXPECT_EQ(::GetFocus(), frame.selectorBar.GetDlgItem(IDC_SPEED)->m_hWnd);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the menu stays closed";
    frame.SetMenu(nullptr);
}

TEST_F(ControlBarTest, FrameLaysOutItsClientAroundTheVisibleBars)
{
    const CRect area = frame.GetClientArea();
    const CRect tool = RectInFrame(frame.toolBar);
    const CRect selectors = RectInFrame(frame.selectorBar);
    const CRect status = RectInFrame(frame.statusBar);
    const CRect client = RectInFrame(frame.client);

    EXPECT_EQ(tool.top, area.top);
    EXPECT_EQ(tool.Width(), area.Width());
    EXPECT_EQ(selectors.top, tool.bottom) << "top bars stack in creation order";
    EXPECT_EQ(status.bottom, area.bottom);
    EXPECT_EQ(client, CRect(area.left, selectors.bottom, area.right, status.top));
    EXPECT_GT(selectors.Height(), 20) << "a dialog bar is as tall as its template";

    frame.ShowControlBar(&frame.toolBar, FALSE, FALSE);
    EXPECT_FALSE(frame.toolBar.IsVisible());
    EXPECT_EQ(RectInFrame(frame.selectorBar).top, area.top);
    EXPECT_EQ(RectInFrame(frame.client).top, area.top + selectors.Height());

    frame.ShowControlBar(&frame.statusBar, FALSE, TRUE);
    frame.ShowControlBar(&frame.selectorBar, FALSE, FALSE);
    EXPECT_EQ(RectInFrame(frame.client), area);

    frame.ShowControlBar(&frame.toolBar, TRUE, FALSE);
    frame.ShowControlBar(&frame.statusBar, TRUE, FALSE);
    EXPECT_EQ(RectInFrame(frame.client), CRect(area.left, tool.bottom, area.right, status.top));
    EXPECT_EQ(frame.GetControlBar(AFX_IDW_STATUS_BAR), &frame.statusBar);
}

} // namespace
