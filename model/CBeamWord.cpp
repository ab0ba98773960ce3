#include "model/CBeamWord.h"

WORD CBeamWord::DistanceMask(int type)
{
    return IsValidType(type) ? WORD((1u << type) - 1u) : 0;
}

WORD CBeamWord::FlagMask(int type)
{
    return IsValidType(type) ? WORD(~DistanceMask(type)) : 0;
}

BOOL CBeamWord::SetBit(int bit, BOOL on)
{
    const WORD mask = WORD(1u << bit);
    m_word = (on & 1) ? WORD(m_word | mask) : WORD(m_word & ~mask);
    return TRUE;
}

BOOL CBeamWord::SetDistance(int type, WORD distance)
{
    if (!IsValidType(type))
        return FALSE;
    m_word = WORD((m_word & FlagMask(type)) | (distance & DistanceMask(type)));
    return TRUE;
}

WORD CBeamWord::GetDistance(int type) const
{
    return WORD(m_word & DistanceMask(type));
}

BOOL CBeamWord::SetFlag13(int type, BOOL on)
{
    return type == 13 ? SetBit(13, on) : FALSE;
}

BOOL CBeamWord::GetFlag13(int type) const
{
    return type == 13 ? GetBit(13) : FALSE;
}

BOOL CBeamWord::SetFlag14(int type, BOOL on)
{
    return (type == 13 || type == 14) ? SetBit(14, on) : FALSE;
}

BOOL CBeamWord::GetFlag14(int type) const
{
    return (type == 13 || type == 14) ? GetBit(14) : FALSE;
}

BOOL CBeamWord::SetFlag15(int type, BOOL on)
{
    return IsValidType(type) ? SetBit(15, on) : FALSE;
}

BOOL CBeamWord::GetFlag15(int type) const
{
    return IsValidType(type) ? GetBit(15) : FALSE;
}

BOOL CBeamWord::SetAllFlags(int type, BOOL on)
{
    if (!IsValidType(type))
        return FALSE;
    m_word = (on & 1) ? WORD(m_word | FlagMask(type)) : WORD(m_word & DistanceMask(type));
    return TRUE;
}

BOOL CBeamWord::AreAllFlagsSet(int type) const
{
    return IsValidType(type) && (m_word & FlagMask(type)) == FlagMask(type);
}

BOOL CBeamWord::IsAnyFlagSet(int type) const
{
    return (m_word & FlagMask(type)) != 0;
}

BOOL CBeamWord::SetFlagBits(int type, BYTE bits)
{
    if (!IsValidType(type))
        return FALSE;
    m_word = WORD((m_word & DistanceMask(type)) | WORD(unsigned(bits) << type));
    return TRUE;
}

WORD CBeamWord::GetFlagBits(int type) const
{
    return IsValidType(type) ? WORD(m_word >> type) : 0;
}

CBeamWord CBeamWord::Pack13(WORD distance, BOOL f13, BOOL f14, BOOL f15)
{
    CBeamWord word;
    word.SetDistance(13, distance);
    word.SetFlag13(13, f13);
    word.SetFlag14(13, f14);
    word.SetFlag15(13, f15);
    return word;
}

CBeamWord CBeamWord::Pack14(WORD distance, BOOL f14, BOOL f15)
{
    CBeamWord word;
    word.SetDistance(14, distance);
    word.SetFlag14(14, f14);
    word.SetFlag15(14, f15);
    return word;
}

CBeamWord CBeamWord::Pack15(WORD distance, BOOL f15)
{
    CBeamWord word;
    word.SetDistance(15, distance);
    word.SetFlag15(15, f15);
    return word;
}
