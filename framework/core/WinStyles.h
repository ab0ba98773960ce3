#pragma once
// Window, dialog and control style bits with their fixed values, as dialog
// templates and the resource-script compiler use them.
#include "framework/core/WinTypes.h"

#include <optional>
#include <string_view>

// One list feeds both the constants and the name lookup of the script parser.
#define TALISO_WINDOW_STYLES(X)                                                    \
    X(WS_OVERLAPPED, 0x00000000u) X(WS_POPUP, 0x80000000u) X(WS_CHILD, 0x40000000u) \
    X(WS_MINIMIZE, 0x20000000u) X(WS_VISIBLE, 0x10000000u) X(WS_DISABLED, 0x08000000u) \
    X(WS_CLIPSIBLINGS, 0x04000000u) X(WS_CLIPCHILDREN, 0x02000000u)               \
    X(WS_MAXIMIZE, 0x01000000u) X(WS_CAPTION, 0x00C00000u) X(WS_BORDER, 0x00800000u) \
    X(WS_DLGFRAME, 0x00400000u) X(WS_VSCROLL, 0x00200000u) X(WS_HSCROLL, 0x00100000u) \
    X(WS_SYSMENU, 0x00080000u) X(WS_THICKFRAME, 0x00040000u) X(WS_GROUP, 0x00020000u) \
    X(WS_TABSTOP, 0x00010000u) X(WS_MINIMIZEBOX, 0x00020000u)                      \
    X(WS_MAXIMIZEBOX, 0x00010000u) X(WS_TILED, 0x00000000u) X(WS_ICONIC, 0x20000000u) \
    X(WS_SIZEBOX, 0x00040000u) X(WS_OVERLAPPEDWINDOW, 0x00CF0000u)                 \
    X(WS_TILEDWINDOW, 0x00CF0000u) X(WS_POPUPWINDOW, 0x80880000u)                  \
    X(WS_CHILDWINDOW, 0x40000000u)                                                 \
    X(WS_EX_DLGMODALFRAME, 0x00000001u) X(WS_EX_NOPARENTNOTIFY, 0x00000004u)       \
    X(WS_EX_TOPMOST, 0x00000008u) X(WS_EX_ACCEPTFILES, 0x00000010u)                \
    X(WS_EX_TRANSPARENT, 0x00000020u) X(WS_EX_MDICHILD, 0x00000040u)               \
    X(WS_EX_TOOLWINDOW, 0x00000080u) X(WS_EX_WINDOWEDGE, 0x00000100u)              \
    X(WS_EX_CLIENTEDGE, 0x00000200u) X(WS_EX_CONTEXTHELP, 0x00000400u)             \
    X(WS_EX_RIGHT, 0x00001000u) X(WS_EX_LEFT, 0x00000000u)                         \
    X(WS_EX_RTLREADING, 0x00002000u) X(WS_EX_LTRREADING, 0x00000000u)              \
    X(WS_EX_LEFTSCROLLBAR, 0x00004000u) X(WS_EX_RIGHTSCROLLBAR, 0x00000000u)       \
    X(WS_EX_CONTROLPARENT, 0x00010000u) X(WS_EX_STATICEDGE, 0x00020000u)           \
    X(WS_EX_APPWINDOW, 0x00040000u) X(WS_EX_OVERLAPPEDWINDOW, 0x00000300u)         \
    X(WS_EX_PALETTEWINDOW, 0x00000188u)

#define TALISO_DIALOG_STYLES(X)                                                    \
    X(DS_ABSALIGN, 0x0001u) X(DS_SYSMODAL, 0x0002u) X(DS_3DLOOK, 0x0004u)          \
    X(DS_FIXEDSYS, 0x0008u) X(DS_NOFAILCREATE, 0x0010u) X(DS_LOCALEDIT, 0x0020u)   \
    X(DS_SETFONT, 0x0040u) X(DS_MODALFRAME, 0x0080u) X(DS_NOIDLEMSG, 0x0100u)      \
    X(DS_SETFOREGROUND, 0x0200u) X(DS_CONTROL, 0x0400u) X(DS_CENTER, 0x0800u)      \
    X(DS_CENTERMOUSE, 0x1000u) X(DS_CONTEXTHELP, 0x2000u) X(DS_SHELLFONT, 0x0048u)

