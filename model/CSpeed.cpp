#include "model/CSpeed.h"

int CSpeed::Compare(const CSpeed& other) const
{
    if (m_nLow == other.m_nLow && m_nHigh == other.m_nHigh)
        return 0;
    if (other.m_nLow > m_nHigh)
        return 2;
    if (other.m_nHigh < m_nLow)
        return 1;
    return 3;
}

int CSpeed::Classify(int value) const
{
    if (value > m_nHigh)
        return 2;
    if (value < m_nLow)
        return 1;
    return 3;
}
