#include "framework/core/ResourceScript.h"

#include <array>
#include <charconv>
#include <set>
#include <utility>

namespace {

// Raised inside the parser; AddScript turns it into "file:line: message".
struct ScriptError {
    int line = 0;
    std::string message;
};

[[noreturn]] void Fail(int line, std::string message)
{
    throw ScriptError{line, std::move(message)};
}

// Character classes of the script language, independent of the C locale.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) { return IsAlpha(c) || IsDigit(c) || c == '_'; }
int HexDigit(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string ToUpper(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return out;
}

enum class TokenKind { Identifier, Number, String, Punct, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text; // identifier, decoded string, or the punctuation character
    std::int64_t number = 0;
    int line = 0;
};

struct Define {
    std::string body;
    int line = 0;
    std::optional<std::int64_t> value; // worked out on first use
};

// The #defines seen so far. Each value is worked out once, so chains of defines
// that use each other several times cost linear time. A built-in name (IDOK, a
// style, a key) that is #defined after it was read makes stored values stale.
struct DefineTable {
    std::map<std::string, Define> byName;
    std::set<std::string> readAsBuiltIn;

    void Add(const std::string& name, Define define)
    {
        if (readAsBuiltIn.erase(name)) {
            for (auto& entry : byName)
                entry.second.value.reset();
        }
        byName.try_emplace(name, std::move(define));
    }
};

// Splits script text into tokens; handles comments and the preprocessor lines
// (#define is kept for the parser, #pragma is ignored).
class Lexer {
public:
    Lexer(std::string_view text, int firstLine, DefineTable* defines)
        : m_text(text), m_line(firstLine), m_defines(defines)
    {
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
            m_pos = 3;
    }

    const Token& Peek()
    {
        if (!m_hasPeeked) {
            m_peeked = Scan();
            m_hasPeeked = true;
        }
        return m_peeked;
    }

    Token Next()
    {
        Token t = Peek();
        m_hasPeeked = false;
        return t;
    }

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Current() const { return m_text[m_pos]; }
    char At(std::size_t offset) const { return m_pos + offset < m_text.size() ? m_text[m_pos + offset] : '\0'; }

    void Advance()
    {
        if (Current() == '\n') {
            ++m_line;
            m_atLineStart = true;
        }
        ++m_pos;
    }

    void SkipBlanksAndComments()
    {
        while (!AtEnd()) {
            const char c = Current();
            if (c == '\n' || c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                Advance();
            } else if (c == '/' && At(1) == '/') {
                while (!AtEnd() && Current() != '\n')
                    ++m_pos;
            } else if (c == '/' && At(1) == '*') {
                const int startLine = m_line;
                m_pos += 2;
                while (!AtEnd() && !(Current() == '*' && At(1) == '/'))
                    Advance();
                if (AtEnd())
                    Fail(startLine, "unterminated comment");
                m_pos += 2;
            } else if (c == '#' && m_atLineStart && m_defines) {
                Directive();
            } else {
                return;
            }
        }
    }

    std::string RestOfLine()
    {
        std::string out;
        while (!AtEnd() && Current() != '\n') {
            if (Current() == '\\' && (At(1) == '\n' || (At(1) == '\r' && At(2) == '\n'))) {
                while (Current() != '\n')
                    ++m_pos;
                Advance();
                out += ' ';
                continue;
            }
            if (Current() == '/' && At(1) == '/')
                break;
            out += Current();
            ++m_pos;
        }
        while (!AtEnd() && Current() != '\n')
            ++m_pos;
        return out;
    }

    void Directive()
    {
        const int line = m_line;
        ++m_pos; // '#'
        std::string text = RestOfLine();
        std::size_t i = text.find_first_not_of(" \t");
        std::size_t end = text.find_first_of(" \t(", i == std::string::npos ? text.size() : i);
        const std::string word = i == std::string::npos ? std::string() : text.substr(i, end - i);
        if (word == "pragma")
            return;
        if (word != "define")
            Fail(line, "unsupported preprocessor directive '#" + word + "'");
        i = text.find_first_not_of(" \t", end);
        if (i == std::string::npos)
            Fail(line, "#define without a name");
        end = i;
        while (end < text.size() && IsNameChar(text[end]))
            ++end;
        if (end == i || IsDigit(text[i]))
            Fail(line, "bad name in #define");
        if (end < text.size() && text[end] == '(')
            Fail(line, "macros with arguments are not supported");
        const std::string name = text.substr(i, end - i);
        std::string body = text.substr(end);
        const auto first = body.find_first_not_of(" \t\r");
        body = first == std::string::npos ? std::string() : body.substr(first);
        while (!body.empty() && (body.back() == ' ' || body.back() == '\t' || body.back() == '\r'))
            body.pop_back();
        const auto existing = m_defines->byName.find(name);
        if (existing != m_defines->byName.end() && existing->second.body != body)
            Fail(line, "'" + name + "' redefined with another value (first at line " +
                           std::to_string(existing->second.line) + ")");
        m_defines->Add(name, Define{body, line, std::nullopt});
    }

    Token Scan()
    {
        SkipBlanksAndComments();
        Token t;
        t.line = m_line;
        if (AtEnd())
            return t;
        m_atLineStart = false;
        const char c = Current();
        if (c == '"' || ((c == 'L' || c == 'l') && At(1) == '"')) {
            if (c != '"')
                ++m_pos;
            t.kind = TokenKind::String;
            t.text = StringLiteral();
        } else if (IsDigit(c)) {
            t.kind = TokenKind::Number;
            t.number = NumberLiteral();
        } else if (IsAlpha(c) || c == '_') {
            t.kind = TokenKind::Identifier;
            while (!AtEnd() && IsNameChar(Current()))
                t.text += m_text[m_pos++];
        } else if (std::string_view(",|&+-~(){}").find(c) != std::string_view::npos) {
            t.kind = TokenKind::Punct;
            t.text = std::string(1, c);
            ++m_pos;
        } else {
            Fail(m_line, std::string("unexpected character '") + c + "'");
        }
        return t;
    }

    std::int64_t NumberLiteral()
    {
        int base = 10;
        if (Current() == '0' && (At(1) == 'x' || At(1) == 'X')) {
            base = 16;
            m_pos += 2;
        }
        // Numbers are 32 bits wide.
        std::uint32_t value = 0;
        const char* const digits = m_text.data() + m_pos;
        const auto [end, error] = std::from_chars(digits, m_text.data() + m_text.size(), value, base);
        if (error == std::errc::result_out_of_range)
            Fail(m_line, "number too large");
        if (error != std::errc())
            Fail(m_line, "bad number");
        m_pos += std::size_t(end - digits);
        while (!AtEnd() && (Current() == 'L' || Current() == 'l' || Current() == 'U' || Current() == 'u'))
            ++m_pos;
        if (!AtEnd() && IsNameChar(Current()))
            Fail(m_line, "bad number");
        return value;
    }

    std::string StringLiteral()
    {
        const int startLine = m_line;
        ++m_pos; // opening quote
        std::string out;
        for (;;) {
            if (AtEnd() || Current() == '\n')
                Fail(startLine, "unterminated string");
            const char c = m_text[m_pos++];
            if (c == '"') {
                if (!AtEnd() && Current() == '"') { // "" stands for one quote
                    out += '"';
                    ++m_pos;
                    continue;
                }
                return out;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (AtEnd())
                Fail(startLine, "unterminated string");
            const char e = m_text[m_pos++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'a': out += '\a'; break;
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case '\'': out += '\''; break;
            case 'x': case 'X': {
                int value = 0;
                int count = 0;
                while (count < 2 && !AtEnd() && HexDigit(Current()) >= 0) {
                    value = value * 16 + HexDigit(Current());
                    ++count;
                    ++m_pos;
                }
                if (count == 0)
                    Fail(m_line, "bad \\x escape");
                out += char(value);
                break;
            }
            default:
                Fail(m_line, std::string("unknown escape '\\") + e + "'");
            }
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    bool m_atLineStart = true;
    DefineTable* m_defines;
    Token m_peeked;
    bool m_hasPeeked = false;
};

struct Predefined {
    std::string_view name;
    std::int64_t value;
};

// Dialog ids every script may use without a #define.
constexpr std::array kPredefinedIds = {
    Predefined{"IDOK", 1},     Predefined{"IDCANCEL", 2}, Predefined{"IDABORT", 3},
    Predefined{"IDRETRY", 4},  Predefined{"IDIGNORE", 5}, Predefined{"IDYES", 6},
    Predefined{"IDNO", 7},     Predefined{"IDCLOSE", 8},  Predefined{"IDHELP", 9},
    Predefined{"IDC_STATIC", -1},
};

// A style expression of a resource script: "A | B | NOT C" sets A and B and
// clears C, also from the statement's defaults.
struct StyleSpec {
    DWORD set = 0;
    DWORD cleared = 0;
    DWORD Apply(DWORD defaults) const { return (defaults | set) & ~cleared; }
};

enum class ItemLayout { Text, NoText, Icon, Generic };

// Virtual-key names an accelerator table may use without a #define.
constexpr std::array kVirtualKeys = {
    Predefined{"VK_BACK", 0x08},     Predefined{"VK_TAB", 0x09},      Predefined{"VK_CLEAR", 0x0C},
    Predefined{"VK_RETURN", 0x0D},   Predefined{"VK_SHIFT", 0x10},    Predefined{"VK_CONTROL", 0x11},
    Predefined{"VK_MENU", 0x12},     Predefined{"VK_PAUSE", 0x13},    Predefined{"VK_CAPITAL", 0x14},
    Predefined{"VK_ESCAPE", 0x1B},   Predefined{"VK_SPACE", 0x20},    Predefined{"VK_PRIOR", 0x21},
    Predefined{"VK_NEXT", 0x22},     Predefined{"VK_END", 0x23},      Predefined{"VK_HOME", 0x24},
    Predefined{"VK_LEFT", 0x25},     Predefined{"VK_UP", 0x26},       Predefined{"VK_RIGHT", 0x27},
    Predefined{"VK_DOWN", 0x28},     Predefined{"VK_SELECT", 0x29},   Predefined{"VK_PRINT", 0x2A},
    Predefined{"VK_EXECUTE", 0x2B},  Predefined{"VK_SNAPSHOT", 0x2C}, Predefined{"VK_INSERT", 0x2D},
    Predefined{"VK_DELETE", 0x2E},   Predefined{"VK_HELP", 0x2F},     Predefined{"VK_MULTIPLY", 0x6A},
    Predefined{"VK_ADD", 0x6B},      Predefined{"VK_SEPARATOR", 0x6C}, Predefined{"VK_SUBTRACT", 0x6D},
    Predefined{"VK_DECIMAL", 0x6E},  Predefined{"VK_DIVIDE", 0x6F},   Predefined{"VK_NUMLOCK", 0x90},
    Predefined{"VK_SCROLL", 0x91},   Predefined{"VK_OEM_PLUS", 0xBB}, Predefined{"VK_OEM_COMMA", 0xBC},
    Predefined{"VK_OEM_MINUS", 0xBD}, Predefined{"VK_OEM_PERIOD", 0xBE},
};

// "VK_<prefix><n>" with n in [first, last], e.g. VK_F1..VK_F24 and VK_NUMPAD0..9.
std::optional<std::int64_t> NumberedKey(std::string_view name, std::string_view prefix, int first, int last,
                                        std::int64_t firstCode)
{
    if (name.substr(0, prefix.size()) != prefix || name.size() == prefix.size() || name.size() > prefix.size() + 2)
        return std::nullopt;
    int n = 0;
    for (const char c : name.substr(prefix.size())) {
        if (!IsDigit(c))
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n < first || n > last || (name[prefix.size()] == '0' && name.size() > prefix.size() + 1))
        return std::nullopt;
    return firstCode + (n - first);
}

std::optional<std::int64_t> FindVirtualKey(std::string_view name)
{
    for (const auto& key : kVirtualKeys) {
        if (key.name == name)
            return key.value;
    }
    if (const auto f = NumberedKey(name, "VK_F", 1, 24, 0x70))
        return f;
    return NumberedKey(name, "VK_NUMPAD", 0, 9, 0x60);
}

struct ControlStatement {
    std::string_view keyword;
    std::string_view className;
    ItemLayout layout;
    DWORD typeStyle; // the control-type part of the defaults, skipped when the script names a type
    DWORD typeMask;
    DWORD otherStyle;
};

constexpr std::array kControlStatements = {
    ControlStatement{"LTEXT", "STATIC", ItemLayout::Text, SS_LEFT, SS_TYPEMASK, WS_GROUP},
    ControlStatement{"RTEXT", "STATIC", ItemLayout::Text, SS_RIGHT, SS_TYPEMASK, WS_GROUP},
    ControlStatement{"CTEXT", "STATIC", ItemLayout::Text, SS_CENTER, SS_TYPEMASK, WS_GROUP},
    ControlStatement{"EDITTEXT", "EDIT", ItemLayout::NoText, ES_LEFT, 0, WS_BORDER | WS_TABSTOP},
    ControlStatement{"PUSHBUTTON", "BUTTON", ItemLayout::Text, BS_PUSHBUTTON, BS_TYPEMASK, WS_TABSTOP},
    ControlStatement{"DEFPUSHBUTTON", "BUTTON", ItemLayout::Text, BS_DEFPUSHBUTTON, BS_TYPEMASK, WS_TABSTOP},
    ControlStatement{"CHECKBOX", "BUTTON", ItemLayout::Text, BS_CHECKBOX, BS_TYPEMASK, WS_TABSTOP},
    ControlStatement{"AUTOCHECKBOX", "BUTTON", ItemLayout::Text, BS_AUTOCHECKBOX, BS_TYPEMASK, WS_TABSTOP},
    ControlStatement{"STATE3", "BUTTON", ItemLayout::Text, BS_3STATE, BS_TYPEMASK, WS_TABSTOP},
    ControlStatement{"AUTO3STATE", "BUTTON", ItemLayout::Text, BS_AUTO3STATE, BS_TYPEMASK, WS_TABSTOP},
    ControlStatement{"RADIOBUTTON", "BUTTON", ItemLayout::Text, BS_RADIOBUTTON, BS_TYPEMASK, WS_TABSTOP},
    ControlStatement{"AUTORADIOBUTTON", "BUTTON", ItemLayout::Text, BS_AUTORADIOBUTTON, BS_TYPEMASK, WS_TABSTOP},
    ControlStatement{"GROUPBOX", "BUTTON", ItemLayout::Text, BS_GROUPBOX, BS_TYPEMASK, 0},
    ControlStatement{"COMBOBOX", "COMBOBOX", ItemLayout::NoText, CBS_SIMPLE, CBS_DROPDOWNLIST, WS_TABSTOP},
    ControlStatement{"LISTBOX", "LISTBOX", ItemLayout::NoText, 0, 0, LBS_NOTIFY | WS_BORDER},
    ControlStatement{"SCROLLBAR", "SCROLLBAR", ItemLayout::NoText, SBS_HORZ, 0, 0},
    ControlStatement{"ICON", "STATIC", ItemLayout::Icon, SS_ICON, SS_TYPEMASK, 0},
    ControlStatement{"CONTROL", "", ItemLayout::Generic, 0, 0, 0},
};

constexpr std::array kMemoryFlags = {
    std::string_view("DISCARDABLE"), std::string_view("MOVEABLE"), std::string_view("FIXED"),
    std::string_view("PURE"), std::string_view("IMPURE"), std::string_view("PRELOAD"),
    std::string_view("LOADONCALL"), std::string_view("SHARED"), std::string_view("NONSHARED"),
};

template <typename T>
struct Located {
    T value;
    UINT id = 0;
    int line = 0;
};

struct ParsedScript {
    std::vector<Located<std::string>> strings;
    std::vector<Located<DialogTemplate>> dialogs;
    std::vector<Located<MenuTemplate>> menus;
    std::vector<Located<std::vector<std::uint8_t>>> bitmaps;
    std::vector<Located<std::vector<std::uint8_t>>> cursors;
    std::vector<Located<std::vector<std::uint8_t>>> icons;
    std::vector<Located<std::vector<AccelEntry>>> accelerators;
    std::vector<Located<ToolBarTemplate>> toolBars;
};

class ScriptParser {
public:
    ScriptParser(std::string_view text, const ResourceFileLoader& loadFile)
        : m_lexer(text, 1, &m_defines), m_loadFile(loadFile)
    {
    }

    ParsedScript Parse()
    {
        while (m_lexer.Peek().kind != TokenKind::End)
            TopLevelStatement();
        return std::move(m_result);
    }

private:
    static bool IsKeyword(const Token& t, std::string_view upper)
    {
        return t.kind == TokenKind::Identifier && ToUpper(t.text) == upper;
    }
    static bool IsPunct(const Token& t, char c) { return t.kind == TokenKind::Punct && t.text[0] == c; }
    static bool IsBegin(const Token& t) { return IsPunct(t, '{') || IsKeyword(t, "BEGIN"); }
    static bool IsEnd(const Token& t) { return IsPunct(t, '}') || IsKeyword(t, "END"); }

    static std::string Describe(const Token& t)
    {
        switch (t.kind) {
        case TokenKind::End: return "end of file";
        case TokenKind::String: return "a string";
        case TokenKind::Number: return "number " + std::to_string(t.number);
        default: return "'" + t.text + "'";
        }
    }

    void ExpectComma()
    {
        const Token t = m_lexer.Next();
        if (!IsPunct(t, ','))
            Fail(t.line, "expected ',' but found " + Describe(t));
    }

    bool SkipComma()
    {
        if (!IsPunct(m_lexer.Peek(), ','))
            return false;
        m_lexer.Next();
        return true;
    }

    void ExpectBegin()
    {
        const Token t = m_lexer.Next();
        if (!IsBegin(t))
            Fail(t.line, "expected BEGIN but found " + Describe(t));
    }

    std::string ExpectString()
    {
        const Token t = m_lexer.Next();
        if (t.kind != TokenKind::String)
            Fail(t.line, "expected a string but found " + Describe(t));
        return t.text;
    }

    void SkipMemoryFlags()
    {
        for (;;) {
            const Token& t = m_lexer.Peek();
            bool isFlag = false;
            for (const auto flag : kMemoryFlags)
                isFlag = isFlag || IsKeyword(t, flag);
            if (!isFlag)
                return;
            m_lexer.Next();
        }
    }

    // Expressions: numbers, symbols, ( ), unary - ~ +, binary + - & |.
    std::int64_t Expression(Lexer& lex) { return OrExpression(lex); }

    std::int64_t OrExpression(Lexer& lex)
    {
        std::int64_t v = AndExpression(lex);
        while (IsPunct(lex.Peek(), '|')) {
            lex.Next();
            v |= AndExpression(lex);
        }
        return v;
    }

    std::int64_t AndExpression(Lexer& lex)
    {
        std::int64_t v = SumExpression(lex);
        while (IsPunct(lex.Peek(), '&')) {
            lex.Next();
            v &= SumExpression(lex);
        }
        return v;
    }

    std::int64_t SumExpression(Lexer& lex)
    {
        std::int64_t v = UnaryExpression(lex);
        while (IsPunct(lex.Peek(), '+') || IsPunct(lex.Peek(), '-')) {
            const bool plus = lex.Next().text[0] == '+';
            const int line = lex.Peek().line;
            const std::int64_t rhs = UnaryExpression(lex);
            v = plus ? v + rhs : v - rhs;
            // Operands stay within 33 bits, so no sum can overflow.
            if (v < -0xFFFFFFFFLL || v > 0xFFFFFFFFLL)
                Fail(line, "value out of range");
        }
        return v;
    }

    // Keeps absurd nesting from exhausting the stack.
    class NestingGuard {
    public:
        NestingGuard(int& depth, int line) : m_depth(depth)
        {
            if (++m_depth > kMaxNesting)
                Fail(line, "nested too deeply");
        }
        ~NestingGuard() { --m_depth; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        static constexpr int kMaxNesting = 100;
        int& m_depth;
    };

    std::int64_t UnaryExpression(Lexer& lex)
    {
        const NestingGuard guard(m_depth, lex.Peek().line);
        const Token t = lex.Next();
        if (IsPunct(t, '-'))
            return -UnaryExpression(lex);
        if (IsPunct(t, '+'))
            return UnaryExpression(lex);
        if (IsPunct(t, '~'))
            return std::int64_t(~std::uint32_t(UnaryExpression(lex)));
        if (IsPunct(t, '(')) {
            const std::int64_t v = Expression(lex);
            const Token close = lex.Next();
            if (!IsPunct(close, ')'))
                Fail(close.line, "expected ')' but found " + Describe(close));
            return v;
        }
        if (t.kind == TokenKind::Number)
            return t.number;
        if (t.kind == TokenKind::Identifier)
            return SymbolValue(t);
        Fail(t.line, "expected a number but found " + Describe(t));
    }

    std::int64_t SymbolValue(const Token& t)
    {
        const auto define = m_defines.byName.find(t.text);
        if (define != m_defines.byName.end())
            return DefineValue(define->first, define->second, t.line);
        const std::optional<std::int64_t> builtIn = BuiltInValue(t.text);
        if (!builtIn)
            Fail(t.line, "undefined symbol '" + t.text + "'");
        m_defines.readAsBuiltIn.insert(t.text);
        return *builtIn;
    }

    static std::optional<std::int64_t> BuiltInValue(std::string_view name)
    {
        for (const auto& id : kPredefinedIds) {
            if (id.name == name)
                return id.value;
        }
        if (const auto style = FindStyleConstant(name))
            return *style;
        return FindVirtualKey(name);
    }

    std::int64_t DefineValue(const std::string& name, Define& define, int line)
    {
        if (define.value)
            return *define.value;
        if (!m_expanding.insert(name).second)
            Fail(line, "'" + name + "' is defined in terms of itself");
        if (m_expanding.size() > kMaxDefineDepth)
            Fail(line, "#defines nested more than " + std::to_string(kMaxDefineDepth) + " deep at '" + name + "'");
        Lexer body(define.body, line, nullptr);
        if (body.Peek().kind == TokenKind::End)
            Fail(line, "'" + name + "' has no value");
        const std::int64_t v = Expression(body);
        if (body.Peek().kind != TokenKind::End)
            Fail(line, "the value of '" + name + "' is not a number");
        m_expanding.erase(name);
        define.value = v;
        return v;
    }

    static constexpr std::size_t kMaxDefineDepth = 32;

    int IntValue()
    {
        const int line = m_lexer.Peek().line;
        const std::int64_t v = Expression(m_lexer);
        if (v < -2147483648LL || v > 0xFFFFFFFFLL)
            Fail(line, "value out of range");
        return int(std::uint32_t(v));
    }

    DWORD DwordValue()
    {
        return DWORD(IntValue());
    }

    UINT ResourceId()
    {
        const int line = m_lexer.Peek().line;
        const std::int64_t v = Expression(m_lexer);
        if (v < 0 || v > 0xFFFF)
            Fail(line, "resource id " + std::to_string(v) + " is outside 0..65535");
        return UINT(v);
    }

    StyleSpec Style()
    {
        StyleSpec spec;
        for (;;) {
            if (IsKeyword(m_lexer.Peek(), "NOT")) {
                m_lexer.Next();
                spec.cleared |= DWORD(AndExpression(m_lexer));
            } else {
                spec.set |= DWORD(AndExpression(m_lexer));
            }
            if (!IsPunct(m_lexer.Peek(), '|'))
                return spec;
            m_lexer.Next();
        }
    }

    void TopLevelStatement()
    {
        if (IsKeyword(m_lexer.Peek(), "STRINGTABLE")) {
            m_lexer.Next();
            StringTable();
            return;
        }
        const int line = m_lexer.Peek().line;
        const UINT id = ResourceId();
        const Token type = m_lexer.Next();
        if (type.kind != TokenKind::Identifier)
            Fail(type.line, "expected a resource type but found " + Describe(type));
        const std::string upper = ToUpper(type.text);
        if (upper == "DIALOG" || upper == "DIALOGEX")
            m_result.dialogs.push_back({Dialog(id, upper == "DIALOGEX"), id, line});
        else if (upper == "MENU")
            m_result.menus.push_back({Menu(id), id, line});
        else if (upper == "BITMAP")
            m_result.bitmaps.push_back({EmbeddedFile(), id, line});
        else if (upper == "CURSOR")
            m_result.cursors.push_back({EmbeddedFile(), id, line});
        else if (upper == "ICON")
            m_result.icons.push_back({EmbeddedFile(), id, line});
        else if (upper == "ACCELERATORS")
            m_result.accelerators.push_back({Accelerators(), id, line});
        else if (upper == "TOOLBAR")
            m_result.toolBars.push_back({ToolBar(), id, line});
        else
            Fail(type.line, "unsupported resource type '" + type.text + "'");
    }

    void StringTable()
    {
        SkipMemoryFlags();
        ExpectBegin();
        while (!IsEnd(m_lexer.Peek())) {
            if (m_lexer.Peek().kind == TokenKind::End)
                Fail(m_lexer.Peek().line, "STRINGTABLE without END");
            const int line = m_lexer.Peek().line;
            const UINT id = ResourceId();
            SkipComma();
            m_result.strings.push_back({ExpectString(), id, line});
        }
        m_lexer.Next();
    }

    DialogTemplate Dialog(UINT id, bool extended)
    {
        DialogTemplate dialog;
        dialog.id = id;
        dialog.extended = extended;
        SkipMemoryFlags();
        dialog.x = IntValue();
        ExpectComma();
        dialog.y = IntValue();
        ExpectComma();
        dialog.cx = IntValue();
        ExpectComma();
        dialog.cy = IntValue();
        if (extended && SkipComma())
            dialog.helpId = DwordValue();

        std::optional<StyleSpec> style;
        bool hasCaption = false;
        while (!IsBegin(m_lexer.Peek())) {
            const Token t = m_lexer.Next();
            const std::string word = t.kind == TokenKind::Identifier ? ToUpper(t.text) : std::string();
            if (word == "STYLE") {
                style = Style();
            } else if (word == "EXSTYLE") {
                dialog.exStyle = Style().Apply(0);
            } else if (word == "CAPTION") {
                dialog.caption = ExpectString();
                hasCaption = true;
            } else if (word == "FONT") {
                dialog.font = Font();
            } else if (word == "MENU") {
                dialog.menuId = ResourceId();
            } else if (word == "CLASS") {
                dialog.className = ExpectString();
            } else {
                Fail(t.line, "expected a dialog statement or BEGIN but found " + Describe(t));
            }
        }
        m_lexer.Next();
        dialog.style = style ? style->Apply(0) : (WS_POPUP | WS_BORDER | WS_SYSMENU);
        if (hasCaption)
            dialog.style |= WS_CAPTION;
        if (dialog.font)
            dialog.style |= DS_SETFONT;

        while (!IsEnd(m_lexer.Peek()))
            dialog.items.push_back(Control());
        m_lexer.Next();
        return dialog;
    }

    DialogFontTemplate Font()
    {
        DialogFontTemplate font;
        font.pointSize = IntValue();
        ExpectComma();
        font.face = ExpectString();
        if (SkipComma())
            font.weight = IntValue();
        if (SkipComma())
            font.italic = IntValue() != 0;
        if (SkipComma())
            font.charset = IntValue();
        return font;
    }

    // A control text: a string, or for ICON and CONTROL also a resource number.
    void ItemText(DialogItemTemplate& item, bool numberAllowed)
    {
        if (m_lexer.Peek().kind == TokenKind::String) {
            item.text = m_lexer.Next().text;
            return;
        }
        if (!numberAllowed)
            Fail(m_lexer.Peek().line, "expected a string but found " + Describe(m_lexer.Peek()));
        item.textId = ResourceId();
    }

    void ItemClass(DialogItemTemplate& item)
    {
        const Token t = m_lexer.Next();
        if (t.kind == TokenKind::String || (t.kind == TokenKind::Identifier && !m_defines.byName.count(t.text)))
            item.className = t.text;
        else
            Fail(t.line, "expected a control class but found " + Describe(t));
    }

    void ItemRect(DialogItemTemplate& item)
    {
        item.x = IntValue();
        ExpectComma();
        item.y = IntValue();
        ExpectComma();
        item.cx = IntValue();
        ExpectComma();
        item.cy = IntValue();
    }

    DialogItemTemplate Control()
    {
        const Token t = m_lexer.Next();
        const ControlStatement* statement = nullptr;
        for (const auto& candidate : kControlStatements) {
            if (IsKeyword(t, candidate.keyword))
                statement = &candidate;
        }
        if (!statement) {
            if (t.kind == TokenKind::End)
                Fail(t.line, "dialog without END");
            Fail(t.line, "expected a control statement or END but found " + Describe(t));
        }

        DialogItemTemplate item;
        item.className = statement->className;
        StyleSpec style;
        std::optional<StyleSpec> exStyle;
        switch (statement->layout) {
        case ItemLayout::Text:
        case ItemLayout::NoText:
            if (statement->layout == ItemLayout::Text) {
                ItemText(item, false);
                ExpectComma();
            }
            item.id = IntValue();
            ExpectComma();
            ItemRect(item);
            if (SkipComma()) {
                style = Style();
                if (SkipComma())
                    exStyle = Style();
            }
            break;
        case ItemLayout::Icon:
            ItemText(item, true);
            ExpectComma();
            item.id = IntValue();
            ExpectComma();
            item.x = IntValue();
            ExpectComma();
            item.y = IntValue();
            if (SkipComma()) {
                item.cx = IntValue();
                ExpectComma();
                item.cy = IntValue();
                if (SkipComma()) {
                    style = Style();
                    if (SkipComma())
                        exStyle = Style();
                }
            }
            break;
        case ItemLayout::Generic:
            ItemText(item, true);
            ExpectComma();
            item.id = IntValue();
            ExpectComma();
            ItemClass(item);
            ExpectComma();
            style = Style();
            ExpectComma();
            ItemRect(item);
            if (SkipComma())
                exStyle = Style();
            break;
        }
        if (exStyle && SkipComma())
            item.helpId = DwordValue();

        DWORD defaults = WS_CHILD | WS_VISIBLE | statement->otherStyle;
        if ((style.set & statement->typeMask) == 0)
            defaults |= statement->typeStyle;
        item.style = style.Apply(defaults);
        item.exStyle = exStyle ? exStyle->Apply(0) : 0;
        return item;
    }

    MenuTemplate Menu(UINT id)
    {
        MenuTemplate menu;
        menu.id = id;
        SkipMemoryFlags();
        ExpectBegin();
        menu.items = MenuItems();
        return menu;
    }

    std::vector<MenuItemTemplate> MenuItems()
    {
        const NestingGuard guard(m_depth, m_lexer.Peek().line);
        std::vector<MenuItemTemplate> items;
        while (!IsEnd(m_lexer.Peek())) {
            const Token t = m_lexer.Next();
            MenuItemTemplate item;
            if (IsKeyword(t, "MENUITEM")) {
                if (IsKeyword(m_lexer.Peek(), "SEPARATOR")) {
                    m_lexer.Next();
                    item.separator = true;
                } else {
                    item.text = ExpectString();
                    ExpectComma();
                    item.id = ResourceId();
                    MenuOptions(item);
                }
            } else if (IsKeyword(t, "POPUP")) {
                item.popup = true;
                item.text = ExpectString();
                MenuOptions(item);
                ExpectBegin();
                item.children = MenuItems();
            } else if (t.kind == TokenKind::End) {
                Fail(t.line, "menu without END");
            } else {
                Fail(t.line, "expected MENUITEM, POPUP or END but found " + Describe(t));
            }
            items.push_back(std::move(item));
        }
        m_lexer.Next();
        return items;
    }

    bool MenuOption(const Token& t, MenuItemTemplate& item)
    {
        const std::string word = t.kind == TokenKind::Identifier ? ToUpper(t.text) : std::string();
        bool* flag = word == "CHECKED"        ? &item.checked
                     : word == "GRAYED"       ? &item.grayed
                     : word == "INACTIVE"     ? &item.inactive
                     : word == "HELP"         ? &item.help
                     : word == "MENUBREAK"    ? &item.menuBreak
                     : word == "MENUBARBREAK" ? &item.menuBarBreak
                                              : nullptr;
        if (flag)
            *flag = true;
        return flag != nullptr;
    }

    // Options follow a comma and may be separated by commas or blanks.
    void MenuOptions(MenuItemTemplate& item)
    {
        for (;;) {
            if (SkipComma()) {
                const Token t = m_lexer.Next();
                if (!MenuOption(t, item))
                    Fail(t.line, "expected a menu option but found " + Describe(t));
            } else if (MenuOption(m_lexer.Peek(), item)) {
                m_lexer.Next();
            } else {
                return;
            }
        }
    }

    std::uint16_t Word16Value(std::string_view what)
    {
        const int line = m_lexer.Peek().line;
        const std::int64_t v = Expression(m_lexer);
        if (v < 0 || v > 0xFFFF)
            Fail(line, std::string(what) + " " + std::to_string(v) + " is outside 0..65535");
        return std::uint16_t(v);
    }

    std::vector<AccelEntry> Accelerators()
    {
        SkipMemoryFlags();
        ExpectBegin();
        std::vector<AccelEntry> table;
        while (!IsEnd(m_lexer.Peek())) {
            if (m_lexer.Peek().kind == TokenKind::End)
                Fail(m_lexer.Peek().line, "ACCELERATORS without END");
            table.push_back(Accelerator());
        }
        m_lexer.Next();
        return table;
    }

    // How the key of an accelerator was written; decides which options fit it.
    enum class KeyForm { Character, ControlCharacter, VirtualKeyName, Number };

    AccelEntry Accelerator()
    {
        const int line = m_lexer.Peek().line;
        AccelEntry entry;
        std::string keyText;
        KeyForm form = KeyForm::Number;
        if (m_lexer.Peek().kind == TokenKind::String) {
            keyText = m_lexer.Next().text;
            if (keyText.size() == 2 && keyText[0] == '^' && IsAlpha(keyText[1])) {
                form = KeyForm::ControlCharacter;
                entry.key = std::uint16_t(ToUpper(keyText.substr(1))[0] - '@');
            } else if (keyText.size() == 1) {
                form = KeyForm::Character;
                entry.key = std::uint8_t(keyText[0]);
            } else {
                Fail(line, "accelerator key \"" + keyText + "\" is not one character or ^ and a letter");
            }
        } else {
            const Token& first = m_lexer.Peek();
            if (first.kind == TokenKind::Identifier && !m_defines.byName.count(first.text) && FindVirtualKey(first.text)) {
                form = KeyForm::VirtualKeyName;
                keyText = first.text;
            }
            entry.key = Word16Value("accelerator key");
        }
        ExpectComma();
        entry.cmd = Word16Value("command id");
        bool ascii = false;
        while (SkipComma())
            AcceleratorOption(entry, ascii);
        CheckAcceleratorOptions(line, entry, ascii, form, keyText);
        if (form == KeyForm::Character && (entry.fVirt & FVIRTKEY))
            entry.key = std::uint8_t(ToUpper(keyText)[0]); // virtual-key codes of letters are the capitals
        return entry;
    }

    void AcceleratorOption(AccelEntry& entry, bool& ascii)
    {
        const Token t = m_lexer.Next();
        const std::string word = t.kind == TokenKind::Identifier ? ToUpper(t.text) : std::string();
        if (word == "VIRTKEY")
            entry.fVirt |= FVIRTKEY;
        else if (word == "NOINVERT")
            entry.fVirt |= FNOINVERT;
        else if (word == "SHIFT")
            entry.fVirt |= FSHIFT;
        else if (word == "CONTROL")
            entry.fVirt |= FCONTROL;
        else if (word == "ALT")
            entry.fVirt |= FALT;
        else if (word == "ASCII")
            ascii = true;
        else
            Fail(t.line, "expected an accelerator option but found " + Describe(t));
    }

    // Combinations that could never match a key press are refused rather than kept.
    static void CheckAcceleratorOptions(int line, const AccelEntry& entry, bool ascii, KeyForm form,
                                        const std::string& keyText)
    {
        const bool virtKey = (entry.fVirt & FVIRTKEY) != 0;
        if (virtKey && ascii)
            Fail(line, "an accelerator cannot be both VIRTKEY and ASCII");
        if (virtKey && form == KeyForm::ControlCharacter)
            Fail(line, "\"" + keyText + "\" is a character and cannot be VIRTKEY");
        if (!virtKey && form == KeyForm::VirtualKeyName)
            Fail(line, "'" + keyText + "' needs VIRTKEY");
        if (!virtKey && (entry.fVirt & (FSHIFT | FCONTROL)))
            Fail(line, "SHIFT and CONTROL need VIRTKEY");
    }

    ToolBarTemplate ToolBar()
    {
        ToolBarTemplate bar;
        SkipMemoryFlags();
        const int line = m_lexer.Peek().line;
        bar.width = IntValue();
        ExpectComma();
        bar.height = IntValue();
        if (bar.width < 1 || bar.width > kMaxToolBarImage || bar.height < 1 || bar.height > kMaxToolBarImage)
            Fail(line, "tool-bar image size " + std::to_string(bar.width) + "x" + std::to_string(bar.height) +
                           " is outside 1.." + std::to_string(kMaxToolBarImage));
        ExpectBegin();
        while (!IsEnd(m_lexer.Peek())) {
            const Token t = m_lexer.Next();
            if (IsKeyword(t, "SEPARATOR")) {
                bar.items.push_back(0);
            } else if (IsKeyword(t, "BUTTON")) {
                const int idLine = m_lexer.Peek().line;
                const UINT id = ResourceId();
                if (id == 0)
                    Fail(idLine, "a tool-bar button needs an id other than 0");
                bar.items.push_back(id);
            } else if (t.kind == TokenKind::End) {
                Fail(t.line, "TOOLBAR without END");
            } else {
                Fail(t.line, "expected BUTTON, SEPARATOR or END but found " + Describe(t));
            }
        }
        m_lexer.Next();
        return bar;
    }

    static constexpr int kMaxToolBarImage = 256;

    std::vector<std::uint8_t> EmbeddedFile()
    {
        SkipMemoryFlags();
        const int line = m_lexer.Peek().line;
        std::string name = ExpectString();
        for (char& c : name) {
            if (c == '\\')
                c = '/';
        }
        std::vector<std::uint8_t> bytes;
        if (name.empty() || !m_loadFile || !m_loadFile(name, bytes))
            Fail(line, "cannot read file '" + name + "'");
        return bytes;
    }

    DefineTable m_defines;
    std::set<std::string> m_expanding;
    int m_depth = 0;
    Lexer m_lexer;
    const ResourceFileLoader& m_loadFile;
    ParsedScript m_result;
};

template <typename T, typename Map>
void CheckNew(const std::vector<Located<T>>& entries, const char* kind, const Map& existing,
              std::map<std::string, std::string>& origins, const std::string& file)
{
    for (const auto& entry : entries) {
        const std::string key = std::string(kind) + " " + std::to_string(entry.id);
        const std::string here = file + ":" + std::to_string(entry.line);
        const auto [it, inserted] = origins.emplace(key, here);
        if (!inserted || existing.count(entry.id))
            Fail(entry.line, std::string(kind) + " id " + std::to_string(entry.id) + " is already defined at " +
                                 it->second);
    }
}

template <typename T, typename Map>
void MergeInto(std::vector<Located<T>>& entries, Map& into)
{
    for (auto& entry : entries)
        into.emplace(entry.id, std::move(entry.value));
}

template <typename Map>
const typename Map::mapped_type* FindIn(const Map& map, UINT id)
{
    const auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}

} // namespace

bool ResourceSet::AddScript(std::string_view fileName, std::string_view text, const ResourceFileLoader& loadFile,
                            std::string& error)
{
    const std::string file(fileName);
    try {
        ParsedScript parsed = ScriptParser(text, loadFile).Parse();
        std::map<std::string, std::string> origins = m_origins;
        CheckNew(parsed.strings, "string", m_strings, origins, file);
        CheckNew(parsed.dialogs, "dialog", m_dialogs, origins, file);
        CheckNew(parsed.menus, "menu", m_menus, origins, file);
        CheckNew(parsed.bitmaps, "bitmap", m_bitmaps, origins, file);
        CheckNew(parsed.cursors, "cursor", m_cursors, origins, file);
        CheckNew(parsed.icons, "icon", m_icons, origins, file);
        CheckNew(parsed.accelerators, "accelerator table", m_accelerators, origins, file);
        CheckNew(parsed.toolBars, "toolbar", m_toolBars, origins, file);
        MergeInto(parsed.strings, m_strings);
        MergeInto(parsed.dialogs, m_dialogs);
        MergeInto(parsed.menus, m_menus);
        MergeInto(parsed.bitmaps, m_bitmaps);
        MergeInto(parsed.cursors, m_cursors);
        MergeInto(parsed.icons, m_icons);
        MergeInto(parsed.accelerators, m_accelerators);
        MergeInto(parsed.toolBars, m_toolBars);
        m_origins = std::move(origins);
        error.clear();
        return true;
    } catch (const ScriptError& e) {
        error = file + ":" + std::to_string(e.line) + ": " + e.message;
        return false;
    }
}

const std::string* ResourceSet::FindString(UINT id) const { return FindIn(m_strings, id); }
const DialogTemplate* ResourceSet::FindDialog(UINT id) const { return FindIn(m_dialogs, id); }
const MenuTemplate* ResourceSet::FindMenu(UINT id) const { return FindIn(m_menus, id); }
const std::vector<std::uint8_t>* ResourceSet::FindBitmap(UINT id) const { return FindIn(m_bitmaps, id); }
const std::vector<std::uint8_t>* ResourceSet::FindCursor(UINT id) const { return FindIn(m_cursors, id); }
const std::vector<std::uint8_t>* ResourceSet::FindIcon(UINT id) const { return FindIn(m_icons, id); }
const std::vector<AccelEntry>* ResourceSet::FindAccelerators(UINT id) const { return FindIn(m_accelerators, id); }
const ToolBarTemplate* ResourceSet::FindToolBar(UINT id) const { return FindIn(m_toolBars, id); }
