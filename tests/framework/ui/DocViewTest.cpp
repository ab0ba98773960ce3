// The document/view layer in a small MDI application with two document types.
#include "DocViewTestSupport.h"

#include "framework/core/CFile.h"
#include "framework/core/Profile.h"
#include "framework/ui/CSplitterWnd.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/MessageBox.h"
#include "ScreenshotFolder.h"
#include "support/Unprivileged.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace docview {

IMPLEMENT_DYNCREATE(AlphaDoc, CDocument)
IMPLEMENT_DYNCREATE(AlphaView, CView)
IMPLEMENT_DYNCREATE(BetaDoc, CDocument)
IMPLEMENT_DYNCREATE(ChildFrame, CMDIChildWnd)
IMPLEMENT_DYNCREATE(MainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(AlphaDoc, CDocument)
    ON_COMMAND_EX(ID_ROUTE, OnRoute)
    ON_COMMAND(ID_TOGGLE, OnToggle)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE, OnUpdateToggle)
    ON_COMMAND(ID_LOCKED, OnLocked)
    ON_COMMAND(ID_UNLOCKED, OnUnlocked)
    ON_UPDATE_COMMAND_UI_RANGE(ID_LOCKED, ID_UNLOCKED, OnUpdateLocked)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(AlphaView, CView)
    ON_COMMAND_EX(ID_ROUTE, OnRoute)
END_MESSAGE_MAP()


BEGIN_MESSAGE_MAP(ChildFrame, CMDIChildWnd)
    ON_COMMAND_EX(ID_ROUTE, OnRoute)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(MainFrame, CMDIFrameWnd)
    ON_COMMAND_EX(ID_ROUTE, OnRoute)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND_EX(ID_ROUTE, OnRoute)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
END_MESSAGE_MAP()

// A child frame split into four panes, one of them shown at first.
class SplitFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(SplitFrame)
public:
    CSplitterWnd splitter;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        if (!splitter.CreateStatic(this, 2, 2))
            return FALSE;
        for (int pane = 1; pane < 4; ++pane) {
            if (!splitter.CreateView(pane / 2, pane % 2, pContext->m_pNewViewClass, CSize(0, 0), pContext))
                return FALSE;
        }
        if (!splitter.CreateView(0, 0, pContext->m_pNewViewClass, CSize(2000, 2000), pContext))
            return FALSE;
        splitter.RecalcLayout();
        SetActiveView(static_cast<CView*>(splitter.GetPane(0, 0)));
        return TRUE;
    }
};

IMPLEMENT_DYNCREATE(SplitFrame, CMDIChildWnd)

