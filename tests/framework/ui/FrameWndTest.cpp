// What frames add around their documents: accelerator keys, the recent files and the
// open windows in their menus, the key-lock panes, the MDI client's painted background
// and tool bars laid out from a TOOLBAR resource.
#include "DocViewTestSupport.h"

#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CStatusBar.h"
#include "framework/ui/CToolBar.h"
#include "support/TypedInput.h"

#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <cstdint>
#include <set>

namespace docview {
namespace {

constexpr UINT ID_APP_COMMAND = 33020;
constexpr UINT IDR_TOOLS = 7;

constexpr const char* kScript = R"(
STRINGTABLE
BEGIN
    1       "Frame Test"
    10      "\nAlpha\nAlpha document\nAlpha files (*.alp)\n.alp\n"
    0xE701  "CAP"
    0xE702  "NUM"
    0xE703  "SCRL"
END

1 MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&New\tCtrl+N",                57600
        MENUITEM SEPARATOR
        MENUITEM "Recent file",                 0xE110, GRAYED
        MENUITEM SEPARATOR
        MENUITEM "E&xit",                       0xE141
    END
END

10 MENU
BEGIN
    POPUP "&Edit"
    BEGIN
        MENUITEM "&Toggle\tF5",                 33001
    END
    POPUP "&Window"
    BEGIN
        MENUITEM "&Cascade",                    0xE132
        MENUITEM "Tile &vertically",            0xE134
    END
END

1 ACCELERATORS
BEGIN
    "N",        57600,  VIRTKEY, CONTROL
    VK_F5,      33020,  VIRTKEY
    "q",        33020,  ASCII, ALT
END

10 ACCELERATORS
BEGIN
    VK_F5,      33001,  VIRTKEY
END

7 TOOLBAR 20, 18
BEGIN
    BUTTON      57600
    SEPARATOR
    BUTTON      33001
    BUTTON      33020
END

7 BITMAP "tools.bmp"
)";

// A 24-bit bitmap of three images of 20x18, each a plain colour.
std::vector<std::uint8_t> ToolBitmap()
{
    constexpr int width = 60;
    constexpr int height = 18;
    constexpr int rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> bytes;
    auto put16 = [&](std::uint16_t v) { bytes.push_back(std::uint8_t(v)); bytes.push_back(std::uint8_t(v >> 8)); };
    auto put32 = [&](std::uint32_t v) { put16(std::uint16_t(v)); put16(std::uint16_t(v >> 16)); };
    bytes.push_back('B');
    bytes.push_back('M');
    for (std::uint32_t v : {std::uint32_t(54 + rowBytes * height), 0u, 54u, 40u, std::uint32_t(width),
                            std::uint32_t(height)})
        put32(v);
    put16(1);
    put16(24);
    for (std::uint32_t v : {0u, std::uint32_t(rowBytes * height), 2835u, 2835u, 0u, 0u})
        put32(v);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bytes.push_back(x < 20 ? 255 : 0);
            bytes.push_back(x >= 20 && x < 40 ? 255 : 0);
            bytes.push_back(x >= 40 ? 255 : 0);
        }
        bytes.resize(bytes.size() + std::size_t(rowBytes - width * 3), 0);
    }
    return bytes;
}

class CommandApp : public TestApp {
public:
    int appCommands = 0;
    int newFiles = 0;

protected:
    void OnAppCommand() { ++appCommands; }
    void OnNew() { ++newFiles; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandApp, TestApp)
    ON_COMMAND(ID_APP_COMMAND, OnAppCommand)
    ON_COMMAND(ID_FILE_NEW, OnNew)
END_MESSAGE_MAP()

// A child frame's view background that shows where the MDI client paints.
class PictureClient : public CWnd {
public:
    int erased = 0;

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override
    {
        ++erased;
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, RGB(10, 120, 30));
        return TRUE;
    }
};

class FrameWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        std::string error;
        m_module = CreateResourceModule(
            "FrameWndTest.rc", kScript,
            [](const std::string& name, std::vector<std::uint8_t>& bytes) {
                if (name != "tools.bmp")
                    return false;
                bytes = ToolBitmap();
                return true;
            },
            error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
        Log().clear();
        alpha = app.AddDocTemplate(std::make_unique<CMultiDocTemplate>(IDR_ALPHA, RUNTIME_CLASS(AlphaDoc),
                                                                       RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(AlphaView)));
        mainFrame = new MainFrame;
        ASSERT_TRUE(mainFrame->LoadFrame(IDR_MAINFRAME));
        app.m_pMainWnd = mainFrame;
        mainFrame->MoveWindow(0, 0, 640, 480);
        mainFrame->ShowWindow(SW_SHOW);
    }

    void TearDown() override
    {
        AfxClearScriptedKeyStates();
        app.CloseAllDocuments(TRUE);
        app.m_pMainWnd = nullptr;
        if (mainFrame != nullptr && mainFrame->m_hWnd != nullptr)
            mainFrame->DestroyWindow();
        Pump();
        // The frame's widgets go now, not in some later test's modal loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        AfxSetResourceHandle(m_previous);
        if (m_module)
            FreeLibrary(m_module);
    }

    // The key message as the message loop offers it for translation; TRUE when consumed.
    BOOL PressKey(HWND target, UINT message, WPARAM key)
    {
        MSG msg{};
        msg.hwnd = target;
        msg.message = message;
        msg.wParam = key;
        msg.lParam = 1;
        return AfxPreTranslateInput(msg);
    }

    // The items of the popup as its owner prepares it for showing: (id, text, enabled, checked).
    struct Item {
        UINT id;
        CString text;
        bool enabled;
        bool checked;
        bool operator==(const Item&) const = default;
    };
    std::vector<Item> OpenPopup(int position)
    {
        CMenu* popup = mainFrame->GetMenu()->GetSubMenu(position);
        mainFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), position);
        std::vector<Item> items;
        for (UINT i = 0; i < popup->GetMenuItemCount(); ++i) {
            Item item{popup->GetMenuItemID(int(i)), CString(), false, false};
            popup->GetMenuString(i, item.text, MF_BYPOSITION);
            const UINT state = popup->GetMenuState(i, MF_BYPOSITION);
            item.enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
            item.checked = (state & MF_CHECKED) != 0;
            items.push_back(item);
        }
        return items;
    }

    CommandApp app;
    MainFrame* mainFrame = nullptr;
    CDocTemplate* alpha = nullptr;

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

AlphaView* ViewOf(CDocument* doc)
{
    POSITION pos = doc->GetFirstViewPosition();
    return pos != nullptr ? static_cast<AlphaView*>(doc->GetNextView(pos)) : nullptr;
}

TEST_F(FrameWndTest, AcceleratorKeysPostTheirCommandsBeforeTheFocusWindowSeesThem)
{
    struct Case {
        const char* what;
        UINT message;
        WPARAM key;
        bool ctrl;
        bool shift;
        bool consumed;
        int newFiles;
        int appCommands;
    };
    const Case cases[] = {
        {"Ctrl+N", WM_KEYDOWN, 'N', true, false, true, 1, 0},
        {"N alone types", WM_KEYDOWN, 'N', false, false, false, 0, 0},
        {"Ctrl+Shift+N is another key", WM_KEYDOWN, 'N', true, true, false, 0, 0},
        {"F5 without a child", WM_KEYDOWN, (VK_F1 + 4), false, false, true, 0, 1},
        {"Alt+q as a character", WM_SYSCHAR, 'q', false, false, true, 0, 1},
        {"q typed without Alt", WM_CHAR, 'q', false, false, false, 0, 0},
        {"key up never translates", WM_KEYUP, (VK_F1 + 4), false, false, false, 0, 0},
    };
    for (const Case& c : cases) {
        app.newFiles = 0;
        app.appCommands = 0;
        AfxSetScriptedKeyState(VK_CONTROL, c.ctrl ? 1 : 0);
        AfxSetScriptedKeyState(VK_SHIFT, c.shift ? 1 : 0);
        AfxSetScriptedKeyState(VK_MENU, 0);
        EXPECT_EQ(PressKey(mainFrame->m_hWnd, c.message, c.key), c.consumed ? TRUE : FALSE) << c.what;
        EXPECT_EQ(app.newFiles, 0) << c.what << ": posted, not run at once";
        Pump();
        EXPECT_EQ(app.newFiles, c.newFiles) << c.what;
        EXPECT_EQ(app.appCommands, c.appCommands) << c.what;
    }
}

