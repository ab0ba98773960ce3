#pragma once
// The whole configuration of a KVR interface unit: unit-wide settings and three named,
// ordered lists that own their records: sensor configurations (1 to 4), field pairs (1 to
// 8) and monitoring cases (1 to 15). Cases refer to a sensor, a field pair and following
// cases by their positions in those lists.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "model/CKVRConfigList.h"
#include "model/CKVRControlConfig.h"
#include "model/CKVRSensorConfig.h"
#include "model/CKVRShelterConfig.h"
#include "model/CModeDelay.h"
#include "model/CSensorType.h"
#include "model/CSpeed.h"

#include <memory>

class CListBox;

// Bits of the used flags.
constexpr BYTE kUsesInput1 = 0x01; // inputs 1 to 4: bits 0 to 3
constexpr BYTE kUsesSpeed = 0x10;
constexpr BYTE kUsesOssdA = 0x20;
constexpr BYTE kUsesOssdB = 0x40;

// What the cases of a configuration use: input k (bit k-1) when some case does not treat
// it as don't care, speed (bit 4) with the lowest of 0 and all low bounds and the highest
// of 0 and all high bounds of the ranges in use, output flags A and B (bits 5 and 6).
struct KVRUsedInputs {
    BYTE bits = 0;
    int speedLow = 0;
    int speedHigh = 0;
};

class CKVRConfig : public CObject {
    DECLARE_SERIAL(CKVRConfig)
public:
    CKVRConfig();
    // Deep copies: every list item gets a new object copied from the source's.
    CKVRConfig(const CKVRConfig& other);
    CKVRConfig& operator=(const CKVRConfig& other);
    ~CKVRConfig() override = default;
    // The values and the sensor type, then the three lists rebuilt from the source's. When
    // a copy throws, the three lists are left empty and the exception passes on.
    void Copy(const CKVRConfig& other);

    // Version 2 written; versions 2 and 1 read (see the implementation).
    void Serialize(CArchive& ar) override;

    // Unit-wide values.
    const CSensorType& GetSensorType() const { return m_sensorType; }
    void SetSensorType(const CSensorType& type) { m_sensorType = type; }
    BYTE GetUsedFlags() const { return m_byUsedFlags; }
    void SetUsedFlags(BYTE flags) { m_byUsedFlags = flags; }
    BYTE GetOssdA() const { return m_byOssdA; }
    void SetOssdA(BYTE value) { m_byOssdA = value; }
    BYTE GetOssdB() const { return m_byOssdB; }
    void SetOssdB(BYTE value) { m_byOssdB = value; }
    UINT GetSpeedScale1() const { return m_nSpeedScale1; }
    void SetSpeedScale1(UINT scale) { m_nSpeedScale1 = scale; }
    UINT GetSpeedScale2() const { return m_nSpeedScale2; }
    void SetSpeedScale2(UINT scale) { m_nSpeedScale2 = scale; }
    UINT GetValueV1() const { return m_nValueV1; }
    void SetValueV1(UINT value) { m_nValueV1 = value; }
    BYTE GetValueV2() const { return m_byValueV2; }
    void SetValueV2(BYTE value) { m_byValueV2 = value; }
    BYTE GetDeviceBitV3() const { return m_byDeviceBitV3; }
    void SetDeviceBitV3(BYTE value) { m_byDeviceBitV3 = value; }
    // Pair 1 belongs to output OSSD A, pair 2 to OSSD B.
    CModeDelay& GetModeDelay1() { return m_modeDelay1; }
    const CModeDelay& GetModeDelay1() const { return m_modeDelay1; }
    CModeDelay& GetModeDelay2() { return m_modeDelay2; }
    const CModeDelay& GetModeDelay2() const { return m_modeDelay2; }
    BYTE GetOptionV4() const { return m_byOptionV4; }
    void SetOptionV4(BYTE value) { m_byOptionV4 = value; }
    WORD GetValueV5() const { return m_wValueV5; }
    void SetValueV5(WORD value) { m_wValueV5 = value; }

