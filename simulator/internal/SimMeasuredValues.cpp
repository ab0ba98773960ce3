#include "simulator/internal/SimMeasuredValues.h"

#include "simulator/internal/SimAnswer.h"
#include "simulator/internal/SimRandom.h"

#include <algorithm>

namespace {

constexpr std::size_t kValuesAt = 10; // the count, then the words

} // namespace

SimMeasuredValues::SimMeasuredValues()
    : m_baseValues(SimContour::Filled(WORD(kContourBeams), kBaseDistance)),
      m_currentContour(SimContour::Filled(WORD(kContourBeams), kContourDistance))
{
}

bool SimMeasuredValues::ServesKind(BYTE kind)
{
    return kind == SIM_VALUES_SCAN || kind == SIM_VALUES_TEACH_IN || kind == SIM_VALUES_VERIFICATION;
}

std::size_t SimMeasuredValues::MarksPerRequest(DWORD capability8, WORD contourCount)
{
    return capability8 == 2 ? kContourBeams : std::size_t(contourCount) / 10;
}

void SimMeasuredValues::AnswerKind(BYTE kind, AnswerSpan answer, std::size_t marksPerRequest)
{
    switch (kind) {
    case SIM_VALUES_SCAN: AnswerScan(answer); break;
    case SIM_VALUES_TEACH_IN: AnswerTeachIn(answer); break;
    case SIM_VALUES_VERIFICATION: AnswerVerification(answer, marksPerRequest); break;
    default: break;
    }
}

void SimMeasuredValues::AnswerScan(AnswerSpan answer)
{
    SeedSimRandomWithTime();
    SimContour scan = m_baseValues;
    const std::size_t count = std::min<std::size_t>(scan.count, kContourBeams);
    for (std::size_t i = 0; i < count; ++i)
        scan.words[i] = WORD(scan.words[i] + RandomInRange(0, kMaxNoise));
    WriteSimContour(answer, kValuesAt, scan);
}

void SimMeasuredValues::AnswerTeachIn(AnswerSpan answer)
{
    SeedSimRandomWithTime();
    m_scanRecord.shape = SIM_SHAPE_BEAMS;
    m_scanRecord.parameter = WORD(kContourBeams);
    SimContour scan;
    scan.count = WORD(kContourBeams);
    for (std::size_t i = 0; i < kContourBeams; ++i) {
        m_scanRecord.values[i] = WORD(kTeachInDistance + RandomInRange(0, kMaxNoise));
        scan.words[i] = m_scanRecord.values[i];
    }
    WriteSimContour(answer, kValuesAt, scan);
}

void SimMeasuredValues::AnswerVerification(AnswerSpan answer, std::size_t marksPerRequest)
{
    const std::size_t count = std::min<std::size_t>(m_currentContour.count, kContourBeams);
    std::size_t marked = 0;
    for (std::size_t i = 0; i < count && marked < marksPerRequest; ++i) {
        WORD& word = m_currentContour.words[i];
        if ((word & kBeamMarkFlags) == 0) {
            word |= kBeamMarkFlags;
            ++marked;
        }
    }
    WriteSimContour(answer, kValuesAt, m_currentContour);
}
