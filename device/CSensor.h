#pragma once
// A device of one family on top of the driver instance: switches every exchange, type and
// capability query to the simulator library when simulating, detects the family of the
// device that answers (with a baud-rate scan when asked), and runs the commands both
// families share: connection test, access codes and operating modes, the two-step
// password change and the error list.
//
// Every command builds a cleared request, sends it, and succeeds only when the answer
// arrived with the expected answer code and status; the status (answer byte 9) stays
// readable through GetLastStatus once an answer arrived. No command shows a message.
#include "device/CAPISensor.h"
#include "device/CSensorErrorList.h"

class CSensor : public CAPISensor {
    DECLARE_DYNAMIC(CSensor)
public:
    static constexpr BYTE kUnknownFamily = 255;

    // family: 0 ZOK, 1 KVR, 255 unknown (detect before use).
    explicit CSensor(BYTE family = kUnknownFamily);

    BYTE GetFamily() const { return m_family; }
    BYTE GetLastStatus() const { return m_lastStatus; }
    void SetLastStatus(BYTE status) { m_lastStatus = status; }

    // ZOK when a ZOK probe matches, else KVR when a KVR probe does, else unknown (FALSE).
    BOOL DetectFamily(BOOL scan);
    // Detects an unknown family first; then probes the family.
    BOOL EnsureFamily(BOOL scan);
    // Identification request (0x31) with the family in the request; a match is an answer
    // whose status bit 3 names that family. When no answer arrives and scan is set, the
    // baud codes 9600, 19200, 38400 and 56000 are tried in turn until one matches; without
    // a match the code configured before is set again. The family byte is restored.
    BOOL ProbeFamily(BYTE family, BOOL scan);

    // The type code of the own family, an interface unit's 132, 135, 178 read as the
    // scanner types 4, 7, 50; 0 when unknown.
    int GetSensorTypeCode();
    // A capability number of the device's (unmapped) type code.
    int GetCaps(int index);

    // 0x10: TRUE when answered.
    BOOL TestConnection();
    // 0x20 with a level code character ('0', '1', '2') and its access code.
    BOOL Login(char code, LPCTSTR text);
    // 0x20 with mode byte 2 and a code.
    BOOL SendMode2Code(LPCTSTR text);
    // 0x20 with a mode byte and a password (null: empty).
    BOOL SetOperatingMode(BYTE mode, LPCTSTR text);
    // The same to an explicit device address.
    BOOL SetOperatingModeValue(BYTE mode, BYTE address, LPCTSTR text);
    // 0x42 in two steps: kind 0 the device password, 1 the user password.
    BOOL ChangePassword(BYTE kind, LPCTSTR text);
    // 0x32 into list; FALSE for a wrong answer code or a list longer than 48 entries.
    BOOL ReadErrorList(CSensorErrorList& list);
    BOOL ReadErrorListAt(CSensorErrorList& list, BYTE address);

    int GetSensorType(BYTE family) override;
    int GetSensorCaps(BYTE type, int index) override;
    // Puts the family into the request and exchanges it with the simulator or the driver,
    // under the wait cursor.
    BOOL Telegram(RequestSpan request, AnswerSpan answer) override;

    // The address byte of every request.
    virtual BYTE GetAddress();

protected:
    // Statuses of commands sent in two steps: the first (check) step, the second (commit).
    static constexpr BYTE kFirstStepStatus = 2;
    static constexpr BYTE kSecondStepStatus = 1;

    // A cleared request of the command to this device's address.
    SensorRequest MakeRequest(BYTE command);
    // TRUE when the exchange succeeded and the answer carries the answer code.
    BOOL Exchange(SensorRequest& request, SensorAnswer& answer, BYTE answerCode);
    // Sends a request and checks the answer code; the status is stored when the answer
    // arrived.
    BOOL SendCommand(SensorRequest& request, SensorAnswer& answer, BYTE answerCommand);
    BOOL SendAccessRequest(BYTE subCode, BYTE address, LPCTSTR text);
    // TRUE when the answer names the family; answered tells whether one came.
    BOOL SendProbe(SensorRequest& request, BYTE family, BOOL& answered);

private:
    BYTE m_family;
    BYTE m_lastStatus = 0;
};
