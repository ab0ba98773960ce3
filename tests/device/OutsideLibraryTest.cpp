// Loading the outside dialog libraries: stand-in libraries copied under the real file
// names into the directory of a temporary INI file.
#include "device/OutsideLibrary.h"

#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string PointerText(const void* pointer)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

class OutsideLibraryTest : public ::testing::Test {
protected:
    OutsideLibraryTest()
    {
        static const std::string tag = std::to_string(std::random_device{}());
        static std::atomic<int> counter{0};
        m_dir = fs::temp_directory_path() / ("taliso-outside-" + tag + "-" + std::to_string(++counter));
        fs::create_directories(m_dir);
        iniPath = (m_dir / "Taliso.INI").string();
        std::ofstream(iniPath) << "[SETUP]\nPort=1\n";

        std::string error;
        m_language = CreateResourceModule("outside.rc", "STRINGTABLE\nBEGIN\n    1 \"x\"\nEND\n", nullptr, error);
        EXPECT_NE(m_language, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_language);
    }
    ~OutsideLibraryTest() override
    {
        AfxSetResourceHandle(m_previous);
        if (m_language)
            FreeLibrary(m_language);
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    // Copies a stand-in library of the build into the INI file's directory as fileName.
    void Install(const std::string& standIn, const std::string& fileName) const
    {
        const char* bin = std::getenv("TALISO_BIN_DIR");
        const fs::path source = fs::path(bin ? bin : ".") / "outside-test" / (standIn + ".so");
        ASSERT_TRUE(fs::exists(source)) << source;
        fs::copy_file(source, m_dir / fileName, fs::copy_options::overwrite_existing);
    }

    // What the entry recorded; empty when it was never entered.
    std::map<std::string, std::string> Call() const
    {
        std::map<std::string, std::string> values;
        std::ifstream file(m_dir / "outside-call.txt");
        std::string line;
        while (std::getline(file, line)) {
            const auto equals = line.find('=');
            values[line.substr(0, equals)] = equals == std::string::npos ? "" : line.substr(equals + 1);
        }
        return values;
    }
    bool Entered() const { return fs::exists(m_dir / "outside-call.txt"); }

    std::string iniPath;
    HINSTANCE m_language = nullptr;

private:
    fs::path m_dir;
    HINSTANCE m_previous = nullptr;
};

TEST_F(OutsideLibraryTest, EntryGetsLanguageParentIniPathAndPassword)
{
    Install("OutsideRecording", "ABGLEICH.so");
    const HWND parent = reinterpret_cast<HWND>(std::uintptr_t(0x5A5A0));
    ScriptedUi ui;
    ASSERT_TRUE(LoadOutsideDialog(kAlignmentLibrary, kAlignmentEntry, parent, iniPath.c_str(), "SECRET_1"));

    const std::map<std::string, std::string> call = Call();
    EXPECT_EQ(call.at("entry"), "DialogAbgleich");
    EXPECT_EQ(call.at("resource"), PointerText(m_language)) << "the language library comes first";
    EXPECT_EQ(call.at("parent"), PointerText(parent));
    EXPECT_EQ(call.at("ini"), iniPath);
    EXPECT_EQ(call.at("password"), "SECRET_1");
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(OutsideLibraryTest, DiagnosisIsLoadedAnewForEachCall)
{
    Install("OutsideRecording", "DIAGNOSE.so");
    for (int call = 0; call < 2; ++call) {
        ASSERT_TRUE(RunDiagnosis(nullptr, iniPath.c_str(), ""));
        EXPECT_EQ(Call().at("entry"), "DialogDiagnose");
        EXPECT_EQ(Call().at("calls"), "1") << "the library was unloaded after the call before";
    }
}

TEST_F(OutsideLibraryTest, UnfitOrMissingLibraryIsNeverEnteredAndNothingIsShown)
{
    ScriptedUi ui;
    // No library in the INI file's directory: one beside the program does not count.
    EXPECT_FALSE(RunDiagnosis(nullptr, iniPath.c_str(), "pw"));
    EXPECT_FALSE(RunAlignment(nullptr, iniPath.c_str(), "pw"));

    Install("OutsideWithoutHandle", "DIAGNOSE.so");
    EXPECT_FALSE(RunDiagnosis(nullptr, iniPath.c_str(), "pw")) << "the entry is there, SetResourceHandle is not";

    Install("OutsideRecording", "ABGLEICH.so");
    EXPECT_FALSE(LoadOutsideDialog(kAlignmentLibrary, "DialogMissing", nullptr, iniPath.c_str(), "pw"));

    EXPECT_FALSE(Entered());
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_FALSE(LoadOutsideDialog(kAlignmentLibrary, kAlignmentEntry, nullptr, nullptr, "pw")) << "no INI path";
}

TEST(OutsideLibraryPath, LibraryLiesBesideTheIniFile)
{
    EXPECT_EQ(OutsideLibraryPath("/opt/taliso/TALISO.INI", "DIAGNOSE.DLL"), "/opt/taliso/DIAGNOSE.DLL");
    EXPECT_EQ(OutsideLibraryPath("C:\\TALISO\\TALISO.INI", "ABGLEICH.DLL"), "C:\\TALISO\\ABGLEICH.DLL");
    EXPECT_EQ(OutsideLibraryPath("TALISO.INI", "DIAGNOSE.DLL"), "./DIAGNOSE.DLL");
    EXPECT_EQ(OutsideLibraryPath("/" + std::string(400, 'd') + "/T.INI", "ABGLEICH.DLL"),
              "/" + std::string(400, 'd') + "/ABGLEICH.DLL") << "no fixed-size buffer";
}

} // namespace
