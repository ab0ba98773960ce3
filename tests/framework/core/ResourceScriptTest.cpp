#include "framework/core/ResourceScript.h"

#include <gtest/gtest.h>

namespace {

const ResourceFileLoader kNoFiles;

ResourceSet ParseOk(std::string_view script, const ResourceFileLoader& files = kNoFiles)
{
    ResourceSet set;
    std::string error;
    EXPECT_TRUE(set.AddScript("test.rc", script, files, error)) << error;
    return set;
}

std::string ParseError(std::string_view script, const ResourceFileLoader& files = kNoFiles)
{
    ResourceSet set;
    std::string error;
    EXPECT_FALSE(set.AddScript("bad.rc", script, files, error));
    return error;
}

TEST(ResourceScript, StringTableDecodesEscapesAndUtf8)
{
    const ResourceSet set = ParseOk(R"(
// framework texts
#define IDS_FIRST 100
#define IDS_SECOND (IDS_FIRST + 1)
STRINGTABLE DISCARDABLE
BEGIN
    IDS_FIRST, "Line one\nLine two\tTabbed"
    IDS_SECOND "Say ""hi"" and \"bye\" \\ done"
    0x200 L"Grad 90°"
    61712 ""
END
)");
    ASSERT_NE(set.FindString(100), nullptr);
    EXPECT_EQ(*set.FindString(100), "Line one\nLine two\tTabbed");
    EXPECT_EQ(*set.FindString(101), "Say \"hi\" and \"bye\" \\ done");
    EXPECT_EQ(*set.FindString(0x200), "Grad 90°");
    ASSERT_NE(set.FindString(61712), nullptr);
    EXPECT_EQ(*set.FindString(61712), "");
    EXPECT_EQ(set.FindString(102), nullptr);
}

TEST(ResourceScript, DialogTemplateWithDefaultStylesAndNot)
{
    const ResourceSet set = ParseOk(R"(
#define IDD_PORT 103
#define IDC_PORT 2002
IDD_PORT DIALOG DISCARDABLE 10, 20, 200, 120
STYLE DS_MODALFRAME | WS_POPUP | WS_SYSMENU
CAPTION "Port set-up"
FONT 8, "MS Sans Serif"
BEGIN
    LTEXT           "&Port:", IDC_STATIC, 7, 9, 40, 8
    COMBOBOX        IDC_PORT, 50, 7, 60, 60, CBS_DROPDOWNLIST | WS_VSCROLL
    EDITTEXT        2003, 50, 25, 60, 12, ES_AUTOHSCROLL | NOT WS_BORDER
    AUTOCHECKBOX    "Even parity", 2004, 7, 40, 80, 10
    GROUPBOX        "Baud", -1, 5, 55, 190, 30
    DEFPUSHBUTTON   "OK", IDOK, 30, 100, 50, 14, WS_GROUP
    PUSHBUTTON      "Cancel", IDCANCEL, 90, 100, 50, 14, NOT WS_TABSTOP
    CONTROL         "Slider", 2010, "msctls_trackbar32", 0x0001 | WS_TABSTOP, 5, 88, 100, 10, WS_EX_STATICEDGE
    ICON            7, 2011, 150, 5
END
)");
    const DialogTemplate* dialog = set.FindDialog(103);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->extended);
    EXPECT_EQ(dialog->x, 10);
    EXPECT_EQ(dialog->cy, 120);
    EXPECT_EQ(dialog->caption, "Port set-up");
    EXPECT_EQ(dialog->style, DS_MODALFRAME | WS_POPUP | WS_SYSMENU | WS_CAPTION | DS_SETFONT);
    ASSERT_TRUE(dialog->font.has_value());
    EXPECT_EQ(dialog->font->pointSize, 8);
    EXPECT_EQ(dialog->font->face, "MS Sans Serif");
    ASSERT_EQ(dialog->items.size(), 9u);

