// Private clipboard formats: archived data placed and read back through shared memory files.
#include "framework/core/CArchive.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

namespace {

HGLOBAL ArchiveOf(const CString& text, int value)
{
    CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE, 4096);
    {
        CArchive ar(&file, CArchive::store);
        ar << value << text;
        ar.Close();
    }
    return file.Detach();
}

void ReadArchive(HGLOBAL block, CString& text, int& value)
{
    CSharedFile file;
    file.SetHandle(block, FALSE);
    CArchive ar(&file, CArchive::load);
    ar >> value >> text;
}

TEST(ClipboardTest, PrivateFormatsRoundTripAndKeepEachOther)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr)) << "already open";
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_NE(SetClipboardData(522, ArchiveOf("protective", 1)), nullptr);
    EXPECT_NE(SetClipboardData(523, ArchiveOf("warning äö", -7)), nullptr);
    ASSERT_TRUE(CloseClipboard());

    EXPECT_TRUE(IsClipboardFormatAvailable(522));
    EXPECT_TRUE(IsClipboardFormatAvailable(523));
    EXPECT_FALSE(IsClipboardFormatAvailable(524));
    EXPECT_EQ(GetClipboardData(522), nullptr) << "only while open";

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardData(524), nullptr);
    CString text;
    int value = 0;
    ReadArchive(GetClipboardData(523), text, value);
    EXPECT_EQ(text, "warning äö");
    EXPECT_EQ(value, -7);
    ReadArchive(GetClipboardData(522), text, value);
    EXPECT_EQ(text, "protective");
    EXPECT_EQ(value, 1);
    EXPECT_EQ(SetClipboardData(522, nullptr), nullptr) << "no block, no data";
    EXPECT_TRUE(IsClipboardFormatAvailable(522));
    ASSERT_TRUE(CloseClipboard());
}

} // namespace
