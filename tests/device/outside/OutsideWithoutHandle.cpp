// A stand-in outside dialog library that lacks "SetResourceHandle": the program must never
// enter it. Entering it leaves "outside-call.txt" in the INI file's directory.
#include <cstdio>
#include <string>

namespace {

void Record(const char* iniPath)
{
    const std::string ini = iniPath ? iniPath : "";
    if (std::FILE* out = std::fopen((ini.substr(0, ini.find_last_of('/') + 1) + "outside-call.txt").c_str(), "w")) {
        std::fputs("entered\n", out);
        std::fclose(out);
    }
}

} // namespace

extern "C" __attribute__((visibility("default"))) void DialogDiagnose(const void*, const char* iniPath, const char*)
{
    Record(iniPath);
}

extern "C" __attribute__((visibility("default"))) void DialogAbgleich(const void*, const char* iniPath, const char*)
{
    Record(iniPath);
}
