#pragma once
// Reads printed PDF files back with the poppler tools: the page count, the text of one
// page and where its words lie. Tests that need them skip when the tools are missing.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// What pdfinfo says of the file (page count, page size, ...).
inline std::string PdfInfo(const std::string& path) { return RunShell("pdfinfo '" + path + "' 2>/dev/null"); }

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

// A word of a page as pdftotext -bbox places it: its box in points from the page's top left.
struct PdfWord {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    double Height() const { return yMax - yMin; }
};

// The words of one page (from 1).
inline std::vector<PdfWord> PdfPageWords(const std::string& path, int page)
{
    const std::string n = std::to_string(page);
    const std::string xml = RunShell("pdftotext -bbox -f " + n + " -l " + n + " '" + path + "' - 2>/dev/null");
    std::vector<PdfWord> words;
    auto number = [&](std::size_t from, const char* name) {
        const std::size_t at = xml.find(std::string(name) + "=\"", from);
        return at == std::string::npos ? 0.0 : std::atof(xml.c_str() + at + std::strlen(name) + 2);
    };
    for (std::size_t at = xml.find("<word "); at != std::string::npos; at = xml.find("<word ", at + 1)) {
        PdfWord word;
        word.xMin = number(at, "xMin");
        word.yMin = number(at, "yMin");
        word.xMax = number(at, "xMax");
        word.yMax = number(at, "yMax");
        const std::size_t open = xml.find('>', at) + 1;
        word.text = xml.substr(open, xml.find("</word>", open) - open);
        words.push_back(word);
    }
    return words;
}

// The page's height in points (0 when it cannot be read).
inline double PdfPageHeight(const std::string& path, int page)
{
    const std::string n = std::to_string(page);
    const std::string xml = RunShell("pdftotext -bbox -f " + n + " -l " + n + " '" + path + "' - 2>/dev/null");
    const std::size_t at = xml.find("<page ");
    if (at == std::string::npos) return 0;
    const std::size_t height = xml.find("height=\"", at);
    return height == std::string::npos ? 0 : std::atof(xml.c_str() + height + 8);
}