namespace {

namespace fs = std::filesystem;

std::string TempPath(const char* name)
{
    return "/tmp/docview-" + std::to_string(::getpid()) + "-" + name;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

AlphaView* FirstView(CDocument* doc)
{
    POSITION pos = doc->GetFirstViewPosition();
    return pos != nullptr ? dynamic_cast<AlphaView*>(doc->GetNextView(pos)) : nullptr;
}

class DocViewTest : public DocViewTestBase {};

TEST_F(DocViewTest, FileNewAsksForTheTypeAndOpensDocumentFrameAndViewInOrder)
{
    ScriptedUi ui;
    ui.QueueModal([](CWnd& dialog) {
        DialogDriver driver(dialog);
        EXPECT_EQ(driver.Count(AFX_IDC_LISTBOX), 2);
        EXPECT_EQ(driver.ItemText(AFX_IDC_LISTBOX, 1), "Beta document");
        driver.Select(AFX_IDC_LISTBOX, 0);
        driver.Click(IDOK);
    });
    mainFrame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    ASSERT_EQ(ui.ModalRuns().size(), 1u);
    EXPECT_EQ(ui.ModalRuns()[0].templateId, AFX_IDD_NEWTYPEDLG);
    EXPECT_EQ(Log(), (std::vector<std::string>{"document", "frame", "view", "new", "initial update"}));
    ASSERT_EQ(alpha->GetDocumentCount(), 1);
    EXPECT_EQ(beta->GetDocumentCount(), 0);

    CMDIChildWnd* child = mainFrame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    POSITION pos = alpha->GetFirstDocPosition();
    CDocument* doc = alpha->GetNextDoc(pos);
    EXPECT_EQ(child->GetActiveDocument(), doc);
    EXPECT_EQ(doc->GetTitle(), "Alpha1");
    CString title;
    mainFrame->GetWindowText(title);
    EXPECT_EQ(title, "Test Suite - Alpha1");
    EXPECT_EQ(mainFrame->GetMenu()->GetSubMenu(0)->GetMenuItemID(0), ID_TOGGLE) << "the template's menu replaces the main one";

    // Cancel in the choice opens nothing.
    ui.QueueModal([](CWnd& dialog) { DialogDriver(dialog).Cancel(); });
    mainFrame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(alpha->GetDocumentCount() + beta->GetDocumentCount(), 1);
}

TEST_F(DocViewTest, RefusedNewDocumentLeavesNoDocumentAndNoFrame)
{
    AlphaDoc::s_refuseNew = true;
    EXPECT_EQ(alpha->OpenDocumentFile(nullptr), nullptr);
    Pump();
    EXPECT_EQ(alpha->GetDocumentCount(), 0);
    EXPECT_EQ(mainFrame->MDIGetActive(), nullptr);
    EXPECT_EQ(CWnd::FromHandle(mainFrame->m_hWndMDIClient)->GetWindow(GW_CHILD), nullptr);
    EXPECT_EQ(mainFrame->GetMenu()->GetSubMenu(0)->GetMenuItemID(0), ID_FILE_NEW);

    AlphaDoc::s_refuseNew = false;
    CDocument* doc = alpha->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), "Alpha1") << "the refused document's number is taken again";
}

TEST_F(DocViewTest, SavedDocumentReopensEqualAndBadFilesAreReported)
{
    const std::string path = TempPath("saved.alp");
    auto* doc = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(nullptr));
    ASSERT_NE(doc, nullptr);
    doc->value = -123456;
    doc->text = "Zürich\tline";
    doc->SetModifiedFlag();
    ASSERT_TRUE(doc->DoSave(path.c_str()));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), path.c_str());
    EXPECT_EQ(doc->GetTitle(), "docview-" + std::to_string(::getpid()) + "-saved.alp");

    auto* copy = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(path.c_str()));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, doc);
    EXPECT_EQ(copy->value, doc->value);
    EXPECT_EQ(copy->text, doc->text);
    EXPECT_FALSE(copy->IsModified());
    EXPECT_EQ(app.OpenDocumentFile(path.c_str()), doc) << "an open path is not opened twice";

    // A failing save keeps the previous file whole.
    const std::string before = ReadAll(path);
    ScriptedUi ui;
    AlphaDoc::s_failStore = true;
    EXPECT_FALSE(doc->DoSave(path.c_str()));
    AlphaDoc::s_failStore = false;
    EXPECT_EQ(ReadAll(path), before);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_FAILED_TO_SAVE_DOC);

    // A truncated file is reported and leaves nothing open.
    {
        std::ofstream cut(path, std::ios::binary | std::ios::trunc);
        cut << before.substr(0, 6);
    }
    const int documents = alpha->GetDocumentCount();
    EXPECT_EQ(alpha->OpenDocumentFile((path + "x").c_str()), nullptr);
    EXPECT_EQ(alpha->OpenDocumentFile(path.c_str()), nullptr);
    Pump();
    EXPECT_EQ(alpha->GetDocumentCount(), documents);
    ASSERT_EQ(ui.MessageBoxes().size(), 3u);
    EXPECT_EQ(ui.MessageBoxes()[1].helpId, AFX_IDP_FAILED_INVALID_PATH);
    EXPECT_EQ(ui.MessageBoxes()[2].helpId, AFX_IDP_FAILED_INVALID_FORMAT);
    std::remove(path.c_str());
}

