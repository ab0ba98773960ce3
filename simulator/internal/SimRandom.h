#pragma once
// The random numbers of the simulated devices: one generator for the library, which a
// test may replace with a scripted one.
#include "framework/core/WinTypes.h"

class SimRandomSource {
public:
    virtual ~SimRandomSource() = default;
    virtual void Seed(DWORD seed) = 0;
    virtual DWORD Next() = 0;
};

// The generator the devices draw from.
SimRandomSource& GetSimRandomSource();
// Replaces the generator (the caller keeps ownership); nullptr restores the built-in one.
void SetSimRandomSource(SimRandomSource* source);

// Seeds the generator with the current time in seconds.
void SeedSimRandomWithTime();

// a plus the generator's next value modulo (b - a + 1); a when b is below a.
int RandomInRange(int a, int b);
