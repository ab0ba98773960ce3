#pragma once
// Finds the resource ids that C++ sources hand to the framework's lookups (strings,
// dialog, menu and tool bar templates, bitmaps, cursors, accelerators), so that a test
// can hold them against the language library without a list to keep.
//
// What counts as a use:
// - a named string or message constant (IDS_..., IDP_..., also with an AFX_ prefix)
//   defined with a number;
// - an argument of a lookup (LoadString, FindString, FindDialogTemplate and the other
//   Find... functions of the framework), and of every function found in the sources that
//   passes one of its integer (or resource name) parameters on to one: AfxMessageBox,
//   CDialog's constructor, LoadMenu, a file's own short-hand and so on. Calls through
//   "F<T>(...)", "std::make_unique<T>(...)" and template arguments "F<..., id>" count,
//   and a class template's "Base(...)" reaches the classes it is instantiated with;
// - what such an argument names: a number or named constant (a class's own "IDD" as
//   its members see it), either side of a choice "c ? a : b", a cast of either, the
//   elements of a constant array it indexes, the values a local, a parameter or a
//   member of its class is given, the return values of a function it calls, or a field:
//   by name or by place in the brace lists of the field's struct (tables, "s = {...}",
//   "F({...})", "return {...}") and in "object.field = value";
// - the numbers of a brace list handed to a parameter that holds string ids
//   (std::initializer_list<UINT>, std::span<const UINT>, const UINT (&)[N]; of a list
//   of pairs the second of each pair).
// Anything computed (a sum, a value read from a file or a device) is not followed; nor
// is a common name outside the function, class or constant it belongs to. Tables of
// device texts are walked through their own function instead.
#include "framework/core/WinTypes.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

struct SourceFile {
    std::string name; // as shown in a failure: folder/file
    std::string text;
};

// What the id names in the language library.
enum class ResourceKind { kString, kDialog, kMenu, kBitmap, kCursor, kAccelerators, kToolBar };

struct TextIdUse {
    std::string file;
    int line = 0;
    std::string function; // what hands the id on; empty for a named constant
    UINT id = 0;
    ResourceKind kind = ResourceKind::kString;
};

class SourceTextIds {
public:
    explicit SourceTextIds(const std::vector<SourceFile>& files);

    const std::vector<TextIdUse>& Uses() const { return m_uses; }
    // The ids of the dialog, menu and tool bar templates the code builds itself.
    const std::vector<TextIdUse>& BuiltInCode() const { return m_built; }
    // The text functions found, with the position of their id argument (from 0).
    const std::map<std::string, std::set<std::size_t>>& TextFunctions() const { return m_textFunctions; }

private:
    std::vector<TextIdUse> m_uses;
    std::vector<TextIdUse> m_built;
    std::map<std::string, std::set<std::size_t>> m_textFunctions;
};

// The .h and .cpp files of the given folders under root, with names relative to
// root.
std::vector<SourceFile> ReadSourceFolders(const std::filesystem::path& root, const std::vector<std::string>& folders);
