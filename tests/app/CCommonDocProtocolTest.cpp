// Protocol recording and replay of the device documents: the protocol file after one and
// after several results, recording stopped and started again, a file that cannot be
// written, replay navigation and automatic play on a clock the test drives, files that
// replay refuses (empty, no entries, truncated, foreign classes), a replay during a
// recording, and a list whose count outgrows a WORD.
#include "app/CCommonDoc.h"

#include "app/CTalisoMDIFrameWnd.h"
#include "device/ProcedureTestSupport.h"
#include "framework/core/CArchive.h"
#include "framework/core/CList.h"
#include "framework/core/CMemFile.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "dialogs/CHelpFileDialog.h"
#include "framework/core/SyncWatch.h"
#include "model/CArcShelter.h"
#include "model/CScan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<BYTE>;

const CSensorType kType(4, 0);

std::unique_ptr<CScan> Scan(WORD distance, WORD beams = 3)
{
    auto scan = std::make_unique<CScan>();
    scan->SetScanFill(kType, CBeamWord(distance), beams);
    return scan;
}

// A document on a clock the test sets, whose device delivers the scan it is given.
class ProtocolDoc : public CCommonDoc {
public:
    ProtocolDoc()
    {
        m_bAutoDelete = FALSE;
        SetTickSource([this] { return clock; });
    }
    int RunMode2(int) override { return 1; }
    std::unique_ptr<CSensorObject> FetchScan(WORD) override { return std::move(nextScan); }

    // The distance of the shown result's first beam; 0 when none.
    WORD ShownDistance() const
    {
        const auto* scan = dynamic_cast<const CScan*>(GetResult());
        return scan != nullptr ? scan->GetDistance(0) : 0;
    }
    std::string Position() const
    {
        int position = -1;
        int count = -1;
        GetProtocolPosition(&position, &count);
        return std::to_string(position) + "/" + std::to_string(count);
    }

    DWORD clock = 0;
    std::unique_ptr<CSensorObject> nextScan;
};

// What the list's own serialisation writes for these entries.
Bytes ListBytes(const std::vector<const CObject*>& entries)
{
    CObList list;
    for (const CObject* entry : entries)
        list.AddTail(const_cast<CObject*>(entry));
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    list.Serialize(ar);
    ar.Close();
    return file.Detach();
}

Bytes FileBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const fs::path& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class CCommonDocProtocolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(language.Loaded()) << "the English language library is needed";
        folder = fs::temp_directory_path() / ("commondoc-protocol-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // The next protocol prompt chooses the file; a null path cancels it.
    void ChooseFile(const fs::path* path, BOOL open)
    {
        ui.QueueModal([path = path ? std::optional<fs::path>(*path) : std::nullopt, open](CWnd& dlg) {
            auto& request = static_cast<CFileDialog&>(dlg);
            EXPECT_EQ(request.IsOpenDialog(), open);
            EXPECT_EQ(request.GetDefExt(), "prt");
            const DWORD flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT;
            EXPECT_EQ(request.m_ofn.Flags, open ? (flags | OFN_FILEMUSTEXIST) : flags);
            EXPECT_EQ(dynamic_cast<CHelpFileDialog&>(dlg).GetHelpContextId(), open ? 115 : 116);
            if (path)
                request.ChooseFile(CString(path->string()));
        });
    }

    void StartRecording(ProtocolDoc& doc, const fs::path& path)
    {
        ChooseFile(&path, FALSE);
        ui.ClearMessageBoxes();
        doc.OnToggleRecording();
        ASSERT_TRUE(doc.IsRecording());
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].id, IDP_RECORDING_NOTE);
    }

    // Records the scans; they stay alive for the comparison of bytes.
    void Record(ProtocolDoc& doc, std::initializer_list<WORD> distances)
    {
        for (WORD distance : distances) {
            kept.push_back(Scan(distance));
            doc.RecordResult(kept.back().get());
        }
    }
    // The recording holds copies of the results (marked modified, as every copy is).
    std::vector<const CObject*> Kept(std::size_t from = 0)
    {
        std::vector<const CObject*> entries;
        for (std::size_t i = from; i < kept.size(); ++i) {
            copies.push_back(kept[i]->Clone());
            entries.push_back(copies.back().get());
        }
        return entries;
    }

    // Starts replay of the file; the mode the document is in afterwards.
    int Replay(ProtocolDoc& doc, const fs::path& path)
    {
        ChooseFile(&path, TRUE);
        doc.SetMode(kModeReplay);
        return doc.GetMode();
    }

    // Enabled states of Play, Pause, First, Previous, Next, Last as '1' and '0'.
    static std::string ReplayStates(ProtocolDoc& doc)
    {
        std::string states;
        for (UINT id : {ID_REPLAY_PLAY, ID_REPLAY_PAUSE, ID_REPLAY_FIRST, ID_REPLAY_PREVIOUS, ID_REPLAY_NEXT,
                        ID_REPLAY_LAST})
            states += Enabled(doc, id) ? '1' : '0';
        return states;
    }
    static bool Enabled(ProtocolDoc& doc, UINT id)
    {
        CTestCmdUI state;
        state.m_nID = id;
        state.DoUpdate(&doc, TRUE);
        return state.m_bEnabled;
    }

    EnglishTexts language;
    ScriptedUi ui;
    fs::path folder;
    std::vector<std::unique_ptr<CScan>> kept;
    std::vector<std::unique_ptr<CSensorObject>> copies;
};

