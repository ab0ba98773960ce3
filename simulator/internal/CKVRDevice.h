#pragma once
// The simulated interface unit of the KVR family. It answers request records of family 1
// the way a unit does and keeps its configuration block, cases and field pairs for the
// life of the library; nothing of it is stored on disk.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"
#include "simulator/internal/CSimDevice.h"
#include "simulator/internal/SimContour.h"
#include "simulator/internal/SimFieldRecord.h"

#include <array>

// One monitoring case of the unit (16 bytes on the unit).
struct SimCaseRecord {
    BYTE sensor = 0;    // sensor index + 1
    BYTE fieldPair = 0; // field-pair index + 1
    WORD control = 0;   // input codes and speed use
    BYTE outputs = 0;
    BYTE scans = 0;
    BYTE nextCase1 = 0;
    BYTE nextCase2 = 0;
    LONG highSpeed = 0;
    LONG lowSpeed = 0;
};

// A field pair: the protective field and its warning contour.
struct SimFieldPair {
    SimFieldRecord field;
    SimContour warningContour;
};

class CKVRDevice : public CSimDevice {
    DECLARE_SERIAL(CKVRDevice)
public:
    static constexpr std::size_t kMaxSensors = 4;
    static constexpr std::size_t kMaxFieldPairs = 8;
    static constexpr std::size_t kMaxCases = 15;

    CKVRDevice();

    // 1 when the request is of family 1 and its command is served: the answer is then
    // built. 0 otherwise, with the answer untouched.
    int Telegram(ConstRequestSpan request, AnswerSpan answer);

    BYTE GetActiveCases() const { return m_activeCases; }
    int GetSensorCount() const { return m_sensorCount; }
    int GetFieldPairCount() const { return m_fieldPairCount; }
    int GetCaseCount() const { return m_caseCount; }
    // Numbers count from 1.
    const SimCaseRecord& CaseRecord(std::size_t number) const { return m_cases.at(number - 1); }
    const SimFieldPair& FieldPair(std::size_t number) const { return m_fieldPairs.at(number - 1); }

private:
    void AnswerMeasuredValues(ConstRequestSpan request, AnswerSpan answer);
    void AnswerIdentification(ConstRequestSpan request, AnswerSpan answer);
    void AnswerCaseMask(ConstRequestSpan request, AnswerSpan answer);

    // Configuration block and case records (KVRBlockCommands.cpp).
    void AnswerConfigBlock(ConstRequestSpan request, AnswerSpan answer);
    void AnswerCaseRecord(ConstRequestSpan request, AnswerSpan answer);
    void AnswerCheckConfigBlock(ConstRequestSpan request, AnswerSpan answer);
    void AnswerStoreConfigBlock(ConstRequestSpan request, AnswerSpan answer);
    void AnswerCheckCaseRecord(ConstRequestSpan request, AnswerSpan answer);
    void AnswerStoreCaseRecord(ConstRequestSpan request, AnswerSpan answer);
    void StoreConfigBlock(ConstRequestSpan request);
    // Calls visit(offset, setting) for each one-byte setting of the block.
    template <class Visit>
    void VisitBlockBytes(Visit visit);
    void StoreCaseRecord(ConstRequestSpan request);

    // Field pairs, pending field and teach-in (KVRFieldCommands.cpp).
    void AnswerFieldWrite(ConstRequestSpan request, AnswerSpan answer);
    void AnswerPendingField(ConstRequestSpan request, AnswerSpan answer);
    void AnswerWarningContour(ConstRequestSpan request, AnswerSpan answer);
    void AnswerFieldRead(ConstRequestSpan request, AnswerSpan answer);
    void AnswerTeachIn(ConstRequestSpan request, AnswerSpan answer);
    // True for a field-pair number from 1 up to the count.
    bool IsFieldPairNumber(BYTE number) const;

    void DrawActiveCases();
    BYTE CaseSelector(BYTE requested) const;
    // The scanner type behind the unit as an interface-unit type code (4 -> 132, ...).
    DWORD InterfaceTypeCode() const;

    BYTE m_typeBits;
    BYTE m_usedBits1;
    BYTE m_usedBits2;
    BYTE m_ossdBits;
    BYTE m_mode1;
    BYTE m_delay1;
    BYTE m_mode2;
    BYTE m_delay2;
    std::array<WORD, 3> m_blockWords; // block bytes 122, 124, 126
    BYTE m_optionV4;
    int m_sensorCount;
    std::array<CString, kMaxSensors> m_sensorNames;
    int m_fieldPairCount;
    std::array<CString, kMaxFieldPairs> m_fieldPairNames;
    std::array<SimFieldPair, kMaxFieldPairs> m_fieldPairs;
    int m_caseCount;
    std::array<CString, kMaxCases> m_caseNames;
    std::array<SimCaseRecord, kMaxCases> m_cases;
    BYTE m_activeCases;           // first active case in bits 0-3, second in bits 4-7
    BYTE m_statusS1;
    BYTE m_statusS2;
    DWORD m_statusL1;
    DWORD m_statusL2;
    BYTE m_statusS3;
};
