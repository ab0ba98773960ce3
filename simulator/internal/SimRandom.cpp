#include "simulator/internal/SimRandom.h"

#include <ctime>
#include <random>

namespace {

class StandardRandomSource : public SimRandomSource {
public:
    void Seed(DWORD seed) override { m_engine.seed(seed); }
    DWORD Next() override { return DWORD(m_engine()); }

private:
    std::mt19937 m_engine;
};

StandardRandomSource& BuiltInSource()
{
    static StandardRandomSource source;
    return source;
}

SimRandomSource* g_source = nullptr;

} // namespace

SimRandomSource& GetSimRandomSource()
{
    return g_source ? *g_source : BuiltInSource();
}

void SetSimRandomSource(SimRandomSource* source)
{
    g_source = source;
}

void SeedSimRandomWithTime()
{
    GetSimRandomSource().Seed(DWORD(std::time(nullptr)));
}

int RandomInRange(int a, int b)
{
    if (b < a)
        return a;
    const DWORD span = DWORD(b) - DWORD(a) + 1;
    return int(DWORD(a) + GetSimRandomSource().Next() % span);
}
