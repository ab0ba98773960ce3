// The language library against the code: every string id the program, the libraries and
// the dialogs hand to a text function has a text, every device text the driver can
// compose has its strings, and texts that land in a buffer of fixed size fit it.
#include "language/LanguageScriptSet.h"
#include "language/SourceTextIds.h"

#include "driver/internal/DeviceTexts.h"
#include "driver/internal/DriverLastError.h"
#include "framework/core/Library.h"
#include "framework/core/ResourceScript.h"
#include "framework/core/Resources.h"
#include "framework/ui/UiDefs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kCodeFolders = {"app",   "dialogs", "device",    "driver",  "diagnose",
                                               "model", "shared",  "simulator", "outside", "framework"};

const char* KindName(ResourceKind kind)
{
    switch (kind) {
    case ResourceKind::kString: return "string";
    case ResourceKind::kDialog: return "dialog";
    case ResourceKind::kMenu: return "menu";
    case ResourceKind::kBitmap: return "bitmap";
    case ResourceKind::kCursor: return "cursor";
    case ResourceKind::kAccelerators: return "accelerators";
    case ResourceKind::kToolBar: return "tool bar";
    }
    return "";
}

std::string Where(const TextIdUse& use)
{
    return use.file + ":" + std::to_string(use.line) + " " + (use.function.empty() ? "constant" : use.function) + " " +
           KindName(use.kind) + " " + std::to_string(use.id);
}

bool Holds(const ResourceSet& resources, const TextIdUse& use)
{
    switch (use.kind) {
    case ResourceKind::kString: return resources.FindString(use.id) != nullptr;
    case ResourceKind::kDialog: return resources.FindDialog(use.id) != nullptr;
    case ResourceKind::kMenu: return resources.FindMenu(use.id) != nullptr;
    case ResourceKind::kBitmap: return resources.FindBitmap(use.id) != nullptr;
    case ResourceKind::kCursor: return resources.FindCursor(use.id) != nullptr;
    case ResourceKind::kAccelerators: return resources.FindAccelerators(use.id) != nullptr;
    case ResourceKind::kToolBar: return resources.FindToolBar(use.id) != nullptr;
    }
    return false;
}

// A language library whose every string is its own id in brackets, so that a composed
// device text shows which strings it was made of and where each one sits.
class MarkerLibrary {
public:
    MarkerLibrary()
    {
        std::string script = "STRINGTABLE\nBEGIN\n";
        for (UINT id = 1; id <= 0xFFFF; ++id)
            script += "    " + std::to_string(id) + " \"[" + std::to_string(id) + "]\"\n";
        script += "END\n";
        m_module = CreateResourceModule("markers.rc", script, nullptr, m_error);
    }
    ~MarkerLibrary()
    {
        if (m_module) FreeLibrary(m_module);
    }
    HINSTANCE Module() const { return m_module; }
    const std::string& Error() const { return m_error; }

private:
    HINSTANCE m_module = nullptr;
    std::string m_error;
};

struct DeviceTextId {
    UINT id;
    bool leading;        // the first piece of the text, else an appended one
    std::string example; // class and code that show it
};

// Every string a device text of any class and code is made of.
std::map<UINT, DeviceTextId> WalkDeviceTexts()
{
    std::map<UINT, DeviceTextId> ids;
    const MarkerLibrary markers;
    EXPECT_NE(markers.Module(), nullptr) << markers.Error();
    for (int textClass = 0; textClass <= 70; ++textClass) {
        std::string previous;
        for (int code = 0; code <= 0xFFFF; ++code) {
            const std::optional<std::string> text = ComposeDeviceText(textClass, WORD(code), markers.Module());
            if (!text) break; // a class without an entry has none for any code
            if (*text == previous) continue;
            previous = *text;
            for (std::size_t open = text->find('['); open != std::string::npos; open = text->find('[', open + 1)) {
                const std::size_t close = text->find(']', open);
                const UINT id = UINT(std::stoul(text->substr(open + 1, close - open - 1)));
                auto [entry, added] = ids.try_emplace(id, DeviceTextId{id, open == 0, ""});
                if (added)
                    entry->second.example = "class " + std::to_string(textClass) + " code " + std::to_string(code);
                entry->second.leading = entry->second.leading && open == 0;
            }
        }
    }
    return ids;
}

class TextIdsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    const SourceTextIds& Scan()
    {
        static const SourceTextIds scan(ReadSourceFolders(SourceRoot(), kCodeFolders));
        return scan;
    }

    LanguageScriptSet language;
};

TEST(SourceTextIdsTest, FindsTheIdsOfEveryFormAndNothingElse)
{
    const std::vector<SourceFile> files = {
        {"lib/Texts.h", "constexpr UINT IDS_NAMED = 900;\n"
                        "constexpr UINT IDS_SUM = IDS_NAMED + 1; // not a number of its own\n"
                        "CString Text(UINT id, int value);\n"
                        "void Show(UINT prompt, UINT type);\n"
                        "int AfxMessageBox(UINT nIDPrompt, UINT nType);\n"
                        "template <std::size_t N> UINT ChoiceText(int value, const UINT "
                        "(&ids)[N]) { return ids[value]; }\n"},
        {"lib/Texts.cpp", "CString Text(UINT id, int value) { CString s; s.LoadString(id); return "
                          "s; }\n"
                          "void Show(UINT prompt, UINT type) { AfxMessageBox(prompt, type); }\n"
                          "int AfxMessageBox(UINT nIDPrompt, UINT nType) { CString t; "
                          "t.LoadString(nIDPrompt); return 0; }\n"},
        {"app/Report.cpp", "namespace {\n"
                           "void Set(UINT id) { char b[8]; LoadString(module, id, b, 8); }\n"
                           "void Pairs(std::initializer_list<std::pair<BYTE, UINT>> texts);\n"
                           "void Pairs(std::initializer_list<std::pair<BYTE, UINT>> texts) { for "
                           "(auto [s, id] : texts) Set(id); }\n"
                           "}\n"
                           "void Build(int mode) {\n"
                           "    Text(901, 5);\n"
                           "    Set(mode == 0 ? 902 : mode == 1 ? 903 : 0x388);\n"
                           "    Show(IDS_NAMED, 2);\n"
                           "    Show(Lib::IDS_NAMED, 3);\n"
                           "    Pairs({{0, 905}, {1, 906}});\n"
                           "    UINT id = ChoiceText(mode, {907, 0});\n"
                           "    Text(mode + 1, 2);      // computed: not followed\n"
                           "    // Text(999, 1) in a comment\n"
                           "    Print(\"Text(998, 1)\");\n"
                           "    config.Set(7, 8);       // another class's Set\n"
                           "}\n"
                           "struct Texts { UINT prompt; int width; };\n"
                           "void Ask(const Texts& texts) { AfxMessageBox(texts.prompt, 0); }\n"
                           "const Texts kTexts{.prompt = 908, .width = 40};\n"},
        {"app/Other.cpp", "void Run() { Set(3); Count(904); }\n"
                          "void Count(UINT items) { total += items; }\n"},
    };
    const SourceTextIds scan(files);
    std::multiset<std::string> found;
    for (const TextIdUse& use : scan.Uses()) found.insert(use.file + " " + use.function + " " + std::to_string(use.id));
    const std::multiset<std::string> expected = {
        "lib/Texts.h  900",           "app/Report.cpp Text 901",
        "app/Report.cpp Set 902",     "app/Report.cpp Set 903",
        "app/Report.cpp Set 904",     "app/Report.cpp Show 900",
        "app/Report.cpp Show 900",    "app/Report.cpp Pairs 905",
        "app/Report.cpp Pairs 906",   "app/Report.cpp ChoiceText 907",
        "app/Report.cpp .prompt 908",
    };
    EXPECT_EQ(found, expected);
    EXPECT_EQ(scan.TextFunctions().at("AfxMessageBox"), std::set<std::size_t>{0});
    EXPECT_EQ(scan.TextFunctions().at("Show"), std::set<std::size_t>{0});
    EXPECT_EQ(scan.TextFunctions().count("Count"), 0u);
}