TEST_F(CCommonDocProtocolTest, FileHoldsTheWholeListAfterEveryResult)
{
    ProtocolDoc doc;
    const fs::path path = folder / "run.prt";
    StartRecording(doc, path);
    EXPECT_FALSE(fs::exists(path)) << "written first with the next result";

    Record(doc, {101});
    const Bytes one = FileBytes(path);
    EXPECT_EQ(one, ListBytes(Kept()));
    // Count 1, then the scan with its class: new class, schema 0, "CScan".
    const Bytes head = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x05, 0x00, 'C', 'S', 'c', 'a', 'n'};
    ASSERT_GE(one.size(), head.size());
    EXPECT_EQ(Bytes(one.begin(), one.begin() + std::ptrdiff_t(head.size())), head);

    Record(doc, {102});
    // The result of the device's own fetch is recorded as well.
    doc.SetMode(2);
    doc.nextScan = Scan(103);
    ASSERT_EQ(doc.FetchResult(), 1);
    kept.push_back(Scan(103));
    const Bytes three = FileBytes(path);
    EXPECT_EQ(three, ListBytes(Kept()));
    EXPECT_EQ(three[0], 3);
    EXPECT_EQ(three[1], 0);
    // Later scans refer to the class by its index: 0x8001.
    const std::size_t firstEnd = one.size();
    EXPECT_EQ(three[firstEnd], 0x01);
    EXPECT_EQ(three[firstEnd + 1], 0x80);
    EXPECT_TRUE(std::equal(one.begin() + 2, one.end(), three.begin() + 2)) << "the first entry stays as written";
}

TEST_F(CCommonDocProtocolTest, StoppingAndRecordingAgainStartsAnEmptyList)
{
    ProtocolDoc doc;
    CTestCmdUI menu;
    menu.m_nID = ID_TOGGLE_RECORDING;
    menu.DoUpdate(&doc, TRUE);
    EXPECT_EQ(menu.m_strText, "&Record protocol...");

    const fs::path first = folder / "first.prt";
    StartRecording(doc, first);
    menu.DoUpdate(&doc, TRUE);
    EXPECT_EQ(menu.m_strText, "Stop &recording");
    CTestCmdUI pane;
    pane.m_nID = ID_PANE_RECORDING;
    pane.DoUpdate(&doc, TRUE);
    EXPECT_TRUE(pane.m_bEnabled);
    EXPECT_EQ(pane.m_strText, "REC");

    Record(doc, {201, 202});
    doc.OnToggleRecording();
    EXPECT_FALSE(doc.IsRecording());
    EXPECT_TRUE(doc.GetProtocolPath().IsEmpty());
    pane.DoUpdate(&doc, TRUE);
    EXPECT_FALSE(pane.m_bEnabled);

    const fs::path second = folder / "second.prt";
    StartRecording(doc, second);
    Record(doc, {203});
    const std::vector<const CObject*> all = Kept();
    EXPECT_EQ(FileBytes(first), ListBytes({all[0], all[1]}));
    EXPECT_EQ(FileBytes(second), ListBytes({all[2]}));
    doc.OnToggleRecording();

    // A cancelled prompt records nothing; the note is shown all the same.
    ChooseFile(nullptr, FALSE);
    ui.ClearMessageBoxes();
    doc.OnToggleRecording();
    EXPECT_FALSE(doc.IsRecording());
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, IDP_RECORDING_NOTE);
}