    // Sensor configurations.
    int AddSensorConfig(const CString& name, std::unique_ptr<CKVRSensorConfig> config);
    CString GetSensorConfigName(int n) const { return m_sensorList.GetName(n); }
    CKVRSensorConfig* GetSensorConfig(int n) const;
    int GetSensorConfigCount() const { return m_sensorList.GetCount(); }
    int RenameSensorConfig(int n, const CString& name) { return m_sensorList.Rename(n, name); }
    int FindSensorConfig(LPCTSTR name) const { return m_sensorList.FindByName(name); }
    // 0 while a case uses sensor n. The cases' sensor indexes above n move down by one.
    int RemoveSensorConfig(int n);
    BOOL IsSensorConfigUsed(int n) const;
    void FillSensorListBox(CListBox* pListBox, BOOL bare) const { m_sensorList.FillListBox(pListBox, bare); }
    const CKVRConfigList& GetSensorList() const { return m_sensorList; }

    // Field pairs.
    int AddShelterConfig(const CString& name, std::unique_ptr<CKVRShelterConfig> config);
    CString GetShelterConfigName(int n) const { return m_shelterList.GetName(n); }
    CKVRShelterConfig* GetShelterConfig(int n) const;
    int GetShelterConfigCount() const { return m_shelterList.GetCount(); }
    int RenameShelterConfig(int n, const CString& name) { return m_shelterList.Rename(n, name); }
    int FindShelterConfig(LPCTSTR name) const { return m_shelterList.FindByName(name); }
    // 0 while a case uses field pair n. The cases' field-pair indexes above n move down by one.
    int RemoveShelterConfig(int n);
    BOOL IsShelterConfigUsed(int n) const;
    void FillShelterListBox(CListBox* pListBox, BOOL bare) const { m_shelterList.FillListBox(pListBox, bare); }
    const CKVRConfigList& GetShelterList() const { return m_shelterList; }

    // Monitoring cases.
    int AddControlConfig(const CString& name, std::unique_ptr<CKVRControlConfig> config);
    CString GetControlConfigName(int n) const { return m_controlList.GetName(n); }
    CKVRControlConfig* GetControlConfig(int n) const;
    int GetControlConfigCount() const { return m_controlList.GetCount(); }
    int RenameControlConfig(int n, const CString& name) { return m_controlList.Rename(n, name); }
    int FindControlConfigByName(LPCTSTR name) const { return m_controlList.FindByName(name); }
    // Following-case references to case n become -1; those above n move down by one.
    int RemoveControlConfig(int n);
    void FillControlConfigList(CListBox* pListBox, BOOL bare) const { m_controlList.FillListBox(pListBox, bare); }
    const CKVRConfigList& GetControlList() const { return m_controlList; }

    void RemoveAll();

    KVRUsedInputs GetUsedInputs() const;
    // The first and second case selected by the input states and the speed (-1 when
    // none); FALSE only when no case matches.
    BOOL FindControlConfig(int s1, int s2, int s3, int s4, int speed, int& first, int& second) const;
    // Case n's input states (and speed range); 0 when there is no case n.
    int GetControlInputs(int n, int& s1, int& s2, int& s3, int& s4) const;
    int GetControlInputsAndSpeed(int n, int& s1, int& s2, CSpeed& speed) const;
    // Speed limits of the two speed scales, in cm/s.
    int GetMinSpeed() const;
    int GetMaxSpeed() const;

    // Plausibility checks (KVRConfigChecks.cpp). Each stops at the first rule that fails
    // and returns 0, after showing that rule's message when show is set; 1 when all pass.
    // Check covers the unit-wide values, then runs CheckControlConfigs, which checks every
    // case and then runs CheckInputCombinations.
    static BOOL Check(const CKVRConfig& config, BOOL show);
    static BOOL CheckControlConfigs(const CKVRConfig& config, BOOL show);
    static BOOL CheckInputCombinations(const CKVRConfig& config, BOOL show);

private:
    BOOL CaseMatches(const CKVRControlConfig& control, BYTE query, int speed) const;
    void CopyLists(const CKVRConfig& other);

    CSensorType m_sensorType;
    BYTE m_byUsedFlags = kUsesInput1 | kUsesOssdA;
    BYTE m_byOssdA = 0;
    BYTE m_byOssdB = 0;
    UINT m_nSpeedScale1 = 50;
    UINT m_nSpeedScale2 = 50;
    UINT m_nValueV1 = 25;
    BYTE m_byValueV2 = 0;
    BYTE m_byDeviceBitV3 = 0;
    CModeDelay m_modeDelay1{0, CModeDelay::kFixedDelay};
    CModeDelay m_modeDelay2{0, CModeDelay::kFixedDelay};
    BYTE m_byOptionV4 = 1;
    WORD m_wValueV5 = 66;
    CKVRConfigList m_sensorList;
    CKVRConfigList m_shelterList;
    CKVRConfigList m_controlList;
};
