#pragma once
// The simulated (or, in live monitoring, the device's) state of a KVR unit: its four
// inputs, its speed and the two monitoring cases they select, one per output, each with
// the last scan read for it.
#include "model/CKVRControlConfig.h"
#include "model/CScan.h"

#include <array>
#include <memory>

class CKVRConfig;

struct CKVRCaseState {
    int sensorIndex = -1;
    int shelterIndex = -1;
    int caseIndex = -1;
    std::unique_ptr<CScan> scan;

    BOOL HasCase() const { return caseIndex >= 0; }
};

class CKVRSimulationState {
public:
    CKVRSimulationState() { Reset(); }

    // Inputs low, speed 0, not from the device, no cases, no scans.
    void Reset();

    // Evaluates the configuration's cases for the inputs (kInputLow or kInputHigh each) and
    // the speed.
    void Evaluate(const CKVRConfig& config, const std::array<int, 4>& inputs, int speed);
    // Cases 1-based as the device reports them (any number outside the configuration's
    // cases is none), with the device's speed.
    void TakeDeviceCases(const CKVRConfig& config, int case1, int case2, int speed);

    int GetInput(int n) const { return n >= 0 && n < 4 ? m_inputs[std::size_t(n)] : 0; }
    const std::array<int, 4>& GetInputs() const { return m_inputs; }
    int GetSpeed() const { return m_nSpeed; }
    BOOL IsFromDevice() const { return m_bFromDevice; }
    // Both outputs on one scanner: a beam flag set in one output's scan is set in the
    // other's too (only when both scans have as many beams).
    void MergeCaseScanFlags();

    // Output 1 or 2; null for any other.
    CKVRCaseState* GetCase(int output);
    const CKVRCaseState* GetCase(int output) const;

private:
    // The case's record takes its index and the case's sensor and field pair.
    static void FillCase(const CKVRConfig& config, int caseIndex, CKVRCaseState& state);

    std::array<int, 4> m_inputs{};
    int m_nSpeed = 0;
    BOOL m_bFromDevice = FALSE;
    std::array<CKVRCaseState, 2> m_cases;
};
