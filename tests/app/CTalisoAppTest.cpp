// The program's start-up and its application-wide commands, run headless in a program
// folder of the test's own: the INI file, the language choice, the single instance, the
// device probe against a port that does not exist or against the emulator on a
// pseudo-terminal, the port wizard and family choice, and what is left in the INI file.
#include "app/CKVRDoc.h"
#include "app/CTalisoApp.h"
#include "app/CTalisoMDIFrameWnd.h"
#include "app/settings/CTalisoSetup.h"
#include "app/CZOKDoc.h"
#include "DocumentFileBytes.h"
#include "model/CShelter.h"
#include "device/CKVRSensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CZOKSensor.h"
#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/core/CMemFile.h"
#include "framework/core/InstanceLock.h"
#include "framework/core/Library.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CMenu.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "tools/DeviceEmulator.h"
#include "tools/SimulatorAnswerer.h"
#include "support/ProcessStateReset.h"
#include "support/TypedKeys.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr UINT IDD_DEVICE_FAMILY = 115;
constexpr UINT IDD_LOGIN = 104;
constexpr int IDC_FAMILY_KVR = 2140;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string LanguageSections(const std::string& dll = "LAN_ENG.DLL")
{
    return "[LANGUAGE]\nlan_numbers=1\nlanguage=1\n\n[LANGUAGE_1]\ndll=" + dll + "\nhelp=HELP_ENG.HLP\nlan_1=English\n";
}

int CountDocuments(CDocTemplate* docTemplate)
{
    int count = 0;
    POSITION pos = docTemplate->GetFirstDocPosition();
    while (pos != nullptr) {
        docTemplate->GetNextDoc(pos);
        ++count;
    }
    return count;
}

template <class Doc>
Doc* FirstDocument(CDocTemplate* docTemplate)
{
    POSITION pos = docTemplate->GetFirstDocPosition();
    return pos != nullptr ? dynamic_cast<Doc*>(docTemplate->GetNextDoc(pos)) : nullptr;
}

std::vector<BYTE> StoredBytes(CObject& object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
    }
    const auto length = std::size_t(file.GetLength());
    std::vector<BYTE> bytes(length);
    file.SeekToBegin();
    file.Read(bytes.data(), UINT(length));
    return bytes;
}

// The view paints the fields it shows in their kind's colours; the device gives the
// default fill. Time stamps are those of reception.
void UndoViewColours(CDocument& document)
{
    auto& doc = dynamic_cast<CTalisoDoc&>(document);
    for (CShelter* field : {doc.GetCurrentObject(), doc.GetSecondObject()}) {
        if (field != nullptr)
            field->SetFillColor(0xC0C0C0);
    }
}

// A new document's configuration wizard walked to its end with what it proposes.
void FinishNewConfigurationWizard(CWnd& wizard)
{
    DialogDriver driver(wizard);
    for (int page = 0; page < 16 && !driver.Finish(); ++page)
        driver.Next();
}

class TalisoAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> serial{0};
        static const unsigned run = std::random_device{}();
        folder = fs::temp_directory_path() / ("taliso-app-" + std::to_string(run) + "-" + std::to_string(serial++));
        fs::create_directories(folder / "run");
        fs::permissions(folder / "run", fs::perms::owner_all);
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (runtime != nullptr)
            savedRuntime = runtime;
        setenv("XDG_RUNTIME_DIR", (folder / "run").c_str(), 1);
        app = std::make_unique<CTalisoApp>();
        app->SetModulePath((folder / "Taliso").c_str());
    }

    void TearDown() override
    {
        CloseProgram();
        app.reset();
        if (savedRuntime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    void CloseProgram()
    {
        if (app == nullptr || app->m_pMainWnd == nullptr)
            return;
        app->CWinApp::CloseAllDocuments(TRUE);
        if (app->m_pMainWnd->m_hWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        app->m_pMainWnd = nullptr;
    }

    fs::path Ini() const { return folder / "Taliso.INI"; }
    void WriteIni(const std::string& text) const { std::ofstream(Ini(), std::ios::binary) << text; }

    // A port that cannot be opened: no device answers.
    std::string NoDevicePort() const { return "[SETUP]\nPort=1\n\n[PORTS]\nCOM1=" + (folder / "no-tty").string() + "\n"; }

    // The classic program start: ExitInstance also runs after a refused InitInstance.
    BOOL Start()
    {
        const BOOL started = app->InitInstance();
        if (!started)
            app->ExitInstance();
        return started;
    }

    static void RunPostedMessages()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    // Start-up without a device: nothing found by the port wizard, the KVR family chosen
    // for simulation, and Yes to reading its configuration.
    static void QueueKVRSimulationAndReading(ScriptedUi& ui)
    {
        ui.QueueModal([](CWnd&) {});
        ui.QueueModal([](CWnd& dialog) {
            DialogDriver driver(dialog);
            driver.Click(IDC_FAMILY_KVR);
            driver.Click(IDOK);
        });
        ui.QueueAnswer(IDYES);
    }

    static bool AskedToRead(const ScriptedUi& ui)
    {
        for (const MessageBoxRecord& box : ui.MessageBoxes()) {
            if (box.id == IDP_READ_FROM_DEVICE)
                return true;
        }
        return false;
    }

    static std::vector<UINT> ModalTemplates(const ScriptedUi& ui)
    {
        std::vector<UINT> ids;
        for (const ModalRecord& run : ui.ModalRuns())
            ids.push_back(run.templateId);
        return ids;
    }

    fs::path folder;
    std::string savedRuntime;
    std::unique_ptr<CTalisoApp> app;
};

TEST_F(TalisoAppTest, IniPathReplacesTheProgramsExtensionOrAppendsOne)
{
    struct Case {
        const char* program;
        const char* ini;
    };
    const Case cases[] = {
        {"/opt/taliso/Taliso", "/opt/taliso/Taliso.INI"},
        {"/opt/taliso/Taliso.exe", "/opt/taliso/Taliso.INI"},
        {"/opt/tal.iso/Taliso", "/opt/tal.iso/Taliso.INI"},
        {"/opt/taliso/.hidden", "/opt/taliso/.hidden.INI"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CWinAppExt::IniPathForProgram(c.program), CString(c.ini)) << c.program;
}

TEST_F(TalisoAppTest, RefusedStartsLeaveTheUsersIniByteForByte)
{
    const std::string settings = "[Settings]\r\nRectGrid=250\r\n[Colors]\r\nGrid=1,2,3\r\n";
    struct Case {
        const char* name;
        std::string dll;
        bool holdInstance;
        const char* text;
        UINT id;
    };
    const Case cases[] = {
        {"missing language library", "LAN_NONE.DLL", false, kLanguageLibraryMissingText, 0},
        {"second instance", "LAN_ENG.DLL", true, nullptr, IDP_ALREADY_RUNNING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = LanguageSections(c.dll) + settings + NoDevicePort();
        WriteIni(before);
        std::unique_ptr<InstanceLock> other;
        if (c.holdInstance)
            other = std::make_unique<InstanceLock>("TEST");
        ScriptedUi ui;
        EXPECT_FALSE(Start());
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].id, c.id);
        if (c.text != nullptr) {
            EXPECT_EQ(ui.MessageBoxes()[0].text, CString(c.text));
        }
        EXPECT_EQ(ui.MessageBoxes()[0].flags & MB_ICONMASK, UINT(MB_ICONHAND));
        EXPECT_EQ(app->m_pMainWnd, nullptr);
        EXPECT_EQ(ReadFile(Ini()), before);
        app = std::make_unique<CTalisoApp>();
        app->SetModulePath((folder / "Taliso").c_str());
    }
}

TEST_F(TalisoAppTest, LanguageNumberOutsideTheOfferedOnesFallsBackToLanguageOne)
{
    struct Case {
        const char* ini;
        BOOL loaded;
        int language;
    };
    const Case cases[] = {
        {"[LANGUAGE]\nlan_numbers=1\nlanguage=5\n[LANGUAGE_1]\ndll=LAN_ENG.DLL\n[LANGUAGE_5]\ndll=LAN_NONE.DLL\n", TRUE, 1},
        {"[LANGUAGE]\nlan_numbers=2\nlanguage=0\n[LANGUAGE_1]\ndll=LAN_ENG.DLL\n", TRUE, 1},
        {"[LANGUAGE]\nlan_numbers=12\nlanguage=12\n[LANGUAGE_12]\ndll=LAN_ENG.DLL\n", TRUE, 12},
        {"[LANGUAGE]\nlan_numbers=2\nlanguage=2\n[LANGUAGE_2]\ndll=\n", FALSE, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        WriteIni(c.ini);
        app->SetIniFileName();
        EXPECT_EQ(app->LoadLanguageLibrary(), c.loaded);
        EXPECT_EQ(app->GetLanguage(), c.language);
    }
}

TEST_F(TalisoAppTest, WithoutALanguageSectionTheDefaultLibraryAndHelpFileAreAsked)
{
    WriteIni(NoDevicePort());
    app->SetIniFileName();
    EXPECT_FALSE(app->LoadLanguageLibrary()); // the default library is not shipped here
    EXPECT_NE(GetLastLibraryError().Find("LAN_GER"), -1);

    WriteIni("[LANGUAGE_1]\ndll=LAN_ENG.DLL\n");
    ASSERT_TRUE(app->LoadLanguageLibrary());
    EXPECT_EQ(CString(app->m_pszHelpFilePath), CString((folder / "HELP_ENG.HLP").c_str()));
}

TEST_F(TalisoAppTest, WithoutADeviceAndBothDialogsCancelledNoQuestionAndFileNewIsPosted)
{
    WriteIni(LanguageSections() + NoDevicePort());
    ScriptedUi ui;
    ui.QueueModal([](CWnd&) {}); // port wizard
    ui.QueueModal([](CWnd&) {}); // family choice
    // The login leaves a level that may create documents.
    ui.QueueModal([](CWnd&) { theLoginDialog.SetLevel(1); });
    ASSERT_TRUE(Start());
    EXPECT_FALSE(AskedToRead(ui));
    EXPECT_FALSE(app->IsSimulating());
    const std::vector<UINT> beforeNew = ModalTemplates(ui);
    ASSERT_GE(beforeNew.size(), 3u);
    EXPECT_EQ(beforeNew[beforeNew.size() - 2], IDD_DEVICE_FAMILY);
    EXPECT_EQ(beforeNew.back(), IDD_LOGIN);

    RunPostedMessages();
    // File New with two templates asks which one.
    ASSERT_EQ(ModalTemplates(ui).size(), beforeNew.size() + 1);
    EXPECT_EQ(ModalTemplates(ui).back(), UINT(AFX_IDD_NEWTYPEDLG));
}

// Every help command of the menus and the F1 keys opens the help file the INI names
// beside the program; without that file a message names it.
TEST_F(TalisoAppTest, HelpCommandsOpenTheHelpFileOrSayWhichFileIsMissing)
{
    WriteIni(LanguageSections() + NoDevicePort());
    ScriptedUi ui;
    ASSERT_TRUE(Start());
    const std::string helpFile = (folder / "HELP_ENG.HLP").string();
    for (bool present : {false, true}) {
        if (present)
            std::ofstream(folder / "HELP_ENG.HLP") << "help";
        for (UINT command : {UINT(ID_HELP_SEARCH), UINT(ID_HELP_TOPIC_FIELDS), UINT(ID_HELP_TOPIC_DEVICES), UINT(ID_HELP),
                             UINT(ID_HELP_INDEX), UINT(ID_HELP_USING), UINT(ID_CONTEXT_HELP), UINT(ID_DEFAULT_HELP)}) {
            SCOPED_TRACE(testing::Message() << "command " << command << (present ? " with" : " without") << " the file");
            ui.ClearMessageBoxes();
            const std::size_t opened = ui.OpenedDocuments().size();
            app->m_pMainWnd->SendMessage(WM_COMMAND, command, 0);
            if (present) {
                EXPECT_TRUE(ui.MessageBoxes().empty());
                ASSERT_EQ(ui.OpenedDocuments().size(), opened + 1);
                EXPECT_EQ(ui.OpenedDocuments().back(), CString(helpFile.c_str()));
            } else {
                ASSERT_EQ(ui.MessageBoxes().size(), 1u);
                EXPECT_NE(ui.MessageBoxes()[0].text.Find(helpFile.c_str()), -1) << ui.MessageBoxes()[0].text.c_str();
                EXPECT_EQ(ui.OpenedDocuments().size(), opened);
            }
        }
    }
}

// F1 in the options sheet opens the help file as its Help button does, and so does F1 in
// the file prompt of File > Open; a viewer that cannot show the file is reported with the
// file's name once the desktop's opener has ended.
TEST_F(TalisoAppTest, F1InTheOptionsAndTheFilePromptOpensTheHelpAndAFailingViewerSaysSo)
{
    WriteIni(LanguageSections() + NoDevicePort());
    const std::string helpFile = (folder / "HELP_ENG.HLP").string();
    std::ofstream(helpFile) << "help";
    const fs::path failingOpener = folder / "failing-opener";
    std::ofstream(failingOpener) << "#!/bin/sh\nexit 1\n";
    fs::permissions(failingOpener, fs::perms::owner_all);
    const auto optionsWithF1 = [](CWnd& sheet) {
        EXPECT_TRUE(DialogDriver(sheet).IsVisible(ID_HELP));
        typedkeys::TypeKey(Qt::Key_F1);
        typedkeys::TypeKey(Qt::Key_Escape);
    };
    {
        ScriptedUi ui;
        ASSERT_TRUE(Start());
        ui.ClearMessageBoxes();
        ui.QueueModal(optionsWithF1);
        app->m_pMainWnd->SendMessage(WM_COMMAND, ID_SETTINGS, 0);
        EXPECT_EQ(ui.OpenedDocuments(), std::vector<CString>{CString(helpFile.c_str())});
        EXPECT_TRUE(ui.MessageBoxes().empty());

        ui.SetDocumentOpener(failingOpener.c_str());
        ui.QueueModal(optionsWithF1);
        app->m_pMainWnd->SendMessage(WM_COMMAND, ID_SETTINGS, 0);
        const QDeadlineTimer hangGuard(30000);
        while (ui.MessageBoxes().empty() && !hangGuard.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_NE(ui.MessageBoxes()[0].text.Find(helpFile.c_str()), -1) << ui.MessageBoxes()[0].text.c_str();
    }
    // No script takes the file prompt: Qt's own dialog runs, and the keys go into it.
    std::vector<CString> opened;
    const RealModalWindowAnswered answeredHere;
    QTimer::singleShot(0, [&] {
        ScriptedUi helpOnly; // logs the help request, after the prompt came up
        typedkeys::TypeKey(Qt::Key_F1);
        opened = helpOnly.OpenedDocuments();
        typedkeys::TypeKey(Qt::Key_Escape);
    });
    app->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ(opened, std::vector<CString>{CString(helpFile.c_str())});
}

// While the start-up's questions are up, the status bar already shows what its
// handlers give: the level, no simulated family, no recording; never a placeholder.
TEST_F(TalisoAppTest, StatusPanesShowTheirStateDuringTheStartUpQuestions)
{
    WriteIni(LanguageSections() + NoDevicePort());
    ScriptedUi ui;
    std::vector<CString> shown;
    ui.QueueModal([](CWnd&) {}); // port wizard: nothing found
    ui.QueueModal([](CWnd&) {}); // no family simulated
    ui.QueueModal([&](CWnd&) {   // the login dialog
        auto* frame = dynamic_cast<CTalisoMDIFrameWnd*>(app->m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        const CStatusBar& bar = frame->GetStatusBar();
        for (UINT pane : {ID_PANE_LEVEL, ID_PANE_DEVICE_FAMILY, ID_PANE_RECORDING}) {
            const int index = bar.CommandToIndex(pane);
            shown.push_back((bar.GetPaneStyle(index) & SBPS_DISABLED) != 0 ? CString() : bar.GetPaneText(index));
        }
    });
    ASSERT_TRUE(Start());
    EXPECT_EQ(shown, (std::vector<CString>{theLoginDialog.GetLevelName(), CString(), CString()}));
}

TEST_F(TalisoAppTest, AtTheStandardLevelNoDocumentIsCreatedAfterTheLogin)
{
    WriteIni(LanguageSections() + NoDevicePort());
    ScriptedUi ui;
    ASSERT_TRUE(Start());
    const std::size_t runs = ui.ModalRuns().size();
    RunPostedMessages();
    EXPECT_EQ(ui.ModalRuns().size(), runs);
}

TEST_F(TalisoAppTest, AChosenFamilyIsSimulatedAndItsConfigurationReadIntoANewDocument)
{
    WriteIni(LanguageSections() + NoDevicePort());
    ScriptedUi ui;
    QueueKVRSimulationAndReading(ui);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(AskedToRead(ui));
    EXPECT_EQ(app->GetSimulatedFamily(), BYTE(1));
    EXPECT_EQ(app->IsConnectOnNew(), 0);

    ASSERT_EQ(CountDocuments(app->GetKVRTemplate()), 1);
    EXPECT_EQ(CountDocuments(app->GetZOKTemplate()), 0);
    auto* document = FirstDocument<CKVRDoc>(app->GetKVRTemplate());
    ASSERT_NE(document, nullptr);
    ASSERT_NE(document->GetConfiguration(), nullptr);

    CKVRSensor simulated(1);
    ASSERT_TRUE(simulated.Load(""));
    ASSERT_TRUE(simulated.Open());
    std::unique_ptr<CKVRConfig> expected = simulated.ReadConfiguration();
    simulated.Close();
    simulated.Free();
    ASSERT_NE(expected, nullptr);
    UndoViewColours(*document);
    ClearFieldTimes(*document->GetConfiguration());
    ClearFieldTimes(*expected);
    EXPECT_EQ(StoredBytes(*document->GetConfiguration()), StoredBytes(*expected));

    // A document came from the device: File New is not posted.
    const std::size_t runs = ui.ModalRuns().size();
    RunPostedMessages();
    EXPECT_EQ(ui.ModalRuns().size(), runs);
}

// The icon a window shows in its caption (an MDI child's sits on its sub-window).
QImage CaptionIcon(const CWnd* window)
{
    QWidget* widget = window != nullptr ? AfxWidgetFromHandle(window->m_hWnd) : nullptr;
    if (widget != nullptr && !widget->isWindow())
        widget = widget->parentWidget();
    return widget != nullptr ? widget->windowIcon().pixmap(32, 32).toImage() : QImage();
}

TEST_F(TalisoAppTest, DocumentWindowsOfBothFamiliesOpenMaximisedWithIconsOfTheirOwn)
{
    WriteIni(LanguageSections() + NoDevicePort()); // ViewMaximize as shipped: on
    ScriptedUi ui;
    QueueKVRSimulationAndReading(ui);
    ASSERT_TRUE(Start());
    auto* frame = dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    BOOL maximised = FALSE;
    CMDIChildWnd* kvrWindow = frame->MDIGetActive(&maximised);
    ASSERT_NE(kvrWindow, nullptr);
    EXPECT_TRUE(maximised) << "the document read from the device";

    ui.QueueModal(FinishNewConfigurationWizard);
    ASSERT_NE(app->GetZOKTemplate()->OpenDocumentFile(nullptr), nullptr);
    maximised = FALSE;
    CMDIChildWnd* zokWindow = frame->MDIGetActive(&maximised);
    ASSERT_NE(zokWindow, nullptr);
    EXPECT_TRUE(maximised) << "a new document";

    const QImage program = CaptionIcon(frame);
    const QImage kvr = CaptionIcon(kvrWindow);
    const QImage zok = CaptionIcon(zokWindow);
    for (const QImage* icon : {&program, &kvr, &zok})
        EXPECT_FALSE(icon->isNull());
    EXPECT_NE(program, kvr);
    EXPECT_NE(program, zok);
    EXPECT_NE(kvr, zok);
}

TEST_F(TalisoAppTest, ADeviceOnThePortIsFoundAndItsConfigurationRead)
{
    DeviceEmulator emulator(std::make_unique<SimulatorAnswerer>(), 0);
    ASSERT_TRUE(emulator.Start());
    WriteIni(LanguageSections() + "[SETUP]\nPort=1\nBaud=38400\nParity=EVEN\n\n[PORTS]\nCOM1=" + emulator.SlavePath() +
             "\n");
    ScriptedUi ui;
    ui.QueueAnswer(IDYES);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(AskedToRead(ui));
    // No port wizard and no family choice: only the login ran.
    EXPECT_EQ(ModalTemplates(ui), std::vector<UINT>{IDD_LOGIN});
    EXPECT_FALSE(app->IsSimulating());
    ASSERT_EQ(CountDocuments(app->GetZOKTemplate()), 1);
    auto* document = FirstDocument<CZOKDoc>(app->GetZOKTemplate());
    ASSERT_NE(document, nullptr);
    ASSERT_NE(document->GetConfiguration(), nullptr);

    CZOKSensor simulated(1);
    ASSERT_TRUE(simulated.Load(""));
    ASSERT_TRUE(simulated.Open());
    std::unique_ptr<CZOKConfig> expected = simulated.ReadConfiguration();
    simulated.Close();
    simulated.Free();
    ASSERT_NE(expected, nullptr);
    UndoViewColours(*document);
    ClearFieldTimes(*document->GetConfiguration());
    ClearFieldTimes(*expected);
    EXPECT_EQ(StoredBytes(*document->GetConfiguration()), StoredBytes(*expected));
}

TEST_F(TalisoAppTest, TheCommandLineDocumentOpensBeforeThePortWizard)
{
    WriteIni(LanguageSections() + NoDevicePort());
    const fs::path document = folder / "saved config.zok";
    {
        ScriptedUi ui;
        ASSERT_TRUE(Start());
        RunPostedMessages();
        ui.QueueModal(FinishNewConfigurationWizard);
        CZOKDoc* saved = dynamic_cast<CZOKDoc*>(app->GetZOKTemplate()->OpenDocumentFile(nullptr, FALSE));
        ASSERT_NE(saved, nullptr);
        ASSERT_TRUE(saved->OnSaveDocument(document.c_str()));
        CloseProgram();
    }
    app = std::make_unique<CTalisoApp>();
    app->SetModulePath((folder / "Taliso").c_str());
    std::string argument = document.string();
    char program[] = "Taliso";
    char* argv[] = {program, argument.data(), nullptr};
    app->SetCommandLine(2, argv);

    ScriptedUi ui;
    int openAtWizard = -1;
    ui.QueueModal([&](CWnd&) { openAtWizard = CountDocuments(app->GetZOKTemplate()); });
    ASSERT_TRUE(Start());
    EXPECT_EQ(openAtWizard, 1);
}

TEST_F(TalisoAppTest, LanguageChoiceIsStoredOnlyWhenItsLibraryIsInTheProgramFolder)
{
    const std::string languages = "[LANGUAGE]\nlan_numbers=3\nlanguage=1\n\n[LANGUAGE_1]\ndll=LAN_ENG.DLL\n\n"
                                  "[LANGUAGE_2]\ndll=LAN_ENG.DLL\n\n[LANGUAGE_3]\ndll=LAN_FRA.DLL\n";
    WriteIni(languages + NoDevicePort());
    fs::create_symlink(fs::path(ProgramDirectory()) / "LAN_ENG.so", folder / "LAN_ENG.so");
    app->SetIniFileName();
    ASSERT_TRUE(app->LoadLanguageLibrary());

    struct Case {
        UINT command;
        BOOL handled;
        UINT message;
        const char* stored;
    };
    const Case cases[] = {
        {ID_LANGUAGE_FIRST + 3, TRUE, IDP_LANGUAGE_FILE_MISSING, "1"},
        {ID_LANGUAGE_FIRST + 2, TRUE, IDP_LANGUAGE_NEXT_START, "2"},
        {ID_LANGUAGE_FIRST + 4, FALSE, 0, "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ScriptedUi ui;
        EXPECT_EQ(app->OnLanguage(c.command), c.handled);
        if (c.message != 0) {
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_EQ(ui.MessageBoxes()[0].id, c.message);
        } else {
            EXPECT_TRUE(ui.MessageBoxes().empty());
        }
        EXPECT_EQ(app->GetProfileString("LANGUAGE", "language"), CString(c.stored));
    }
}

TEST_F(TalisoAppTest, CancelledFamilyChoiceAboveTheStandardLevelAsksToSaveFirst)
{
    WriteIni(LanguageSections() + NoDevicePort());
    ScriptedUi ui;
    ui.QueueModal([](CWnd&) {});
    ui.QueueModal([](CWnd& dialog) {
        DialogDriver driver(dialog);
        driver.Click(IDC_FAMILY_KVR);
        driver.Click(IDOK);
    });
    ui.QueueAnswer(IDNO); // do not read from the device
    ASSERT_TRUE(Start());
    RunPostedMessages();
    // A KVR document opened from a file (a new one needs its scanners, pairs and cases).
    const fs::path saved = folder / "unit.kvr";
    {
        CKVRDoc file;
        file.m_bAutoDelete = FALSE;
        file.SetConfiguration(std::make_unique<CKVRConfig>(), FALSE);
        ASSERT_TRUE(file.OnSaveDocument(saved.c_str()));
    }
    CDocument* document = app->GetKVRTemplate()->OpenDocumentFile(saved.c_str(), FALSE);
    ASSERT_NE(document, nullptr);
    document->SetModifiedFlag(TRUE);

    theLoginDialog.SetLevel(2);
    ui.ClearMessageBoxes();
    ui.QueueModal([](CWnd&) {}); // the family dialog cancelled
    ui.QueueAnswer(IDCANCEL);    // and the save question too
    app->OnDeviceType();
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, UINT(AFX_IDP_ASK_TO_SAVE));
    EXPECT_EQ(app->GetSimulatedFamily(), BYTE(1));
    EXPECT_EQ(CountDocuments(app->GetKVRTemplate()), 1);
    EXPECT_EQ(theLoginDialog.GetLevel(), 2);

    ui.QueueModal([](CWnd&) {});
    ui.QueueAnswer(IDNO); // discard the changes
    app->OnDeviceType();
    EXPECT_EQ(app->GetSimulatedFamily(), CTalisoApp::kNoFamily);
    EXPECT_EQ(CountDocuments(app->GetKVRTemplate()), 0);
    EXPECT_EQ(theLoginDialog.GetLevel(), CLoginDialog::kStandardLevel);
}

TEST_F(TalisoAppTest, FileErrorsArePromptedByTheirCause)
{
    struct Case {
        int fileCause;    // -1: an archive exception
        int archiveCause;
        BOOL saving;
        UINT prompt;      // 0: nothing shown
    };
    const Case cases[] = {
        {CFileException::fileNotFound, 0, FALSE, AFX_IDP_FAILED_INVALID_PATH},
        {CFileException::accessDenied, 0, FALSE, AFX_IDP_FAILED_ACCESS_READ},
        {CFileException::accessDenied, 0, TRUE, AFX_IDP_FAILED_ACCESS_WRITE},
        {CFileException::diskFull, 0, TRUE, AFX_IDP_FAILED_DISK_FULL},
        {CFileException::hardIO, 0, TRUE, AFX_IDP_FAILED_IO_ERROR_WRITE},
        {CFileException::sharingViolation, 0, FALSE, 445},
        {-1, CArchiveException::endOfFile, FALSE, AFX_IDP_FAILED_INVALID_FORMAT},
        {-1, CArchiveException::badSchema, FALSE, AFX_IDP_FAILED_INVALID_FORMAT},
        {-1, CArchiveException::genericException, FALSE, 445},
    };
    WriteIni(LanguageSections());
    app->SetIniFileName();
    ASSERT_TRUE(app->LoadLanguageLibrary());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fileCause << "/" << c.archiveCause);
        ScriptedUi ui;
        CFileException fileError(c.fileCause < 0 ? 0 : c.fileCause);
        CArchiveException archiveError(c.archiveCause);
        CException* e = c.fileCause < 0 ? static_cast<CException*>(&archiveError) : &fileError;
        ReportFileException("/tmp/config.zok", e, c.saving, 445);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].helpId, c.prompt);
        EXPECT_EQ(ui.MessageBoxes()[0].flags & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
    }
    ScriptedUi ui;
    CUserException cancelled;
    ReportFileException("/tmp/config.zok", &cancelled, FALSE, 445);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(TalisoAppTest, OneRunLeavesTheSettingsAndTheLanguageChoiceInTheIni)
{
    WriteIni(LanguageSections() + NoDevicePort());
    {
        ScriptedUi ui;
        ASSERT_TRUE(Start());
        RunPostedMessages();
        CloseProgram();
        app->ExitInstance();
    }
    const char* source = std::getenv("TALISO_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "run through ctest";
    const std::string golden = ReadFile(fs::path(source) / "tests/app/golden/OneRun.INI");
    std::string written = ReadFile(Ini());
    const std::string noTty = (folder / "no-tty").string();
    written.replace(written.find(noTty), noTty.size(), "<no-tty>");
    EXPECT_EQ(written, golden);
}

// Settings and recent-file list share one write at the end; an INI file that cannot
// take it is reported once, not dropped without a word.
TEST_F(TalisoAppTest, SettingsTheIniCannotTakeAtTheEndAreReportedOnce)
{
    WriteIni(LanguageSections() + NoDevicePort());
    ScriptedUi ui;
    ASSERT_TRUE(Start());
    RunPostedMessages();
    CloseProgram();
    ui.ClearMessageBoxes();
    fs::remove(Ini());
    fs::create_directory(Ini()); // read or replaced, it is no file
    app->ExitInstance();
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_PROFILE_NOT_SAVED);
    EXPECT_NE(ui.MessageBoxes()[0].text.Find(Ini().c_str()), -1) << ui.MessageBoxes()[0].text;
    fs::remove(Ini());
}

// Port settings confirmed in the driver's set-up but refused by the INI file: the
// driver's reason, naming the file, is shown; a cancelled set-up shows nothing.
TEST_F(TalisoAppTest, DriverSetupTheIniCannotTakeIsReported)
{
    WriteIni(LanguageSections() + NoDevicePort());
    ScriptedUi ui;
    ASSERT_TRUE(Start());
    RunPostedMessages();
    fs::remove(Ini());
    fs::create_directory(Ini()); // read or replaced, it is no file
    for (const int button : {IDCANCEL, IDOK}) {
        ui.ClearMessageBoxes();
        ui.QueueModal([button](CWnd& dialog) { DialogDriver(dialog).Click(button); });
        app->OnDriverSetup();
        if (button == IDCANCEL) {
            EXPECT_TRUE(ui.MessageBoxes().empty()) << "cancelled";
            continue;
        }
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        const CString& text = ui.MessageBoxes()[0].text;
        EXPECT_NE(text.Find(("could not be saved in " + Ini().string()).c_str()), -1) << text;
    }
    EXPECT_TRUE(fs::is_directory(Ini()));
    fs::remove(Ini());
}

} // namespace

namespace {

void CollectCommands(CMenu* menu, std::vector<UINT>& ids)
{
    for (UINT i = 0; i < menu->GetMenuItemCount(); ++i) {
        if (CMenu* popup = menu->GetSubMenu(int(i)))
            CollectCommands(popup, ids);
        else if (const UINT id = menu->GetMenuItemID(int(i)); id != 0 && id != UINT(-1))
            ids.push_back(id);
    }
}

bool CommandEnabled(CWnd* frame, UINT id)
{
    CTestCmdUI state;
    state.m_nID = id;
    state.DoUpdate(frame, TRUE);
    return state.m_bEnabled != FALSE;
}

} // namespace

// What a user can pick from the menus with a document of either family open: every
// enabled command runs (its dialogs and questions cancelled where they can be) and the
// program goes on with its main window. Closing and ending commands are left to the end.
TEST_F(TalisoAppTest, EveryEnabledMenuCommandRunsWithADocumentOfEitherFamilyOpen)
{
    for (const bool kvr : {false, true}) {
        SCOPED_TRACE(kvr ? "KVR" : "ZOK");
        CloseProgram();
        app = std::make_unique<CTalisoApp>();
        app->SetModulePath((folder / "Taliso").c_str());
        WriteIni(LanguageSections() + NoDevicePort());
        ScriptedUi ui;
        ui.QueueModal([](CWnd&) {}); // port wizard: nothing found
        ui.QueueModal([kvr](CWnd& dialog) {
            DialogDriver driver(dialog);
            if (kvr)
                driver.Click(IDC_FAMILY_KVR);
            driver.Click(IDOK);
        });
        ui.QueueAnswer(IDYES);
        ASSERT_TRUE(Start());
        RunPostedMessages();
        CWnd* frame = app->m_pMainWnd;
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(frame->GetMenu(), nullptr);

        // Cancel wherever a question offers it, so no Retry round runs on.
        for (int i = 0; i < 1000; ++i)
            ui.QueueAnswer(IDCANCEL);
        const std::set<UINT> ending{ID_APP_EXIT, ID_FILE_CLOSE};
        std::set<UINT> ran;
        for (int level = 0; level < CLoginDialog::kLevelCount; ++level) {
            SCOPED_TRACE("level " + std::to_string(level));
            theLoginDialog.SetLevel(level);
            std::vector<UINT> ids;
            CollectCommands(frame->GetMenu(), ids);
            EXPECT_GT(ids.size(), 20u);
            for (const UINT id : ids) {
                if (ending.count(id) != 0 || !CommandEnabled(frame, id))
                    continue;
                SCOPED_TRACE("command " + std::to_string(id));
                frame->SendMessage(WM_COMMAND, id, 0);
                RunPostedMessages();
                ran.insert(id);
                ASSERT_EQ(app->m_pMainWnd, frame);
                ASSERT_NE(frame->m_hWnd, nullptr);
            }
        }
        EXPECT_GT(ran.size(), 20u);
        frame->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
        RunPostedMessages();
        ASSERT_NE(frame->m_hWnd, nullptr);
        CloseProgram();
        app->ExitInstance();
    }
}
