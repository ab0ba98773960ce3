// The main frame: the device sessions of the password commands against the simulator,
// the status bar with its colour legend and access level, and a look at the whole frame.
#include "FrameTestSupport.h"

#include "app/settings/CTalisoSetup.h"
#include "device/dialogs/CLoginDialog.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/ScreenshotFolder.h"

#include <QImage>
#include <QMenuBar>
#include <QPixmap>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace frames {
namespace {

constexpr BYTE kAccessCommand = 0x20;
constexpr BYTE kCodeChangeCommand = 0x42;
constexpr BYTE kLogout = 0x21;

// What a session sent beyond finding the device: command, sub-code and text.
struct Sent {
    BYTE command;
    BYTE subCode;
    std::string text;
    bool operator==(const Sent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Sent& s)
{
    return out << "{0x" << std::hex << int(s.command) << ", 0x" << int(s.subCode) << std::dec << ", \"" << s.text
               << "\"}";
}

std::string TextAt(const SensorRequest& request, std::size_t offset)
{
    std::string text;
    for (std::size_t i = offset; i < offset + 8; ++i) {
        const BYTE c = request.Byte(i);
        if (c == 0)
            break;
        text.push_back(char(c));
    }
    return text;
}

std::vector<Sent> AccessRequests(const std::vector<SensorRequest>& requests)
{
    std::vector<Sent> sent;
    for (const SensorRequest& request : requests) {
        const BYTE command = request.Command();
        if (command == kAccessCommand)
            sent.push_back({command, request.Byte(9), TextAt(request, 10)});
        else if (command == kCodeChangeCommand)
            sent.push_back({command, request.Byte(9), TextAt(request, 11)});
    }
    return sent;
}

// Refuses the log-in of the session, as a device does for a wrong password.
class RefusingLoginSensor : public RecordingSensor {
public:
    using RecordingSensor::RecordingSensor;
    BOOL Telegram(RequestSpan request, AnswerSpan answer) override
    {
        if (request[RequestOffset::Command] == kAccessCommand && request[9] != kLogout) {
            SensorRequest copy;
            std::copy(request.begin(), request.end(), copy.Bytes().begin());
            requests.push_back(copy);
            return FALSE;
        }
        return RecordingSensor::Telegram(request, answer);
    }
};

class MainFrameTest : public FrameTestBase {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(FrameTestBase::SetUp());
        theLoginDialog.SetLevel(5);
        theLoginDialog.SetPassword("OLDPASS1");
    }
    void TearDown() override
    {
        theLoginDialog.SetStartLevel();
        FrameTestBase::TearDown();
    }

    TestIniFile ini{"[SETUP]\nPort=9\nBaud=19200\n"};
    FakeProcedureApplication simulating{TRUE, ini.Path()};
};

TEST_F(MainFrameTest, PasswordCommandsLogInSendLogOutAndKeepThePasswordTheDeviceNowHas)
{
    struct Case {
        UINT command;
        const char* secret;
        std::vector<Sent> expected;
        CString storedAfter;
        UINT message;
    };
    const Case cases[] = {
        {ID_CHANGE_DEVICE_PASSWORD, "NEWPASS1",
         {{kAccessCommand, 0, "OLDPASS1"}, {kCodeChangeCommand, 0, "NEWPASS1"}, {kCodeChangeCommand, 1, "NEWPASS1"},
          {kAccessCommand, kLogout, "NEWPASS1"}},
         "NEWPASS1", IDP_DEVICE_PASSWORD_CHANGED},
        {ID_CHANGE_USER_PASSWORD, "USERPAS2",
         {{kAccessCommand, 0, "OLDPASS1"}, {kCodeChangeCommand, 0, "USERPAS2"}, {kCodeChangeCommand, 1, "USERPAS2"},
          {kAccessCommand, kLogout, "USERPAS2"}},
         "USERPAS2", IDP_USER_PASSWORD_CHANGED},
        // The log-out still carries the password; it is emptied only afterwards.
        {ID_CHANGE_ACCESS_CODE, "CODE_123",
         {{kAccessCommand, 0x10, "OLDPASS1"}, {kAccessCommand, 2, "CODE_123"}, {kAccessCommand, kLogout, "OLDPASS1"}},
         "", IDP_ACCESS_CODE_SENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        theLoginDialog.SetPassword("OLDPASS1");
        ScriptedUi ui;
        RecordingSensor sensor;
        CTalisoMDIFrameWnd::RunPasswordSession(sensor, c.command, c.secret);
        EXPECT_EQ(AccessRequests(sensor.requests), c.expected);
        EXPECT_EQ(theLoginDialog.GetPassword(), c.storedAfter);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].id, c.message);
        EXPECT_EQ(ui.MessageBoxes()[0].flags & MB_ICONMASK, UINT(MB_ICONINFORMATION));
        EXPECT_FALSE(sensor.IsOpen()) << "disconnected";
        EXPECT_FALSE(sensor.IsLoaded());
    }
}

