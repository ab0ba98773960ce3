#pragma once
// What a simulated device measures: base values that every scan varies a little, the
// scan record of a contour being taught, and the current contour whose beams a
// verification marks step by step. Answers the measured-value request (0x30).
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"
#include "simulator/internal/SimContour.h"
#include "simulator/internal/SimFieldRecord.h"

#include <cstddef>

// Kinds of the measured-value request (request byte 10).
enum : BYTE {
    SIM_VALUES_SCAN = 1,         // base values plus 0..25 cm
    SIM_VALUES_TEACH_IN = 3,     // a new scan record of 375..400 cm
    SIM_VALUES_VERIFICATION = 4, // the current contour, the next beams marked
};

class SimMeasuredValues {
public:
    static constexpr WORD kBaseDistance = 500;
    static constexpr WORD kContourDistance = 400;
    static constexpr int kTeachInDistance = 375;
    static constexpr int kMaxNoise = 25;

    SimMeasuredValues();

    static bool ServesKind(BYTE kind);
    // Beams marked per verification request: all when the device's capability 8 is 2,
    // else a tenth of the contour's count.
    static std::size_t MarksPerRequest(DWORD capability8, WORD contourCount);

    // Writes the count at answer bytes 10-11 and the values from byte 12 for a served
    // kind; changes the scan record (kind 3) or the contour's marks (kind 4).
    void AnswerKind(BYTE kind, AnswerSpan answer, std::size_t marksPerRequest);

    SimContour& BaseValues() { return m_baseValues; }
    SimFieldRecord& ScanRecord() { return m_scanRecord; }
    SimContour& CurrentContour() { return m_currentContour; }
    const SimContour& CurrentContour() const { return m_currentContour; }

private:
    void AnswerScan(AnswerSpan answer);
    void AnswerTeachIn(AnswerSpan answer);
    void AnswerVerification(AnswerSpan answer, std::size_t marksPerRequest);

    SimFieldRecord m_scanRecord;
    SimContour m_baseValues;
    SimContour m_currentContour;
};