TEST_F(DocViewTest, SaveModifiedAsksAndCancelKeepsEverything)
{
    struct Case {
        int answer;
        BOOL result;
        bool saved;
        bool modifiedAfter;
    };
    const Case cases[] = {
        {IDYES, TRUE, true, false},
        {IDNO, TRUE, false, true},
        {IDCANCEL, FALSE, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const std::string path = TempPath("ask.alp");
        std::remove(path.c_str());
        auto* doc = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(nullptr));
        ASSERT_NE(doc, nullptr);
        doc->SetPathName(path.c_str(), FALSE);
        doc->SetModifiedFlag();
        ScriptedUi ui;
        ui.QueueAnswer(c.answer);
        EXPECT_EQ(doc->SaveModified(), c.result);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        const MessageBoxRecord& box = ui.MessageBoxes()[0];
        EXPECT_EQ(box.helpId, AFX_IDP_ASK_TO_SAVE);
        EXPECT_EQ(box.flags, MB_YESNOCANCEL | MB_ICONQUESTION);
        EXPECT_EQ(box.text, CString("Save the changes to docview-") + std::to_string(::getpid()).c_str() + "-ask.alp?");
        EXPECT_EQ(std::ifstream(path).good(), c.saved);
        EXPECT_EQ(bool(doc->IsModified()), c.modifiedAfter);
        std::remove(path.c_str());
        doc->SetModifiedFlag(FALSE);
        doc->OnCloseDocument();
    }

    // Closing the window of a modified document: Cancel keeps document and window.
    auto* doc = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(nullptr));
    doc->SetModifiedFlag();
    CMDIChildWnd* child = mainFrame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    ScriptedUi ui;
    ui.QueueAnswers({IDCANCEL, IDNO});
    child->SendMessage(WM_CLOSE);
    EXPECT_EQ(alpha->GetDocumentCount(), 1);
    EXPECT_NE(child->m_hWnd, nullptr);
    EXPECT_EQ(FirstView(doc)->GetParentFrame(), child);
    child->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(alpha->GetDocumentCount(), 0);
    EXPECT_EQ(mainFrame->MDIGetActive(), nullptr);
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
}

TEST_F(DocViewTest, UpdateAllViewsReachesEveryViewButTheSender)
{
    CDocument* doc = alpha->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    for (int i = 0; i < 2; ++i) {
        CFrameWnd* frame = alpha->CreateNewFrame(doc, nullptr);
        ASSERT_NE(frame, nullptr);
        alpha->InitialUpdateFrame(frame, doc);
    }
    std::vector<AlphaView*> views;
    for (POSITION pos = doc->GetFirstViewPosition(); pos != nullptr;)
        views.push_back(static_cast<AlphaView*>(doc->GetNextView(pos)));
    ASSERT_EQ(views.size(), 3u);
    for (AlphaView* view : views)
        view->hints.clear();

    doc->UpdateAllViews(views[1], 300);
    doc->UpdateAllViews(nullptr, 0);
    EXPECT_EQ(views[0]->hints, (std::vector<LPARAM>{300, 0}));
    EXPECT_EQ(views[1]->hints, (std::vector<LPARAM>{0}));
    EXPECT_EQ(views[2]->hints, (std::vector<LPARAM>{300, 0}));

    // Closing one of the windows keeps the document; closing the last one closes it.
    views[0]->GetParentFrame()->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(doc->GetViewCount(), 2);
    EXPECT_EQ(alpha->GetDocumentCount(), 1);
}

