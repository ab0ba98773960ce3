#pragma once
// A monitoring case of a KVR configuration: the states its four control inputs must
// have, an optional speed range, the output flags, the sensor and field pair it uses
// (positions in the configuration's lists) and up to two following cases.
#include "framework/core/CObject.h"
#include "model/CSpeed.h"

#include <array>

class CDataExchange;

// States of a control input in a case.
constexpr int kInputDontCare = 0; // shown "X"
constexpr int kInputLow = 1;      // shown "0"
constexpr int kInputHigh = 2;     // shown "1"

class CKVRControlConfig : public CObject {
    DECLARE_SERIAL(CKVRControlConfig)
public:
    static constexpr int kInputCount = 4;

    CKVRControlConfig() = default;
    CKVRControlConfig(const CKVRControlConfig& other) : CObject() { Copy(other); }
    CKVRControlConfig& operator=(const CKVRControlConfig& other)
    {
        Copy(other);
        return *this;
    }
    void Copy(const CKVRControlConfig& other);

    // Version 1; 29 bytes (see the implementation). Indexes read sign-extended, the other
    // words zero-extended.
    void Serialize(CArchive& ar) override;

    BYTE GetScanCount() const { return m_byScanCount; }
    void SetScanCount(BYTE scans) { m_byScanCount = scans; }
    // Input k counts from 1 to 4; another k reads as don't care and sets nothing.
    int GetInputState(int k) const;
    void SetInputState(int k, int state);
    const CSpeed& GetSpeed() const { return m_speed; }
    CSpeed& GetSpeed() { return m_speed; }
    void SetSpeed(const CSpeed& speed) { m_speed = speed; }
    int GetOutputA() const { return m_nOutputA; }
    void SetOutputA(int flag) { m_nOutputA = flag; }
    int GetOutputB() const { return m_nOutputB; }
    void SetOutputB(int flag) { m_nOutputB = flag; }
    int GetSensorIndex() const { return m_nSensorIndex; }
    void SetSensorIndex(int index) { m_nSensorIndex = index; }
    int GetShelterIndex() const { return m_nShelterIndex; }
    void SetShelterIndex(int index) { m_nShelterIndex = index; }
    int GetFollowCount() const { return m_nFollowCount; }
    void SetFollowCount(int count) { m_nFollowCount = count; }
    int GetFollow1() const { return m_nFollow1; }
    void SetFollow1(int index) { m_nFollow1 = index; }
    int GetFollow2() const { return m_nFollow2; }
    void SetFollow2(int index) { m_nFollow2 = index; }

    // The four inputs as 2-bit codes (input 1 in bits 0-1): state 1 -> 10, state 2 -> 01,
    // any other -> 11 (don't care).
    static BYTE InputPattern(int s1, int s2, int s3, int s4);
    BYTE GetInputPattern() const;

private:
    BYTE m_byScanCount = 2;
    std::array<int, kInputCount> m_nInputState{};
    CSpeed m_speed;
    int m_nOutputA = 0;
    int m_nOutputB = 0;
    int m_nSensorIndex = -1;
    int m_nShelterIndex = -1;
    int m_nFollowCount = 0;
    int m_nFollow1 = -1;
    int m_nFollow2 = -1;
};

// A combo box of the three input states "X" (0), "0" (1) and "1" (2), filled when it does
// not hold exactly three entries. Loading selects the state's entry; saving takes the
// selected entry's state and keeps the state when nothing is selected.
void DDX_InputState(CDataExchange* pDX, int nIDC, int& state);
