#include "tools/CannedAnswerer.h"

#include <algorithm>

namespace {

constexpr BYTE CONNECTION_TEST = 0x10;
constexpr BYTE IDENTIFICATION = 0x31;
constexpr BYTE ERROR_LIST = 0x32;
constexpr BYTE CONNECTION_ANSWER = 0x91;
constexpr std::size_t VERSION_SIZE = 7;
constexpr std::size_t NAME_SIZE = 8;
constexpr std::size_t MAX_ERRORS = 48;

void PutText(AnswerSpan answer, std::size_t offset, const std::string& text, std::size_t size, BYTE pad)
{
    for (std::size_t i = 0; i < size; ++i)
        answer[offset + i] = i < text.size() ? BYTE(text[i]) : pad;
}

} // namespace

CannedAnswerer::CannedAnswerer(BYTE family)
    : m_family(family), m_version(family == kFamilyKVR ? "03.11" : "03.20")
{
}

bool CannedAnswerer::Answer(ConstRequestSpan request, AnswerSpan answer)
{
    const BYTE command = request[RequestOffset::Command];
    answer[AnswerOffset::Status] = m_family == kFamilyKVR ? kStatusKVRBit : 0;
    switch (command) {
    case CONNECTION_TEST:
        answer[AnswerOffset::Command] = CONNECTION_ANSWER;
        return true;
    case IDENTIFICATION:
        answer[AnswerOffset::Command] = BYTE(command | 0x80);
        Identification(answer);
        return true;
    case ERROR_LIST:
        answer[AnswerOffset::Command] = BYTE(command | 0x80);
        ErrorList(answer);
        return true;
    default:
        return false;
    }
}

void CannedAnswerer::Identification(AnswerSpan answer) const
{
    PutText(answer, 9, m_version, VERSION_SIZE, 0);
    PutText(answer, 19, m_name, NAME_SIZE, ' ');
    if (m_family == kFamilyKVR)
        answer[28] = m_scannerType;
}

void CannedAnswerer::ErrorList(AnswerSpan answer) const
{
    const std::size_t count = std::min(m_errors.size(), MAX_ERRORS);
    answer[9] = BYTE(count);
    for (std::size_t i = 0; i < count; ++i) {
        answer[10 + 2 * i] = m_errors[i].first;
        answer[11 + 2 * i] = m_errors[i].second;
    }
}
