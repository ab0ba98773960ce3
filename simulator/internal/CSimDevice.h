#pragma once
// What the simulated scanner and the simulated interface unit hold and answer alike: the
// identification values, the access codes, the empty error list, the measured values
// and the pending field, with the answers that only read or change those. Each device
// adds its own commands and its own records.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"
#include "simulator/internal/SimAccessCodes.h"
#include "simulator/internal/SimFieldRecord.h"
#include "simulator/internal/SimMeasuredValues.h"
#include "simulator/internal/SimSettings.h"

class CSimDevice : public CObject {
public:
    // The archive form is the version byte 1 alone; any other version is refused with
    // the archive's bad-schema error.
    void Serialize(CArchive& ar) override;

    int GetTypeCode() const { return m_typeCode; }
    DWORD GetFirmwareVersion() const { return m_firmwareVersion; }
    BYTE GetOperatingMode() const { return m_operatingMode; }
    const SimAccessCodes& AccessCodes() const { return m_accessCodes; }
    SimMeasuredValues& MeasuredValues() { return m_measured; }
    const SimFieldRecord& PendingField() const { return m_pendingField; }

protected:
    // deviceStatus: the status byte of every answer of the device.
    CSimDevice(const char* identityText, const char* versionText, DWORD firmwareVersion, BYTE deviceStatus);

    void AnswerConnectionTest(ConstRequestSpan request, AnswerSpan answer);
    void AnswerAccess(ConstRequestSpan request, AnswerSpan answer);
    void AnswerErrorList(ConstRequestSpan request, AnswerSpan answer);
    void AnswerCodeChange(ConstRequestSpan request, AnswerSpan answer);
    // 0x30 with the capabilities of the given type code; false, with the answer 0x92, for
    // a kind the device does not serve.
    bool AnswerMeasuredKind(ConstRequestSpan request, AnswerSpan answer, DWORD capabilityType);
    // 0x41: step 0 discards the pending field, 1 previews it as the current contour,
    // 2 stores it into stored, stamped with now. Returns the step's status.
    BYTE TakePendingFieldStep(BYTE step, SimFieldRecord& stored);
    // 0x46: step 0 restarts the scan record with the request's time, 1 makes it the
    // pending field. Returns the step's status.
    BYTE TakeTeachInStep(BYTE step, ConstRequestSpan request);
    // The single-value settings, by the inclusive range of their value, kept in a data
    // member of this class or of the device.
    template <BYTE Low, BYTE High>
    void AnswerCheck(ConstRequestSpan request, AnswerSpan answer)
    {
        AnswerSettingCheck(request, answer, SimSettingRange{Low, High});
    }
    template <BYTE Low, BYTE High, auto Value>
    void AnswerStore(ConstRequestSpan request, AnswerSpan answer)
    {
        AnswerSettingStore(request, answer, SimSettingRange{Low, High}, Setting(Value));
    }

    // Answer bytes 9 to 27 of the identification (0x31): version, operating mode and name.
    void WriteIdentificationHead(AnswerSpan answer) const;
    // The answer 0x92 with nothing behind it.
    void AnswerNotServed(AnswerSpan answer) const;

    CString m_identityText;
    CString m_versionText;
    CString m_deviceName;
    SimAccessCodes m_accessCodes;
    DWORD m_firmwareVersion;
    int m_typeCode;
    BYTE m_operatingMode;
    BYTE m_spareA;
    WORD m_constantWord;
    BYTE m_value66;
    BYTE m_value67;
    BYTE m_errorCount = 0; // the device's error list is always empty
    SimFieldRecord m_pendingField;
    SimMeasuredValues m_measured; // base values, scan record, current contour

private:
    template <class Device>
    BYTE& Setting(BYTE Device::*member)
    {
        return static_cast<Device&>(*this).*member;
    }

    BYTE m_deviceStatus;
};
