#include "language/SourceTextIds.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

struct Token {
    enum Kind { kIdent, kNumber, kPunct, kString } kind;
    std::string text;
    int line;
};

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Tokens of a source without its comments; a string or character literal is one token
// whose text does not matter here.
std::vector<Token> Tokenize(const std::string& s)
{
    std::vector<Token> tokens;
    int line = 1;
    std::size_t i = 0;
    const std::size_t n = s.size();
    auto countLines = [&](std::size_t from, std::size_t to) {
        line += int(std::count(s.begin() + from, s.begin() + to, '\n'));
    };
    while (i < n) {
        const char c = s[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '/' && i + 1 < n && s[i + 1] == '/') {
            while (i < n && s[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            const std::size_t end = s.find("*/", i + 2);
            const std::size_t stop = end == std::string::npos ? n : end + 2;
            countLines(i, stop);
            i = stop;
        } else if (c == 'R' && i + 1 < n && s[i + 1] == '"') {
            const std::size_t open = s.find('(', i + 2);
            const std::string close = ")" + s.substr(i + 2, open - i - 2) + "\"";
            const std::size_t end = open == std::string::npos ? std::string::npos : s.find(close, open);
            const std::size_t stop = end == std::string::npos ? n : end + close.size();
            tokens.push_back({Token::kString, "", line});
            countLines(i, stop);
            i = stop;
        } else if (c == '"' || c == '\'') {
            std::size_t j = i + 1;
            while (j < n && s[j] != c && s[j] != '\n') j += s[j] == '\\' ? 2 : 1;
            tokens.push_back({Token::kString, "", line});
            i = std::min(n, j + 1);
        } else if (IsIdentStart(c)) {
            std::size_t j = i;
            while (j < n && IsIdentChar(s[j])) ++j;
            tokens.push_back({Token::kIdent, s.substr(i, j - i), line});
            i = j;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t j = i;
            while (j < n && (IsIdentChar(s[j]) || s[j] == '.' || (s[j] == '\'' && j + 1 < n && IsIdentChar(s[j + 1]))))
                ++j;
            tokens.push_back({Token::kNumber, s.substr(i, j - i), line});
            i = j;
        } else if ((c == ':' && i + 1 < n && s[i + 1] == ':') || (c == '-' && i + 1 < n && s[i + 1] == '>')) {
            tokens.push_back({Token::kPunct, s.substr(i, 2), line});
            i += 2;
        } else {
            tokens.push_back({Token::kPunct, std::string(1, c), line});
            ++i;
        }
    }
    return tokens;
}

// The value of an integer literal (decimal or hex, with any suffix); nothing for others.
std::optional<UINT> NumberValue(const std::string& text)
{
    std::string digits;
    for (const char c : text)
        if (c != '\'') digits += c;
    const bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    std::size_t end = hex ? 2 : 0;
    while (end < digits.size() && (hex ? std::isxdigit(static_cast<unsigned char>(digits[end])) != 0
                                       : std::isdigit(static_cast<unsigned char>(digits[end])) != 0))
        ++end;
    const std::string rest = digits.substr(end);
    if (end == (hex ? 2u : 0u) || rest.find_first_not_of("uUlL") != std::string::npos) return std::nullopt;
    const unsigned long value = std::stoul(digits.substr(0, end), nullptr, hex ? 16 : 10);
    if (value > 0xFFFFu) return std::nullopt;
    return UINT(value);
}

bool IsOpen(const Token& t) { return t.kind == Token::kPunct && (t.text == "(" || t.text == "{" || t.text == "["); }
bool IsClose(const Token& t) { return t.kind == Token::kPunct && (t.text == ")" || t.text == "}" || t.text == "]"); }
bool Is(const Token& t, const char* text) { return t.kind != Token::kString && t.text == text; }

// The index of the bracket that closes the one at open (or the end).
std::size_t Closing(const std::vector<Token>& t, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < t.size(); ++i) {
        if (IsOpen(t[i])) ++depth;
        if (IsClose(t[i]) && --depth == 0) return i;
    }
    return t.size();
}

struct Range {
    std::size_t begin;
    std::size_t end; // one past
};

// The comma-separated parts of [begin, end) at the outer level. Angle brackets count when
// asked for (parameter lists), where they only enclose template arguments.
std::vector<Range> SplitTopLevel(const std::vector<Token>& t, Range r, bool angles)
{
    std::vector<Range> parts;
    if (r.begin >= r.end) return parts;
    int depth = 0;
    std::size_t start = r.begin;
    for (std::size_t i = r.begin; i < r.end; ++i) {
        if (IsOpen(t[i]) || (angles && Is(t[i], "<")))
            ++depth;
        else if (IsClose(t[i]) || (angles && Is(t[i], ">")))
            --depth;
        else if (depth == 0 && Is(t[i], ",")) {
            parts.push_back({start, i});
            start = i + 1;
        }
    }
    parts.push_back({start, r.end});
    return parts;
}

// The index of the ">" that closes the template argument list opened at open (or the end).
std::size_t ClosingAngle(const std::vector<Token>& t, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < t.size(); ++i) {
        if (Is(t[i], "<") || IsOpen(t[i]))
            ++depth;
        else if ((Is(t[i], ">") || IsClose(t[i])) && --depth == 0)
            return i;
        else if (Is(t[i], ";"))
            break;
    }
    return t.size();
}

// Integer types an id can be held in.
const std::set<std::string> kIntegerTypes = {"UINT",  "int",    "DWORD",    "WORD",     "unsigned",
                                             "long",  "short",  "INT",      "ULONG",    "LONG",
                                             "UINT16", "UINT32", "uint16_t", "uint32_t"};

bool IsIntegerType(const Token& t) { return t.kind == Token::kIdent && kIntegerTypes.count(t.text) != 0; }

// What turns an id into a resource name and back.
const std::set<std::string> kIdCasts = {"MAKEINTRESOURCE", "MAKEINTRESOURCEA", "TALISO_INTRESOURCE"};
const std::set<std::string> kResourceNameTypes = {"LPCTSTR", "LPCSTR"};

enum class ParamKind { kOther, kId, kIdList, kIdPairList };

struct Param {
    std::string name;
    ParamKind kind = ParamKind::kOther;
    std::string type; // the last word of its type
};

