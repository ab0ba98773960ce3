// The commands of both device documents: which commands each family's document answers,
// what enables the device commands (no mode running, for some a current field), the dialog
// commands opening the family's own dialogs; Save and Save As: the File menu's states at
// every user level, the commands at a level without the save right (also as they come
// from a key), and a save that reaches the disk durably.
#include "DocumentFileBytes.h"
#include "app/CKVRDoc.h"
#include "app/CZOKDoc.h"
#include "device/dialogs/CLoginDialog.h"
#include "dialogs/CDiagnosisResultsDialog.h"
#include "dialogs/CMonitorDialog.h"
#include "dialogs/CProtocolResultsDialog.h"
#include "dialogs/CZOKParameterDialog.h"
#include "framework/core/SyncWatch.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

enum Needs : unsigned { kRightAlone = 0, kIdle = 1, kCurrentField = 2 };

struct Rule {
    UINT id;
    unsigned needs;
};

// Whether a modal dialog is of the class a command must open.
using DialogCheck = std::function<bool(CWnd&)>;

template <class Dialog>
DialogCheck IsA()
{
    return [](CWnd& dialog) { return dynamic_cast<Dialog*>(&dialog) != nullptr; };
}

struct DialogCommand {
    UINT id;
    DialogCheck opens;
};

// The device and file commands both families' tables hold.
const std::vector<Rule> kSharedRules = {
    {ID_EDIT_CONFIGURATION, kIdle},
    {ID_READ_CONFIGURATION, kIdle},
    {ID_WRITE_SYSTEM, kIdle},
    {ID_PROTOCOL_RESULTS, kIdle},
    {ID_DIAGNOSIS_RESULTS, kIdle},
    {ID_TEST_CONNECTION, kIdle},
    {ID_FIELD_TRANSFER, kIdle | kCurrentField},
    {ID_READ_FIELD, kIdle | kCurrentField},
    {ID_SCANNER_SESSION, kIdle},
    {ID_FILE_SAVE, kRightAlone},
    {ID_FILE_SAVE_AS, kRightAlone},
};
const std::vector<UINT> kSharedModes = {ID_MODE_EDIT, ID_MODE_MONITOR, ID_MODE_TEACH_IN, ID_MODE_VERIFY,
                                        ID_MODE_REPLAY};

template <class Doc>
struct Family;
template <>
struct Family<CKVRDoc> {
    static constexpr const char* kGolden = "KVRDocument4.hex";
    static std::vector<Rule> OwnRules() { return {{ID_CONFIGURATION_WIZARD, kIdle}, {ID_MONITOR, kIdle}}; }
    static std::vector<UINT> OwnModes() { return {ID_MODE_SIMULATION}; }
    static std::vector<UINT> Unanswered() { return {ID_ZOK_PARAMETERS}; }
    static std::vector<DialogCommand> Dialogs()
    {
        return {{ID_PROTOCOL_RESULTS, IsA<CKVRProtocolResultsDialog>()},
                {ID_DIAGNOSIS_RESULTS, IsA<CKVRDiagnosisResultsDialog>()},
                {ID_MONITOR, IsA<CKVRMonitorDialog>()}};
    }
};
template <>
struct Family<CZOKDoc> {
    static constexpr const char* kGolden = "ZOKDocument4.hex";
    static std::vector<Rule> OwnRules() { return {{ID_ZOK_PARAMETERS, kIdle}}; }
    static std::vector<UINT> OwnModes() { return {}; }
    static std::vector<UINT> Unanswered() { return {ID_CONFIGURATION_WIZARD, ID_MONITOR, ID_MODE_SIMULATION}; }
    static std::vector<DialogCommand> Dialogs()
    {
        return {{ID_PROTOCOL_RESULTS, IsA<CZOKProtocolResultsDialog>()},
                {ID_DIAGNOSIS_RESULTS, IsA<CZOKDiagnosisResultsDialog>()},
                {ID_ZOK_PARAMETERS, IsA<CZOKParameterDialog>()}};
    }
};

template <class Base>
class TestDoc : public Base {
public:
    TestDoc() { this->m_bAutoDelete = FALSE; }
};

template <class Doc>
class DeviceDocCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        LoadBytes(doc, GoldenBytes(Family<Doc>::kGolden));
        std::ofstream(path) << "as saved before";
        doc.SetPathName(path.c_str(), FALSE);
        doc.SetModifiedFlag();
    }
    void TearDown() override
    {
        theLoginDialog.SetLevel(CLoginDialog::kStandardLevel);
        fs::remove(path);
    }

    bool Enabled(UINT id)
    {
        CTestCmdUI state;
        state.m_nID = id;
        state.DoUpdate(&doc, FALSE);
        return state.m_bEnabled != FALSE;
    }
    // The command as a key or a tool-bar button sends it, whatever the menu shows.
    void Command(UINT id) { doc.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }
    // The document has a handler and an update rule for the command.
    bool Answers(UINT id) const
    {
        return doc.FindMessageEntry(WM_COMMAND, UINT(CN_COMMAND), id) != nullptr &&
               doc.FindMessageEntry(WM_COMMAND, UINT(CN_UPDATE_COMMAND_UI), id) != nullptr;
    }
    static std::vector<Rule> Rules()
    {
        std::vector<Rule> rules = kSharedRules;
        for (const Rule& rule : Family<Doc>::OwnRules())
            rules.push_back(rule);
        return rules;
    }
    // Every rule's command enabled exactly when its needs are met.
    void ExpectRulesHold(const char* what, bool idle, bool field)
    {
        SCOPED_TRACE(what);
        for (const Rule& rule : Rules()) {
            const bool enabled = (idle || (rule.needs & kIdle) == 0) && (field || (rule.needs & kCurrentField) == 0);
            EXPECT_EQ(Enabled(rule.id), enabled) << "command " << rule.id;
        }
    }
    std::string FileText() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    ShippedLanguage texts;
    ScriptedUi ui;
    DeviceApplication application{FALSE};
    TestDoc<Doc> doc;
    const fs::path path = fs::temp_directory_path() / ("device-doc-save-" + std::to_string(::getpid()));
};