TEST(SourceTextIdsTest, FollowsIdsThroughTablesMembersReturnsAndTemplates)
{
    const std::vector<SourceFile> files = {
        {"fw/Resources.h", "const DialogTemplate* FindDialogTemplate(HINSTANCE module, UINT id);\n"
                           "void Show(UINT id);\n"},
        {"fw/Resources.cpp", "void Show(UINT id) { CString s; s.LoadString(id); }\n"},
        {"fw/CDialog.h", "class CDialog : public CWnd {\n"
                         "    DECLARE_DYNAMIC(CDialog)\n"
                         "public:\n"
                         "    CDialog(UINT nIDTemplate, CWnd* pParent);\n"
                         "protected:\n"
                         "    UINT m_nIDTemplate = 0;\n"
                         "};\n"},
        {"fw/CDialog.cpp", "CDialog::CDialog(UINT nIDTemplate, CWnd* pParent) : m_nIDTemplate(nIDTemplate) {}\n"
                           "const DialogTemplate* CDialog::Find() const\n"
                           "{ return FindDialogTemplate(handle, m_nIDTemplate); }\n"
                           "void CDialog::Indirect(const DialogTemplate* t) { m_nIDTemplate = t->id; }\n"
                           "CNewType::CNewType() { static DialogTemplate t; t.id = 30721; m_nIDTemplate = 30721; }\n"},
        {"app/ListBase.h", "template <class PageBase>\n"
                           "class CListBase : public PageBase {\n"
                           "public:\n"
                           "    CListBase(UINT nIDTemplate);\n"
                           "};\n"
                           "template <class PageBase>\n"
                           "CListBase<PageBase>::CListBase(UINT nIDTemplate) : PageBase(nIDTemplate) {}\n"},
        {"app/Pages.h", "class CNewType : public CDialog {};\n"
                        "class CList : public CListBase<CDialog> {};\n"
                        "class CAbout : public CDialog { static constexpr UINT IDD = 101; };\n"
                        "class CSetup : public CDialog { static constexpr UINT IDD = 102; };\n"},
        {"app/Pages.cpp", "CAbout::CAbout() : CDialog(IDD, nullptr) {}\n"
                          "CSetup::CSetup() : CDialog(IDD, nullptr) {}\n"
                          "CList::CList() : CListBase(103) {}\n"},
        {"app/Tables.cpp",
         "namespace {\n"
         "constexpr UINT kNames[] = {910, 911};\n"
         "struct Row { const char* name; UINT text; };\n"
         "constexpr std::array<Row, 2> kRows = {{{\"a\", 912}, {\"b\", 913}}};\n"
         "struct Pair { UINT status; UINT retry; };\n"
         "void Find(int mode, Pair& texts) { texts = {914, 915}; }\n"
         "UINT Pick(int v, UINT id) { return v ? id : 0; }\n"
         "UINT FirstFailed(int v) { if (v > 1) return 916; return Pick(v, 917); }\n"
         "template <UINT Low, UINT Message> bool Range(int v) { if (v < Low) Show(Message); return v >= Low; }\n"
         "int Warn(int id) { Show(UINT(id)); return 0; }\n"
         "UINT g_last = 990;\n"
         "}\n"
         "void Run(int i)\n"
         "{\n"
         "    Show(kNames[i]);\n"
         "    for (const Row& row : kRows) Show(row.text);\n"
         "    Pair texts{};\n"
         "    Find(i, texts);\n"
         "    Show(texts.status);\n"
         "    Show(texts.retry);\n"
         "    if (UINT failed = FirstFailed(i)) Show(failed);\n"
         "    const auto check = Range<5, 918>;\n"
         "    Warn(919);\n"
         "    Show(g_last);            // a variable's value is computed: not followed\n"
         "}\n"
         "void Other() { int id = 5; UINT text = 6; Count(id, text); }\n"},
    };
    const SourceTextIds scan(files);
    std::multiset<std::string> found;
    for (const TextIdUse& use : scan.Uses())
        found.insert(use.file + " " + use.function + " " + KindName(use.kind) + " " + std::to_string(use.id));
    const std::multiset<std::string> expected = {
        "app/Tables.cpp kNames string 910",      "app/Tables.cpp kNames string 911",
        "app/Tables.cpp .text string 912",       "app/Tables.cpp .text string 913",
        "app/Tables.cpp .status string 914",     "app/Tables.cpp .retry string 915",
        "app/Tables.cpp FirstFailed() string 916", "app/Tables.cpp Pick string 917",
        "app/Tables.cpp Range<> string 918",     "app/Tables.cpp Warn string 919",
        "app/Pages.cpp CDialog dialog 101",      "app/Pages.cpp CDialog dialog 102",
        "app/Pages.cpp CListBase dialog 103",
        "fw/CDialog.cpp m_nIDTemplate dialog 30721",
    };
    EXPECT_EQ(found, expected);
    ASSERT_EQ(scan.BuiltInCode().size(), 1u);
    EXPECT_EQ(scan.BuiltInCode()[0].id, 30721u);
    EXPECT_EQ(scan.BuiltInCode()[0].kind, ResourceKind::kDialog);
}