TEST_F(FrameWndTest, ChildFrameTableComesBeforeTheMainFrameTable)
{
    auto* doc = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(nullptr));
    ASSERT_NE(doc, nullptr);
    AfxSetScriptedKeyState(VK_CONTROL, 0);
    AfxSetScriptedKeyState(VK_SHIFT, 0);
    AfxSetScriptedKeyState(VK_MENU, 0);
    // F5 in the view: the child's table maps it to the document's toggle, not the
    // main frame's command.
    EXPECT_TRUE(PressKey(ViewOf(doc)->m_hWnd, WM_KEYDOWN, (VK_F1 + 4)));
    Pump();
    EXPECT_TRUE(doc->toggled);
    EXPECT_EQ(app.appCommands, 0);
    // Keys the child does not know still reach the main frame's table.
    AfxSetScriptedKeyState(VK_CONTROL, 1);
    EXPECT_TRUE(PressKey(ViewOf(doc)->m_hWnd, WM_KEYDOWN, 'N'));
    Pump();
    EXPECT_EQ(app.newFiles, 1);
}

TEST_F(FrameWndTest, RecentFilesReplaceThePlaceholderOfTheFileMenu)
{
    const std::vector<Item> empty = OpenPopup(0);
    ASSERT_EQ(empty.size(), 5u);
    EXPECT_EQ(empty[2], (Item{ID_FILE_MRU_FILE1, "Recent file", false, false})) << "no entries: the placeholder, disabled";

    app.LoadStdProfileSettings(4);
    for (const char* path : {"/data/c&d.alp", "/data/b.alp", "/data/a.alp"})
        app.AddToRecentFileList(path);
    for (int opening = 0; opening < 2; ++opening) {
        const std::vector<Item> items = OpenPopup(0);
        const std::vector<Item> expected{
            {ID_FILE_NEW, "&New\tCtrl+N", true, false},
            {0, "", false, false},
            {ID_FILE_MRU_FILE1, "&1 /data/a.alp", true, false},
            {ID_FILE_MRU_FILE1 + 1, "&2 /data/b.alp", true, false},
            {ID_FILE_MRU_FILE1 + 2, "&3 /data/c&&d.alp", true, false},
            {0, "", false, false},
            {ID_APP_EXIT, "E&xit", true, false},
        };
        ASSERT_EQ(items.size(), expected.size()) << "opening " << opening;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (expected[i].id != 0)
                EXPECT_EQ(items[i], expected[i]) << "opening " << opening << ", item " << i;
        }
    }

    // The list shrinks again: the placeholder comes back with its own text.
    app.LoadStdProfileSettings(4);
    const std::vector<Item> again = OpenPopup(0);
    ASSERT_EQ(again.size(), 5u);
    EXPECT_EQ(again[2], (Item{ID_FILE_MRU_FILE1, "Recent file", false, false}));
}

TEST_F(FrameWndTest, ExitAsksToSaveAndCancelKeepsTheProgram)
{
    auto* doc = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(nullptr));
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(TRUE);
    ScriptedUi ui;
    ui.QueueAnswer(IDCANCEL);
    mainFrame->SendMessage(WM_COMMAND, ID_APP_EXIT);
    Pump();
    EXPECT_EQ(ui.MessageBoxes().size(), 1u) << "asked to save";
    EXPECT_TRUE(::IsWindow(mainFrame->m_hWnd)) << "Cancel keeps the program";
    EXPECT_EQ(app.m_pMainWnd, mainFrame);
}

TEST_F(FrameWndTest, WindowMenuListsTheOpenChildrenAndActivatesTheChosenOne)
{
    CDocument* first = alpha->OpenDocumentFile(nullptr);
    CDocument* second = alpha->OpenDocumentFile(nullptr);
    ASSERT_TRUE(first != nullptr && second != nullptr);
    CMDIChildWnd* firstFrame = static_cast<CMDIChildWnd*>(ViewOf(first)->GetParentFrame());
    CMDIChildWnd* secondFrame = static_cast<CMDIChildWnd*>(ViewOf(second)->GetParentFrame());
    ASSERT_EQ(mainFrame->MDIGetActive(), secondFrame);

    for (int opening = 0; opening < 2; ++opening) {
        const std::vector<Item> items = OpenPopup(1);
        ASSERT_EQ(items.size(), 5u) << "the list is rebuilt, never appended twice";
        EXPECT_EQ(items[0].id, ID_WINDOW_CASCADE);
        EXPECT_TRUE(items[0].enabled);
        EXPECT_EQ(items[2].id, 0u);
        EXPECT_EQ(items[3], (Item{AFX_IDM_FIRST_MDICHILD, "&1 " + first->GetTitle(), true, false}));
        EXPECT_EQ(items[4], (Item{AFX_IDM_FIRST_MDICHILD + 1, "&2 " + second->GetTitle(), true, true}));
    }
    mainFrame->SendMessage(WM_COMMAND, AFX_IDM_FIRST_MDICHILD);
    EXPECT_EQ(mainFrame->MDIGetActive(), firstFrame);

    // Tiling puts the two side by side across the client area.
    mainFrame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_VERT);
    auto* area = qobject_cast<QMdiArea*>(AfxWidgetFromHandle(mainFrame->m_hWndMDIClient));
    ASSERT_NE(area, nullptr);
    const QList<QMdiSubWindow*> subs = area->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(subs.size(), 2);
    const int width = area->viewport()->width();
    EXPECT_EQ(subs[0]->geometry().left(), 0);
    EXPECT_EQ(subs[0]->geometry().right() + 1, subs[1]->geometry().left());
    EXPECT_EQ(subs[1]->geometry().right() + 1, width);
    EXPECT_EQ(subs[0]->height(), area->viewport()->height());
}

