#include "model/CTalsData.h"

#include "framework/core/CArchive.h"

#include <algorithm>

IMPLEMENT_SERIAL(CTalsData, CObject, 0)

namespace {

bool IsUsualBeamCount(int count) { return count == 91 || count == 181 || count == 361; }

int ReadZeroExtended(CArchive& ar)
{
    WORD value = 0;
    ar >> value;
    return value;
}

} // namespace

CTalsData::CTalsData(int beamCount) : m_beams(beamCount) {}

void CTalsData::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << WORD(m_nMinDistance) << WORD(m_nMaxDistance) << WORD(m_nFlag15Count) << WORD(m_nFlag14Count)
           << WORD(m_nFlag13Count);
        m_beams.Serialize(ar);
        return;
    }
    m_nMinDistance = ReadZeroExtended(ar);
    m_nMaxDistance = ReadZeroExtended(ar);
    m_nFlag15Count = ReadZeroExtended(ar);
    m_nFlag14Count = ReadZeroExtended(ar);
    m_nFlag13Count = ReadZeroExtended(ar);
    m_beams.Serialize(ar);
    m_bModified = TRUE;
    if (m_nMinDistance == 0) RecomputeExtremes();
}

void CTalsData::RecomputeExtremes()
{
    for (int i = GetLowerIndex(); i <= GetUpperIndex(); ++i) {
        const int distance = GetDistance(i);
        const bool first = i == GetLowerIndex();
        m_nMinDistance = first ? distance : std::min(m_nMinDistance, distance);
        m_nMaxDistance = first ? distance : std::max(m_nMaxDistance, distance);
    }
}

std::vector<WORD> CTalsData::GetBeams() const
{
    std::vector<WORD> words;
    words.reserve(std::size_t(GetBeamCount()));
    for (int i = GetLowerIndex(); i <= GetUpperIndex(); ++i)
        words.push_back(GetBeam(i));
    return words;
}

void CTalsData::SetBeam(int i, WORD word)
{
    if (i < GetLowerIndex() || i > GetUpperIndex()) return;
    const WORD old = GetBeam(i);
    const auto recount = [old, word](int& count, WORD flag) {
        if ((old & flag) && !(word & flag)) --count;
        if (!(old & flag) && (word & flag)) ++count;
    };
    recount(m_nFlag15Count, kFlag15);
    recount(m_nFlag14Count, kFlag14);
    recount(m_nFlag13Count, kFlag13);
    const int distance = word & kDistanceMask;
    m_nMinDistance = std::min(m_nMinDistance, distance);
    m_nMaxDistance = std::max(m_nMaxDistance, distance);
    m_beams.SetAt(i, word);
    m_bModified = TRUE;
}

void CTalsData::ChangeFlag(int i, WORD flag, bool on)
{
    flag &= kFlagMask;
    const auto change = [this, flag, on](int beam) {
        const WORD word = GetBeam(beam);
        SetBeam(beam, on ? WORD(word | flag) : WORD(word & ~flag));
    };
    if (i != -1) {
        change(i);
        return;
    }
    for (int beam = GetLowerIndex(); beam <= GetUpperIndex(); ++beam)
        change(beam);
}

void CTalsData::SetFlag(int i, WORD flag) { ChangeFlag(i, flag, true); }

void CTalsData::ClearFlag(int i, WORD flag) { ChangeFlag(i, flag, false); }

int CTalsData::GetFlagCount(WORD flag) const
{
    switch (flag) {
    case kFlag15:
        return m_nFlag15Count;
    case kFlag14:
        return m_nFlag14Count;
    case kFlag13:
        return m_nFlag13Count;
    default:
        return 0;
    }
}

double CTalsData::GetAngleStep() const
{
    const int count = GetBeamCount();
    const int intervals = IsUsualBeamCount(count) ? count - 1 : count;
    return intervals > 0 ? 180.0 / intervals : 0.0;
}

CSensorPoint CTalsData::GetBeamPoint(int i) const
{
    CSensorPoint point;
    point.SetAngleRadius(float(GetBeamAngle(i)), float(GetDistance(i)));
    return point;
}