#define TALISO_EDIT_STYLES(X)                                                      \
    X(ES_LEFT, 0x0000u) X(ES_CENTER, 0x0001u) X(ES_RIGHT, 0x0002u)                 \
    X(ES_MULTILINE, 0x0004u) X(ES_UPPERCASE, 0x0008u) X(ES_LOWERCASE, 0x0010u)     \
    X(ES_PASSWORD, 0x0020u) X(ES_AUTOVSCROLL, 0x0040u) X(ES_AUTOHSCROLL, 0x0080u)  \
    X(ES_NOHIDESEL, 0x0100u) X(ES_OEMCONVERT, 0x0400u) X(ES_READONLY, 0x0800u)     \
    X(ES_WANTRETURN, 0x1000u) X(ES_NUMBER, 0x2000u)

#define TALISO_BUTTON_STYLES(X)                                                    \
    X(BS_PUSHBUTTON, 0x0000u) X(BS_DEFPUSHBUTTON, 0x0001u) X(BS_CHECKBOX, 0x0002u) \
    X(BS_AUTOCHECKBOX, 0x0003u) X(BS_RADIOBUTTON, 0x0004u) X(BS_3STATE, 0x0005u)   \
    X(BS_AUTO3STATE, 0x0006u) X(BS_GROUPBOX, 0x0007u) X(BS_USERBUTTON, 0x0008u)    \
    X(BS_AUTORADIOBUTTON, 0x0009u) X(BS_PUSHBOX, 0x000Au) X(BS_OWNERDRAW, 0x000Bu) \
    X(BS_TYPEMASK, 0x000Fu) X(BS_LEFTTEXT, 0x0020u) X(BS_RIGHTBUTTON, 0x0020u)     \
    X(BS_TEXT, 0x0000u) X(BS_ICON, 0x0040u) X(BS_BITMAP, 0x0080u)                  \
    X(BS_LEFT, 0x0100u) X(BS_RIGHT, 0x0200u) X(BS_CENTER, 0x0300u)                 \
    X(BS_TOP, 0x0400u) X(BS_BOTTOM, 0x0800u) X(BS_VCENTER, 0x0C00u)                \
    X(BS_PUSHLIKE, 0x1000u) X(BS_MULTILINE, 0x2000u) X(BS_NOTIFY, 0x4000u)         \
    X(BS_FLAT, 0x8000u)

#define TALISO_STATIC_STYLES(X)                                                    \
    X(SS_LEFT, 0x0000u) X(SS_CENTER, 0x0001u) X(SS_RIGHT, 0x0002u)                 \
    X(SS_ICON, 0x0003u) X(SS_BLACKRECT, 0x0004u) X(SS_GRAYRECT, 0x0005u)           \
    X(SS_WHITERECT, 0x0006u) X(SS_BLACKFRAME, 0x0007u) X(SS_GRAYFRAME, 0x0008u)    \
    X(SS_WHITEFRAME, 0x0009u) X(SS_USERITEM, 0x000Au) X(SS_SIMPLE, 0x000Bu)        \
    X(SS_LEFTNOWORDWRAP, 0x000Cu) X(SS_OWNERDRAW, 0x000Du) X(SS_BITMAP, 0x000Eu)   \
    X(SS_ENHMETAFILE, 0x000Fu) X(SS_ETCHEDHORZ, 0x0010u) X(SS_ETCHEDVERT, 0x0011u) \
    X(SS_ETCHEDFRAME, 0x0012u) X(SS_TYPEMASK, 0x001Fu)                             \
    X(SS_REALSIZECONTROL, 0x0040u) X(SS_NOPREFIX, 0x0080u) X(SS_NOTIFY, 0x0100u)   \
    X(SS_CENTERIMAGE, 0x0200u) X(SS_RIGHTJUST, 0x0400u)                            \
    X(SS_REALSIZEIMAGE, 0x0800u) X(SS_SUNKEN, 0x1000u) X(SS_EDITCONTROL, 0x2000u)  \
    X(SS_ENDELLIPSIS, 0x4000u) X(SS_PATHELLIPSIS, 0x8000u)                         \
    X(SS_WORDELLIPSIS, 0xC000u) X(SS_ELLIPSISMASK, 0xC000u)

