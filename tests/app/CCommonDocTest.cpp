// The device documents' mode machine and cycle: toggling, replacing and refused modes,
// a failed tick ending its mode, the default edit mode, due ticks across the tick
// counter's wrap-around on a clock the test drives, the save question with every
// answer, and the common level of the document file.
#include "app/CCommonDoc.h"

#include "app/settings/CTalisoSetup.h"
#include "framework/core/CArchive.h"
#include "framework/core/CMemFile.h"
#include "framework/core/TickCount.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

class ModeDoc : public CCommonDoc {
public:
    ModeDoc() { m_bAutoDelete = FALSE; }
    int RunMode2(int action) override { return Record(2, action); }
    int RunMode3(int action) override { return Record(3, action); }
    int RunMode4(int action) override { return Record(4, action); }
    void OnModeChanged(int oldMode, int newMode) override
    {
        log.push_back("changed " + std::to_string(oldMode) + "->" + std::to_string(newMode));
        CCommonDoc::OnModeChanged(oldMode, newMode);
    }
    using CCommonDoc::OnCycleTick;

    std::vector<std::string> log;
    int startResult = 1;
    int tickResult = 1;

private:
    int Record(int mode, int action)
    {
        static const char* const names[] = {"start", "stop", "abort", "tick"};
        log.push_back(std::string(names[action]) + " " + std::to_string(mode));
        if (action == kModeActionStart)
            return startResult;
        return action == kModeActionTick ? tickResult : 1;
    }
};

using Log = std::vector<std::string>;

TEST(CCommonDocTest, ModeCommandsToggleReplaceAndRefuse)
{
    ModeDoc doc;
    doc.SetMode(2);
    EXPECT_EQ(doc.GetMode(), 2);
    doc.SetMode(3);
    EXPECT_EQ(doc.GetMode(), 3);
    doc.SetMode(3);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_EQ(doc.log, (Log{"start 2", "changed 0->2", "abort 2", "start 3", "changed 2->3", "stop 3", "changed 3->0"}));

    // A refused start after an abort still reports the change to mode 0.
    doc.log.clear();
    doc.SetMode(2);
    doc.startResult = 2; // only exactly 1 enters a mode
    doc.SetMode(4);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_EQ(doc.log, (Log{"start 2", "changed 0->2", "abort 2", "start 4", "changed 2->0"}));

    doc.log.clear();
    doc.SetMode(4);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_EQ(doc.log, (Log{"start 4"})) << "nothing changed, nothing reported";
}

TEST(CCommonDocTest, FailedTickStopsTheCycleAndAbortsTheMode)
{
    ModeDoc doc;
    doc.SetMode(2);
    doc.SetCycle(1000);
    doc.log.clear();
    doc.OnCycleTick(0);
    EXPECT_EQ(doc.GetMode(), 2);
    EXPECT_TRUE(doc.IsCycleArmed());

    doc.tickResult = 0;
    doc.OnCycleTick(0);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_FALSE(doc.IsCycleArmed());
    EXPECT_EQ(doc.log, (Log{"tick 2", "tick 2", "abort 2"}));
}

TEST(CCommonDocTest, EditModeTicksFirstAtOnceThenAtTheScanInterval)
{
    ModeDoc doc;
    doc.SetMode(kModeEdit);
    EXPECT_TRUE(doc.IsEditMode());
    EXPECT_EQ(doc.GetCyclePeriod(), 1u);
    Sleep(2);
    doc.OnCycle();
    EXPECT_EQ(doc.GetCyclePeriod(), DWORD(GetTalisoSetup().m_nEditScanInterval) * 1000);
    doc.SetMode(kModeEdit);
    EXPECT_FALSE(doc.IsEditMode());
    EXPECT_FALSE(doc.IsCycleArmed());
}

TEST(CCommonDocTest, TickIsDueByTheSignedDistanceAcrossTheWrap)
{
    struct Case {
        DWORD now;
        DWORD deadline;
        BOOL due;
    };
    const Case cases[] = {
        {1000, 1000, TRUE},
        {999, 1000, FALSE},
        {0xFFFFFFF0u, 0x00000010u, FALSE}, // armed just before the wrap, due after it
        {0x00000011u, 0x00000010u, TRUE},
        {0x00000005u, 0xFFFFFFF0u, TRUE},  // the counter wrapped past the deadline
        {0x00000000u, 0x00000000u, TRUE},  // a deadline of 0 is an ordinary tick count
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCommonDoc::IsCycleDue(c.now, c.deadline), c.due) << std::hex << c.now << " " << c.deadline;
}