    struct Expected {
        const char* className;
        const char* text;
        int id;
        DWORD style;
    };
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const Expected expected[] = {
        {"STATIC", "&Port:", -1, child | SS_LEFT | WS_GROUP},
        {"COMBOBOX", "", 2002, child | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {"EDIT", "", 2003, child | ES_AUTOHSCROLL | WS_TABSTOP},
        {"BUTTON", "Even parity", 2004, child | BS_AUTOCHECKBOX | WS_TABSTOP},
        {"BUTTON", "Baud", -1, child | BS_GROUPBOX},
        {"BUTTON", "OK", 1, child | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {"BUTTON", "Cancel", 2, child | BS_PUSHBUTTON},
        {"msctls_trackbar32", "Slider", 2010, child | 0x0001 | WS_TABSTOP},
        {"STATIC", "", 2011, child | SS_ICON},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const DialogItemTemplate& item = dialog->items[i];
        EXPECT_EQ(item.className, expected[i].className);
        EXPECT_EQ(item.text, expected[i].text);
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.style, expected[i].style);
    }
    EXPECT_EQ(dialog->items[0].x, 7);
    EXPECT_EQ(dialog->items[0].y, 9);
    EXPECT_EQ(dialog->items[0].cx, 40);
    EXPECT_EQ(dialog->items[0].cy, 8);
    EXPECT_EQ(dialog->items[7].exStyle, WS_EX_STATICEDGE);
    EXPECT_EQ(dialog->items[8].textId, std::optional<UINT>(7));
}

TEST(ResourceScript, DialogExWithoutStyleGetsClassicDefaults)
{
    const ResourceSet set = ParseOk(R"(
200 DIALOGEX 0, 0, 100, 50, 77
EXSTYLE WS_EX_CONTEXTHELP
FONT 8, "MS Shell Dlg", 400, 1, 0x1
MENU 5
CLASS "MyDialogClass"
BEGIN
    RADIOBUTTON "A", 10, 1, 1, 20, 8, WS_GROUP, WS_EX_CLIENTEDGE, 33
END
)");
    const DialogTemplate* dialog = set.FindDialog(200);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->extended);
    EXPECT_EQ(dialog->helpId, 77u);
    EXPECT_EQ(dialog->style, WS_POPUP | WS_BORDER | WS_SYSMENU | DS_SETFONT);
    EXPECT_EQ(dialog->exStyle, WS_EX_CONTEXTHELP);
    EXPECT_EQ(dialog->font->weight, 400);
    EXPECT_TRUE(dialog->font->italic);
    EXPECT_EQ(dialog->font->charset, 1);
    EXPECT_EQ(dialog->menuId, std::optional<UINT>(5));
    EXPECT_EQ(dialog->className, "MyDialogClass");
    ASSERT_EQ(dialog->items.size(), 1u);
    EXPECT_EQ(dialog->items[0].style, WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | WS_TABSTOP | WS_GROUP);
    EXPECT_EQ(dialog->items[0].exStyle, WS_EX_CLIENTEDGE);
    EXPECT_EQ(dialog->items[0].helpId, 33u);
}

TEST(ResourceScript, MenuTreeWithOptionsSeparatorsAndNestedPopups)
{
    const ResourceSet set = ParseOk(R"(
#define ID_FILE_OPEN 57601
2 MENU PRELOAD DISCARDABLE
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Open...\tCtrl+O",    ID_FILE_OPEN
        MENUITEM SEPARATOR
        POPUP "&Recent"
        BEGIN
            MENUITEM "None",            40001, GRAYED CHECKED
        END
        MENUITEM "E&xit",               57665, MENUBARBREAK, INACTIVE
    END
    POPUP "&Help", HELP
    BEGIN
    END
END
)");
    const MenuTemplate* menu = set.FindMenu(2);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 2u);
    const MenuItemTemplate& file = menu->items[0];
    EXPECT_TRUE(file.popup);
    EXPECT_EQ(file.text, "&File");
    ASSERT_EQ(file.children.size(), 4u);
    EXPECT_EQ(file.children[0].text, "&Open...\tCtrl+O");
    EXPECT_EQ(file.children[0].id, 57601u);
    EXPECT_TRUE(file.children[1].separator);
    ASSERT_EQ(file.children[2].children.size(), 1u);
    const MenuItemTemplate& none = file.children[2].children[0];
    EXPECT_TRUE(none.grayed);
    EXPECT_TRUE(none.checked);
    EXPECT_EQ(none.id, 40001u);
    EXPECT_TRUE(file.children[3].menuBarBreak);
    EXPECT_TRUE(file.children[3].inactive);
    EXPECT_FALSE(file.children[3].checked);
    EXPECT_TRUE(menu->items[1].help);
    EXPECT_TRUE(menu->items[1].children.empty());
}