TEST_F(DocViewTest, CommandsRouteFromViewToApplicationAndDisabledOnesDoNotRun)
{
    auto* doc = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(nullptr));
    ASSERT_NE(doc, nullptr);
    Log().clear();
    mainFrame->SendMessage(WM_COMMAND, ID_ROUTE);
    EXPECT_EQ(Log(), (std::vector<std::string>{"view", "doc", "child frame", "main frame", "application"}));

    mainFrame->PostMessage(WM_COMMAND, ID_LOCKED);
    mainFrame->PostMessage(WM_COMMAND, ID_UNLOCKED);
    Pump();
    EXPECT_EQ(doc->ran, (std::vector<UINT>{ID_UNLOCKED}));
}

TEST_F(DocViewTest, OpeningPopupShowsTheUpdateHandlersState)
{
    auto* doc = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(nullptr));
    ASSERT_NE(doc, nullptr);
    auto* bar = qobject_cast<QMenuBar*>(AfxMenuBarWidget(mainFrame->m_hWnd));
    ASSERT_NE(bar, nullptr);
    ASSERT_FALSE(bar->actions().isEmpty());
    QMenu* edit = bar->actions()[0]->menu();
    ASSERT_NE(edit, nullptr);

    auto stateOf = [&](UINT id) {
        emit edit->aboutToShow();
        for (QAction* action : edit->actions()) {
            if (action->data().toUInt() == id && !action->isSeparator())
                return std::pair<bool, bool>(action->isEnabled(), action->isChecked());
        }
        return std::pair<bool, bool>(false, false);
    };
    EXPECT_EQ(stateOf(ID_TOGGLE), std::make_pair(true, false));
    EXPECT_EQ(stateOf(ID_NOBODY), std::make_pair(false, false)) << "no handler: disabled";
    EXPECT_EQ(stateOf(ID_MARK), std::make_pair(false, true)) << "the resource's check mark stays";

    // Choosing the item runs the command; the next opening shows the new check state.
    for (QAction* action : edit->actions()) {
        if (action->data().toUInt() == ID_TOGGLE)
            action->trigger();
    }
    Pump();
    EXPECT_TRUE(doc->toggled);
    EXPECT_EQ(stateOf(ID_TOGGLE), std::make_pair(true, true));
}

TEST_F(DocViewTest, RecentFileListRoundTripsThroughTheIniFile)
{
    const std::string ini = TempPath("recent.ini");
    std::remove(ini.c_str());
    app.SetProfileName(ini.c_str());
    app.LoadStdProfileSettings(4);
    EXPECT_TRUE(app.GetRecentFileList().empty());
    for (const char* path : {"/a.alp", "/b.alp", "/c.alp", "/d.alp", "/e.alp", "/b.alp"})
        app.AddToRecentFileList(path);
    const std::vector<CString> expected{"/b.alp", "/e.alp", "/d.alp", "/c.alp"};
    EXPECT_EQ(app.GetRecentFileList(), expected);
    app.m_nNumPreviewPages = 1;
    app.ExitInstance();

    EXPECT_EQ(ReadProfileString("Recent File List", "File1", "", ini.c_str()), "/b.alp");
    EXPECT_EQ(ReadProfileString("Recent File List", "File4", "", ini.c_str()), "/c.alp");
    EXPECT_EQ(GetPrivateProfileInt("Settings", "PreviewPages", 0, ini.c_str()), 1u);
    app.AddToRecentFileList("/z.alp");
    app.LoadStdProfileSettings(4);
    EXPECT_EQ(app.GetRecentFileList(), expected);
    std::remove(ini.c_str());
}

TEST_F(DocViewTest, ARecentFileListThatCannotBeSavedIsReportedOnceWithTheReason)
{
    const std::string ini = TempPath("missing-folder") + "/recent.ini";
    app.SetProfileName(ini.c_str());
    app.LoadStdProfileSettings(4);
    for (const char* path : {"/a.alp", "/b.alp", "/c.alp"})
        app.AddToRecentFileList(path);
    ScriptedUi ui;
    app.ExitInstance();
    ASSERT_EQ(ui.MessageBoxes().size(), 1u) << "one report for the whole list";
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_PROFILE_NOT_SAVED);
    EXPECT_EQ(ui.MessageBoxes()[0].text,
              CString("The settings could not be saved in ") + ini.c_str() + ".\n" + std::strerror(ENOENT));
}

