#pragma once
// Hand-built bytes of the field records of older files, as those files hold them.
#include "ByteBuilder.h"

#include <array>
#include <vector>

// Beams of one distance; the first one carries the vertex flag when asked.
inline std::vector<WORD> LegacyBeams(int count, WORD distance, bool firstIsVertex = false)
{
    std::vector<WORD> beams(std::size_t(count), distance);
    if (firstIsVertex && count > 0) beams[0] |= 0x8000;
    return beams;
}

// The CTalsData part: minimum, maximum, the three flag counts, then the beams indexed
// from 0.
inline void AppendTalsData(ByteBuilder& bytes, const std::vector<WORD>& beams, WORD minimum = 0, WORD maximum = 0,
                           std::array<WORD, 3> counts = {})
{
    bytes.Words({minimum, maximum, counts[0], counts[1], counts[2]});
    bytes.Word(WORD(beams.size())).Word(0).Word(WORD(beams.size() - 1));
    for (WORD beam : beams) bytes.Word(beam);
}

// The CBaseShelter part in version 1: colours and handle size.
inline void AppendBaseShelter(ByteBuilder& bytes, const std::vector<WORD>& beams)
{
    AppendTalsData(bytes, beams);
    bytes.Byte(1).Dword(0xFF0000).Dword(0x0080FFFF).Long(2).Long(2);
}

struct LegacyRect {
    LONG left, top, right, bottom;
};

// A CBShelter in version 1 (without its class name).
inline std::vector<BYTE> BShelterBytes(const std::vector<WORD>& beams, const std::vector<LegacyRect>& rects,
                                       DWORD seconds = 900000000)
{
    ByteBuilder bytes;
    AppendBaseShelter(bytes, beams);
    bytes.Byte(1).Dword(seconds).Word(WORD(rects.size()));
    for (const LegacyRect& r : rects) bytes.Long(r.left).Long(r.top).Long(r.right).Long(r.bottom).Long(0);
    return bytes.Bytes();
}

// A CCShelter (without its class name).
inline std::vector<BYTE> CShelterBytes(const std::vector<WORD>& beams)
{
    ByteBuilder bytes;
    AppendBaseShelter(bytes, beams);
    bytes.Byte(1);
    return bytes.Bytes();
}