TEST_F(MainFrameTest, RefusedLoginDisconnectsWithoutLogOutAndKeepsThePassword)
{
    for (UINT command : {ID_CHANGE_DEVICE_PASSWORD, ID_CHANGE_ACCESS_CODE}) {
        SCOPED_TRACE(command);
        ScriptedUi ui;
        ui.QueueAnswer(IDCANCEL); // the log-in's Retry or Cancel
        RefusingLoginSensor sensor;
        CTalisoMDIFrameWnd::RunPasswordSession(sensor, command, "NEWPASS1");
        const std::vector<Sent> sent = AccessRequests(sensor.requests);
        ASSERT_EQ(sent.size(), 1u) << "the refused log-in only";
        EXPECT_NE(sent[0].subCode, kLogout);
        EXPECT_EQ(theLoginDialog.GetPassword(), "OLDPASS1");
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].flags & MB_TYPEMASK, UINT(MB_RETRYCANCEL));
        EXPECT_FALSE(sensor.IsOpen());
    }
}

TEST_F(MainFrameTest, RightsOfTheLevelEnableTheFrameCommands)
{
    auto enabled = [&](UINT id) {
        CTestCmdUI state;
        state.m_nID = id;
        mainFrame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
        return state.m_bEnabled != FALSE;
    };
    for (int level : {1, 4, 5}) {
        SCOPED_TRACE(level);
        theLoginDialog.SetLevel(level);
        EXPECT_EQ(enabled(ID_CHANGE_DEVICE_PASSWORD), theLoginDialog.CanChangePassword1() != 0);
        EXPECT_EQ(enabled(ID_CHANGE_USER_PASSWORD), theLoginDialog.CanChangePassword2() != 0);
        EXPECT_EQ(enabled(ID_CHANGE_ACCESS_CODE), theLoginDialog.CanChangePassword3() != 0);
        EXPECT_EQ(enabled(ID_RUN_DIAGNOSIS), theLoginDialog.CanRunDiagnosis() != 0);
        EXPECT_EQ(enabled(ID_RUN_ALIGNMENT), theLoginDialog.CanRunAlignment() != 0);
        EXPECT_EQ(enabled(ID_FILE_NEW), theLoginDialog.CanCreateDocument() != 0);
    }
}