// The same file reached through a linked folder or another spelling of its path is the
// document already open, brought to the front; another file of the same name is not.
TEST_F(DocViewTest, TheSameFileThroughAnotherPathIsBroughtForwardNotOpenedTwice)
{
    const fs::path folder = TempPath("real");
    const fs::path linked = TempPath("linked");
    fs::create_directories(folder / "other");
    fs::create_directory_symlink(folder, linked);
    auto* doc = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(nullptr));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(doc->DoSave((folder / "unit.alp").c_str()));
    ASSERT_TRUE(doc->DoSave((folder / "other" / "unit.alp").c_str()) && doc->DoSave((folder / "unit.alp").c_str()));
    CDocument* second = alpha->OpenDocumentFile(nullptr);
    ASSERT_NE(second, nullptr);
    Pump();
    ASSERT_NE(mainFrame->MDIGetActive()->GetActiveDocument(), doc);

    for (const fs::path& spelling : {linked / "unit.alp", folder / "other" / ".." / "unit.alp"}) {
        SCOPED_TRACE(spelling.string());
        EXPECT_EQ(app.OpenDocumentFile(spelling.c_str()), doc);
        EXPECT_EQ(alpha->GetDocumentCount(), 2);
        Pump();
        EXPECT_EQ(mainFrame->MDIGetActive()->GetActiveDocument(), doc) << "brought forward";
        dynamic_cast<CMDIChildWnd*>(FirstView(second)->GetParentFrame())->MDIActivate();
        Pump();
    }
    CDocument* other = app.OpenDocumentFile((linked / "other" / "unit.alp").c_str());
    EXPECT_NE(other, doc);
    EXPECT_EQ(alpha->GetDocumentCount(), 3);
    fs::remove(linked);
    fs::remove_all(folder);
}

// A document the user may write in a folder the user may not is saved; a new one there
// is refused with the folder named as the reason, not the file called read-only.
TEST_F(DocViewTest, ADocumentInASharedFolderIsSavedAndANewOneThereSaysWhyNot)
{
    const fs::path shared = TempPath("shared");
    fs::create_directory(shared);
    const fs::path target = shared / "unit.alp";
    auto* doc = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(nullptr));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(doc->DoSave(target.c_str()));
    fs::permissions(target, fs::perms(0666));
    fs::permissions(shared, fs::perms(0555));
    doc->value = 4711;

    const fs::path created = shared / "new.alp";
    const int result = unprivileged::Run([&] {
        ScriptedUi ui;
        if (!doc->DoSave(target.c_str()) || !ui.MessageBoxes().empty())
            return 1;
        if (doc->DoSave(created.c_str()) || ui.MessageBoxes().size() != 1)
            return 2;
        const MessageBoxRecord& box = ui.MessageBoxes()[0];
        if (box.helpId != AFX_IDP_FAILED_FOLDER_WRITE)
            return 3;
        if (box.text != CString(created.c_str()) + " cannot be created: its folder may not be written.\n" +
                            "The system reports: " + std::strerror(EACCES) + ".")
            return 4;
        return 0;
    });
    fs::permissions(shared, fs::perms(0755));
    EXPECT_EQ(result, 0);
    auto* reread = static_cast<AlphaDoc*>(alpha->OpenDocumentFile(target.c_str()));
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->value, 4711);
    EXPECT_FALSE(fs::exists(created));
    fs::remove_all(shared);
}