Param ReadParam(const std::vector<Token>& t, Range r)
{
    // A default value is not part of the declaration.
    int depth = 0;
    for (std::size_t i = r.begin; i < r.end; ++i) {
        if (IsOpen(t[i]) || Is(t[i], "<"))
            ++depth;
        else if (IsClose(t[i]) || Is(t[i], ">"))
            --depth;
        else if (depth == 0 && Is(t[i], "=")) {
            r.end = i;
            break;
        }
    }
    Param param;
    std::string joined;
    std::vector<std::string> typeWords;
    for (std::size_t i = r.begin; i < r.end; ++i) joined += t[i].text;
    // const UINT (&ids)[N]: the name sits in the parentheses.
    for (std::size_t i = r.begin; i + 3 < r.end; ++i)
        if (Is(t[i], "(") && Is(t[i + 1], "&") && t[i + 2].kind == Token::kIdent && Is(t[i + 3], ")"))
            param.name = t[i + 2].text;
    if (param.name.empty()) {
        for (std::size_t i = r.end; i > r.begin; --i)
            if (t[i - 1].kind == Token::kIdent) {
                param.name = t[i - 1].text;
                r.end = i - 1;
                break;
            }
    }
    for (std::size_t i = r.begin; i < r.end; ++i)
        if (t[i].kind == Token::kIdent && !Is(t[i], "const")) param.type = t[i].text;
    // An integer, or a pointer to integers the function indexes.
    bool integer = r.end > r.begin;
    for (std::size_t i = r.begin; i < r.end; ++i)
        if (!Is(t[i], "const") && !Is(t[i], "&") && !Is(t[i], "*"))
            integer = integer && (IsIntegerType(t[i]) || kResourceNameTypes.count(t[i].text));
    if (integer)
        param.kind = ParamKind::kId;
    else if (joined.find("initializer_list<UINT>") != std::string::npos ||
             joined.find("initializer_list<constUINT>") != std::string::npos ||
             joined.find("span<constUINT>") != std::string::npos ||
             joined.find("UINT(&" + param.name + ")[") != std::string::npos)
        param.kind = ParamKind::kIdList;
    else if (joined.find("initializer_list<std::pair<") != std::string::npos &&
             joined.find(",UINT>>") != std::string::npos)
        param.kind = ParamKind::kIdPairList;
    return param;
}

struct Definition {
    std::size_t file;
    std::string cls; // the class a member is defined outside of; empty otherwise
    std::string name;
    std::vector<Param> params;
    std::vector<Param> templateParams;
    std::size_t nameAt;
    Range body;
    bool global;
    std::string returnType; // the word before the name
};

const std::set<std::string> kNotFunctions = {"if",      "for",      "while",    "switch",  "return",
                                             "sizeof",  "catch",    "decltype", "alignof", "static_assert",
                                             "defined", "noexcept", "operator", "alignas"};

// Words before a name that do not make it a declaration.
const std::set<std::string> kNotTypes = {"return", "case", "else", "do", "throw", "new", "delete", "goto", "sizeof"};

struct ParsedFile {
    std::vector<Token> tokens;
    std::set<std::string> headerNames; // functions its own header names
};

// Where a function body starts after its parameter list closed at close: after qualifiers,
// or after a constructor's initialiser list. Nothing for a call.
// The class a member defined at t[at] belongs to: "C::f", "C<T>::f"; empty for others.
std::string OwnerOf(const std::vector<Token>& t, std::size_t at)
{
    if (at < 2 || !Is(t[at - 1], "::")) return "";
    if (t[at - 2].kind == Token::kIdent) return t[at - 2].text;
    if (!Is(t[at - 2], ">")) return "";
    int depth = 0;
    for (std::size_t k = at - 2; k > 0; --k) {
        if (Is(t[k], ">")) ++depth;
        if (Is(t[k], "<") && --depth == 0) return t[k - 1].kind == Token::kIdent ? t[k - 1].text : "";
    }
    return "";
}

std::optional<std::size_t> BodyStart(const std::vector<Token>& t, std::size_t nameAt, std::size_t close)
{
    std::size_t k = close + 1;
    while (k < t.size() && (Is(t[k], "const") || Is(t[k], "override") || Is(t[k], "noexcept") || Is(t[k], "final")))
        ++k;
    if (k < t.size() && Is(t[k], "{")) return k;
    const bool constructor = OwnerOf(t, nameAt) == t[nameAt].text;
    if (!constructor || k >= t.size() || !Is(t[k], ":")) return std::nullopt;
    ++k;
    while (k < t.size()) {
        while (k < t.size() && (t[k].kind == Token::kIdent || Is(t[k], "::") || Is(t[k], "<") || Is(t[k], ">"))) ++k;
        if (k >= t.size() || !(Is(t[k], "(") || Is(t[k], "{"))) return std::nullopt;
        k = Closing(t, k) + 1;
        if (k < t.size() && Is(t[k], ",")) {
            ++k;
            continue;
        }
        return k < t.size() && Is(t[k], "{") ? std::optional<std::size_t>(k) : std::nullopt;
    }
    return std::nullopt;
}

struct Slot {
    ParamKind param;
    ResourceKind kind;
};
// Parameter position -> what it takes; one position may name several resources (a
// frame's id names its menu, its title string and its accelerators).
using Slots = std::multimap<std::size_t, Slot>;

// The functions of the framework that look a resource up by id, and where the id sits.
const std::map<std::string, std::pair<std::size_t, ResourceKind>> kResourceLookups = {
    {"FindString", {0, ResourceKind::kString}},
    {"FindDialogTemplate", {1, ResourceKind::kDialog}},
    {"FindMenuTemplate", {1, ResourceKind::kMenu}},
    {"FindBitmapResource", {1, ResourceKind::kBitmap}},
    {"FindCursorResource", {1, ResourceKind::kCursor}},
    {"FindAcceleratorTable", {1, ResourceKind::kAccelerators}},
    {"FindToolBarTemplate", {1, ResourceKind::kToolBar}},
};

const std::map<std::string, ResourceKind> kResourceTemplates = {
    {"DialogTemplate", ResourceKind::kDialog},
    {"MenuTemplate", ResourceKind::kMenu},
    {"ToolBarTemplate", ResourceKind::kToolBar},
};

class Scanner {
public:
    explicit Scanner(const std::vector<SourceFile>& files) : m_files(files)
    {
        for (const SourceFile& file : files) m_parsed.push_back({Tokenize(file.text), {}});
        for (std::size_t f = 0; f < m_parsed.size(); ++f)
            for (std::size_t i = 0; i < m_parsed[f].tokens.size(); ++i)
                if (const Token& token = m_parsed[f].tokens[i]; token.kind == Token::kIdent)
                    m_occurrences[token.text].push_back({f, i});
        CollectHeaderNames();
        CollectStructMembers();
        CollectInstantiations();
        CollectConstants();
        CollectDefinitions();
        for (const auto& [name, lookup] : kResourceLookups) m_textFunctions[name] = {lookup.first};
        m_textFunctions["LoadString"] = {0, 1};
        Resolve();
    }

    const std::vector<TextIdUse>& Uses() const { return m_uses; }
    const std::vector<TextIdUse>& Built() const { return m_built; }
    const std::map<std::string, std::set<std::size_t>>& TextFunctions() const { return m_textFunctions; }

private:
    static constexpr std::size_t kGlobal = static_cast<std::size_t>(-1);
    static constexpr std::size_t kNoDefinition = static_cast<std::size_t>(-1);

    // A name whose values are ids: a variable or array (its initialisers and assignments),
    // a function (its return values) or a field (the initialisers of its struct). A
    // variable is a local of its definition (scope), a member of a class (owner) or a
    // constant.
    enum class Role { kVariable, kFunction, kField };
    struct Mark {
        std::size_t scope;
        std::string name;
        Role role;
        ResourceKind kind;
        std::string owner;
        auto operator<=>(const Mark&) const = default;
    };

    struct Position {
        std::size_t file;
        std::size_t at;
    };

