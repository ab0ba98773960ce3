#pragma once
// Reads printed PDF files back with the poppler tools: the page count and the text of
// one page. Tests that need them skip when the tools are missing.
#include <array>
#include <cstdio>
#include <string>

inline std::string RunShell(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    pclose(pipe);
    return output;
}

inline bool PdfToolsAvailable()
{
    return !RunShell("command -v pdftotext").empty() && !RunShell("command -v pdfinfo").empty();
}

inline int PdfPageCount(const std::string& path)
{
    const std::string info = RunShell("pdfinfo '" + path + "' 2>/dev/null");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// The page's text (from 1), white space runs folded to single blanks.
inline std::string PdfPageText(const std::string& path, int page)
{
    const std::string n = std::to_string(page);
    const std::string raw = RunShell("pdftotext -f " + n + " -l " + n + " '" + path + "' - 2>/dev/null");
    std::string folded;
    for (const char c : raw) {
        const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\f' || c == '\r';
        if (blank) {
            if (!folded.empty() && folded.back() != ' ') folded += ' ';
        } else {
            folded += c;
        }
    }
    while (!folded.empty() && folded.back() == ' ') folded.pop_back();
    return folded;
}
