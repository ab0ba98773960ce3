#include "diagnose/internal/DiagnoseState.h"

#include "driver/orudrv.h"

#include <vector>

DiagnoseState& TheDiagnoseState()
{
    static DiagnoseState state;
    return state;
}

bool DriverLine::Telegram(const BYTE* request, BYTE* answer)
{
    return TelegramSensor(m_handle, request, answer) != 0;
}

CString DriverLine::DeviceText(int textClass, int code)
{
    char text[256] = {};
    TextSensor(textClass, code, text, 255, 0);
    return CString(text);
}

CString DriverLine::TakeLastError(int maxLength)
{
    std::vector<char> text(std::size_t(maxLength) + 1, '\0');
    ErrorSensor(m_handle, text.data(), maxLength + 1);
    return CString(text.data());
}

int DriverLine::Setup(HWND parent)
{
    return SetupSensor(m_handle, reinterpret_cast<std::intptr_t>(parent));
}