    static std::string Stem(const std::string& name) { return name.substr(0, name.rfind('.')); }
    static bool IsHeader(const std::string& name)
    {
        return name.size() > 2 && name.compare(name.size() - 2, 2, ".h") == 0;
    }

    void CollectHeaderNames()
    {
        std::map<std::string, std::size_t> headers;
        for (std::size_t f = 0; f < m_files.size(); ++f)
            if (IsHeader(m_files[f].name)) headers[Stem(m_files[f].name)] = f;
        m_ownHeader.assign(m_files.size(), kGlobal);
        for (std::size_t f = 0; f < m_files.size(); ++f) {
            const auto header = headers.find(Stem(m_files[f].name));
            if (header == headers.end()) continue;
            m_ownHeader[f] = header->second;
            const std::vector<Token>& t = m_parsed[header->second].tokens;
            for (std::size_t i = 0; i + 1 < t.size(); ++i)
                if (t[i].kind == Token::kIdent && Is(t[i + 1], "(")) m_parsed[f].headerNames.insert(t[i].text);
        }
    }

    static bool IsTextConstantName(const std::string& name)
    {
        const std::string bare = name.rfind("AFX_", 0) == 0 ? name.substr(4) : name;
        return bare.rfind("IDS_", 0) == 0 || bare.rfind("IDP_", 0) == 0;
    }

    void CollectConstants()
    {
        for (std::size_t f = 0; f < m_parsed.size(); ++f) {
            const std::vector<Token>& t = m_parsed[f].tokens;
            for (std::size_t i = 0; i + 2 < t.size(); ++i) {
                const bool assigned = t[i].kind == Token::kIdent && Is(t[i + 1], "=") &&
                                      t[i + 2].kind == Token::kNumber && IsConstantDeclaration(t, i);
                const bool defined = i > 0 && Is(t[i - 1], "define") && t[i].kind == Token::kIdent &&
                                     t[i + 1].kind == Token::kNumber && t[i + 1].line == t[i].line;
                if (!(assigned || defined)) continue;
                // A sum or another expression is not the constant's whole value.
                const std::size_t after = assigned ? i + 3 : i + 2;
                if (assigned && after < t.size() && !(Is(t[after], ";") || Is(t[after], ",") || Is(t[after], "}")))
                    continue;
                const std::optional<UINT> value = NumberValue(t[assigned ? i + 2 : i + 1].text);
                if (!value) continue;
                m_constants[t[i].text][f] = *value;
                if (const std::string cls = ClassBodyAt(f, i); !cls.empty())
                    m_classConstants[{cls, t[i].text}] = *value;
                if (IsTextConstantName(t[i].text) && *value != 0)
                    m_constantUses.push_back({m_files[f].name, t[i].line, "", *value});
            }
        }
    }

    // Whether the name at t[at] is declared constant: a const or constexpr declaration, or
    // an enumerator. A variable or a designated initialiser is not.
    static bool IsConstantDeclaration(const std::vector<Token>& t, std::size_t at)
    {
        std::size_t k = at;
        while (k > 0 && !Is(t[k - 1], ";") && !Is(t[k - 1], "{") && !Is(t[k - 1], "}") && !Is(t[k - 1], ")")) {
            if (Is(t[k - 1], "constexpr") || Is(t[k - 1], "const")) return true;
            --k;
        }
        if (k == 0 || !Is(t[k - 1], "{")) return false;
        for (std::size_t back = k - 1; back > 0 && back + 5 > k; --back)
            if (Is(t[back - 1], "enum")) return true;
        return false;
    }

    // The innermost class whose body holds token at of file f.
    std::string ClassBodyAt(std::size_t f, std::size_t at) const
    {
        std::string cls;
        std::size_t begin = 0;
        if (const auto bodies = m_classBodies.find(f); bodies != m_classBodies.end())
            for (const auto& [name, body] : bodies->second)
                if (body.begin < at && at < body.end && body.begin >= begin) {
                    cls = name;
                    begin = body.begin;
                }
        return cls;
    }

    // A class constant as class cls (or one of its bases) sees it.
    std::optional<UINT> ClassConstant(const std::string& cls, const std::string& name, int depth = 0) const
    {
        if (cls.empty() || depth > 20) return std::nullopt;
        if (const auto found = m_classConstants.find({cls, name}); found != m_classConstants.end())
            return found->second;
        if (const auto bases = m_bases.find(cls); bases != m_bases.end())
            for (const std::string& base : bases->second)
                if (const std::optional<UINT> value = ClassConstant(base, name, depth + 1)) return value;
        return std::nullopt;
    }

    // A constant's value as file sees it: its own, its header's, or the one value every
    // definition of the name agrees on.
    std::optional<UINT> Constant(std::size_t file, const std::string& name) const
    {
        const auto found = m_constants.find(name);
        if (found == m_constants.end()) return std::nullopt;
        for (const std::size_t own : {file, m_ownHeader[file]})
            if (const auto value = found->second.find(own); value != found->second.end()) return value->second;
        std::set<UINT> values;
        for (const auto& [f, value] : found->second) values.insert(value);
        return values.size() == 1 ? std::optional<UINT>(*values.begin()) : std::nullopt;
    }

    // The parameters of a template that the declaration ending before t[at] opens with.
    static std::vector<Param> TemplateParams(const std::vector<Token>& t, std::size_t at)
    {
        std::size_t k = at;
        while (k > 0 && !Is(t[k - 1], ";") && !Is(t[k - 1], "{") && !Is(t[k - 1], "}")) --k;
        if (k + 1 >= at || !Is(t[k], "template") || !Is(t[k + 1], "<")) return {};
        std::vector<Param> params;
        for (const Range& part : SplitTopLevel(t, {k + 2, ClosingAngle(t, k + 1)}, true))
            params.push_back(ReadParam(t, part));
        return params;
    }

    void CollectDefinitions()
    {
        for (std::size_t f = 0; f < m_parsed.size(); ++f) {
            const std::vector<Token>& t = m_parsed[f].tokens;
            for (std::size_t i = 0; i + 1 < t.size(); ++i) {
                if (t[i].kind != Token::kIdent || !Is(t[i + 1], "(") || kNotFunctions.count(t[i].text)) continue;
                if (i > 0 && (Is(t[i - 1], ".") || Is(t[i - 1], "->"))) continue;
                // A constructor's initialiser ("...) : m_a(x), m_b(y) {") is not a definition.
                const bool afterList = i >= 2 && (Is(t[i - 2], ")") || Is(t[i - 2], "noexcept"));
                if (i >= 2 && (Is(t[i - 1], ",") || (Is(t[i - 1], ":") && afterList))) continue;
                const std::size_t close = Closing(t, i + 1);
                const std::optional<std::size_t> body = BodyStart(t, i, close);
                if (!body) continue;
                const std::string cls = OwnerOf(t, i);
                const bool member = i >= 2 && Is(t[i - 1], "::") && t[i - 2].kind == Token::kIdent;
                const std::size_t typeAt = member ? i - 3 : i - 1;
                Definition def{f,  cls, t[i].text, {}, TemplateParams(t, i), i, {*body, Closing(t, *body)}, false,
                               typeAt < i && t[typeAt].kind == Token::kIdent ? t[typeAt].text : ""};
                for (const Range& part : SplitTopLevel(t, {i + 2, close}, true))
                    def.params.push_back(ReadParam(t, part));
                def.global = IsHeader(m_files[f].name) || m_parsed[f].headerNames.count(def.name) != 0 ||
                             IsExternal(t, i);
                m_definitions.push_back(def);
                for (std::size_t p = 0; p < def.params.size(); ++p)
                    if (def.params[p].kind == ParamKind::kIdList || def.params[p].kind == ParamKind::kIdPairList)
                        Register(def, p, {def.params[p].kind, ResourceKind::kString});
            }
        }
    }

