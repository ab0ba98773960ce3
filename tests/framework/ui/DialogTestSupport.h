#pragma once
// The resource module of the dialog tests (DialogTest.rc) as the current one, and the
// ids its dialogs use.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace dialogtest {

constexpr UINT IDD_EXCHANGE = 100;
constexpr UINT IDD_OWNER_LIST = 101;
constexpr UINT IDD_PORT = 103;
constexpr UINT IDD_LAYOUT = 104;
constexpr UINT IDD_KEYS = 105;
constexpr UINT IDD_PAGE_FIRST = 110;
constexpr UINT IDD_PAGE_SECOND = 111;
constexpr UINT IDD_PAGE_THIRD = 112;
constexpr UINT IDD_PAGE_TEXT_ONLY = 113; // a page without a tab stop
constexpr UINT IDS_PAGE_SECOND = 900;

constexpr int IDC_NAME = 1001;
constexpr int IDC_COUNT = 1002;
constexpr int IDC_RATIO = 1003;
constexpr int IDC_ENABLED = 1004;
constexpr int IDC_MODE_A = 1005;
constexpr int IDC_MODE_B = 1006;
constexpr int IDC_MODE_C = 1007;
constexpr int IDC_KIND = 1008;
constexpr int IDC_ITEMS = 1009;
constexpr int IDC_LEVEL = 1010;
constexpr int IDC_LISTING = 1011;
constexpr int IDC_NOTES = 1012;
constexpr int IDC_APPLY = 1013;
constexpr int IDC_ROWS = 1020;
constexpr int IDC_PORT = 2002;
constexpr int IDC_BAUD = 2005;
constexpr int IDC_PAGE_EDIT = 1030;
constexpr int IDC_PAGE_VALUE = 1031;

// Makes the test script's module current for the life of the fixture.
class DialogTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        const std::string path = std::string(source ? source : ".") + "/tests/framework/ui/DialogTest.rc";
        std::ifstream file(path);
        ASSERT_TRUE(file) << "cannot read " << path;
        std::stringstream text;
        text << file.rdbuf();
        std::string error;
        m_module = CreateResourceModule("DialogTest.rc", text.str(), nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    HINSTANCE Module() const { return m_module; }

    void TearDown() override
    {
        AfxSetResourceHandle(m_previous);
        if (m_module) FreeLibrary(m_module);
    }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

} // namespace dialogtest