#define TALISO_COMBOBOX_STYLES(X)                                                  \
    X(CBS_SIMPLE, 0x0001u) X(CBS_DROPDOWN, 0x0002u) X(CBS_DROPDOWNLIST, 0x0003u)   \
    X(CBS_OWNERDRAWFIXED, 0x0010u) X(CBS_OWNERDRAWVARIABLE, 0x0020u)               \
    X(CBS_AUTOHSCROLL, 0x0040u) X(CBS_OEMCONVERT, 0x0080u) X(CBS_SORT, 0x0100u)    \
    X(CBS_HASSTRINGS, 0x0200u) X(CBS_NOINTEGRALHEIGHT, 0x0400u)                    \
    X(CBS_DISABLENOSCROLL, 0x0800u) X(CBS_UPPERCASE, 0x2000u)                      \
    X(CBS_LOWERCASE, 0x4000u)

#define TALISO_LISTBOX_STYLES(X)                                                   \
    X(LBS_NOTIFY, 0x0001u) X(LBS_SORT, 0x0002u) X(LBS_NOREDRAW, 0x0004u)           \
    X(LBS_MULTIPLESEL, 0x0008u) X(LBS_OWNERDRAWFIXED, 0x0010u)                     \
    X(LBS_OWNERDRAWVARIABLE, 0x0020u) X(LBS_HASSTRINGS, 0x0040u)                   \
    X(LBS_USETABSTOPS, 0x0080u) X(LBS_NOINTEGRALHEIGHT, 0x0100u)                   \
    X(LBS_MULTICOLUMN, 0x0200u) X(LBS_WANTKEYBOARDINPUT, 0x0400u)                  \
    X(LBS_EXTENDEDSEL, 0x0800u) X(LBS_DISABLENOSCROLL, 0x1000u)                    \
    X(LBS_NODATA, 0x2000u) X(LBS_NOSEL, 0x4000u) X(LBS_COMBOBOX, 0x8000u)          \
    X(LBS_STANDARD, 0x00A00003u)

#define TALISO_SCROLLBAR_STYLES(X)                                                 \
    X(SBS_HORZ, 0x0000u) X(SBS_VERT, 0x0001u) X(SBS_TOPALIGN, 0x0002u)             \
    X(SBS_LEFTALIGN, 0x0002u) X(SBS_BOTTOMALIGN, 0x0004u)                          \
    X(SBS_RIGHTALIGN, 0x0004u) X(SBS_SIZEBOXTOPLEFTALIGN, 0x0002u)                 \
    X(SBS_SIZEBOXBOTTOMRIGHTALIGN, 0x0004u) X(SBS_SIZEBOX, 0x0008u)                \
    X(SBS_SIZEGRIP, 0x0010u)

#define TALISO_ALL_STYLES(X)                                                       \
    TALISO_WINDOW_STYLES(X) TALISO_DIALOG_STYLES(X) TALISO_EDIT_STYLES(X)          \
    TALISO_BUTTON_STYLES(X) TALISO_STATIC_STYLES(X) TALISO_COMBOBOX_STYLES(X)      \
    TALISO_LISTBOX_STYLES(X) TALISO_SCROLLBAR_STYLES(X)

#define TALISO_DEFINE_STYLE(name, value) inline constexpr DWORD name = value;
TALISO_ALL_STYLES(TALISO_DEFINE_STYLE)
#undef TALISO_DEFINE_STYLE

// The value of a style constant by its name (case-sensitive), if it is one of the above.
std::optional<DWORD> FindStyleConstant(std::string_view name);
