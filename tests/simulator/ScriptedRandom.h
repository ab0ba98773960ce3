#pragma once
// A random source for tests: hands out scripted values in turn (0 once they run out) and
// is installed for the life of the object.
#include "simulator/internal/SimRandom.h"

#include <cstddef>
#include <vector>

class ScriptedRandom : public SimRandomSource {
public:
    explicit ScriptedRandom(std::vector<DWORD> values) : m_values(std::move(values)) { SetSimRandomSource(this); }
    ~ScriptedRandom() override { SetSimRandomSource(nullptr); }
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    void Seed(DWORD) override { ++seeds; }
    DWORD Next() override { return m_next < m_values.size() ? m_values[m_next++] : 0; }

    int seeds = 0;

private:
    std::vector<DWORD> m_values;
    std::size_t m_next = 0;
};
