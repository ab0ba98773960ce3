#include "simulator/internal/SimAnswer.h"

#include <algorithm>
#include <string>

BYTE SimAnswerCommand(BYTE requestCommand)
{
    return requestCommand == 0x10 ? kSimAnswerConnectionTest : BYTE(requestCommand | 0x80);
}

void BeginSimAnswer(AnswerSpan answer, BYTE deviceStatus, BYTE answerCommand)
{
    std::fill_n(answer.begin(), kSimClearedAnswerBytes, BYTE(0));
    SetRecordWord(answer, AnswerOffset::Marker, kAnswerMarker);
    answer[AnswerOffset::Status] = deviceStatus;
    answer[AnswerOffset::Command] = answerCommand;
}

CString ReadSimText(ConstRequestSpan request, std::size_t offset, std::size_t maxLength)
{
    std::string text;
    for (std::size_t i = offset; i < request.size() && text.size() < maxLength && request[i] != 0; ++i)
        text += char(request[i]);
    return CString(std::move(text));
}

void WriteSimText(AnswerSpan answer, std::size_t offset, const CString& text, std::size_t width)
{
    const std::size_t length = std::min<std::size_t>(std::size_t(text.GetLength()), width);
    for (std::size_t i = 0; i < length && offset + i < answer.size(); ++i)
        answer[offset + i] = BYTE(text[int(i)]);
}

void WriteSimContour(AnswerSpan answer, std::size_t offset, const SimContour& contour)
{
    SetRecordWord(answer, offset, contour.count);
    const std::size_t count = std::min<std::size_t>(contour.count, kContourBeams);
    for (std::size_t i = 0; i < count; ++i)
        SetRecordWord(answer, offset + 2 + 2 * i, contour.words[i]);
}
