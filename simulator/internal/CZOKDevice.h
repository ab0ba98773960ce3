#pragma once
// The simulated scanner of the ZOK family. It answers request records of family 0 the
// way a scanner does and keeps what the program writes to it for the life of the
// library; nothing of it is stored on disk.
#include "shared/SensorTelegram.h"
#include "simulator/internal/CSimDevice.h"
#include "simulator/internal/SimContour.h"
#include "simulator/internal/SimFieldRecord.h"

class CZOKDevice : public CSimDevice {
    DECLARE_SERIAL(CZOKDevice)
public:
    CZOKDevice();

    // 1 when the request is of family 0 and its command is served: the answer is then
    // built. 0 otherwise, with the answer untouched.
    int Telegram(ConstRequestSpan request, AnswerSpan answer);

    const SimFieldRecord& StoredField() const { return m_storedField; }
    const SimContour& WarningContour() const { return m_warningContour; }

private:
    void AnswerMeasuredValues(ConstRequestSpan request, AnswerSpan answer);
    void AnswerIdentification(ConstRequestSpan request, AnswerSpan answer);
    void AnswerWriteField(ConstRequestSpan request, AnswerSpan answer);
    void AnswerPendingField(ConstRequestSpan request, AnswerSpan answer);
    void AnswerWriteWarningContour(ConstRequestSpan request, AnswerSpan answer);
    void AnswerReadField(ConstRequestSpan request, AnswerSpan answer);
    void AnswerTeachIn(ConstRequestSpan request, AnswerSpan answer);
    void AnswerPairCheck(ConstRequestSpan request, AnswerSpan answer);
    void AnswerPairStore(ConstRequestSpan request, AnswerSpan answer);
    void AnswerAccepted(ConstRequestSpan request, AnswerSpan answer);
    void AnswerIndexedValue(ConstRequestSpan request, AnswerSpan answer);

    BYTE m_optionB; // the 0x65 value
    BYTE m_value61;
    BYTE m_value62;
    BYTE m_value64;
    BYTE m_value6A;
    BYTE m_value68;
    BYTE m_pairMode;
    WORD m_pairDelay;
    SimFieldRecord m_storedField;
    SimContour m_warningContour;
};
