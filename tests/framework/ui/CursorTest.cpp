// Cursors: the standard ones by id and cursor resources of a language module.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// A 2x2 cursor file, 32 bits a pixel, hot spot (1, 1).
std::vector<std::uint8_t> TwoByTwoCursor()
{
    std::vector<std::uint8_t> bytes = {
        0, 0, 2, 0, 1, 0,                               // directory: cursor, one image
        2, 2, 0, 0, 1, 0, 1, 0, 64, 0, 0, 0, 22, 0, 0, 0, // entry: size, hot spot, length, offset
        40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 32, 0, // image header: 2 wide, 2x2 high (colour + mask)
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    for (int pixel = 0; pixel < 4; ++pixel)
        bytes.insert(bytes.end(), {0, 0, 255, 255});
    bytes.insert(bytes.end(), 8, 0); // transparency mask, rows padded to 4 bytes
    return bytes;
}

TEST(CursorTest, StandardCursorsByIdAndUnknownIdsGiveNone)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    struct Case {
        LPCTSTR id;
        Qt::CursorShape shape;
    };
    for (const Case c : {Case{IDC_ARROW, Qt::ArrowCursor}, Case{IDC_SIZEALL, Qt::SizeAllCursor}, Case{IDC_WAIT, Qt::WaitCursor}}) {
        HCURSOR cursor = LoadCursor(nullptr, c.id);
        ASSERT_NE(cursor, nullptr);
        EXPECT_EQ(AfxQtCursor(cursor).shape(), c.shape);
        EXPECT_EQ(LoadCursor(nullptr, c.id), cursor) << "shared, as classic";
    }
    EXPECT_EQ(LoadCursor(nullptr, reinterpret_cast<LPCTSTR>(std::uintptr_t(12345))), nullptr);
}

TEST(CursorTest, ResourceCursorKeepsItsHotSpotAndMalformedOnesAreRefused)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    const std::vector<std::uint8_t> good = TwoByTwoCursor();
    const std::vector<std::uint8_t> cut(good.begin(), good.begin() + 30);
    std::string error;
    HINSTANCE module = CreateResourceModule("cursors.rc", "2004 CURSOR \"pan.cur\"\n2016 CURSOR \"cut.cur\"\n",
                                            [&](const std::string& name, std::vector<std::uint8_t>& bytes) {
                                                bytes = name == "pan.cur" ? good : cut;
                                                return true;
                                            },
                                            error);
    ASSERT_NE(module, nullptr) << error;
    HCURSOR pan = LoadCursor(module, reinterpret_cast<LPCTSTR>(std::uintptr_t(2004)));
    ASSERT_NE(pan, nullptr);
    EXPECT_EQ(AfxQtCursor(pan).hotSpot(), QPoint(1, 1));
    EXPECT_EQ(AfxQtCursor(pan).pixmap().size(), QSize(2, 2));
    EXPECT_EQ(LoadCursor(module, reinterpret_cast<LPCTSTR>(std::uintptr_t(2016))), nullptr);
    EXPECT_EQ(LoadCursor(module, reinterpret_cast<LPCTSTR>(std::uintptr_t(2018))), nullptr);
    FreeLibrary(module);
}

} // namespace
