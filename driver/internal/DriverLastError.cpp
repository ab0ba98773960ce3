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
    SetLastErrorText(stringId, nullptr, nullptr);
}

void SetLastErrorText(UINT stringId, const char* insertion1, const char* insertion2)
{
    char format[DRIVER_LAST_ERROR_SIZE] = {};
    // ErrorSensor reports a failure only with a non-empty text.
    if (LoadString(g_resourceHandle, LastErrorTextId(stringId), format, sizeof format) <= 0) {
        std::snprintf(g_lastErrorText, sizeof g_lastErrorText, "Error %u", stringId);
        return;
    }
    const char* const insertions[] = {insertion1, insertion2};
    CString text;
    AfxFormatStrings(text, format, insertions, 2);
    CopyUtf8ToBuffer(text.c_str(), g_lastErrorText, int(sizeof g_lastErrorText));
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

void PutBackLastErrorText(const char* text)
{
    CopyUtf8ToBuffer(text ? text : "", g_lastErrorText, int(sizeof g_lastErrorText));
}
