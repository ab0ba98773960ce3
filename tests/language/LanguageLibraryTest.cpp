#include "framework/core/Library.h"
#include "framework/core/Profile.h"
#include "framework/core/Resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The shipped library, loaded the way the program loads it: by the name in the INI file.
class LanguageLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string ini = ProgramDirectory() + "/Taliso.INI";
        char dll[40];
        GetPrivateProfileString("LANGUAGE_1", "dll", "LAN_GER.DLL", dll, sizeof dll, ini.c_str());
        m_library = LoadLibrary(dll);
        ASSERT_NE(m_library, nullptr) << GetLastLibraryError().c_str();
        AfxSetResourceHandle(m_library);
    }
    void TearDown() override
    {
        if (m_library) {
            EXPECT_TRUE(FreeLibrary(m_library));
        }
        EXPECT_EQ(AfxGetResourceHandle(), nullptr);
    }

    HINSTANCE m_library = nullptr;
};

TEST_F(LanguageLibraryTest, ShippedIniSelectsTheEnglishLibraryAsLanguageOne)
{
    const std::string ini = ProgramDirectory() + "/Taliso.INI";
    EXPECT_EQ(GetPrivateProfileInt("LANGUAGE", "language", 1, ini.c_str()), 1u);
    EXPECT_GE(GetPrivateProfileInt("LANGUAGE", "lan_numbers", 0, ini.c_str()), 1u);
    EXPECT_EQ(ReadProfileString("LANGUAGE_1", "dll", "LAN_GER.DLL", ini.c_str()), "LAN_ENG.DLL");
    EXPECT_EQ(ReadProfileString("LANGUAGE_1", "help", "", ini.c_str()), "HELP_ENG.HLP");
}

TEST_F(LanguageLibraryTest, StringsResolveByIdAndUnknownIdsAreEmpty)
{
    CString text;
    EXPECT_TRUE(text.LoadString(61712));
    EXPECT_EQ(text, "Please enter an integer.");

    text = "previous";
    EXPECT_FALSE(text.LoadString(65000));
    EXPECT_EQ(text, "");

    char buffer[128];
    EXPECT_EQ(LoadString(m_library, 61712, buffer, sizeof buffer), 24);
    EXPECT_STREQ(buffer, "Please enter an integer.");
    EXPECT_EQ(LoadString(m_library, 65000, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST_F(LanguageLibraryTest, InsertsPercentOneAndTwo)
{
    CString text;
    AfxFormatString2(text, 61714, "1", "255");
    EXPECT_EQ(text, "Please enter an integer between 1 and 255.");
    AfxFormatString2(text, 61715, "0.5 cm", "%1");
    EXPECT_EQ(text, "Please enter a number between 0.5 cm and %1.");
}

} // namespace
