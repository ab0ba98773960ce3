#pragma once
// The simulated scanner of the ZOK family. It answers request records of family 0 the
// way a scanner does and keeps what the program writes to it for the life of the
// library; nothing of it is stored on disk.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"
#include "simulator/internal/SimAccessCodes.h"
#include "simulator/internal/SimContour.h"
#include "simulator/internal/SimFieldRecord.h"
#include "simulator/internal/SimMeasuredValues.h"

class CZOKDevice : public CObject {
    DECLARE_SERIAL(CZOKDevice)
public:
    CZOKDevice();

    // The archive form is the version byte 1 alone; any other version is refused with
    // the archive's bad-schema error.
    void Serialize(CArchive& ar) override;

    // 1 when the request is of family 0 and its command is served: the answer is then
    // built. 0 otherwise, with the answer untouched.
    int Telegram(ConstRequestSpan request, AnswerSpan answer);

    int GetTypeCode() const { return m_typeCode; }
    DWORD GetFirmwareVersion() const { return m_firmwareVersion; }
    BYTE GetOperatingMode() const { return m_operatingMode; }
    const SimAccessCodes& AccessCodes() const { return m_accessCodes; }
    SimMeasuredValues& MeasuredValues() { return m_measured; }
    const SimFieldRecord& StoredField() const { return m_storedField; }
    const SimFieldRecord& PendingField() const { return m_pendingField; }
    const SimContour& WarningContour() const { return m_warningContour; }

private:
    void AnswerConnectionTest(ConstRequestSpan request, AnswerSpan answer);
    void AnswerAccess(ConstRequestSpan request, AnswerSpan answer);
    void AnswerMeasuredValues(ConstRequestSpan request, AnswerSpan answer);
    void AnswerIdentification(ConstRequestSpan request, AnswerSpan answer);
    void AnswerErrorList(ConstRequestSpan request, AnswerSpan answer);
    void AnswerCodeChange(ConstRequestSpan request, AnswerSpan answer);
    void AnswerWriteField(ConstRequestSpan request, AnswerSpan answer);
    void AnswerPendingField(ConstRequestSpan request, AnswerSpan answer);
    void AnswerWriteWarningContour(ConstRequestSpan request, AnswerSpan answer);
    void AnswerReadField(ConstRequestSpan request, AnswerSpan answer);
    void AnswerTeachIn(ConstRequestSpan request, AnswerSpan answer);
    void AnswerPairCheck(ConstRequestSpan request, AnswerSpan answer);
    void AnswerPairStore(ConstRequestSpan request, AnswerSpan answer);
    void AnswerAccepted(ConstRequestSpan request, AnswerSpan answer);
    void AnswerCommand77(ConstRequestSpan request, AnswerSpan answer);
    // The single-value settings, by the inclusive range of their value.
    template <BYTE Low, BYTE High>
    void AnswerCheck(ConstRequestSpan request, AnswerSpan answer);
    template <BYTE Low, BYTE High, BYTE CZOKDevice::*Value>
    void AnswerStore(ConstRequestSpan request, AnswerSpan answer);

    CString m_identityText;
    CString m_versionText;
    CString m_deviceName;
    SimAccessCodes m_accessCodes;
    DWORD m_firmwareVersion;
    int m_typeCode;
    BYTE m_operatingMode;
    BYTE m_spareA;
    BYTE m_optionB; // the 0x65 value
    BYTE m_value61;
    BYTE m_value62;
    BYTE m_value64;
    WORD m_constantWord;
    BYTE m_value66;
    BYTE m_value67;
    BYTE m_value6A;
    BYTE m_value68;
    BYTE m_pairMode;
    WORD m_pairDelay;
    BYTE m_errorCount = 0; // the scanner's error list is always empty
    SimFieldRecord m_storedField;
    SimContour m_warningContour;
    SimFieldRecord m_pendingField;
    SimMeasuredValues m_measured; // base values, scan record, current contour
};
