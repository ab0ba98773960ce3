#include "framework/core/Library.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Library, ClassicNamesMapToSharedObjectsBesideTheProgram)
{
    struct Case {
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"LAN_ENG.DLL", "/opt/taliso/LAN_ENG.so"},
        {"diagnose.dll", "/opt/taliso/diagnose.so"},
        {"/data/lib/ABGLEICH.Dll", "/data/lib/ABGLEICH.so"},
        {"liborudrv.so", "/opt/taliso/liborudrv.so"},
        {"NOEXT", "/opt/taliso/NOEXT.so"},
        {"lib.d/NOEXT", "lib.d/NOEXT.so"},
        {"LAN.DLL.bak", "/opt/taliso/LAN.DLL.bak"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LibraryPathForName(c.name, "/opt/taliso"), c.path);
    }
}

TEST(Library, LoadsFindsExportsAndReportsFailures)
{
    HMODULE library = LoadLibrary("lan_eng.dll"); // the extension matches in any case
    ASSERT_NE(library, nullptr) << GetLastLibraryError().c_str();
    EXPECT_NE(GetProcAddress(library, "TalisoResourceImages"), nullptr);

    EXPECT_EQ(GetProcAddress(library, "NoSuchExport"), nullptr);
    EXPECT_NE(GetLastLibraryError().Find("NoSuchExport"), -1);

    char path[512];
    const DWORD length = GetModuleFileName(library, path, sizeof path);
    EXPECT_EQ(std::string(path, length), ProgramDirectory() + "/LAN_ENG.so");
    EXPECT_TRUE(FreeLibrary(library));

    EXPECT_EQ(LoadLibrary("NO_SUCH_LIBRARY.DLL"), nullptr);
    EXPECT_NE(GetLastLibraryError().Find("NO_SUCH_LIBRARY.so"), -1);
    EXPECT_EQ(LoadLibrary(nullptr), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(Library, ProgramPathIsCutLikeTheClassicCall)
{
    char path[512];
    const DWORD length = GetModuleFileName(nullptr, path, sizeof path);
    const std::string full(path, length);
    EXPECT_EQ(full.substr(0, full.rfind('/')), ProgramDirectory());
    EXPECT_NE(full.find("test_framework_core"), std::string::npos);

    char small[6];
    EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), sizeof small);
    EXPECT_EQ(std::string(small), full.substr(0, 5));
}

} // namespace