TEST_F(FrameWndTest, CascadeKeepsEveryWindowUsableAndStepsThemDown)
{
    auto* area = qobject_cast<QMdiArea*>(AfxWidgetFromHandle(mainFrame->m_hWndMDIClient));
    ASSERT_NE(area, nullptr);
    for (int count = 1; count <= 3; ++count) {
        SCOPED_TRACE(testing::Message() << count << " windows");
        ASSERT_NE(alpha->OpenDocumentFile(nullptr), nullptr);
        mainFrame->SendMessage(WM_COMMAND, ID_WINDOW_CASCADE);
        const QSize room = area->viewport()->size();
        const QList<QMdiSubWindow*> subs = area->subWindowList(QMdiArea::CreationOrder);
        ASSERT_EQ(subs.size(), count);
        for (int i = 0; i < count; ++i) {
            const QRect rect = subs[i]->geometry();
            EXPECT_FALSE(subs[i]->isMaximized());
            EXPECT_GE(rect.width(), room.width() / 2) << i;
            EXPECT_GE(rect.height(), room.height() / 2) << i;
            EXPECT_TRUE(QRect(QPoint(0, 0), room).contains(rect)) << i;
            if (i > 0) {
                EXPECT_GT(rect.top(), subs[i - 1]->geometry().top()) << i;
                EXPECT_GT(rect.left(), subs[i - 1]->geometry().left()) << i;
            }
        }
    }
}

// A key typed in the window, then the messages it posted.
void TypeKey(HWND target, Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    ASSERT_NE(AfxWidgetFromHandle(target), nullptr);
    typedinput::SendKey(AfxWidgetFromHandle(target), modifiers, key);
    Pump();
}

TEST_F(FrameWndTest, WindowKeysStepThroughTheChildrenAndCloseTheActiveOne)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(alpha->OpenDocumentFile(nullptr), nullptr);
    CMDIChildWnd* start = mainFrame->MDIGetActive();
    ASSERT_NE(start, nullptr);
    AfxWidgetFromHandle(mainFrame->m_hWnd)->activateWindow();
    Pump();
    auto focusWindow = [&] { return mainFrame->MDIGetActive()->GetActiveView()->m_hWnd; };

    // Ctrl+F6 visits every window and comes back; Ctrl+Shift+F6 goes back one.
    std::set<CMDIChildWnd*> visited;
    for (int i = 0; i < 3; ++i) {
        TypeKey(focusWindow(), Qt::ControlModifier, Qt::Key_F6);
        visited.insert(mainFrame->MDIGetActive());
    }
    EXPECT_EQ(visited.size(), 3u);
    EXPECT_EQ(mainFrame->MDIGetActive(), start);
    TypeKey(focusWindow(), Qt::ControlModifier, Qt::Key_F6);
    EXPECT_NE(mainFrame->MDIGetActive(), start);
    TypeKey(focusWindow(), Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_F6);
    EXPECT_EQ(mainFrame->MDIGetActive(), start);

    // Ctrl+F4 closes the active window, asking first to save its changes.
    auto* doc = static_cast<AlphaDoc*>(start->GetActiveDocument());
    doc->SetModifiedFlag(TRUE);
    ScriptedUi ui;
    ui.QueueAnswer(IDCANCEL);
    TypeKey(focusWindow(), Qt::ControlModifier, Qt::Key_F4);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u) << "asked to save";
    EXPECT_EQ(mainFrame->MDIGetActive(), start) << "Cancel keeps the window";
    ui.QueueAnswer(IDNO);
    TypeKey(focusWindow(), Qt::ControlModifier, Qt::Key_F4);
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(mainFrame->GetMDIChildren().size(), 2u);
    ASSERT_NE(mainFrame->MDIGetActive(), nullptr);
    EXPECT_NE(mainFrame->MDIGetActive(), start);
    EXPECT_EQ(CWnd::GetFocus(), mainFrame->MDIGetActive()->GetActiveView()) << "the keys go on to the next window";
}