// The one box that ends a recording: the file that failed, the system's reason, and that
// recording has stopped.
void ExpectRecordingStoppedBox(const ScriptedUi& ui, const fs::path& path)
{
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    const MessageBoxRecord& box = ui.MessageBoxes()[0];
    EXPECT_EQ(box.helpId, IDP_FILE_WRITE_FAILED);
    EXPECT_EQ(box.flags, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(std::string(box.text.c_str()),
              "The file " + path.string() +
                  " could not be written.\nThe system reports: No such file or directory.\n"
                  "Recording has stopped. Choose Record protocol to record into another file.");
}

TEST_F(CCommonDocProtocolTest, AFileThatCannotBeWrittenEndsRecordingWithAMessage)
{
    ProtocolDoc doc;
    const fs::path path = folder / "missing-folder" / "run.prt";
    ChooseFile(&path, FALSE);
    doc.OnToggleRecording();
    ASSERT_TRUE(doc.IsRecording());
    ui.ClearMessageBoxes();
    Record(doc, {301});
    EXPECT_FALSE(doc.IsRecording());
    EXPECT_TRUE(doc.GetProtocolPath().IsEmpty());
    ExpectRecordingStoppedBox(ui, path);
    Record(doc, {302});
    EXPECT_EQ(ui.MessageBoxes().size(), 1u) << "nothing more is written or reported";
    EXPECT_FALSE(fs::exists(path.parent_path()));
}

// The file at the path always holds every result: one deleted, moved away or put in
// place by someone else is written whole again with the next result, durably. A path
// that can no longer be written ends the recording with a message.
TEST_F(CCommonDocProtocolTest, AFileTakenAwayIsWrittenWholeAgainAtItsPath)
{
    const fs::path path = folder / "run.prt";
    const fs::path moved = folder / "moved.prt";
    const struct {
        const char* what;
        std::function<void()> takeAway;
    } cases[] = {
        {"deleted", [&] { fs::remove(path); }},
        {"moved away", [&] { fs::rename(path, moved); }},
        {"replaced",
         [&] {
             WriteBytes(folder / "other.prt", {1, 2, 3});
             fs::rename(folder / "other.prt", path);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        kept.clear();
        ProtocolDoc doc;
        StartRecording(doc, path);
        SyncWatch syncs;
        Record(doc, {401});
        EXPECT_EQ(syncs.Take(), SyncWatch::DurableWriteOf(path));
        Record(doc, {402});
        const Bytes before = FileBytes(path);
        c.takeAway();
        ui.ClearMessageBoxes();
        Record(doc, {403});
        EXPECT_EQ(syncs.Take(), SyncWatch::DurableWriteOf(path));
        EXPECT_EQ(FileBytes(path), ListBytes(Kept()));
        Record(doc, {404});
        EXPECT_EQ(FileBytes(path), ListBytes(Kept()));
        EXPECT_TRUE(doc.IsRecording());
        EXPECT_TRUE(ui.MessageBoxes().empty());
        if (fs::exists(moved))
            EXPECT_EQ(FileBytes(moved), before) << "the moved file is left as it was";
        doc.OnToggleRecording();
        fs::remove(path);
        fs::remove(moved);
    }

    ProtocolDoc doc;
    const fs::path inner = folder / "inner" / "run.prt";
    fs::create_directories(inner.parent_path());
    StartRecording(doc, inner);
    Record(doc, {405});
    fs::remove_all(inner.parent_path());
    ui.ClearMessageBoxes();
    Record(doc, {406});
    EXPECT_FALSE(doc.IsRecording());
    ExpectRecordingStoppedBox(ui, inner);
}

TEST_F(CCommonDocProtocolTest, ReplayStepsByHandAndPlaysOncePerSecond)
{
    const fs::path path = folder / "three.prt";
    {
        ProtocolDoc recorder;
        StartRecording(recorder, path);
        Record(recorder, {401, 402, 403});
    }
    ProtocolDoc doc;
    ASSERT_EQ(Replay(doc, path), kModeReplay);
    EXPECT_TRUE(doc.IsProtocolLoaded());
    EXPECT_EQ(doc.Position(), "1/3");
    EXPECT_EQ(doc.ShownDistance(), 401);
    EXPECT_FALSE(Enabled(doc, ID_TOGGLE_RECORDING)) << "no recording while a protocol is loaded";

    struct Step {
        const char* action;
        DWORD clock; // for "tick": the time of the timer message
        const char* position;
        const char* states; // Play Pause First Previous Next Last
    };
    const Step steps[] = {
        {"loaded", 0, "1/3", "100011"},
        {"next", 0, "2/3", "101111"},
        {"last", 0, "3/3", "101100"},
        {"next", 0, "3/3", "101100"},
        {"play", 0, "1/3", "010000"}, // at the last entry play starts from the first
        {"tick", 999, "1/3", "010000"},
        {"tick", 1000, "2/3", "010000"},
        {"tick", 1500, "2/3", "010000"},
        {"tick", 2000, "3/3", "010000"},
        {"tick", 3000, "3/3", "101100"}, // the end stops playing, the last entry stays
        {"tick", 9000, "3/3", "101100"},
        {"first", 9000, "1/3", "100011"},
        {"play", 9000, "1/3", "010000"},
        {"tick", 10000, "2/3", "010000"},
        {"pause", 10000, "2/3", "101111"},
        {"tick", 12000, "2/3", "101111"},
        {"next", 12000, "3/3", "101100"},
        {"previous", 12000, "2/3", "101111"},
    };
    for (const Step& step : steps) {
        const std::string action = step.action;
        doc.clock = step.clock;
        if (action == "next") doc.OnReplayNext();
        if (action == "previous") doc.OnReplayPrevious();
        if (action == "first") doc.OnReplayFirst();
        if (action == "last") doc.OnReplayLast();
        if (action == "play") doc.OnReplayPlay();
        if (action == "pause") doc.OnReplayPause();
        if (action == "tick") doc.OnCycle();
        EXPECT_EQ(doc.Position(), step.position) << action << " at " << step.clock;
        EXPECT_EQ(ReplayStates(doc), step.states) << action << " at " << step.clock;
        EXPECT_EQ(doc.GetMode(), kModeReplay);
    }
    EXPECT_EQ(doc.ShownDistance(), 402);

    doc.SetMode(kModeReplay); // stops the replay
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_FALSE(doc.IsProtocolLoaded());
    EXPECT_EQ(doc.Position(), "0/0");
    EXPECT_EQ(doc.GetResult(), nullptr);
    EXPECT_EQ(ReplayStates(doc), "000000");
    EXPECT_TRUE(Enabled(doc, ID_TOGGLE_RECORDING));
}

TEST_F(CCommonDocProtocolTest, FilesReplayRefusesOrReadsOnlyUpToTheirFault)
{
    const auto scanA = Scan(501);
    const auto scanB = Scan(502);
    const auto scanC = Scan(503);
    const CArcShelter arc;
    const Bytes three = ListBytes({scanA.get(), scanB.get(), scanC.get()});
    Bytes truncated = three;
    truncated.resize(three.size() - 3);
    Bytes nullEntry = {0x01, 0x00, 0x00, 0x00};
    // Count 2: a scan, then a reference back to that same scan (object index 2).
    Bytes backReference = ListBytes({scanA.get()});
    backReference[0] = 2;
    backReference.insert(backReference.end(), {0x02, 0x00});
    Bytes unknownClass = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00, 'C', 'N', 'o', 'S', 'u', 'c', 'h'};

    struct Case {
        const char* name;
        Bytes bytes;
        int mode;
        const char* position;
    };
    const Case cases[] = {
        {"empty file", {}, kModeNone, "0/0"},
        {"no entries", {0x00, 0x00}, kModeNone, "0/0"},
        {"truncated in the third entry", truncated, kModeReplay, "1/2"},
        {"a field, not a result", ListBytes({&arc}), kModeNone, "0/0"},
        {"a result, then a field", ListBytes({scanA.get(), &arc, scanB.get()}), kModeReplay, "1/1"},
        {"a null entry", nullEntry, kModeNone, "0/0"},
        {"a reference back", backReference, kModeReplay, "1/1"},
        {"an unknown class", unknownClass, kModeNone, "0/0"},
        {"count beyond the data", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, kModeNone, "0/0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = folder / "bad.prt";
        WriteBytes(path, c.bytes);
        ProtocolDoc doc;
        ui.ClearMessageBoxes();
        EXPECT_EQ(Replay(doc, path), c.mode);
        EXPECT_EQ(doc.Position(), c.position);
        EXPECT_EQ(bool(doc.IsProtocolLoaded()), c.mode == kModeReplay);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].helpId, AFX_IDP_FAILED_INVALID_FORMAT);
        if (c.mode == kModeReplay)
            EXPECT_EQ(doc.ShownDistance(), 501);
        else
            EXPECT_EQ(doc.GetResult(), nullptr);
    }

    // A cancelled prompt leaves mode 0 without a message.
    ProtocolDoc doc;
    ui.ClearMessageBoxes();
    ChooseFile(nullptr, TRUE);
    doc.SetMode(kModeReplay);
    EXPECT_EQ(doc.GetMode(), kModeNone);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(CCommonDocProtocolTest, ReplayDuringRecordingLeavesTheRecordingAlone)
{
    const fs::path other = folder / "other.prt";
    const auto b1 = Scan(601);
    const auto b2 = Scan(602);
    WriteBytes(other, ListBytes({b1.get(), b2.get()}));

    ProtocolDoc doc;
    const fs::path recording = folder / "recording.prt";
    StartRecording(doc, recording);
    Record(doc, {701, 702});
    ASSERT_EQ(Replay(doc, other), kModeReplay);
    EXPECT_EQ(doc.Position(), "1/2") << "the replay shows the file's entries only";
    EXPECT_EQ(doc.ShownDistance(), 601);
    doc.SetMode(kModeReplay);
    ASSERT_TRUE(doc.IsRecording());
    Record(doc, {703});
    EXPECT_EQ(FileBytes(recording), ListBytes(Kept())) << "the recording keeps every result";
}

// At 65535 entries the list's count takes its wide form; the file stays a whole list.
TEST_F(CCommonDocProtocolTest, CountGrowsIntoItsWideForm)
{
    ProtocolDoc doc;
    const fs::path path = folder / "long.prt";
    StartRecording(doc, path);
    const auto scan = Scan(800, 1);
    constexpr DWORD kEntries = 0x10001;
    for (DWORD i = 0; i < kEntries; ++i)
        doc.RecordResult(scan.get());
    const Bytes file = FileBytes(path);
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 6), (Bytes{0xFF, 0xFF, 0x01, 0x00, 0x01, 0x00}));

    ProtocolDoc reader;
    ASSERT_EQ(Replay(reader, path), kModeReplay);
    EXPECT_EQ(reader.Position(), "1/" + std::to_string(kEntries));
    EXPECT_EQ(ui.MessageBoxes().size(), 1u) << "only the recording note";
}

} // namespace
