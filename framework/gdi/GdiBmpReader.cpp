#include "framework/gdi/GdiBmpReader.h"

#include <bit>
#include <vector>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionBitfields = 3;
// Far beyond any resource bitmap; refuses sizes that would exhaust memory.
constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Has(std::size_t offset, std::size_t count) const { return offset <= m_size && count <= m_size - offset; }
    std::uint8_t U8(std::size_t o) const { return m_data[o]; }
    std::uint16_t U16(std::size_t o) const { return std::uint16_t(m_data[o] | (m_data[o + 1] << 8)); }
    std::uint32_t U32(std::size_t o) const
    {
        return std::uint32_t(m_data[o]) | (std::uint32_t(m_data[o + 1]) << 8) |
               (std::uint32_t(m_data[o + 2]) << 16) | (std::uint32_t(m_data[o + 3]) << 24);
    }
    std::int32_t I32(std::size_t o) const { return std::int32_t(U32(o)); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

struct BitmapHeader {
    std::size_t headerStart = 0;
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // positive: bottom-up rows
    int bitCount = 0;
    std::uint32_t compression = kCompressionRgb;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    bool hasMasks = false;
};

// One colour channel extracted through its mask and scaled to 8 bits.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t bits = mask >> shift;
    const std::uint32_t raw = (value & mask) >> shift;
    if (bits == 0xFF) return raw;
    return bits == 0 ? 0 : (raw * 255 + bits / 2) / bits;
}

bool ReadHeader(const ByteReader& in, std::size_t start, BitmapHeader& h, CString& error)
{
    if (!in.Has(start, 4)) { error = "bitmap header truncated"; return false; }
    h.headerStart = start;
    h.headerSize = in.U32(start);
    if (h.headerSize == kCoreHeaderSize) {
        if (!in.Has(start, kCoreHeaderSize)) { error = "bitmap header truncated"; return false; }
        h.width = in.U16(start + 4);
        h.height = in.U16(start + 6);
        h.bitCount = in.U16(start + 10);
        return true;
    }
    if (h.headerSize < kInfoHeaderSize) { error = "unknown bitmap header"; return false; }
    if (!in.Has(start, h.headerSize)) { error = "bitmap header truncated"; return false; }
    h.width = in.I32(start + 4);
    h.height = in.I32(start + 8);
    h.bitCount = in.U16(start + 14);
    h.compression = in.U32(start + 16);
    h.colorsUsed = in.U32(start + 32);
    if (h.compression == kCompressionBitfields) {
        // Masks sit in the larger headers, or right after the 40-byte one.
        const std::size_t at = start + kInfoHeaderSize;
        if (!in.Has(at, 12)) { error = "bitmap colour masks truncated"; return false; }
        for (int i = 0; i < 3; ++i) h.masks[i] = in.U32(at + 4 * std::size_t(i));
        h.hasMasks = true;
    }
    return true;
}

bool ValidateHeader(const BitmapHeader& h, CString& error)
{
    if (h.compression != kCompressionRgb && h.compression != kCompressionBitfields) {
        error = "compressed bitmaps are not supported";
        return false;
    }
    switch (h.bitCount) {
    case 1: case 4: case 8: case 24:
        if (h.compression != kCompressionRgb) { error = "colour masks need 16 or 32 bits per pixel"; return false; }
        break;
    case 16: case 32: break;
    default: error = "unsupported bits per pixel"; return false;
    }
    const std::int64_t height = h.height < 0 ? -h.height : h.height;
    if (h.width <= 0 || height <= 0) { error = "bitmap without pixels"; return false; }
    if (h.width * height > kMaxPixels) { error = "bitmap too large"; return false; }
    return true;
}

} // namespace

