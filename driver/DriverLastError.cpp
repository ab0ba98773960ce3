#include "driver/DriverLastError.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

HINSTANCE g_resourceHandle = nullptr;
char g_lastErrorText[DRIVER_LAST_ERROR_SIZE] = {};

} // namespace

void SetDriverResourceHandle(HINSTANCE handle)
{
    g_resourceHandle = handle;
}

HINSTANCE GetDriverResourceHandle()
{
    return g_resourceHandle;
}

void SetLastErrorText(UINT stringId)
{
    char text[DRIVER_LAST_ERROR_SIZE] = {};
    const int length = 0;
    if (length <= 0 || text[0] == '\0')
        std::snprintf(text, sizeof text, "Error %u", stringId);
    std::memcpy(g_lastErrorText, text, sizeof g_lastErrorText);
    g_lastErrorText[DRIVER_LAST_ERROR_SIZE - 1] = '\0';
}

int CopyAndClearLastErrorText(char* buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    const std::size_t length = std::min(std::strlen(g_lastErrorText), std::size_t(size - 1));
    std::memcpy(buffer, g_lastErrorText, length);
    buffer[length] = '\0';
    g_lastErrorText[0] = '\0';
    return buffer[0] != '\0' ? 1 : 0;
}

const char* PeekLastErrorText()
{
    return g_lastErrorText;
}
