// Build-time tool: checks the language resource scripts (a broken script or an id
// defined twice fails the build with file and line) and writes a C++ source that
// embeds the scripts and the files they name, exported as TalisoResourceImages.
//
//   taliso_rcpack --output <file.cpp> --depfile <file.d> script.rc...
#include "framework/core/ResourceScript.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Image {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CLiteral(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string GeneratedSource(const std::vector<Image>& images)
{
    std::ostringstream out;
    out << "// Generated from the language resource scripts; do not edit.\n"
           "#include \"framework/core/LibraryExport.h\"\n#include \"framework/core/ResourceScript.h\"\n\nnamespace {\n";
    for (std::size_t i = 0; i < images.size(); ++i) {
        out << "const unsigned char kImage" << i << "[] = {";
        for (std::size_t b = 0; b < images[i].bytes.size(); ++b)
            out << (b % 24 == 0 ? "\n    " : "") << unsigned(images[i].bytes[b]) << ",";
        out << (images[i].bytes.empty() ? "0" : "") << "\n};\n";
    }
    out << "const ResourceFileImage kImages[] = {\n";
    for (std::size_t i = 0; i < images.size(); ++i)
        out << "    {" << CLiteral(images[i].name) << ", kImage" << i << ", " << images[i].bytes.size() << "ul},\n";
    out << "};\n} // namespace\n\n"
           "extern \"C\" TALISO_EXPORT const ResourceFileImage* TalisoResourceImages(int* count)\n"
           "{\n    *count = int(sizeof kImages / sizeof kImages[0]);\n    return kImages;\n}\n";
    return out.str();
}

std::string DepfilePath(const std::string& path)
{
    std::string out;
    for (const char c : path) {
        if (c == ' ' || c == '#' || c == '$')
            out += '\\';
        out += c;
    }
    return out;
}

bool WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return bool(out);
}

} // namespace

int main(int argc, char** argv)
{
    std::string output;
    std::string depfile;
    std::vector<std::string> scripts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--output" && i + 1 < argc)
            output = argv[++i];
        else if (arg == "--depfile" && i + 1 < argc)
            depfile = argv[++i];
        else
            scripts.push_back(arg);
    }
    if (output.empty() || scripts.empty()) {
        std::cerr << "usage: taliso_rcpack --output file.cpp [--depfile file.d] script.rc...\n";
        return 2;
    }

    ResourceSet resources;
    std::vector<Image> images;
    std::map<std::string, std::string> embedded; // name as written -> path read
    std::vector<std::string> dependencies;
    for (const std::string& script : scripts) {
        Image image{BaseName(script), {}};
        if (!ReadFile(script, image.bytes)) {
            std::cerr << script << ": cannot read the resource script\n";
            return 1;
        }
        dependencies.push_back(script);
        const std::string directory = DirectoryOf(script);
        const ResourceFileLoader loader = [&](const std::string& name, std::vector<std::uint8_t>& bytes) {
            const std::string path = directory + "/" + name;
            if (!ReadFile(path, bytes))
                return false;
            const auto [it, added] = embedded.emplace(name, path);
            if (added) {
                images.push_back({name, bytes});
                dependencies.push_back(path);
            }
            return it->second == path;
        };
        const std::string text(image.bytes.begin(), image.bytes.end());
        std::string error;
        images.push_back(std::move(image));
        if (!resources.AddScript(script, text, loader, error)) {
            std::cerr << error << "\n";
            return 1;
        }
    }

    if (!WriteText(output, GeneratedSource(images))) {
        std::cerr << output << ": cannot write\n";
        return 1;
    }
    if (!depfile.empty()) {
        std::string rule = DepfilePath(output) + ":";
        for (const auto& path : dependencies)
            rule += " " + DepfilePath(path);
        if (!WriteText(depfile, rule + "\n")) {
            std::cerr << depfile << ": cannot write\n";
            return 1;
        }
    }
    return 0;
}
