#include "app/CKVRSimulationState.h"

#include <array>
#include <utility>

#include "model/CKVRConfig.h"

void CKVRSimulationState::Reset()
{
    m_inputs.fill(kInputLow);
    m_nSpeed = 0;
    m_bFromDevice = FALSE;
    for (CKVRCaseState& state : m_cases)
        state = CKVRCaseState();
}

void CKVRSimulationState::FillCase(const CKVRConfig& config, int caseIndex, CKVRCaseState& state)
{
    const CKVRControlConfig* control = config.GetControlConfig(caseIndex);
    if (control == nullptr)
        return;
    state.caseIndex = caseIndex;
    state.sensorIndex = control->GetSensorIndex();
    state.shelterIndex = control->GetShelterIndex();
}

void CKVRSimulationState::Evaluate(const CKVRConfig& config, const std::array<int, 4>& inputs, int speed)
{
    Reset();
    m_inputs = inputs;
    m_nSpeed = speed;
    int first = -1;
    int second = -1;
    config.FindControlConfig(inputs[0], inputs[1], inputs[2], inputs[3], speed, first, second);
    if (first >= 0)
        FillCase(config, first, m_cases[0]);
    if (second >= 0)
        FillCase(config, second, m_cases[1]);
}

void CKVRSimulationState::TakeDeviceCases(const CKVRConfig& config, int case1, int case2, int speed)
{
    Reset();
    const int count = config.GetControlConfigCount();
    const int numbers[] = {case1, case2};
    for (std::size_t i = 0; i < m_cases.size(); ++i) {
        if (numbers[i] >= 1 && numbers[i] <= count)
            FillCase(config, numbers[i] - 1, m_cases[i]);
    }
    m_nSpeed = speed;
    m_bFromDevice = TRUE;
}

CKVRCaseState* CKVRSimulationState::GetCase(int output)
{
    return output == 1 || output == 2 ? &m_cases[std::size_t(output - 1)] : nullptr;
}

const CKVRCaseState* CKVRSimulationState::GetCase(int output) const
{
    return output == 1 || output == 2 ? &m_cases[std::size_t(output - 1)] : nullptr;
}

void CKVRSimulationState::MergeCaseScanFlags()
{
    CScan* first = m_cases[0].scan.get();
    CScan* second = m_cases[1].scan.get();
    if (first == nullptr || second == nullptr || first->GetBeamCount() != second->GetBeamCount())
        return;
    using Get = BOOL (CScan::*)(int) const;
    using Set = void (CScan::*)(int, BOOL);
    constexpr std::array<std::pair<Get, Set>, 3> kFlags{{{&CScan::GetFlag1, &CScan::SetFlag1},
                                                         {&CScan::GetFlag2, &CScan::SetFlag2},
                                                         {&CScan::GetFlag3, &CScan::SetFlag3}}};
    for (int beam = 0; beam < first->GetBeamCount(); ++beam) {
        for (const auto& [get, set] : kFlags) {
            if ((first->*get)(beam) || (second->*get)(beam)) {
                (first->*set)(beam, TRUE);
                (second->*set)(beam, TRUE);
            }
        }
    }
}