TEST_F(DocViewTest, SplitterShowsOnePaneUntilSplitAndNextPaneMovesTheActiveView)
{
    CDocTemplate* split = app.AddDocTemplate(std::make_unique<CMultiDocTemplate>(
        IDR_ALPHA, RUNTIME_CLASS(AlphaDoc), RUNTIME_CLASS(SplitFrame), RUNTIME_CLASS(AlphaView)));
    CDocument* doc = split->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetViewCount(), 4);
    auto* frame = dynamic_cast<SplitFrame*>(mainFrame->MDIGetActive());
    ASSERT_NE(frame, nullptr);
    frame->MDIMaximize();
    Pump();
    CSplitterWnd& splitter = frame->splitter;
    splitter.RecalcLayout();
    CRect area;
    splitter.GetClientRect(&area);
    ASSERT_GT(area.Width(), 100);

    auto sizes = [&] {
        std::vector<int> result;
        int cur = 0;
        int min = 0;
        for (int i = 0; i < 2; ++i) {
            splitter.GetRowInfo(i, cur, min);
            result.push_back(cur);
        }
        for (int i = 0; i < 2; ++i) {
            splitter.GetColumnInfo(i, cur, min);
            result.push_back(cur);
        }
        return result;
    };
    const int width = area.Width() - 2 * splitter.m_cxBorder;
    const int height = area.Height() - 2 * splitter.m_cyBorder;
    EXPECT_EQ(sizes(), (std::vector<int>{height, 0, width, 0})) << "the ideal 2000 takes everything";
    EXPECT_FALSE(splitter.GetPane(1, 1)->IsWindowVisible());
    EXPECT_EQ(frame->GetActiveView(), splitter.GetPane(0, 0));
    EXPECT_FALSE(splitter.CanActivateNext());

    splitter.SetRowInfo(0, height / 2, 0);
    splitter.SetColumnInfo(0, width / 2, 0);
    splitter.RecalcLayout();
    EXPECT_EQ(sizes(), (std::vector<int>{height / 2, height - height / 2 - splitter.m_cySplitterGap, width / 2,
                                         width - width / 2 - splitter.m_cxSplitterGap}));
    int row = -1;
    int col = -1;
    EXPECT_TRUE(splitter.IsChildPane(splitter.GetPane(1, 0), &row, &col));
    EXPECT_EQ(std::make_pair(row, col), std::make_pair(1, 0));

    mainFrame->SendMessage(WM_COMMAND, ID_NEXT_PANE);
    EXPECT_EQ(frame->GetActiveView(), splitter.GetPane(0, 1));
    mainFrame->SendMessage(WM_COMMAND, ID_PREV_PANE);
    mainFrame->SendMessage(WM_COMMAND, ID_PREV_PANE);
    EXPECT_EQ(frame->GetActiveView(), splitter.GetPane(1, 1));
}

TEST_F(DocViewTest, ScreenshotOfMainFrameWithOneMaximizedChild)
{
    CDocument* doc = alpha->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    CMDIChildWnd* child = mainFrame->MDIGetActive();
    ASSERT_NE(child, nullptr);
    child->MDIMaximize();
    Pump();
    AlphaView* view = FirstView(doc);
    ASSERT_NE(view, nullptr);
    view->UpdateWindow();

    QWidget* widget = AfxWidgetFromHandle(mainFrame->m_hWnd);
    const QImage image = widget->grab().toImage();
    ScreenshotFolder("docview").Save(image, "docview-mdi.png");
    EXPECT_EQ(image.width(), 640);

    // The view's blue shows inside the MDI area below the menu bar.
    CRect viewRect;
    view->GetWindowRect(&viewRect);
    CRect frameRect;
    mainFrame->GetWindowRect(&frameRect);
    ASSERT_GT(viewRect.Width(), 300);
    const QPoint centre(viewRect.CenterPoint().x - frameRect.left, viewRect.CenterPoint().y - frameRect.top);
    EXPECT_EQ(image.pixelColor(centre).rgb() & 0xFFFFFF, 0x0080FFu);
    EXPECT_GT(viewRect.top, frameRect.top + AfxPlaceMenuBar(mainFrame->m_hWnd) - 1);
}

} // namespace
} // namespace docview
