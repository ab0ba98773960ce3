#include "diagnose/internal/DiagnoseTexts.h"

#include "diagnose/internal/DiagnoseState.h"
#include "framework/core/Resources.h"
#include "framework/ui/MessageBox.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kStringSize = 129;   // 128 characters and a NUL
constexpr std::size_t kMessageLength = 159;

std::array<char, kDiagnoseTextSize> g_textBuffer{};
std::array<char, kDiagnoseTextSize> g_formatBuffer{};

std::string LoadLanguageString(UINT id)
{
    std::array<char, kStringSize> text{};
    LoadString(TheDiagnoseState().resources, id, text.data(), int(text.size()));
    return text.data();
}

std::string Insert(const std::string& text, std::initializer_list<TextArg> args)
{
    std::vector<const char*> inserts;
    for (const TextArg& arg : args)
        inserts.push_back(arg.Text().c_str());
    CString result;
    AfxFormatStrings(result, text.c_str(), inserts.data(), int(inserts.size()));
    return result.c_str();
}

const char* IntoBuffer(std::array<char, kDiagnoseTextSize>& buffer, const std::string& text)
{
    const std::string cut = CutText(text, buffer.size() - 1);
    std::memcpy(buffer.data(), cut.c_str(), cut.size() + 1);
    return buffer.data();
}

// One conversion of a format: its text ("%-5u") and its type letter.
struct Conversion {
    std::string directive; // the conversion as written, e.g. "%5u"
    char type = 0;
};

// Splits a format into literal pieces and conversions; false on a conversion it does
// not take.
bool SplitFormat(const char* format, std::vector<std::string>& literals, std::vector<Conversion>& conversions)
{
    std::string literal;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            literal += *p;
            continue;
        }
        if (p[1] == '%') {
            literal += '%';
            ++p;
            continue;
        }
        Conversion conversion{"%", 0};
        ++p;
        while (*p && std::strchr("-+ #0", *p))
            conversion.directive += *p++;
        while (*p >= '0' && *p <= '9')
            conversion.directive += *p++;
        if (*p == '.') {
            conversion.directive += *p++;
            while (*p >= '0' && *p <= '9')
                conversion.directive += *p++;
        }
        if (!*p || !std::strchr("sdiuxX", *p))
            return false;
        conversion.type = *p;
        conversion.directive += *p;
        literals.push_back(literal);
        literal.clear();
        conversions.push_back(conversion);
    }
    literals.push_back(literal);
    return true;
}

std::string FormatOne(const Conversion& conversion, const TextArg& arg)
{
    std::array<char, kDiagnoseTextSize> out{};
    if (conversion.type == 's')
        std::snprintf(out.data(), out.size(), conversion.directive.c_str(), arg.Text().c_str());
    else if (conversion.type == 'd' || conversion.type == 'i')
        std::snprintf(out.data(), out.size(), conversion.directive.c_str(), int(arg.Number()));
    else
        std::snprintf(out.data(), out.size(), conversion.directive.c_str(), unsigned(arg.Number()));
    return out.data();
}

std::string JoinArguments(std::initializer_list<TextArg> args)
{
    std::string joined;
    for (const TextArg& arg : args) {
        if (!joined.empty())
            joined += ' ';
        joined += arg.Text();
    }
    return joined;
}

} // namespace

std::string CutText(std::string text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

const char* LoadDiagnoseText(UINT id, std::initializer_list<TextArg> args)
{
    return IntoBuffer(g_textBuffer, Insert(LoadLanguageString(id), args));
}

const char* FormatDiagnoseText(const char* format, std::initializer_list<TextArg> args)
{
    std::vector<std::string> literals;
    std::vector<Conversion> conversions;
    bool fits = format && SplitFormat(format, literals, conversions) && conversions.size() == args.size();
    std::string text;
    if (fits) {
        auto arg = args.begin();
        for (std::size_t i = 0; i < conversions.size() && fits; ++i, ++arg) {
            fits = (conversions[i].type == 's') != arg->IsNumber();
            text += literals[i] + FormatOne(conversions[i], *arg);
        }
        text += literals.back();
    }
    return IntoBuffer(g_formatBuffer, fits ? text : JoinArguments(args));
}

int ShowDiagnoseMessage(HWND parent, UINT type, int id, std::initializer_list<TextArg> args)
{
    std::string text;
    if (id == -1)
        text = args.size() > 0 ? args.begin()->Text() : std::string();
    else
        text = Insert(LoadLanguageString(UINT(id)), args);
    const std::string caption = LoadLanguageString(IDS_DIAGNOSE_CAPTION);
    return MessageBox(parent, CutText(text, kMessageLength).c_str(), caption.c_str(), type);
}
