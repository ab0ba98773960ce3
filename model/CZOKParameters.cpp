#include "model/CZOKParameters.h"

CZOKParameters::CZOKParameters()
{
    constexpr WORD kDefaultDelay = 400; // 2 s in 1/200 s
    const BYTE defaults[kSize] = {1, 0, BYTE(kDefaultDelay & 0xFF), BYTE(kDefaultDelay >> 8), 1, 0, 2, 0, 0, 0};
    SetData(defaults, kSize);
}
