#include "model/CZOKParameters.h"

#include "model/CZOKIdentity.h"

CZOKParameters::CZOKParameters()
{
    constexpr WORD kDefaultDelay = 400; // 2 s in 1/200 s
    const BYTE defaults[kSize] = {1, 0, BYTE(kDefaultDelay & 0xFF), BYTE(kDefaultDelay >> 8), 1, 0, 2, 0, 0, 0};
    SetData(defaults, kSize);
}

void CZOKParameters::SetScaledValue(BYTE seconds)
{
    const WORD ticks = WORD(seconds * 200);
    SetByteAt(2, BYTE(ticks & 0xFF));
    SetByteAt(3, BYTE(ticks >> 8));
}

void CZOKParameters::SetFromIdentity(const CZOKIdentity& identity)
{
    SetByteAt(0, identity.GetByte19());
    SetByteAt(1, identity.GetByte20());
    SetScaledValue(identity.GetScaledValue());
    SetByteAt(4, identity.GetByte23());
    SetByteAt(5, identity.GetByte24());
    SetByteAt(6, BYTE(identity.GetScanCount()));
    SetByteAt(7, identity.GetByte29());
    SetByteAt(8, identity.GetByte28());
    SetByteAt(9, identity.GetByte30());
}
