#pragma once
// The warning-field record of older scanner configurations: beams only. Read only;
// storing writes nothing.
#include "model/CBaseShelter.h"

class CCShelter : public CBaseShelter {
    DECLARE_SERIAL(CCShelter)
public:
    CCShelter() : CBaseShelter(5, 5000, 1, 0x800080) {}

    // The CBaseShelter part and a version byte, which must be 1.
    void Serialize(CArchive& ar) override;
};