    // For a class template's type parameter, the classes it is instantiated with
    // ("X<A>" for "template <class P> class X"), so that a call "P(...)" in its members
    // reaches their constructors.
    void CollectInstantiations()
    {
        for (const auto& [cls, params] : m_classTemplateParams) {
            const auto found = m_occurrences.find(cls);
            if (found == m_occurrences.end()) continue;
            for (const Position& at : found->second) {
                const std::vector<Token>& t = m_parsed[at.file].tokens;
                if (at.at + 1 >= t.size() || !Is(t[at.at + 1], "<")) continue;
                const std::vector<Range> args = SplitTopLevel(t, {at.at + 2, ClosingAngle(t, at.at + 1)}, true);
                for (std::size_t p = 0; p < args.size() && p < params.size(); ++p)
                    if (args[p].end == args[p].begin + 1 && t[args[p].begin].kind == Token::kIdent &&
                        t[args[p].begin].text != params[p])
                        m_instantiations[params[p]].insert(t[args[p].begin].text);
            }
        }
    }

    // Whether a function defined at t[at] can be called from other files: a member, or
    // a free function neither static nor in an unnamed namespace.
    static bool IsExternal(const std::vector<Token>& t, std::size_t at)
    {
        if (at >= 2 && Is(t[at - 1], "::")) return true;
        for (std::size_t k = at; k > 0 && !Is(t[k - 1], ";") && !Is(t[k - 1], "}") && !Is(t[k - 1], "{"); --k)
            if (Is(t[k - 1], "static") || Is(t[k - 1], "inline")) return false;
        for (std::size_t k = 0; k + 1 < at; ++k)
            if (Is(t[k], "namespace") && Is(t[k + 1], "{") && Closing(t, k + 1) > at) return false;
        return true;
    }

    // The data members of every struct or class, by name: the type and the position
    // among the members, for initialisers that list the members in order.
    void CollectStructMembers()
    {
        for (std::size_t f = 0; f < m_parsed.size(); ++f) {
            const std::vector<Token>& t = m_parsed[f].tokens;
            for (std::size_t i = 0; i + 2 < t.size(); ++i) {
                if (!(Is(t[i], "struct") || Is(t[i], "class")) || t[i + 1].kind != Token::kIdent) continue;
                // Not a template parameter ("class T>", "class T,") nor a declaration.
                std::size_t open = i + 2;
                bool bases = false;
                while (open < t.size() && !Is(t[open], "{") && !Is(t[open], ";") && !Is(t[open], "(") &&
                       !((Is(t[open], ">") || Is(t[open], ",")) && !bases))
                    bases = Is(t[open++], ":") || bases;
                if (open >= t.size() || !Is(t[open], "{")) continue;
                m_classBodies[f].push_back({t[i + 1].text, {open, Closing(t, open)}});
                for (const Param& param : TemplateParams(t, i))
                    m_classTemplateParams[t[i + 1].text].push_back(param.name);
                for (std::size_t k = i + 2; bases && k < open; ++k)
                    if (t[k].kind == Token::kIdent && !Is(t[k], "public") && !Is(t[k], "protected") &&
                        !Is(t[k], "private") && !Is(t[k], "virtual"))
                        m_bases[t[i + 1].text].insert(t[k].text);
                std::size_t index = 0;
                std::size_t start = open + 1;
                bool function = false;
                const std::size_t close = Closing(t, open);
                for (std::size_t k = start; k < close; ++k) {
                    if (Is(t[k], "(") && k > start && IsMacroName(t[k - 1].text) && k - 1 == start) {
                        k = Closing(t, k); // DECLARE_...(...) without a semicolon
                        start = k + 1;
                    } else if (Is(t[k], "(")) {
                        function = true;
                        k = Closing(t, k);
                    } else if (Is(t[k], "{")) {
                        k = Closing(t, k);
                        if (function) { // a member function's body ends its statement
                            start = k + 1;
                            function = false;
                        }
                    } else if (Is(t[k], ":") && k == start + 1) { // public: and the like
                        start = k + 1;
                    } else if (Is(t[k], ";")) {
                        if (!function)
                            if (const std::optional<std::string> name = MemberName(t, {start, k}))
                                m_members[*name].push_back({t[i + 1].text, index++});
                        start = k + 1;
                        function = false;
                    }
                }
                i = open;
            }
        }
    }