// A document on a clock the test sets; it counts the ticks of its one mode and may take
// time in a tick, as a device exchange does.
class ClockDoc : public CCommonDoc {
public:
    ClockDoc()
    {
        m_bAutoDelete = FALSE;
        SetTickSource([this] { return clock; });
    }
    int RunMode2(int action) override
    {
        if (action == kModeActionTick) {
            ++ticks;
            clock += tickDuration;
        }
        return 1;
    }
    void OnCycleTick(DWORD elapsed) override
    {
        elapsedSeen.push_back(elapsed);
        CCommonDoc::OnCycleTick(elapsed);
    }

    DWORD clock = 0;
    DWORD tickDuration = 0;
    int ticks = 0;
    std::vector<DWORD> elapsedSeen;
};

TEST(CCommonDocTest, CycleTicksOncePerPeriodOnTheInjectedClockAcrossTheWrap)
{
    struct Step {
        DWORD clock;
        int ticks;         // ticks so far after OnCycle at this time
        DWORD deadline;    // the deadline after it
    };
    struct Case {
        const char* name;
        DWORD armedAt;
        DWORD period;
        DWORD tickDuration;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"plain", 1000, 250, 0, {{1000, 0, 1250}, {1249, 0, 1250}, {1250, 1, 1500}, {1400, 1, 1500}, {1700, 2, 1950}}},
        // Armed just below the wrap: the deadline lies past it and the tick waits for it.
        {"deadline across the wrap", 0xFFFFFF00u, 0x200, 0,
         {{0xFFFFFFFFu, 0, 0x100}, {0x00000000u, 0, 0x100}, {0x000000FFu, 0, 0x100}, {0x00000100u, 1, 0x300}}},
        // The counter wrapped past the deadline while no timer message came: due at once.
        {"clock wrapped past the deadline", 0xFFFFFFF0u, 0x08, 0, {{0x00000010u, 1, 0x18}}},
        // A deadline of exactly 0 is an ordinary tick count, not "off".
        {"deadline zero", 0xFFFFFC18u, 1000, 0, {{0xFFFFFFFFu, 0, 0}, {0, 1, 1000}}},
        // The deadline is taken after a long tick, so ticks never pile up.
        {"long tick", 0, 100, 350, {{100, 1, 550}, {500, 1, 550}, {550, 2, 1000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClockDoc doc;
        doc.SetMode(2);
        doc.clock = c.armedAt;
        doc.tickDuration = c.tickDuration;
        ASSERT_EQ(doc.SetCycle(c.period), 1);
        for (const Step& step : c.steps) {
            doc.clock = step.clock;
            doc.OnCycle();
            EXPECT_EQ(doc.ticks, step.ticks) << std::hex << step.clock;
            EXPECT_EQ(doc.GetCycleDeadline(), step.deadline) << std::hex << step.clock;
        }
        EXPECT_EQ(doc.GetMode(), 2);
    }
}

TEST(CCommonDocTest, TickGetsTheTimeSinceArmingAndADisarmedCycleNeverTicks)
{
    ClockDoc doc;
    doc.SetMode(2);
    doc.clock = 0xFFFFFFF0u;
    doc.SetCycle(0x20);
    doc.clock = 0x00000015u; // 0x25 ms after arming, 5 ms late
    doc.OnCycle();
    EXPECT_EQ(doc.elapsedSeen, std::vector<DWORD>{0x25});

    EXPECT_EQ(doc.SetCycle(0), 0);
    EXPECT_FALSE(doc.IsCycleArmed());
    for (DWORD t : {0x15u, 0x16u, 0x80000000u, 0xFFFFFFFFu}) {
        doc.clock = t;
        doc.OnCycle();
    }
    doc.StopCycle();
    doc.OnCycle();
    EXPECT_EQ(doc.ticks, 1);
}

// The edit mode's first tick comes with the next timer message after the start, the
// following ones every EditScanInterval seconds.
TEST(CCommonDocTest, EditModeCycleOnTheInjectedClock)
{
    ClockDoc doc;
    doc.clock = 0xFFFFFFFFu;
    doc.SetMode(kModeEdit);
    doc.clock = 0; // the next timer message, across the wrap
    doc.OnCycle();
    const DWORD interval = DWORD(GetTalisoSetup().m_nEditScanInterval) * 1000;
    ASSERT_EQ(doc.elapsedSeen.size(), 1u);
    EXPECT_EQ(doc.GetCycleDeadline(), interval);
    doc.clock = interval - 1;
    doc.OnCycle();
    EXPECT_EQ(doc.elapsedSeen.size(), 1u);
    doc.clock = interval;
    doc.OnCycle();
    EXPECT_EQ(doc.elapsedSeen.size(), 2u);
}

// ------------------------------------------------------------------ save question

// A document whose file level can be made to fail.
class SaveDoc : public CCommonDoc {
public:
    SaveDoc() { m_bAutoDelete = FALSE; }
    void Serialize(CArchive& ar) override
    {
        CCommonDoc::Serialize(ar);
        if (ar.IsStoring() && failSave)
            AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    }
    bool failSave = false;
};

class CCommonDocSaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        folder = std::filesystem::temp_directory_path() / ("commondoc-save-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string PathOf(const char* name) const { return (folder / name).string(); }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    // The save prompt chooses the path, or is cancelled (nullopt).
    void AnswerSavePrompt(std::optional<std::string> path)
    {
        ui.QueueModal([path](CWnd& dlg) {
            auto& request = static_cast<CFileDialog&>(dlg);
            EXPECT_FALSE(request.IsOpenDialog());
            if (path)
                request.ChooseFile(CString(*path));
        });
    }

    LanguageScripts language{"framework.rc"};
    CWinApp app;
    ScriptedUi ui;
    std::filesystem::path folder;
};

TEST_F(CCommonDocSaveTest, EveryAnswerToTheSaveQuestion)
{
    struct Case {
        const char* name;
        bool modified;
        const char* ownFile;            // the document's path; "" none
        bool ownFileExists;
        int answer;                        // 0: no question expected
        std::optional<const char*> chosen; // the save prompt: a file, or null for cancelled
        bool failSave;
        BOOL result;
        const char* savedFile;          // the file written; "" none
        bool modifiedAfter;
    };
    const Case cases[] = {
        {"not modified", false, "own.doc", true, 0, std::nullopt, false, TRUE, "", false},
        {"cancel", true, "own.doc", true, IDCANCEL, std::nullopt, false, FALSE, "", true},
        {"no", true, "own.doc", true, IDNO, std::nullopt, false, TRUE, "", true},
        {"yes, own file", true, "own.doc", true, IDYES, std::nullopt, false, TRUE, "own.doc", false},
        {"yes, own file fails", true, "own.doc", true, IDYES, std::nullopt, true, FALSE, "", true},
        {"yes, new name", true, "", false, IDYES, "new.doc", false, TRUE, "new.doc", false},
        {"yes, file gone, new name", true, "gone.doc", false, IDYES, "new.doc", false, TRUE, "new.doc", false},
        {"yes, prompt cancelled", true, "", false, IDYES, nullptr, false, FALSE, "", true},
        {"yes, new name fails", true, "", false, IDYES, "new.doc", true, FALSE, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        SaveDoc doc;
        doc.SetTitle("Untitled KVR");
        if (*c.ownFile != '\0') {
            doc.SetPathName(PathOf(c.ownFile).c_str(), FALSE);
            if (c.ownFileExists)
                std::ofstream(PathOf(c.ownFile)) << "old";
        }
        doc.SetModifiedFlag(c.modified);
        doc.failSave = c.failSave;
        ui.ClearMessageBoxes();
        if (c.answer != 0)
            ui.QueueAnswer(c.answer);
        const std::size_t promptsBefore = ui.ModalRuns().size();
        if (c.chosen)
            AnswerSavePrompt(*c.chosen != nullptr ? std::optional<std::string>(PathOf(*c.chosen)) : std::nullopt);

        EXPECT_EQ(doc.SaveModified(), c.result);

        const auto& boxes = ui.MessageBoxes();
        if (c.answer == 0) {
            EXPECT_TRUE(boxes.empty()) << "asked although not modified";
            continue;
        }
        ASSERT_FALSE(boxes.empty()) << "no question";
        EXPECT_EQ(boxes[0].helpId, AFX_IDP_ASK_TO_SAVE);
        EXPECT_EQ(boxes[0].flags, MB_YESNOCANCEL | MB_ICONQUESTION);
        // The question names the path, else the title.
        const std::string named = *c.ownFile != '\0' ? PathOf(c.ownFile) : "Untitled KVR";
        EXPECT_NE(std::string(boxes[0].text.c_str()).find(named), std::string::npos) << boxes[0].text.c_str();
        EXPECT_EQ(ui.ModalRuns().size() - promptsBefore, c.chosen ? 1u : 0u);
        EXPECT_EQ(bool(doc.IsModified()), c.modifiedAfter);
        if (*c.savedFile != '\0') {
            EXPECT_EQ(doc.GetPathName(), CString(PathOf(c.savedFile)));
            std::ifstream saved(PathOf(c.savedFile), std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), std::string(1, '\x01'));
        }
        if (c.ownFileExists && *c.savedFile == '\0') {
            std::ifstream own(PathOf(c.ownFile));
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(own), {}), "old") << "the old file stays as it was";
        }
        if (c.chosen && *c.chosen != nullptr && c.failSave) {
            EXPECT_FALSE(Exists(PathOf(*c.chosen)));
        }
        EXPECT_EQ(ui.PendingModals(), 0u) << "the save prompt did not come";
    }
}