TEST_F(MainFrameTest, StatusBarCarriesTheEightPanesTheLegendAndTheLevelName)
{
    CTalisoMDIFrameWnd::CLegendStatusBar& bar = mainFrame->GetStatusBar();
    ASSERT_EQ(bar.GetCount(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bar.GetItemID(i), CTalisoMDIFrameWnd::kIndicators[i]) << i;
    EXPECT_NE(bar.GetPaneStyle(1) & SBPS_OWNERDRAW, 0u);

    theLoginDialog.SetLevel(5);
    mainFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    const int level = bar.CommandToIndex(ID_PANE_LEVEL);
    EXPECT_EQ(bar.GetPaneText(level), theLoginDialog.GetLevelName());

    // Painting builds the legend once and widens its pane to it.
    const QImage shot = AfxWidgetFromHandle(bar.m_hWnd)->grab().toImage();
    ASSERT_TRUE(bar.HasLegend());
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    bar.GetPaneInfo(1, id, style, width);
    EXPECT_EQ(width, bar.GetLegendSize().cx + 2);
    CString protective;
    protective.LoadString(IDS_LEGEND_PROTECTIVE);
    EXPECT_GT(bar.GetLegendSize().cx, 3 * 10 + int(protective.GetLength()) * 3);
}

// What a pane shows: a disabled pane draws no text.
CString ShownText(const CStatusBar& bar, int index)
{
    return (bar.GetPaneStyle(index) & SBPS_DISABLED) != 0 ? CString() : bar.GetPaneText(index);
}

TEST_F(MainFrameTest, NoPaneShowsItsPlaceholderBeforeOrAfterTheFirstUpdate)
{
    // The frame of the fixture is shown and has had no update yet.
    CTalisoMDIFrameWnd::CLegendStatusBar& bar = mainFrame->GetStatusBar();
    const int level = bar.CommandToIndex(ID_PANE_LEVEL);
    const int family = bar.CommandToIndex(ID_PANE_DEVICE_FAMILY);
    const int recording = bar.CommandToIndex(ID_PANE_RECORDING);
    for (int pane : {level, family, recording})
        EXPECT_EQ(ShownText(bar, pane), CString()) << "pane " << bar.GetItemID(pane);

    mainFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    EXPECT_EQ(ShownText(bar, level), theLoginDialog.GetLevelName());
    EXPECT_EQ(ShownText(bar, family), CString()) << "no family simulated";
    EXPECT_EQ(ShownText(bar, recording), CString()) << "nothing recorded";
}

bool SamePixelColourFound(const QImage& image, const QRect& area, QColor colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

TEST_F(MainFrameTest, ScreenshotShowsMenuToolBarDocumentWindowAndStatusBarWithoutOverlap)
{
    CountingDoc* doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    CTalisoMDIChildWnd* child = FrameOf(doc);
    child->MDIMaximize();
    mainFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    PumpFrames();
    QWidget* window = AfxWidgetFromHandle(mainFrame->m_hWnd);
    QWidget* menu = AfxMenuBarWidget(mainFrame->m_hWnd);
    QWidget* tools = AfxWidgetFromHandle(mainFrame->GetToolBar().m_hWnd);
    QWidget* client = AfxWidgetFromHandle(mainFrame->m_hWndMDIClient);
    QWidget* status = AfxWidgetFromHandle(mainFrame->GetStatusBar().m_hWnd);
    ASSERT_TRUE(window && menu && tools && client && status);

    // Stacked top to bottom, each below the one before and none outside the window.
    const QRect menuRect = menu->geometry();
    const QRect toolRect = tools->geometry();
    const QRect clientRect = client->geometry();
    const QRect statusRect = status->geometry();
    EXPECT_EQ(menuRect.top(), 0);
    EXPECT_GE(toolRect.top(), menuRect.bottom() + 1);
    EXPECT_GE(clientRect.top(), toolRect.bottom() + 1);
    EXPECT_GE(statusRect.top(), clientRect.bottom() + 1);
    EXPECT_EQ(statusRect.bottom(), window->height() - 1);
    EXPECT_GE(toolRect.height(), 22) << "the buttons fit";

    // Every menu title fits in the bar.
    auto* bar = qobject_cast<QMenuBar*>(menu);
    ASSERT_NE(bar, nullptr);
    for (QAction* action : bar->actions())
        EXPECT_LE(bar->actionGeometry(action).right(), menuRect.width()) << action->text().toStdString();

    // The document window's own bars: the selectors above the panes, its panes below.
    QWidget* selectors = AfxWidgetFromHandle(child->GetDialogBar().m_hWnd);
    QWidget* childStatus = AfxWidgetFromHandle(child->GetStatusBar().m_hWnd);
    QWidget* panes = AfxWidgetFromHandle(child->GetSplitter().m_hWnd);
    EXPECT_LE(selectors->geometry().bottom(), panes->geometry().top());
    EXPECT_LE(panes->geometry().bottom(), childStatus->geometry().top());
    EXPECT_GT(panes->height(), 300);

    const ScreenshotFolder shots("frames");
    const std::filesystem::path& folder = shots.Path();
    const QImage shot = window->grab().toImage();
    ASSERT_TRUE(shot.save(QString::fromStdString((folder / "main-frame.png").string())));
    // The legend's protective-field colour shows in the status bar.
    const QColor protective(GetRValue(GetTalisoSetup().GetFieldColor(1)), GetGValue(GetTalisoSetup().GetFieldColor(1)),
                            GetBValue(GetTalisoSetup().GetFieldColor(1)));
    EXPECT_TRUE(SamePixelColourFound(shot, statusRect, protective));
    std::printf("main frame screenshot: %s\n", (folder / "main-frame.png").c_str());

    // A restored window in case simulation over four scanners: the workspace shows
    // beside it, the simulation bar above its four panes.
    child->MDIRestore();
    doc->sensorCount = 4;
    doc->SetMode(kModeSimulation);
    PumpFrames();
    const QImage simulation = window->grab().toImage();
    ASSERT_TRUE(simulation.save(QString::fromStdString((folder / "simulation.png").string())));
    const QRect workspace = client->geometry();
    const QPoint corner = workspace.bottomRight() - QPoint(5, 5);
    EXPECT_EQ(simulation.pixelColor(corner), QColor(171, 171, 171));
    QWidget* simulationBar = AfxWidgetFromHandle(child->GetSimulationBar().m_hWnd);
    EXPECT_TRUE(simulationBar->isVisible());
    EXPECT_LE(simulationBar->geometry().bottom(), panes->geometry().top());
    std::printf("simulation screenshot: %s\n", (folder / "simulation.png").c_str());
}

} // namespace
} // namespace frames