    static bool IsMacroName(const std::string& name)
    {
        return std::all_of(name.begin(), name.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return std::isupper(u) || std::isdigit(u) || c == '_';
        });
    }

    // The name a data member statement [r.begin, r.end) declares; nothing for others.
    static std::optional<std::string> MemberName(const std::vector<Token>& t, Range r)
    {
        if (r.end <= r.begin + 1) return std::nullopt;
        for (const char* word : {"static", "using", "typedef", "friend", "enum", "struct", "class", "template"})
            for (std::size_t k = r.begin; k < r.end; ++k)
                if (Is(t[k], word)) return std::nullopt;
        std::size_t end = r.end;
        for (std::size_t k = r.begin; k < r.end; ++k)
            if (Is(t[k], "=") || Is(t[k], "{") || Is(t[k], "[")) {
                end = k;
                break;
            }
        if (end <= r.begin + 1 || t[end - 1].kind != Token::kIdent) return std::nullopt;
        return t[end - 1].text;
    }

    void Register(const Definition& def, std::size_t index, Slot slot)
    {
        const std::size_t scope = def.global ? kGlobal : def.file;
        Slots& slots = m_kinds[{scope, def.name}][def.cls];
        const auto [first, last] = slots.equal_range(index);
        for (auto known = first; known != last; ++known)
            if (known->second.kind == slot.kind) return;
        slots.insert({index, slot});
        m_textFunctions[def.name].insert(index);
        m_changed = true;
    }

    // The id parameters of the text function called at t[at] in file f, by position. A
    // member call (after "." or "->") reaches no function that only its own file knows. A
    // call inside a member of class cls reaches that class's function of the name when it
    // has one; otherwise any function of the name may be meant.
    Slots SlotsOfCall(std::size_t f, const std::vector<Token>& t, std::size_t at, std::size_t argCount,
                      const std::string& cls, const std::string& name) const
    {
        if (name == "LoadString") return {{argCount >= 3 ? 1u : 0u, {ParamKind::kId, ResourceKind::kString}}};
        if (const auto lookup = kResourceLookups.find(name); lookup != kResourceLookups.end())
            return {{lookup->second.first, {ParamKind::kId, lookup->second.second}}};
        const bool member = at > 0 && (Is(t[at - 1], ".") || Is(t[at - 1], "->"));
        Slots slots;
        for (const std::size_t scope : {f, kGlobal}) {
            if (member && scope != kGlobal) continue;
            const auto found = m_kinds.find({scope, name});
            if (found == m_kinds.end()) continue;
            if (const auto own = found->second.find(cls); !member && !cls.empty() && own != found->second.end())
                return own->second;
            for (const auto& [owner, byIndex] : found->second) slots.insert(byIndex.begin(), byIndex.end());
        }
        return slots;
    }

    // The innermost definition whose parameters or body hold token at of file f.
    std::size_t DefinitionAt(std::size_t f, std::size_t at) const
    {
        std::size_t found = kNoDefinition;
        for (std::size_t d = 0; d < m_definitions.size(); ++d) {
            const Definition& def = m_definitions[d];
            if (def.file == f && def.nameAt < at && at < def.body.end &&
                (found == kNoDefinition || m_definitions[found].nameAt < def.nameAt))
                found = d;
        }
        return found;
    }

    void Resolve()
    {
        do {
            m_changed = false;
            m_uses = m_constantUses;
            for (std::size_t f = 0; f < m_parsed.size(); ++f) {
                CollectCalls(f);
                CollectTemplateUses(f);
            }
            const std::set<Mark> marks = m_marks;
            for (const Mark& mark : marks) CollectSources(mark);
        } while (m_changed);
        std::set<std::tuple<std::string, int, std::string, UINT, ResourceKind>> seen;
        std::erase_if(m_uses, [&](const TextIdUse& use) {
            return !seen.insert({use.file, use.line, use.function, use.id, use.kind}).second;
        });
        // The ids of the templates the code builds itself.
        std::vector<TextIdUse> uses = std::move(m_uses);
        m_uses.clear();
        for (const auto& [type, kind] : kResourceTemplates) CollectSources({kGlobal, "id", Role::kField, kind, type});
        m_built = std::move(m_uses);
        m_uses = std::move(uses);
    }

    void AddUse(std::size_t f, const Token& token, UINT id, const std::string& via, ResourceKind kind)
    {
        if (id != 0) m_uses.push_back({m_files[f].name, token.line, via, id, kind});
    }

    void MarkName(Mark mark)
    {
        if (m_marks.insert(mark).second) m_changed = true;
    }

    // What an expression handed on as an id names: a number, a named constant, either side
    // of a choice, a parameter of the definition it sits in, a variable, a field, an
    // element of an array, or a function's result. Anything else (a sum, a computed value)
    // is not followed.
    void Follow(std::size_t f, Range r, std::size_t def, const std::string& via, ResourceKind kind)
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        for (bool stripped = true; stripped && r.end > r.begin;) {
            stripped = false;
            if (r.end - r.begin >= 2 && Is(t[r.begin], "(") && Closing(t, r.begin) == r.end - 1) {
                ++r.begin;
                --r.end;
                stripped = true;
            } else if (r.end - r.begin >= 3 && IsIntegerType(t[r.begin]) && Is(t[r.begin + 1], "(") &&
                       Closing(t, r.begin + 1) == r.end - 1) {
                r = {r.begin + 2, r.end - 1};
                stripped = true;
            } else if (r.end - r.begin >= 3 && kIdCasts.count(t[r.begin].text) && Is(t[r.begin + 1], "(") &&
                       Closing(t, r.begin + 1) == r.end - 1) {
                r = {r.begin + 2, r.end - 1};
                stripped = true;
            } else if (r.end - r.begin >= 5 && (Is(t[r.begin], "static_cast") || Is(t[r.begin], "reinterpret_cast")) &&
                       Is(t[r.begin + 1], "<")) {
                const std::size_t open = ClosingAngle(t, r.begin + 1) + 1;
                if (open < r.end && Is(t[open], "(") && Closing(t, open) == r.end - 1) {
                    r = {open + 1, r.end - 1};
                    stripped = true;
                }
            }
        }
        if (r.end <= r.begin) return;
        int depth = 0;
        std::optional<std::size_t> question;
        int pending = 0;
        for (std::size_t i = r.begin; i < r.end; ++i) {
            if (IsOpen(t[i]))
                ++depth;
            else if (IsClose(t[i]))
                --depth;
            else if (depth == 0 && Is(t[i], "?")) {
                if (!question) question = i;
                ++pending;
            } else if (depth == 0 && Is(t[i], ":") && question && --pending == 0) {
                Follow(f, {*question + 1, i}, def, via, kind);
                Follow(f, {i + 1, r.end}, def, via, kind);
                return;
            }
        }
        // A field of whatever object: "texts.prompt", "m_kind->name", "rows[i].id".
        if (r.end - r.begin >= 3 && t[r.end - 1].kind == Token::kIdent &&
            (Is(t[r.end - 2], ".") || Is(t[r.end - 2], "->"))) {
            const std::string& field = t[r.end - 1].text;
            std::string owner = ObjectType(f, def, {r.begin, r.end - 2});
            const auto members = m_members.find(field);
            if (owner.empty() && members != m_members.end() && members->second.size() == 1)
                owner = members->second.front().first;
            // The id of a template in hand names one that exists: the library's, or one
            // the framework builds itself.
            if (!owner.empty() && !kResourceTemplates.count(owner))
                MarkName({kGlobal, field, Role::kField, kind, owner});
            return;
        }
        // A qualified name counts by its last part.
        std::size_t first = r.begin;
        while (first + 2 < r.end && t[first].kind == Token::kIdent && Is(t[first + 1], "::")) first += 2;
        if (t[first].kind != Token::kIdent && t[first].kind != Token::kNumber) return;
        const std::string& name = t[first].text;
        if (r.end - first == 1) {
            if (t[first].kind == Token::kNumber) {
                if (const std::optional<UINT> id = NumberValue(name)) AddUse(f, t[first], *id, via, kind);
            } else if (const std::optional<UINT> id = ScopedConstant(f, def, r, first)) {
                AddUse(f, t[first], *id, via, kind);
            } else if (!FollowParameter(def, name, kind)) {
                MarkVariable(def, name, kind);
            }
            return;
        }
        if (t[first].kind != Token::kIdent || Closing(t, first + 1) != r.end - 1) return;
        if (Is(t[first + 1], "[") && !FollowParameter(def, name, kind)) MarkVariable(def, name, kind);
        if (Is(t[first + 1], "(") && first == r.begin) MarkName({kGlobal, name, Role::kFunction, kind, ""});
    }

    // The constant t[at] names: of the class it is qualified with ("C::IDD") or of the
    // class of the definition it sits in, else of the file.
    std::optional<UINT> ScopedConstant(std::size_t f, std::size_t def, Range r, std::size_t at) const
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        const std::string cls = at >= r.begin + 2 ? t[at - 2].text
                                : def != kNoDefinition ? m_definitions[def].cls
                                                       : ClassBodyAt(f, at);
        if (const std::optional<UINT> value = ClassConstant(cls, t[at].text)) return value;
        return Constant(f, t[at].text);
    }

    // A local of the definition, a member of its class, or a constant; nothing else is
    // followed, so that a common name does not pull in every value it is given.
    void MarkVariable(std::size_t def, const std::string& name, ResourceKind kind)
    {
        if (IsLocal(def, name)) {
            MarkName({def, name, Role::kVariable, kind, ""});
            return;
        }
        const std::string cls = def == kNoDefinition ? "" : m_definitions[def].cls;
        if (const auto members = m_members.find(name); members != m_members.end() && !cls.empty())
            for (const auto& [owner, index] : members->second)
                if (owner == cls) {
                    MarkName({kGlobal, name, Role::kVariable, kind, cls});
                    return;
                }
        if (const auto found = m_occurrences.find(name); found != m_occurrences.end())
            for (const Position& at : found->second)
                if (DefinitionAt(at.file, at.at) == kNoDefinition &&
                    IsConstantDeclaration(m_parsed[at.file].tokens, at.at)) {
                    MarkName({kGlobal, name, Role::kVariable, kind, ""});
                    return;
                }
    }

    // The declared type of an object expression "name" or "name[...]" as seen from the
    // definition: a local, a parameter, a member or a global of its file or header. For
    // a template ("std::array<Row, N>") its first argument. Empty when not found.
    std::string ObjectType(std::size_t f, std::size_t def, Range object) const
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        if (object.end <= object.begin || t[object.begin].kind != Token::kIdent) return "";
        if (object.end - object.begin > 1 &&
            !(Is(t[object.begin + 1], "[") && Closing(t, object.begin + 1) == object.end - 1))
            return "";
        const auto found = m_occurrences.find(t[object.begin].text);
        if (found == m_occurrences.end()) return "";
        const std::size_t header = m_ownHeader[f];
        for (int pass = 0; pass < 2; ++pass)
            for (const Position& at : found->second) {
                const bool here = at.file == f && (def == kNoDefinition || (m_definitions[def].nameAt < at.at &&
                                                                            at.at < m_definitions[def].body.end));
                if (pass == 0 ? !here : (at.file != f && at.file != header)) continue;
                if (const std::string type = DeclaredType(m_parsed[at.file].tokens, at.at); !type.empty()) return type;
            }
        return "";
    }

    static std::string DeclaredType(const std::vector<Token>& t, std::size_t at)
    {
        if (!IsDeclaredAt(t, at)) return "";
        std::size_t k = at;
        while (k > 0 && (Is(t[k - 1], "&") || Is(t[k - 1], "*") || Is(t[k - 1], "const"))) --k;
        if (k == 0) return "";
        if (t[k - 1].kind == Token::kIdent) return t[k - 1].text;
        if (!Is(t[k - 1], ">")) return "";
        int depth = 0;
        for (std::size_t open = k - 1; open > 0; --open) {
            if (Is(t[open], ">")) ++depth;
            if (Is(t[open], "<") && --depth == 0) {
                std::size_t first = open + 1;
                while (first < k && (Is(t[first], "const") || Is(t[first + 1], "::")))
                    first += Is(t[first], "const") ? 1 : 2;
                return first < k && t[first].kind == Token::kIdent ? t[first].text : "";
            }
        }
        return "";
    }

    // A parameter (or template parameter) of the definition that holds an id makes its
    // function a text function at that position.
    bool FollowParameter(std::size_t def, const std::string& name, ResourceKind kind)
    {
        if (def == kNoDefinition) return false;
        const Definition& d = m_definitions[def];
        for (std::size_t p = 0; p < d.params.size(); ++p)
            if (d.params[p].name == name) {
                if (d.params[p].kind == ParamKind::kId) {
                    Register(d, p, {ParamKind::kId, kind});
                    MarkName({def, name, Role::kVariable, kind, ""}); // what the body assigns to it
                }
                return true;
            }
        for (std::size_t p = 0; p < d.templateParams.size(); ++p)
            if (d.templateParams[p].name == name) {
                if (d.templateParams[p].kind == ParamKind::kId &&
                    m_templateKinds[d.name].insert({p, kind}).second)
                    m_changed = true;
                return true;
            }
        return false;
    }

    // Whether the definition declares a variable of the name in its body.
    bool IsLocal(std::size_t def, const std::string& name) const
    {
        if (def == kNoDefinition) return false;
        const Definition& d = m_definitions[def];
        const std::vector<Token>& t = m_parsed[d.file].tokens;
        for (std::size_t k = d.body.begin + 1; k < d.body.end; ++k)
            if (t[k].text == name && t[k].kind == Token::kIdent && IsDeclaredAt(t, k)) return true;
        return false;
    }

    static bool IsDeclaredAt(const std::vector<Token>& t, std::size_t k)
    {
        if (k == 0) return false;
        const Token& before = t[k - 1];
        return (before.kind == Token::kIdent && !kNotTypes.count(before.text)) || Is(before, ">") ||
               ((Is(before, "&") || Is(before, "*")) && k >= 2 &&
                (t[k - 2].kind == Token::kIdent || Is(t[k - 2], ">")));
    }

    // Whether a declaration of the name gives it an integer type (or an array of one).
    bool IsDeclaredInteger(const Mark& mark) const
    {
        const std::vector<Position> occurrences =
            mark.scope == kGlobal ? m_occurrences.at(mark.name) : Occurrences(mark);
        for (const Position& at : occurrences) {
            const std::vector<Token>& t = m_parsed[at.file].tokens;
            std::size_t k = at.at;
            while (k > 0 && (Is(t[k - 1], "&") || Is(t[k - 1], "*") || Is(t[k - 1], "const"))) --k;
            if (k == 0) continue;
            if (IsIntegerType(t[k - 1])) return true;
            if (Is(t[k - 1], ">")) {
                std::size_t open = k - 1;
                int depth = 0;
                for (; open > 0; --open) {
                    if (Is(t[open], ">")) ++depth;
                    if (Is(t[open], "<") && --depth == 0) break;
                }
                if (open + 1 < at.at && IsIntegerType(t[open + 1])) return true;
            }
        }
        return false;
    }

    bool DerivesFrom(const std::string& cls, const std::string& base, int depth = 0) const
    {
        if (cls == base) return true;
        const auto found = m_bases.find(cls);
        if (found == m_bases.end() || depth > 20) return false;
        return std::any_of(found->second.begin(), found->second.end(),
                           [&](const std::string& next) { return DerivesFrom(next, base, depth + 1); });
    }

    std::vector<Position> Occurrences(const Mark& mark) const
    {
        const auto found = m_occurrences.find(mark.name);
        if (found == m_occurrences.end()) return {};
        if (mark.scope == kGlobal) {
            // A constant is given its values where it is declared; a member in its own
            // class's functions.
            std::vector<Position> own;
            for (const Position& at : found->second) {
                const std::size_t def = DefinitionAt(at.file, at.at);
                if (mark.owner.empty() ? def == kNoDefinition
                                       : def != kNoDefinition && DerivesFrom(m_definitions[def].cls, mark.owner))
                    own.push_back(at);
            }
            return own;
        }
        const Definition& d = m_definitions[mark.scope];
        std::vector<Position> inside;
        for (const Position& at : found->second)
            if (at.file == d.file && d.nameAt < at.at && at.at < d.body.end) inside.push_back(at);
        return inside;
    }

    // The values a marked name is given.
    void CollectSources(const Mark& mark)
    {
        if (mark.role == Role::kField) {
            CollectPositionalValues(mark);
            CollectFieldAssignments(mark);
            return;
        }
        if (mark.role == Role::kFunction) {
            for (std::size_t d = 0; d < m_definitions.size(); ++d) {
                const Definition& def = m_definitions[d];
                if (def.name != mark.name || !kIntegerTypes.count(def.returnType)) continue;
                const std::vector<Token>& t = m_parsed[def.file].tokens;
                for (std::size_t k = def.body.begin; k < def.body.end; ++k)
                    if (Is(t[k], "return"))
                        FollowValue(def.file, ExpressionAt(t, k + 1), d, mark.name + "()", mark.kind);
            }
            return;
        }
        if (!IsDeclaredInteger(mark)) return;
        for (const Position& at : Occurrences(mark)) {
            const std::vector<Token>& t = m_parsed[at.file].tokens;
            std::size_t k = at.at + 1;
            if (k < t.size() && Is(t[k], "[")) k = Closing(t, k) + 1;
            if (k + 1 >= t.size()) continue;
            const std::size_t def = mark.scope == kGlobal ? DefinitionAt(at.file, at.at) : mark.scope;
            if (Is(t[k], "=") && !Is(t[k + 1], "=") && !(at.at > 0 && Is(t[at.at - 1], "operator")))
                FollowValue(at.file, ExpressionAt(t, k + 1), def, mark.name, mark.kind);
            else if (Is(t[k], "{") || (Is(t[k], "(") && at.at > 0 && (Is(t[at.at - 1], ":") || Is(t[at.at - 1], ","))))
                FollowValue(at.file, {k + 1, Closing(t, k)}, def, mark.name, mark.kind);
            else if (Is(t[k], ":") && IsDeclaredAt(t, at.at) && t[k + 1].kind == Token::kIdent)
                FollowValue(at.file, ExpressionAt(t, k + 1), def, mark.name, mark.kind); // for (UINT id : ids)
        }
    }

    // "object.field = value" and "object->field = value" for an object of the field's struct.
    void CollectFieldAssignments(const Mark& mark)
    {
        for (const Position& at : m_occurrences[mark.name]) {
            const std::vector<Token>& t = m_parsed[at.file].tokens;
            if (at.at < 2 || !(Is(t[at.at - 1], ".") || Is(t[at.at - 1], "->")) || at.at + 2 >= t.size() ||
                !Is(t[at.at + 1], "=") || Is(t[at.at + 2], "="))
                continue;
            std::size_t object = at.at - 2;
            if (Is(t[object], "]")) {
                int depth = 0;
                for (; object > 0; --object) {
                    if (Is(t[object], "]")) ++depth;
                    if (Is(t[object], "[") && --depth == 0) break;
                }
                if (object == 0) continue;
                --object;
            }
            const std::size_t def = DefinitionAt(at.file, at.at);
            if (ObjectType(at.file, def, {object, at.at - 1}) == mark.owner)
                FollowValue(at.file, ExpressionAt(t, at.at + 2), def, mark.name, mark.kind);
        }
    }

    // The expression that starts at begin and ends before ";", "," or a closing bracket.
    static Range ExpressionAt(const std::vector<Token>& t, std::size_t begin)
    {
        int depth = 0;
        std::size_t k = begin;
        for (; k < t.size(); ++k) {
            if (IsOpen(t[k])) ++depth;
            if (IsClose(t[k]) && --depth < 0) break;
            if (depth == 0 && (Is(t[k], ";") || Is(t[k], ","))) break;
        }
        return {begin, k};
    }

    // A value, or every element of a brace list.
    void FollowValue(std::size_t f, Range r, std::size_t def, const std::string& via, ResourceKind kind)
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        if (r.end > r.begin && Is(t[r.begin], "{") && Closing(t, r.begin) == r.end - 1) {
            for (const Range& item : SplitTopLevel(t, {r.begin + 1, r.end - 1}, false))
                FollowValue(f, item, def, via, kind);
            return;
        }
        Follow(f, r, def, via, kind);
    }

    // Brace lists that give a marked field of its struct, by name or in order: objects
    // ("S s{...}", "S s = {...}", "S{...}", "s = {...}" for a declared S s) and arrays of
    // them ("S a[] = {...}", "std::array<S, N> a = {{...}}").
    void CollectPositionalValues(const Mark& mark)
    {
        const auto members = m_members.find(mark.name);
        if (members == m_members.end()) return;
        for (const auto& [type, index] : members->second) {
            if (type != mark.owner) continue;
            const auto found = m_occurrences.find(type);
            if (found == m_occurrences.end()) continue;
            std::map<std::size_t, std::set<std::string>> variables; // file -> names of type
            for (const Position& at : found->second) {
                const std::vector<Token>& t = m_parsed[at.file].tokens;
                std::size_t k = at.at + 1;
                bool array = false;
                if (at.at > 0 && Is(t[at.at - 1], "<") && k < t.size() && (Is(t[k], ",") || Is(t[k], ">"))) {
                    k = ClosingAngle(t, at.at - 1) + 1;
                    array = true;
                }
                while (k < t.size() && (Is(t[k], "&") || Is(t[k], "*"))) ++k;
                if (k < t.size() && t[k].kind == Token::kIdent) {
                    const std::string& name = t[k].text;
                    ++k;
                    if (k < t.size() && Is(t[k], "[")) {
                        k = Closing(t, k) + 1;
                        array = true;
                    }
                    if (!array) variables[at.file].insert(name);
                    if (k < t.size() && Is(t[k], "=")) ++k;
                } else if (array) {
                    continue;
                }
                if (k >= t.size() || !Is(t[k], "{")) continue;
                const Range list{k, Closing(t, k) + 1};
                const std::size_t def = DefinitionAt(at.file, at.at);
                if (array)
                    FollowArrayMember(at.file, list, index, def, mark);
                else
                    FollowMember(at.file, list, index, def, mark);
            }
            // "F({...})" for a parameter of the struct's type.
            for (const Definition& def : m_definitions)
                for (std::size_t p = 0; p < def.params.size(); ++p) {
                    if (def.params[p].type != type) continue;
                    for (const Position& call : m_occurrences[def.name]) {
                        const std::vector<Token>& t = m_parsed[call.file].tokens;
                        if (call.at + 1 >= t.size() || !Is(t[call.at + 1], "(")) continue;
                        const std::vector<Range> args =
                            SplitTopLevel(t, {call.at + 2, Closing(t, call.at + 1)}, false);
                        if (p < args.size() && Is(t[args[p].begin], "{"))
                            FollowMember(call.file, args[p], index, DefinitionAt(call.file, call.at), mark);
                    }
                }
            // "return {...}" of a function that returns the struct.
            for (std::size_t d = 0; d < m_definitions.size(); ++d) {
                const Definition& def = m_definitions[d];
                if (def.returnType != type) continue;
                const std::vector<Token>& t = m_parsed[def.file].tokens;
                for (std::size_t k = def.body.begin; k + 1 < def.body.end; ++k)
                    if (Is(t[k], "return") && Is(t[k + 1], "{"))
                        FollowMember(def.file, {k + 1, Closing(t, k + 1) + 1}, index, d, mark);
            }
            for (const auto& [f, names] : variables) {
                const std::vector<Token>& t = m_parsed[f].tokens;
                for (std::size_t k = 0; k + 2 < t.size(); ++k)
                    if (t[k].kind == Token::kIdent && names.count(t[k].text) && Is(t[k + 1], "=") && Is(t[k + 2], "{"))
                        FollowMember(f, {k + 2, Closing(t, k + 2) + 1}, index, DefinitionAt(f, k), mark);
            }
        }
    }

    void FollowArrayMember(std::size_t f, Range list, std::size_t index, std::size_t def, const Mark& mark)
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        std::vector<Range> items = SplitTopLevel(t, {list.begin + 1, list.end - 1}, false);
        // std::array's own braces around the elements.
        if (items.size() == 1 && Is(t[items[0].begin], "{") && items[0].begin + 1 < items[0].end &&
            Is(t[items[0].begin + 1], "{"))
            items = SplitTopLevel(t, {items[0].begin + 1, items[0].end - 1}, false);
        for (const Range& item : items)
            if (item.end > item.begin && Is(t[item.begin], "{")) FollowMember(f, item, index, def, mark);
    }

    void FollowMember(std::size_t f, Range object, std::size_t index, std::size_t def, const Mark& mark)
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        const std::vector<Range> items = SplitTopLevel(t, {object.begin + 1, object.end - 1}, false);
        bool designated = false;
        for (const Range& item : items)
            if (item.end >= item.begin + 3 && Is(t[item.begin], ".")) {
                designated = true;
                if (t[item.begin + 1].text == mark.name && Is(t[item.begin + 2], "="))
                    FollowValue(f, {item.begin + 3, item.end}, def, "." + mark.name, mark.kind);
            }
        if (!designated && index < items.size()) FollowValue(f, items[index], def, "." + mark.name, mark.kind);
    }

    // Calls of text functions within file f; the ids their id arguments name.
    void CollectCalls(std::size_t f)
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        for (std::size_t i = 0; i + 2 < t.size(); ++i) {
            // "std::make_unique<T>(...)" calls T's constructor.
            const bool made = (Is(t[i], "make_unique") || Is(t[i], "make_shared")) && Is(t[i + 1], "<");
            const std::size_t callee = made ? i + 2 : i;
            if (t[callee].kind != Token::kIdent) continue;
            std::set<std::string> names = {t[callee].text};
            if (const auto found = m_instantiations.find(t[callee].text); found != m_instantiations.end())
                names.insert(found->second.begin(), found->second.end());
            std::erase_if(names, [&](const std::string& name) { return !m_textFunctions.count(name); });
            if (names.empty()) continue;
            // A call may name its template arguments: "F<T>(...)".
            const std::size_t open = Is(t[i + 1], "<") ? ClosingAngle(t, i + 1) + 1 : i + 1;
            if (open >= t.size() || !Is(t[open], "(")) continue;
            const std::size_t close = Closing(t, open);
            const std::vector<Range> args = SplitTopLevel(t, {open + 1, close}, false);
            const std::size_t def = DefinitionAt(f, i);
            const std::string cls = def == kNoDefinition ? "" : m_definitions[def].cls;
            Slots slots;
            for (const std::string& name : names) slots.merge(SlotsOfCall(f, t, callee, args.size(), cls, name));
            const std::string& via = t[callee].text;
            for (const auto& [index, slot] : slots) {
                if (index >= args.size()) continue;
                const Range arg = args[index];
                if (slot.param == ParamKind::kId) {
                    Follow(f, arg, def, via, slot.kind);
                } else if (arg.end > arg.begin && Is(t[arg.begin], "{")) {
                    for (const Range& item : SplitTopLevel(t, {arg.begin + 1, Closing(t, arg.begin)}, false)) {
                        if (slot.param == ParamKind::kIdList) {
                            Follow(f, item, def, via, slot.kind);
                        } else if (item.end > item.begin && Is(t[item.begin], "{")) {
                            const std::vector<Range> pair =
                                SplitTopLevel(t, {item.begin + 1, Closing(t, item.begin)}, false);
                            if (pair.size() == 2) Follow(f, pair[1], def, via, slot.kind);
                        }
                    }
                }
            }
        }
    }

    // Template arguments "F<..., id>" of function templates that hand one on as an id.
    void CollectTemplateUses(std::size_t f)
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        for (std::size_t i = 0; i + 1 < t.size(); ++i) {
            if (t[i].kind != Token::kIdent || !Is(t[i + 1], "<")) continue;
            const auto found = m_templateKinds.find(t[i].text);
            if (found == m_templateKinds.end()) continue;
            const std::vector<Range> args = SplitTopLevel(t, {i + 2, ClosingAngle(t, i + 1)}, true);
            for (const auto& [index, kind] : found->second)
                if (index < args.size()) Follow(f, args[index], DefinitionAt(f, i), t[i].text + "<>", kind);
        }
    }

    const std::vector<SourceFile>& m_files;
    std::vector<ParsedFile> m_parsed;
    std::vector<std::size_t> m_ownHeader; // file -> its header (same stem) or kGlobal
    std::map<std::string, std::vector<Position>> m_occurrences;
    std::map<std::string, std::map<std::size_t, UINT>> m_constants; // name -> file -> value
    std::vector<TextIdUse> m_constantUses;
    std::vector<Definition> m_definitions;
    std::map<std::string, std::vector<std::pair<std::string, std::size_t>>> m_members; // name -> (struct, index)
    std::map<std::string, std::set<std::string>> m_bases;
    std::map<std::size_t, std::vector<std::pair<std::string, Range>>> m_classBodies; // file -> (class, body)
    std::map<std::pair<std::string, std::string>, UINT> m_classConstants;            // (class, name) -> value
    std::map<std::string, std::vector<std::string>> m_classTemplateParams;
    std::map<std::string, std::set<std::string>> m_instantiations; // type parameter -> classes
    // (scope, name) -> class -> parameter position -> kind
    std::map<std::pair<std::size_t, std::string>, std::map<std::string, Slots>> m_kinds;
    std::map<std::string, std::set<std::pair<std::size_t, ResourceKind>>> m_templateKinds;
    std::map<std::string, std::set<std::size_t>> m_textFunctions;
    std::set<Mark> m_marks;
    std::vector<TextIdUse> m_uses;
    std::vector<TextIdUse> m_built;
    bool m_changed = false;
};

} // namespace

SourceTextIds::SourceTextIds(const std::vector<SourceFile>& files)
{
    const Scanner scanner(files);
    m_uses = scanner.Uses();
    m_built = scanner.Built();
    m_textFunctions = scanner.TextFunctions();
}

std::vector<SourceFile> ReadSourceFolders(const std::filesystem::path& root, const std::vector<std::string>& folders)
{
    std::vector<SourceFile> files;
    for (const std::string& folder : folders) {
        std::vector<std::filesystem::path> paths;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder))
            if (entry.is_regular_file() && (entry.path().extension() == ".h" || entry.path().extension() == ".cpp"))
                paths.push_back(entry.path());
        std::sort(paths.begin(), paths.end());
        for (const auto& path : paths) {
            std::ifstream in(path, std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            files.push_back({std::filesystem::relative(path, root).generic_string(), text.str()});
        }
    }
    return files;
}
