// Bitmaps read from the bytes of .bmp files and bitmap resources.
#include "GdiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

class Bytes {
public:
    Bytes& U8(unsigned v) { m_data.push_back(std::uint8_t(v)); return *this; }
    Bytes& U16(unsigned v) { return U8(v & 0xFF).U8(v >> 8); }
    Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Bytes& Raw(std::initializer_list<unsigned> values) { for (unsigned v : values) U8(v); return *this; }
    std::vector<std::uint8_t>& Data() { return m_data; }
    std::size_t Size() const { return m_data.size(); }

private:
    std::vector<std::uint8_t> m_data;
};

// A 40-byte info header.
Bytes InfoHeader(int width, int height, int bits, unsigned compression = 0, unsigned colours = 0)
{
    Bytes b;
    b.U32(40).U32(std::uint32_t(width)).U32(std::uint32_t(height)).U16(1).U16(unsigned(bits))
        .U32(compression).U32(0).U32(2835).U32(2835).U32(colours).U32(0);
    return b;
}

// 2 x 2 pixels, 24 bits, bottom row first: blue green / red white (top row).
Bytes Packed24()
{
    Bytes b = InfoHeader(2, 2, 24);
    b.Raw({0xFF, 0, 0, 0, 0xFF, 0, 0, 0});       // bottom: blue, green, padding
    b.Raw({0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}); // top: red, white, padding
    return b;
}

Bytes WithFileHeader(Bytes dib, unsigned pixelOffset)
{
    Bytes file;
    file.U8('B').U8('M').U32(std::uint32_t(14 + dib.Size())).U16(0).U16(0).U32(pixelOffset);
    for (std::uint8_t v : dib.Data()) file.U8(v);
    return file;
}

QImage Load(Bytes& b, BOOL expected = TRUE)
{
    CBitmap bitmap;
    CString error;
    const BOOL ok = bitmap.LoadBitmapFromBytes(b.Data().data(), b.Size(), &error);
    EXPECT_EQ(ok, expected) << error.c_str();
    return ok ? GdiBitmapImage(bitmap.GetSafeHandle()) : QImage();
}

TEST(CBitmap, ReadsFilesAndPackedResourcesWithBottomUpRows)
{
    Bytes packed = Packed24();
    Bytes file = WithFileHeader(Packed24(), 54);
    for (Bytes* b : {&packed, &file}) {
        const QImage image = Load(*b);
        ASSERT_EQ(image.size(), QSize(2, 2));
        EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255));
        EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 255));
        EXPECT_EQ(image.pixel(1, 1), qRgb(0, 255, 0));
    }
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmapFromBytes(packed.Data().data(), packed.Size()));
    BITMAP bm;
    ASSERT_EQ(bitmap.GetBitmap(&bm), int(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 2);
    EXPECT_EQ(bitmap.GetSize(), CSize(2, 2));
}

TEST(CBitmap, ReadsPalettesBitsAndMasks)
{
    // 8 bits, top-down (negative height), two palette entries (red, blue) used.
    Bytes eight = InfoHeader(3, -1, 8, 0, 2);
    eight.Raw({0, 0, 0xFF, 0, 0xFF, 0, 0, 0}).Raw({1, 0, 1, 0});
    QImage image = Load(eight);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 0, 0));

    // 1 bit, nine pixels: the ninth sits in the second byte's top bit.
    Bytes mono = InfoHeader(9, 1, 1);
    mono.Raw({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}).Raw({0x80, 0x80, 0, 0});
    image = Load(mono);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(8, 0), qRgb(255, 255, 255));

    // 16 bits with 5-6-5 masks after the header.
    Bytes masked = InfoHeader(1, 1, 16, 3);
    masked.U32(0xF800).U32(0x07E0).U32(0x001F).U16(0x07E0).U16(0);
    image = Load(masked);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 255, 0));
}

struct BadBitmap {
    const char* name;
    std::function<Bytes()> make;
};

class MalformedBitmaps : public ::testing::TestWithParam<BadBitmap> {};

TEST_P(MalformedBitmaps, AreRefusedWithAReason)
{
    Bytes b = GetParam().make();
    CBitmap bitmap;
    CString error;
    EXPECT_FALSE(bitmap.LoadBitmapFromBytes(b.Size() ? b.Data().data() : nullptr, b.Size(), &error));
    EXPECT_FALSE(error.IsEmpty());
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedBitmaps, ::testing::Values(
    BadBitmap{"empty", [] { return Bytes(); }},
    BadBitmap{"fileHeaderOnly", [] { Bytes b; b.U8('B').U8('M').U32(14); return b; }},
    BadBitmap{"unknownHeaderSize", [] { Bytes b; b.U32(20).U32(1).U32(1); return b; }},
    BadBitmap{"headerCut", [] { Bytes b = InfoHeader(2, 2, 24); b.Data().resize(30); return b; }},
    BadBitmap{"zeroWidth", [] { Bytes b = InfoHeader(0, 2, 24); b.Raw({0, 0, 0, 0}); return b; }},
    BadBitmap{"huge", [] { Bytes b = InfoHeader(60000, 60000, 24); b.Raw({0, 0, 0, 0}); return b; }},
    BadBitmap{"runLengthEncoded", [] { Bytes b = InfoHeader(2, 2, 8, 1); b.Raw({0, 0, 0, 0}); return b; }},
    BadBitmap{"oddBitCount", [] { Bytes b = InfoHeader(2, 2, 3); b.Raw({0, 0, 0, 0}); return b; }},
    BadBitmap{"paletteCut", [] { Bytes b = InfoHeader(2, 2, 8); b.Raw({0, 0, 0, 0}); return b; }},
    BadBitmap{"pixelsShortByOne", [] { Bytes b = Packed24(); b.Data().pop_back(); return b; }},
    BadBitmap{"pixelOffsetBeyondFile", [] { return WithFileHeader(Packed24(), 0xFFFFFF00u); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CBitmap, LoadBitmapAsksTheResourceSource)
{
    CBitmap bitmap;
    GdiSetBitmapResourceSource(nullptr);
    EXPECT_FALSE(bitmap.LoadBitmap(91));
    GdiSetBitmapResourceSource([](UINT id, std::vector<BYTE>& bytes) {
        if (id != 91) return false;
        bytes = Packed24().Data();
        return true;
    });
    EXPECT_TRUE(bitmap.LoadBitmap(91));
    EXPECT_EQ(bitmap.GetSize(), CSize(2, 2));
    EXPECT_FALSE(bitmap.LoadBitmap(92));
    GdiSetBitmapResourceSource(nullptr);
}

} // namespace
