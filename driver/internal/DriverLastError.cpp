#include "driver/internal/DriverLastError.h"

#include "framework/core/Resources.h"
#include "framework/core/Utf8Text.h"

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

UINT LastErrorTextId(UINT stringId)
{
    switch (stringId) {
    case IDS_DRV_RECEIVE_FAILED:
        return IDS_DRV_TEXT_RECEIVE_FAILED;
    case IDS_DRV_NO_MEMORY:
        return IDS_DRV_TEXT_NO_MEMORY;
    default:
        return stringId;
    }
}

void SetLastErrorText(UINT stringId)
{
    const int length =
        LoadString(g_resourceHandle, LastErrorTextId(stringId), g_lastErrorText, sizeof g_lastErrorText);
    // ErrorSensor reports a failure only with a non-empty text.
    if (length <= 0)
        std::snprintf(g_lastErrorText, sizeof g_lastErrorText, "Error %u", stringId);
}

int CopyAndClearLastErrorText(char* buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    CopyUtf8ToBuffer(g_lastErrorText, buffer, size);
    g_lastErrorText[0] = '\0';
    return buffer[0] != '\0' ? 1 : 0;
}

const char* PeekLastErrorText()
{
    return g_lastErrorText;
}