TEST_F(FrameWndTest, ClosingAMaximisedWindowLeavesTheNextMaximisedInsideTheClient)
{
    CDocument* first = alpha->OpenDocumentFile(nullptr);
    CDocument* second = alpha->OpenDocumentFile(nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    auto* firstFrame = static_cast<CMDIChildWnd*>(ViewOf(first)->GetParentFrame());
    auto* secondFrame = static_cast<CMDIChildWnd*>(ViewOf(second)->GetParentFrame());
    firstFrame->MDIActivate();
    firstFrame->MDIMaximize();
    secondFrame->MDIActivate();
    secondFrame->MDIMaximize();
    Pump();
    auto* area = qobject_cast<QMdiArea*>(AfxWidgetFromHandle(mainFrame->m_hWndMDIClient));
    ASSERT_NE(area, nullptr);

    second->OnCloseDocument();
    Pump();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    BOOL maximized = FALSE;
    EXPECT_EQ(mainFrame->MDIGetActive(&maximized), firstFrame);
    EXPECT_TRUE(maximized);
    const QList<QMdiSubWindow*> subs = area->subWindowList();
    ASSERT_EQ(subs.size(), 1);
    EXPECT_EQ(subs[0]->geometry(), area->viewport()->rect());
}

TEST_F(FrameWndTest, KeyLockPanesShowTheirTextOnlyWhileTheLockIsOn)
{
    CStatusBar bar;
    const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    ASSERT_TRUE(bar.Create(mainFrame));
    ASSERT_TRUE(bar.SetIndicators(indicators, 4));
    AfxInstallKeyStateTracker();
    auto toggle = [&](Qt::Key key) {
        QWidget* widget = AfxWidgetFromHandle(mainFrame->m_hWnd);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
    };
    auto shown = [&](int index) {
        bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        return (bar.GetPaneStyle(index) & SBPS_DISABLED) == 0;
    };
    const bool capsBefore = shown(1);
    toggle(Qt::Key_CapsLock);
    EXPECT_NE(shown(1), capsBefore);
    EXPECT_EQ(bar.GetPaneText(1), "CAP");
    const bool scrollBefore = shown(3);
    toggle(Qt::Key_ScrollLock);
    EXPECT_NE(shown(3), scrollBefore);
    toggle(Qt::Key_CapsLock);
    EXPECT_EQ(shown(1), capsBefore);
    toggle(Qt::Key_ScrollLock);
    bar.DestroyWindow();
}

TEST_F(FrameWndTest, ToolBarTakesButtonsAndImageSizeFromItsResource)
{
    CToolBar bar;
    ASSERT_TRUE(bar.Create(mainFrame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TOOLS));
    ASSERT_EQ(bar.GetCount(), 4);
    const UINT expectedIds[] = {ID_FILE_NEW, ID_SEPARATOR, ID_TOGGLE, ID_APP_COMMAND};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bar.GetItemID(i), expectedIds[i]) << i;
    EXPECT_EQ(bar.GetButtonStyle(1) & TBBS_SEPARATOR, TBBS_SEPARATOR);
    CRect button;
    bar.GetItemRect(0, &button);
    EXPECT_EQ(button.Size(), CSize(27, 25)) << "the 20x18 images with their frame";
    UINT id = 0;
    UINT style = 0;
    int image = -1;
    bar.GetButtonInfo(3, id, style, image);
    EXPECT_EQ(image, 2) << "separators take no image";
    EXPECT_FALSE(bar.LoadToolBar(99)) << "no such resource";
    bar.DestroyWindow();
}

TEST_F(FrameWndTest, SubclassedMdiClientPaintsTheBackground)
{
    PictureClient client;
    ASSERT_TRUE(client.SubclassWindow(mainFrame->m_hWndMDIClient));
    auto* area = qobject_cast<QMdiArea*>(AfxWidgetFromHandle(mainFrame->m_hWndMDIClient));
    ASSERT_NE(area, nullptr);
    const QImage image = area->grab().toImage();
    EXPECT_GT(client.erased, 0);
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(10, 120, 30));
    client.UnsubclassWindow();
}

} // namespace
} // namespace docview
