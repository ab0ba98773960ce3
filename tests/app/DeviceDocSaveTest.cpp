// Save and Save As of both device documents: the File menu's states at every user level,
// the commands at a level without the save right (also as they come from a key), and a
// save that reaches the disk durably.
#include "DocumentFileBytes.h"
#include "app/CKVRDoc.h"
#include "app/CZOKDoc.h"
#include "device/dialogs/CLoginDialog.h"
#include "framework/core/SyncWatch.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

template <class Doc>
struct Family;
template <>
struct Family<CKVRDoc> {
    static constexpr const char* kGolden = "KVRDocument4.hex";
};
template <>
struct Family<CZOKDoc> {
    static constexpr const char* kGolden = "ZOKDocument4.hex";
};

template <class Base>
class SaveDoc : public Base {
public:
    SaveDoc() { this->m_bAutoDelete = FALSE; }
};

template <class Doc>
class DeviceDocSave : public ::testing::Test {
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
    std::string FileText() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    ShippedLanguage texts;
    ScriptedUi ui;
    DeviceApplication application{FALSE};
    SaveDoc<Doc> doc;
    const fs::path path = fs::temp_directory_path() / ("device-doc-save-" + std::to_string(::getpid()));
};

using Families = ::testing::Types<CKVRDoc, CZOKDoc>;
TYPED_TEST_SUITE(DeviceDocSave, Families);

TYPED_TEST(DeviceDocSave, SaveAndSaveAsNeedTheSaveRight)
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