TEST(ResourceScript, BitmapCursorAndIconBytesComeFromTheLoader)
{
    std::vector<std::string> asked;
    const ResourceFileLoader files = [&](const std::string& name, std::vector<std::uint8_t>& bytes) {
        asked.push_back(name);
        if (name == "res/logo.bmp") {
            bytes = {'B', 'M', 1, 2};
            return true;
        }
        if (name == "res/hand.cur") {
            bytes = {0, 0, 2, 0};
            return true;
        }
        if (name == "res/app.png") {
            bytes = {0x89, 'P', 'N', 'G'};
            return true;
        }
        return false;
    };
    const ResourceSet set = ParseOk("83 BITMAP \"res\\\\logo.bmp\"\n"
                                    "#define IDC_HAND 12\n"
                                    "IDC_HAND CURSOR DISCARDABLE \"res/hand.cur\"\n"
                                    "12 ICON \"res/app.png\"\n",
                                    files);
    ASSERT_NE(set.FindBitmap(83), nullptr);
    EXPECT_EQ(*set.FindBitmap(83), (std::vector<std::uint8_t>{'B', 'M', 1, 2}));
    ASSERT_NE(set.FindCursor(12), nullptr);
    EXPECT_EQ(set.FindCursor(12)->size(), 4u);
    EXPECT_EQ(set.FindBitmap(12), nullptr);
    ASSERT_NE(set.FindIcon(12), nullptr) << "icons have ids of their own";
    EXPECT_EQ(*set.FindIcon(12), (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'}));
    EXPECT_EQ(asked, (std::vector<std::string>{"res/logo.bmp", "res/hand.cur", "res/app.png"}));
    EXPECT_NE(ParseError("1 ICON \"res/app.png\"\n1 ICON \"res/app.png\"\n", files).find("icon"), std::string::npos);

    EXPECT_EQ(ParseError("\n1 BITMAP \"missing.bmp\"\n", files), "bad.rc:2: cannot read file 'missing.bmp'");
}

TEST(ResourceScript, AcceleratorKeysAndOptions)
{
    const ResourceSet set = ParseOk(R"(
#define IDR_MAIN 128
#define ID_FILE_NEW 0xE100
#define VK_MINE 0x41
IDR_MAIN ACCELERATORS DISCARDABLE
BEGIN
    "N",        ID_FILE_NEW,    VIRTKEY, CONTROL, NOINVERT
    "^C",       57634
    "x",        3,              ASCII, ALT
    "s",        4,              VIRTKEY, SHIFT
    VK_F1,      5,              VIRTKEY
    VK_F12,     6,              VIRTKEY, SHIFT, CONTROL, ALT
    VK_DELETE,  7,              VIRTKEY, SHIFT
    VK_NUMPAD7, 8,              VIRTKEY
    VK_MINE,    9
    0x2D,       10,             VIRTKEY
    VK_ESCAPE,  11,             virtkey
END
)");
    const std::vector<AccelEntry>* table = set.FindAccelerators(128);
    ASSERT_NE(table, nullptr);
    const std::vector<AccelEntry> expected = {
        {FVIRTKEY | FCONTROL | FNOINVERT, 'N', 0xE100},
        {0, 3, 57634},
        {FALT, 'x', 3},
        {FVIRTKEY | FSHIFT, 'S', 4}, // a letter as virtual key is its capital
        {FVIRTKEY, 0x70, 5},
        {FVIRTKEY | FSHIFT | FCONTROL | FALT, 0x7B, 6},
        {FVIRTKEY | FSHIFT, 0x2E, 7},
        {FVIRTKEY, 0x67, 8},
        {0, 0x41, 9}, // a #define named like a key is a plain number
        {FVIRTKEY, 0x2D, 10},
        {FVIRTKEY, 0x1B, 11},
    };
    EXPECT_EQ(*table, expected);
    EXPECT_EQ(set.FindAccelerators(129), nullptr);
    EXPECT_EQ(set.FindMenu(128), nullptr);
}

TEST(ResourceScript, ToolBarButtonsAndSeparatorsInOrder)
{
    const ResourceSet set = ParseOk(R"(
#define IDR_MAIN 128
#define ID_FILE_OPEN 0xE101
IDR_MAIN TOOLBAR DISCARDABLE 16, 15
BEGIN
    BUTTON      0xE100
    BUTTON      ID_FILE_OPEN
    SEPARATOR
    BUTTON      32771
END
2 TOOLBAR 24, 22 BEGIN END
)");
    const ToolBarTemplate* bar = set.FindToolBar(128);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->width, 16);
    EXPECT_EQ(bar->height, 15);
    EXPECT_EQ(bar->items, (std::vector<UINT>{0xE100, 0xE101, 0, 32771}));
    ASSERT_NE(set.FindToolBar(2), nullptr);
    EXPECT_EQ(set.FindToolBar(2)->width, 24);
    EXPECT_TRUE(set.FindToolBar(2)->items.empty());
    EXPECT_EQ(set.FindToolBar(3), nullptr);
}

TEST(ResourceScript, AcceleratorAndToolBarErrors)
{
    struct Case {
        const char* script;
        const char* error;
    };
    const Case cases[] = {
        {"1 ACCELERATORS BEGIN\n \"ab\", 1\nEND",
         "bad.rc:2: accelerator key \"ab\" is not one character or ^ and a letter"},
        {"1 ACCELERATORS BEGIN\n \"^1\", 1\nEND",
         "bad.rc:2: accelerator key \"^1\" is not one character or ^ and a letter"},
        {"1 ACCELERATORS BEGIN\n VK_F1, 1\nEND", "bad.rc:2: 'VK_F1' needs VIRTKEY"},
        {"1 ACCELERATORS BEGIN\n \"^C\", 1, VIRTKEY\nEND", "bad.rc:2: \"^C\" is a character and cannot be VIRTKEY"},
        {"1 ACCELERATORS BEGIN\n \"C\", 1, CONTROL\nEND", "bad.rc:2: SHIFT and CONTROL need VIRTKEY"},
        {"1 ACCELERATORS BEGIN\n \"C\", 1, VIRTKEY, ASCII\nEND",
         "bad.rc:2: an accelerator cannot be both VIRTKEY and ASCII"},
        {"1 ACCELERATORS BEGIN\n \"C\", 1, VIRTKEY, CTRL\nEND",
         "bad.rc:2: expected an accelerator option but found 'CTRL'"},
        {"1 ACCELERATORS BEGIN\n \"C\", 70000\nEND", "bad.rc:2: command id 70000 is outside 0..65535"},
        {"1 ACCELERATORS BEGIN\n 0x10000, 1, VIRTKEY\nEND", "bad.rc:2: accelerator key 65536 is outside 0..65535"},
        {"1 ACCELERATORS BEGIN\n VK_F25, 1, VIRTKEY\nEND", "bad.rc:2: undefined symbol 'VK_F25'"},
        {"1 ACCELERATORS BEGIN\n \"C\", 1\n", "bad.rc:3: ACCELERATORS without END"},
        {"1 ACCELERATORS BEGIN END\n1 ACCELERATORS BEGIN END",
         "bad.rc:2: accelerator table id 1 is already defined at bad.rc:1"},
        {"1 TOOLBAR 16 BEGIN END", "bad.rc:1: expected ',' but found 'BEGIN'"},
        {"1 TOOLBAR 0, 15 BEGIN END", "bad.rc:1: tool-bar image size 0x15 is outside 1..256"},
        {"1 TOOLBAR 16, 15 BEGIN\n BUTTON 0\nEND", "bad.rc:2: a tool-bar button needs an id other than 0"},
        {"1 TOOLBAR 16, 15 BEGIN\n MENUITEM 5\nEND",
         "bad.rc:2: expected BUTTON, SEPARATOR or END but found 'MENUITEM'"},
        {"1 TOOLBAR 16, 15 BEGIN\n BUTTON 5\n", "bad.rc:3: TOOLBAR without END"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(ParseError(c.script), c.error);
    }
}

// Each define uses the one before three times: expanded naively this is 3^26 steps.
std::string DefineChain(int length, const char* body)
{
    std::string script = "#define A0 1\n";
    for (int i = 1; i < length; ++i) {
        const std::string prev = "A" + std::to_string(i - 1);
        std::string line = body;
        for (std::size_t at; (at = line.find('P')) != std::string::npos;)
            line.replace(at, 1, prev);
        script += "#define A" + std::to_string(i) + " " + line + "\n";
    }
    return script + "STRINGTABLE BEGIN A" + std::to_string(length - 1) + " \"x\" END\n";
}

TEST(ResourceScript, DefineChainsResolveOnceEach)
{
    const ResourceSet wide = ParseOk(DefineChain(27, "(P + P - P + 1)"));
    EXPECT_NE(wide.FindString(27), nullptr);

    // A built-in name #defined later changes what later uses of dependent defines read.
    const ResourceSet rebound = ParseOk("#define X (IDOK + 1)\n"
                                        "STRINGTABLE BEGIN X \"before\" END\n"
                                        "#define IDOK 10\n"
                                        "STRINGTABLE BEGIN X \"after\" END\n");
    ASSERT_NE(rebound.FindString(2), nullptr);
    EXPECT_EQ(*rebound.FindString(2), "before");
    ASSERT_NE(rebound.FindString(11), nullptr);
    EXPECT_EQ(*rebound.FindString(11), "after");

    EXPECT_EQ(ParseError(DefineChain(40, "(P)")), "bad.rc:41: #defines nested more than 32 deep at 'A7'");
    EXPECT_EQ(ParseError(DefineChain(17, "(P + P + P + P)")), "bad.rc:18: value out of range");
}

TEST(ResourceScript, ErrorsNameFileAndLine)
{
    struct Case {
        const char* script;
        const char* error;
    };
    const Case cases[] = {
        {"STRINGTABLE\nBEGIN\n 1, \"open\n END", "bad.rc:3: unterminated string"},
        {"STRINGTABLE BEGIN\n 1 \"a\\q\" END", "bad.rc:2: unknown escape '\\q'"},
        {"\n\nIDD_MISSING DIALOG 0,0,1,1 BEGIN END", "bad.rc:3: undefined symbol 'IDD_MISSING'"},
        {"1 RCDATA BEGIN END", "bad.rc:1: unsupported resource type 'RCDATA'"},
        {"1 DIALOG 0, 0, 10\nBEGIN END", "bad.rc:2: expected ',' but found 'BEGIN'"},
        {"1 DIALOG 0,0,1,1\nBEGIN\n  BUTTONX \"a\", 1, 0,0,1,1\nEND",
         "bad.rc:3: expected a control statement or END but found 'BUTTONX'"},
        {"1 DIALOG 0,0,1,1\nBEGIN\n  LTEXT \"a\", 1, 0,0,1,1\n", "bad.rc:4: dialog without END"},
        {"1 MENU BEGIN\n MENUITEM \"a\", 1, BOLD\nEND", "bad.rc:2: expected a menu option but found 'BOLD'"},
        {"STRINGTABLE BEGIN\n 70000 \"x\" END", "bad.rc:2: resource id 70000 is outside 0..65535"},
        {"#include \"resource.h\"\n", "bad.rc:1: unsupported preprocessor directive '#include'"},
        {"#define A B\n#define B A\nSTRINGTABLE BEGIN A \"x\" END", "bad.rc:3: 'A' is defined in terms of itself"},
        {"#define A 1\n#define A 2\n", "bad.rc:2: 'A' redefined with another value (first at line 1)"},
        {"STRINGTABLE BEGIN\n 5 \"a\"\n 5 \"b\"\nEND", "bad.rc:3: string id 5 is already defined at bad.rc:2"},
        {"/* open comment\n", "bad.rc:1: unterminated comment"},
        {"1 DIALOG 0,0,1,1 BEGIN\n LTEXT \"a\" @ END", "bad.rc:2: unexpected character '@'"},
    };
    const std::string deepExpression = "STRINGTABLE BEGIN " + std::string(100000, '(') + "1" + std::string(100000, ')');
    std::string deepMenu = "1 MENU BEGIN ";
    for (int i = 0; i < 5000; ++i)
        deepMenu += "POPUP \"p\" BEGIN ";
    EXPECT_EQ(ParseError(deepExpression), "bad.rc:1: nested too deeply");
    EXPECT_EQ(ParseError(deepMenu), "bad.rc:1: nested too deeply");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(ParseError(c.script), c.error);
    }
}

TEST(ResourceScript, IdsMayNotCollideAcrossScriptsAndAFailedScriptAddsNothing)
{
    ResourceSet set;
    std::string error;
    ASSERT_TRUE(set.AddScript("driver.rc", "STRINGTABLE BEGIN 516 \"Port failed\" END\n1 MENU BEGIN END", kNoFiles,
                              error))
        << error;
    EXPECT_FALSE(set.AddScript("dialogs.rc", "STRINGTABLE BEGIN 517 \"new\" END\n\n1 MENU BEGIN END", kNoFiles,
                               error));
    EXPECT_EQ(error, "dialogs.rc:3: menu id 1 is already defined at driver.rc:2");
    EXPECT_EQ(set.FindString(517), nullptr);

    // The same number in another kind of resource is no collision.
    EXPECT_TRUE(set.AddScript("more.rc", "516 MENU BEGIN END\n", kNoFiles, error)) << error;
    EXPECT_NE(set.FindMenu(516), nullptr);
    EXPECT_EQ(*set.FindString(516), "Port failed");
}

} // namespace
