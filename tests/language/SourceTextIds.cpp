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

enum class ParamKind { kOther, kId, kIdList, kIdPairList };

struct Param {
    std::string name;
    ParamKind kind = ParamKind::kOther;
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
        if (!Is(t[i], "const") && !Is(t[i], "&")) typeWords.push_back(t[i].text);
    if (typeWords == std::vector<std::string>{"UINT"})
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
    Range body;
    bool global;
};

const std::set<std::string> kNotFunctions = {"if",      "for",      "while",    "switch",  "return",
                                             "sizeof",  "catch",    "decltype", "alignof", "static_assert",
                                             "defined", "noexcept", "operator", "alignas"};

struct ParsedFile {
    std::vector<Token> tokens;
    std::set<std::string> headerNames; // functions its own header names
};

// Where a function body starts after its parameter list closed at close: after qualifiers,
// or after a constructor's initialiser list. Nothing for a call.
std::optional<std::size_t> BodyStart(const std::vector<Token>& t, std::size_t nameAt, std::size_t close)
{
    std::size_t k = close + 1;
    while (k < t.size() && (Is(t[k], "const") || Is(t[k], "override") || Is(t[k], "noexcept") || Is(t[k], "final")))
        ++k;
    if (k < t.size() && Is(t[k], "{")) return k;
    const bool constructor = nameAt >= 2 && Is(t[nameAt - 1], "::") && t[nameAt - 2].text == t[nameAt].text;
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

class Scanner {
public:
    explicit Scanner(const std::vector<SourceFile>& files) : m_files(files)
    {
        for (const SourceFile& file : files) m_parsed.push_back({Tokenize(file.text), {}});
        CollectHeaderNames();
        CollectConstants();
        CollectDefinitions();
        m_textFunctions["FindString"] = {0};
        m_textFunctions["LoadString"] = {0, 1};
        DiscoverTextFunctions();
    }

    std::vector<TextIdUse> Uses() const
    {
        std::vector<TextIdUse> uses = m_constantUses;
        std::set<std::string> fields;
        for (std::size_t f = 0; f < m_parsed.size(); ++f) CollectCalls(f, uses, fields);
        for (std::size_t f = 0; f < m_parsed.size(); ++f) CollectFieldValues(f, fields, uses);
        return uses;
    }

    const std::map<std::string, std::set<std::size_t>>& TextFunctions() const { return m_textFunctions; }

private:
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
        for (std::size_t f = 0; f < m_files.size(); ++f) {
            const auto header = headers.find(Stem(m_files[f].name));
            if (header == headers.end()) continue;
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

    std::optional<UINT> Constant(std::size_t file, const std::string& name) const
    {
        const auto found = m_constants.find(name);
        if (found == m_constants.end()) return std::nullopt;
        if (const auto own = found->second.find(file); own != found->second.end()) return own->second;
        std::set<UINT> values;
        for (const auto& [f, value] : found->second) values.insert(value);
        return values.size() == 1 ? std::optional<UINT>(*values.begin()) : std::nullopt;
    }

    void CollectDefinitions()
    {
        for (std::size_t f = 0; f < m_parsed.size(); ++f) {
            const std::vector<Token>& t = m_parsed[f].tokens;
            for (std::size_t i = 0; i + 1 < t.size(); ++i) {
                if (t[i].kind != Token::kIdent || !Is(t[i + 1], "(") || kNotFunctions.count(t[i].text)) continue;
                if (i > 0 && (Is(t[i - 1], ".") || Is(t[i - 1], "->"))) continue;
                const std::size_t close = Closing(t, i + 1);
                const std::optional<std::size_t> body = BodyStart(t, i, close);
                if (!body) continue;
                const std::string cls =
                    i >= 2 && Is(t[i - 1], "::") && t[i - 2].kind == Token::kIdent ? t[i - 2].text : "";
                Definition def{f, cls, t[i].text, {}, {*body, Closing(t, *body)}, false};
                for (const Range& part : SplitTopLevel(t, {i + 2, close}, true))
                    def.params.push_back(ReadParam(t, part));
                def.global = IsHeader(m_files[f].name) || m_parsed[f].headerNames.count(def.name) != 0;
                m_definitions.push_back(def);
                for (std::size_t p = 0; p < def.params.size(); ++p)
                    if (def.params[p].kind == ParamKind::kIdList || def.params[p].kind == ParamKind::kIdPairList)
                        Register(def, p, def.params[p].kind);
            }
        }
    }

    void Register(const Definition& def, std::size_t index, ParamKind kind)
    {
        const std::size_t scope = def.global ? kGlobal : def.file;
        m_kinds[{scope, def.name}][def.cls][index] = kind;
        m_textFunctions[def.name].insert(index);
    }

    static constexpr std::size_t kGlobal = static_cast<std::size_t>(-1);

    // The id parameters of the text function called at t[at] in file f, by position. A
    // member call (after "." or "->") reaches no function that only its own file knows. A
    // call inside a member of class cls reaches that class's function of the name when it
    // has one; otherwise any function of the name may be meant.
    std::map<std::size_t, ParamKind> KindsOfCall(std::size_t f, const std::vector<Token>& t, std::size_t at,
                                                 std::size_t argCount, const std::string& cls) const
    {
        const std::string& name = t[at].text;
        if (name == "LoadString") return {{argCount >= 3 ? 1u : 0u, ParamKind::kId}};
        if (name == "FindString") return {{0u, ParamKind::kId}};
        const bool member = at > 0 && (Is(t[at - 1], ".") || Is(t[at - 1], "->"));
        std::map<std::size_t, ParamKind> kinds;
        for (const std::size_t scope : {f, kGlobal}) {
            if (member && scope != kGlobal) continue;
            const auto found = m_kinds.find({scope, name});
            if (found == m_kinds.end()) continue;
            if (const auto own = found->second.find(cls); !member && !cls.empty() && own != found->second.end())
                return own->second;
            for (const auto& [owner, byIndex] : found->second) kinds.insert(byIndex.begin(), byIndex.end());
        }
        return kinds;
    }

    // Calls of text functions within [r.begin, r.end) of file f.
    template <typename Visit> void ForEachTextCall(std::size_t f, Range r, const std::string& cls, Visit visit) const
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        for (std::size_t i = r.begin; i + 1 < r.end; ++i) {
            if (t[i].kind != Token::kIdent || !Is(t[i + 1], "(") || !m_textFunctions.count(t[i].text)) continue;
            const std::size_t close = Closing(t, i + 1);
            const std::vector<Range> args = SplitTopLevel(t, {i + 2, close}, false);
            for (const auto& [index, kind] : KindsOfCall(f, t, i, args.size(), cls.empty() ? ClassAt(f, i) : cls))
                if (index < args.size()) visit(i, args[index], kind);
        }
    }

    // The class of the member whose body holds token at of file f; empty outside one.
    std::string ClassAt(std::size_t f, std::size_t at) const
    {
        for (const Definition& def : m_definitions)
            if (def.file == f && def.body.begin < at && at < def.body.end) return def.cls;
        return "";
    }

    void DiscoverTextFunctions()
    {
        for (bool grown = true; grown;) {
            grown = false;
            for (const Definition& def : m_definitions) {
                const std::vector<Token>& t = m_parsed[def.file].tokens;
                for (std::size_t p = 0; p < def.params.size(); ++p) {
                    if (def.params[p].kind != ParamKind::kId) continue;
                    const std::size_t scope = def.global ? kGlobal : def.file;
                    if (const auto known = m_kinds.find({scope, def.name});
                        known != m_kinds.end() && known->second.count(def.cls) && known->second.at(def.cls).count(p))
                        continue;
                    bool forwards = false;
                    ForEachTextCall(def.file, def.body, def.cls, [&](std::size_t, Range arg, ParamKind kind) {
                        if (kind != ParamKind::kId) return;
                        for (std::size_t k = arg.begin; k < arg.end; ++k)
                            if (t[k].kind == Token::kIdent && t[k].text == def.params[p].name) forwards = true;
                    });
                    if (forwards) {
                        Register(def, p, ParamKind::kId);
                        grown = true;
                    }
                }
            }
        }
    }

    // The ids an argument names: a number, a named constant, or either side of a choice.
    // A member's value ("texts.prompt", "m_kind->name") names a field that holds ids.
    void IdsOf(std::size_t f, Range r, std::vector<std::pair<int, UINT>>& ids, std::set<std::string>& fields) const
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        while (r.end - r.begin >= 2 && Is(t[r.begin], "(") && Closing(t, r.begin) == r.end - 1) {
            ++r.begin;
            --r.end;
        }
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
                IdsOf(f, {*question + 1, i}, ids, fields);
                IdsOf(f, {i + 1, r.end}, ids, fields);
                return;
            }
        }
        if (IsMemberAccess(t, r)) {
            fields.insert(t[r.end - 1].text);
            return;
        }
        // A qualified name counts by its last part.
        std::size_t first = r.begin;
        while (first + 2 < r.end && t[first].kind == Token::kIdent && Is(t[first + 1], "::")) first += 2;
        if (r.end - first != 1) return;
        std::optional<UINT> id;
        if (t[first].kind == Token::kNumber)
            id = NumberValue(t[first].text);
        else if (t[first].kind == Token::kIdent)
            id = Constant(f, t[first].text);
        if (id && *id != 0) ids.push_back({t[first].line, *id});
    }

    static bool IsMemberAccess(const std::vector<Token>& t, Range r)
    {
        if (r.end - r.begin < 3 || (r.end - r.begin) % 2 == 0) return false;
        for (std::size_t i = r.begin; i < r.end; i += 2)
            if (t[i].kind != Token::kIdent || (i + 1 < r.end && !Is(t[i + 1], ".") && !Is(t[i + 1], "->")))
                return false;
        return true;
    }

    // Designated initialisers ".field = number" of the fields that hold ids.
    void CollectFieldValues(std::size_t f, const std::set<std::string>& fields, std::vector<TextIdUse>& uses) const
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        for (std::size_t i = 0; i + 3 < t.size(); ++i) {
            if (!Is(t[i], ".") || t[i + 1].kind != Token::kIdent || !fields.count(t[i + 1].text) || !Is(t[i + 2], "="))
                continue;
            if (t[i + 3].kind != Token::kNumber) continue;
            if (const std::optional<UINT> id = NumberValue(t[i + 3].text); id && *id != 0)
                uses.push_back({m_files[f].name, t[i + 3].line, "." + t[i + 1].text, *id});
        }
    }

    void CollectCalls(std::size_t f, std::vector<TextIdUse>& uses, std::set<std::string>& fields) const
    {
        const std::vector<Token>& t = m_parsed[f].tokens;
        ForEachTextCall(f, {0, t.size()}, "", [&](std::size_t at, Range arg, ParamKind kind) {
            std::vector<std::pair<int, UINT>> ids;
            if (kind == ParamKind::kId) {
                IdsOf(f, arg, ids, fields);
            } else if (arg.end > arg.begin && Is(t[arg.begin], "{")) {
                for (const Range& item : SplitTopLevel(t, {arg.begin + 1, Closing(t, arg.begin)}, false)) {
                    if (kind == ParamKind::kIdList) {
                        IdsOf(f, item, ids, fields);
                    } else if (item.end > item.begin && Is(t[item.begin], "{")) {
                        const std::vector<Range> pair =
                            SplitTopLevel(t, {item.begin + 1, Closing(t, item.begin)}, false);
                        if (pair.size() == 2) IdsOf(f, pair[1], ids, fields);
                    }
                }
            }
            for (const auto& [line, id] : ids) uses.push_back({m_files[f].name, line, t[at].text, id});
        });
    }

    const std::vector<SourceFile>& m_files;
    std::vector<ParsedFile> m_parsed;
    std::map<std::string, std::map<std::size_t, UINT>> m_constants; // name -> file -> value
    std::vector<TextIdUse> m_constantUses;
    std::vector<Definition> m_definitions;
    // (scope, name) -> class -> parameter position -> kind
    std::map<std::pair<std::size_t, std::string>, std::map<std::string, std::map<std::size_t, ParamKind>>> m_kinds;
    std::map<std::string, std::set<std::size_t>> m_textFunctions;
};

} // namespace

SourceTextIds::SourceTextIds(const std::vector<SourceFile>& files)
{
    const Scanner scanner(files);
    m_uses = scanner.Uses();
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