using Families = ::testing::Types<CKVRDoc, CZOKDoc>;
TYPED_TEST_SUITE(DeviceDocCommands, Families);

TYPED_TEST(DeviceDocCommands, EachFamilyAnswersTheCommandsOfItsTable)
{
    std::vector<UINT> answered = Family<TypeParam>::OwnModes();
    answered.insert(answered.end(), kSharedModes.begin(), kSharedModes.end());
    for (const Rule& rule : this->Rules())
        answered.push_back(rule.id);
    for (UINT id : answered)
        EXPECT_TRUE(this->Answers(id)) << "command " << id;
    for (UINT id : Family<TypeParam>::Unanswered())
        EXPECT_FALSE(this->Answers(id)) << "command " << id;
}

TYPED_TEST(DeviceDocCommands, DeviceCommandsWaitForIdleAndSomeForACurrentField)
{
    theLoginDialog.SetLevel(1);
    this->ExpectRulesHold("idle with a current field", true, true);
    this->doc.SetMode(kModeEdit);
    ASSERT_EQ(this->doc.GetMode(), kModeEdit);
    this->ExpectRulesHold("editing", false, true);
    this->doc.SetMode(kModeEdit); // the mode's own command stops it
    this->doc.GetState().m_current.Clear();
    this->ExpectRulesHold("idle without a current field", true, false);
}

TYPED_TEST(DeviceDocCommands, DialogCommandsOpenTheFamilysDialogs)
{
    theLoginDialog.SetLevel(1);
    for (const DialogCommand& command : Family<TypeParam>::Dialogs()) {
        SCOPED_TRACE(command.id);
        bool opened = false;
        this->ui.QueueModal([&](CWnd& dialog) { opened = command.opens(dialog); });
        this->Command(command.id);
        EXPECT_EQ(this->ui.PendingModals(), 0u);
        EXPECT_TRUE(opened);
    }
}

// Read field puts the device's field in the place of the current one, and the document
// holds a change to save.
TYPED_TEST(DeviceDocCommands, ReadFieldReplacesTheCurrentFieldAndMarksTheDocumentModified)
{
    theLoginDialog.SetLevel(1);
    DeviceApplication simulated(TRUE);
    this->doc.GetState().m_current.SetIndexKind(0, kProtectiveField);
    this->doc.SetModifiedFlag(FALSE);
    CShelter* own = this->doc.GetCurrentObject();
    ASSERT_NE(own, nullptr);
    const CTime ownTime(1); // the device's field has another
    own->SetTime(ownTime);

    this->Command(ID_READ_FIELD);
    EXPECT_TRUE(this->ui.MessageBoxes().empty());
    const CShelter* read = this->doc.GetCurrentObject();
    ASSERT_NE(read, nullptr);
    EXPECT_NE(read->GetTime(), ownTime) << "the device's field is the current one";
    EXPECT_TRUE(this->doc.IsModified());
}

TYPED_TEST(DeviceDocCommands, SaveAndSaveAsNeedTheSaveRight)
{
    for (int level = 1; level <= 5; ++level) {
        SCOPED_TRACE(level);
        theLoginDialog.SetLevel(level);
        const bool maySave = level <= 3;
        EXPECT_EQ(this->Enabled(ID_FILE_SAVE), maySave);
        EXPECT_EQ(this->Enabled(ID_FILE_SAVE_AS), maySave);
        if (maySave)
            continue;
        this->Command(ID_FILE_SAVE);
        this->Command(ID_FILE_SAVE_AS);
        EXPECT_EQ(this->FileText(), "as saved before");
        EXPECT_TRUE(this->doc.IsModified());
        EXPECT_TRUE(this->ui.ModalRuns().empty()) << "no file prompt";
        EXPECT_TRUE(this->ui.MessageBoxes().empty());
    }

    theLoginDialog.SetLevel(1);
    SyncWatch syncs;
    this->Command(ID_FILE_SAVE);
    EXPECT_EQ(syncs.Take(), SyncWatch::DurableWriteOf(this->path)) << "the file, then its folder";
    EXPECT_TRUE(SameBytes(FileBytes(this->path.string()), StoreBytes(this->doc)));
    EXPECT_FALSE(this->doc.IsModified());
}

} // namespace