QImage GdiReadBmp(const std::uint8_t* data, std::size_t size, CString& error)
{
    error.Empty();
    if (!data || size == 0) { error = "no bitmap data"; return {}; }
    const ByteReader in(data, size);

    const bool hasFileHeader = in.Has(0, 2) && in.U8(0) == 'B' && in.U8(1) == 'M';
    std::size_t pixelOffsetFromFile = 0;
    std::size_t headerStart = 0;
    if (hasFileHeader) {
        if (!in.Has(0, kFileHeaderSize)) { error = "bitmap file header truncated"; return {}; }
        pixelOffsetFromFile = in.U32(10);
        headerStart = kFileHeaderSize;
    }

    BitmapHeader h;
    if (!ReadHeader(in, headerStart, h, error) || !ValidateHeader(h, error)) return {};

    // Colour table after the header (and after separate masks of a 40-byte header).
    std::size_t tableStart = headerStart + h.headerSize;
    if (h.hasMasks && h.headerSize == kInfoHeaderSize) tableStart += 12;
    const bool core = h.headerSize == kCoreHeaderSize;
    const std::size_t entrySize = core ? 3 : 4;
    std::size_t paletteCount = 0;
    if (h.bitCount <= 8) {
        paletteCount = std::size_t(1) << h.bitCount;
        if (!core && h.colorsUsed != 0 && h.colorsUsed < paletteCount) paletteCount = h.colorsUsed;
    } else if (!core && h.colorsUsed != 0 && h.colorsUsed <= 256) {
        paletteCount = h.colorsUsed; // optional table of true-colour bitmaps, skipped
    }
    if (!in.Has(tableStart, paletteCount * entrySize)) { error = "bitmap colour table truncated"; return {}; }
    std::vector<QRgb> palette(std::size_t(1) << (h.bitCount <= 8 ? h.bitCount : 0), qRgb(0, 0, 0));
    if (h.bitCount <= 8) {
        for (std::size_t i = 0; i < paletteCount; ++i) {
            const std::size_t e = tableStart + i * entrySize;
            palette[i] = qRgb(in.U8(e + 2), in.U8(e + 1), in.U8(e));
        }
    }

    const std::size_t pixelStart = hasFileHeader ? pixelOffsetFromFile : tableStart + paletteCount * entrySize;
    const bool bottomUp = h.height > 0;
    const int width = int(h.width);
    const int height = int(bottomUp ? h.height : -h.height);
    const std::size_t stride = ((std::size_t(width) * std::size_t(h.bitCount) + 31) / 32) * 4;
    if (!in.Has(pixelStart, stride * std::size_t(height))) { error = "bitmap pixels truncated"; return {}; }

    std::uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
    if (!h.hasMasks) {
        if (h.bitCount == 16) { masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F; }
        else { masks[0] = 0xFF0000; masks[1] = 0x00FF00; masks[2] = 0x0000FF; }
    }

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) { error = "bitmap too large"; return {}; }
    for (int row = 0; row < height; ++row) {
        const std::size_t src = pixelStart + std::size_t(bottomUp ? height - 1 - row : row) * stride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int x = 0; x < width; ++x) {
            QRgb c = 0;
            switch (h.bitCount) {
            case 1: c = palette[(in.U8(src + std::size_t(x) / 8) >> (7 - x % 8)) & 1]; break;
            case 4: c = palette[(in.U8(src + std::size_t(x) / 2) >> (x % 2 ? 0 : 4)) & 0xF]; break;
            case 8: c = palette[in.U8(src + std::size_t(x))]; break;
            case 24: {
                const std::size_t p = src + std::size_t(x) * 3;
                c = qRgb(in.U8(p + 2), in.U8(p + 1), in.U8(p));
                break;
            }
            case 16:
            case 32: {
                const std::uint32_t v = h.bitCount == 16 ? in.U16(src + std::size_t(x) * 2) : in.U32(src + std::size_t(x) * 4);
                c = qRgb(int(Channel(v, masks[0])), int(Channel(v, masks[1])), int(Channel(v, masks[2])));
                break;
            }
            }
            out[x] = c;
        }
    }
    return image;
}