TEST_F(TextIdsTest, EveryIdTheCodeHandsToATextFunctionIsInTheLanguageLibrary)
{
    const std::vector<TextIdUse>& uses = Scan().Uses();
    ASSERT_FALSE(uses.empty());
    // A template the framework builds in code needs none in the library.
    std::set<std::pair<ResourceKind, UINT>> built;
    for (const TextIdUse& use : Scan().BuiltInCode()) built.insert({use.kind, use.id});
    std::string missing;
    for (const TextIdUse& use : uses)
        if (!Holds(language.Resources(), use) && !built.count({use.kind, use.id})) missing += "\n  " + Where(use);
    EXPECT_TRUE(missing.empty()) << "ids the language library lacks:" << missing;
}

TEST_F(TextIdsTest, EveryStringOfTheDeviceTextsIsInTheLanguageLibraryAndFitsItsBuffer)
{
    // The diagnosis library takes a device text into 255 bytes (the program into 256);
    // an appended piece is loaded through 128 bytes first. Both hold the final NUL.
    constexpr std::size_t kWholeText = 254;
    constexpr std::size_t kAppendedPiece = 127;
    const std::map<UINT, DeviceTextId> ids = WalkDeviceTexts();
    ASSERT_TRUE(ids.count(IDS_UNKNOWN_DEVICE_CODE));
    for (const auto& [id, use] : ids) {
        SCOPED_TRACE("string " + std::to_string(id) + " (" + use.example + ")");
        const std::string* text = language.Find(id);
        ASSERT_NE(text, nullptr);
        EXPECT_LE(text->size(), use.leading ? kWholeText : kAppendedPiece) << *text;
    }
}

TEST_F(TextIdsTest, TextsThatGoIntoABufferOfFixedSizeFitIt)
{
    std::size_t checked = 0;
    auto check = [&](UINT id, std::size_t limit, const std::string& why) {
        const std::string* text = language.Find(id);
        ASSERT_NE(text, nullptr) << id;
        EXPECT_LE(text->size(), limit) << "string " << id << " (" << why << "): " << *text;
        ++checked;
    };
    for (const TextIdUse& use : Scan().Uses()) {
        if (use.kind != ResourceKind::kString) continue;
        // The diagnosis library loads each of its strings into 128 characters.
        if (use.file.rfind("diagnose/", 0) == 0) check(use.id, 128, "diagnosis text, " + Where(use));
        // The diagnosis entry fetches the driver's failure text into 80 characters.
        if (use.function == "SetLastErrorText") check(LastErrorTextId(use.id), 79, "driver failure, " + Where(use));
    }
    // The diagnosis title is copied into 80 characters.
    check(1570, 79, "diagnosis title");
    // The application's name is the document name of the dialogs' print jobs, which
    // the print loop cuts to 31 characters.
    check(AFX_IDS_APP_TITLE, 31, "print document name");
    EXPECT_GT(checked, 1u);
}

} // namespace