// Save asks for a name only when the document's own file cannot take it; Save As always.
TEST_F(CCommonDocSaveTest, SaveAndSaveAsCommands)
{
    struct Case {
        const char* name;
        bool saveAs;
        bool ownFileExists;
        const char* chosen; // the prompt's answer; null: no prompt expected
        const char* savedFile;
    };
    const Case cases[] = {
        {"save over the own file", false, true, nullptr, "own.doc"},
        {"save without a file", false, false, "new.doc", "new.doc"},
        {"save as", true, true, "new.doc", "new.doc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        SaveDoc doc;
        doc.SetPathName(PathOf("own.doc").c_str(), FALSE);
        if (c.ownFileExists)
            std::ofstream(PathOf("own.doc")) << "old";
        doc.SetModifiedFlag(TRUE);
        const std::size_t promptsBefore = ui.ModalRuns().size();
        if (c.chosen != nullptr)
            AnswerSavePrompt(PathOf(c.chosen));
        if (c.saveAs)
            doc.OnFileSaveAs();
        else
            doc.OnFileSave();
        EXPECT_EQ(ui.ModalRuns().size() - promptsBefore, c.chosen != nullptr ? 1u : 0u);
        EXPECT_EQ(ui.PendingModals(), 0u);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.GetPathName(), CString(PathOf(c.savedFile)));
        std::ifstream saved(PathOf(c.savedFile), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), std::string(1, '\x01'));
        if (c.ownFileExists && std::string(c.savedFile) != "own.doc") {
            std::ifstream own(PathOf("own.doc"));
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(own), {}), "old");
        }
    }
}

// ------------------------------------------------------------------ document file

TEST(CCommonDocTest, FileLevelIsOneVersionByteAndRefusesOtherVersions)
{
    ModeDoc doc;
    CMemFile stored;
    {
        CArchive ar(&stored, CArchive::store);
        doc.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(stored.Detach(), std::vector<BYTE>{0x01});

    struct Case {
        std::vector<BYTE> bytes;
        int cause; // -1: loads
    };
    const Case cases[] = {
        {{0x01}, -1},
        {{0x00}, CArchiveException::badSchema},
        {{0x02}, CArchiveException::badSchema},
        {{0xFF}, CArchiveException::badSchema},
        {{}, CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        CMemFile file(c.bytes.data(), UINT(c.bytes.size()));
        CArchive ar(&file, CArchive::load);
        int cause = -1;
        try {
            doc.Serialize(ar);
        } catch (CArchiveException& e) {
            cause = e.m_cause;
        }
        EXPECT_EQ(cause, c.cause) << (c.bytes.empty() ? -1 : int(c.bytes[0]));
    }
}

} // namespace
