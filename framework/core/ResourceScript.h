#pragma once
// Resources of a language library, read from resource scripts (a subset of the
// usual resource-script syntax): string tables, dialog templates, menus, bitmaps,
// cursors, icons, accelerator tables and tool-bar layouts, all by numeric id. Plain data;
// the window layer renders it.
#include "framework/core/WinStyles.h"
#include "framework/core/WinTypes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One control of a dialog template. Positions and sizes are in dialog units.
struct DialogItemTemplate {
    // "BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX" for the
    // short control statements; for CONTROL the class exactly as written.
    std::string className;
    std::string text;
    // Set when the text is a resource number (ICON, or CONTROL with a numeric text);
    // text is then empty.
    std::optional<UINT> textId;
    int id = 0; // as written: IDC_STATIC stays -1
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = 0; // with the statement's default styles and WS_CHILD | WS_VISIBLE
    DWORD exStyle = 0;
    DWORD helpId = 0;
};

struct DialogFontTemplate {
    int pointSize = 0;
    std::string face;
    int weight = 0;
    bool italic = false;
    int charset = 0;
};

struct DialogTemplate {
    UINT id = 0;
    bool extended = false; // DIALOGEX
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    // Without a STYLE statement WS_POPUP | WS_BORDER | WS_SYSMENU; CAPTION adds
    // WS_CAPTION and FONT adds DS_SETFONT, as scripts expect.
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    std::string caption;
    std::optional<DialogFontTemplate> font;
    std::optional<UINT> menuId;
    std::string className; // CLASS statement; empty for the standard dialog class
    std::vector<DialogItemTemplate> items;
};

struct MenuItemTemplate {
    std::string text; // as written, with its '&' mnemonic and "\t" accelerator text
    UINT id = 0;      // 0 for separators and popups
    bool separator = false;
    bool popup = false;
    bool checked = false;
    bool grayed = false;
    bool inactive = false;
    bool help = false;
    bool menuBreak = false;
    bool menuBarBreak = false;
    std::vector<MenuItemTemplate> children; // items of a popup
};

struct MenuTemplate {
    UINT id = 0;
    std::vector<MenuItemTemplate> items;
};

// Accelerator flags (fVirt). Without FVIRTKEY the key is a character code:
// "N" is 'N', "^C" is 3 (Ctrl+C as typed).
inline constexpr std::uint8_t FVIRTKEY = 0x01;
inline constexpr std::uint8_t FNOINVERT = 0x02;
inline constexpr std::uint8_t FSHIFT = 0x04;
inline constexpr std::uint8_t FCONTROL = 0x08;
inline constexpr std::uint8_t FALT = 0x10;

struct AccelEntry {
    std::uint8_t fVirt = 0;
    std::uint16_t key = 0; // virtual-key code with FVIRTKEY, else a character code
    std::uint16_t cmd = 0;
    bool operator==(const AccelEntry&) const = default;
};

// A tool bar's button image size and its buttons in order; 0 stands for a separator.
struct ToolBarTemplate {
    int width = 16;
    int height = 15;
    std::vector<UINT> items;
};

// Fetches the bytes of a file a script names (BITMAP, CURSOR, ICON); the name is as
// written in the script with '/' separators. Returns false when there is no such file.
using ResourceFileLoader = std::function<bool(const std::string& name, std::vector<std::uint8_t>& bytes)>;

// The resources of one module, merged from any number of scripts.
class ResourceSet {
public:
    // Parses one script and adds its resources. On an error nothing of this script
    // is kept and error reads "file:line: what"; an id already defined by this or an
    // earlier script is an error too.
    bool AddScript(std::string_view fileName, std::string_view text, const ResourceFileLoader& loadFile,
                   std::string& error);

    const std::string* FindString(UINT id) const;
    const DialogTemplate* FindDialog(UINT id) const;
    const MenuTemplate* FindMenu(UINT id) const;
    const std::vector<std::uint8_t>* FindBitmap(UINT id) const;
    const std::vector<std::uint8_t>* FindCursor(UINT id) const;
    // An icon's image file (any format the window layer reads, PNG here).
    const std::vector<std::uint8_t>* FindIcon(UINT id) const;
    const std::vector<AccelEntry>* FindAccelerators(UINT id) const;
    const ToolBarTemplate* FindToolBar(UINT id) const;

    const std::map<UINT, std::string>& Strings() const { return m_strings; }
    const std::map<UINT, DialogTemplate>& Dialogs() const { return m_dialogs; }
    const std::map<UINT, MenuTemplate>& Menus() const { return m_menus; }

private:
    std::map<UINT, std::string> m_strings;
    std::map<UINT, DialogTemplate> m_dialogs;
    std::map<UINT, MenuTemplate> m_menus;
    std::map<UINT, std::vector<std::uint8_t>> m_bitmaps;
    std::map<UINT, std::vector<std::uint8_t>> m_cursors;
    std::map<UINT, std::vector<std::uint8_t>> m_icons;
    std::map<UINT, std::vector<AccelEntry>> m_accelerators;
    std::map<UINT, ToolBarTemplate> m_toolBars;
    // "kind id" -> "file:line" of its definition, for duplicate reports across scripts.
    std::map<std::string, std::string> m_origins;
};

// What a language library exports so the framework can read its resources: the
// script texts (names ending in ".rc", parsed in order) and the files they embed.
extern "C" {
struct ResourceFileImage {
    const char* name;
    const unsigned char* bytes;
    unsigned long size;
};
using ResourceImagesFunction = const ResourceFileImage* (*)(int* count);
}
inline constexpr const char* kResourceImagesExport = "TalisoResourceImages";
