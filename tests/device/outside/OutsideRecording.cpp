// A stand-in outside dialog library with both exports. Each entry writes what it was
// given to "outside-call.txt" in the INI file's directory, so a test can read it after
// the library is gone again. Plain C++ only: it must not depend on the program.
#include <cstdio>
#include <string>

namespace {

const void* g_resourceHandle = nullptr;
int g_calls = 0; // starts at 0 again whenever the library is loaded anew

void Record(const char* entry, const void* parent, const char* iniPath, const char* password)
{
    const std::string ini = iniPath ? iniPath : "";
    const std::string file = ini.substr(0, ini.find_last_of('/') + 1) + "outside-call.txt";
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (!out)
        return;
    std::fprintf(out, "entry=%s\nresource=%p\nparent=%p\nini=%s\npassword=%s\ncalls=%d\n", entry, g_resourceHandle,
                 parent, ini.c_str(), password ? password : "(null)", ++g_calls);
    std::fclose(out);
}

} // namespace

extern "C" __attribute__((visibility("default"))) void SetResourceHandle(const void* module)
{
    g_resourceHandle = module;
}

extern "C" __attribute__((visibility("default"))) void DialogDiagnose(const void* parent, const char* iniPath,
                                                                       const char* password)
{
    Record("DialogDiagnose", parent, iniPath, password);
}

extern "C" __attribute__((visibility("default"))) void DialogAbgleich(const void* parent, const char* iniPath,
                                                                       const char* password)
{
    Record("DialogAbgleich", parent, iniPath, password);
}
