#include "OrudrvScenario.h"

#include "driver/orudrv.h"

#include <string.h>

static void FillRequest(unsigned char* request, unsigned char command)
{
    memset(request, 0, ORUDRV_REQUEST_SIZE);
    request[0] = 0xF0; /* marker 752 */
    request[1] = 0x02;
    request[2] = 0; /* ZOK */
    request[8] = command;
}

void RunOrudrvScenario(const char* iniPath, struct OrudrvScenarioResult* result)
{
    unsigned char request[ORUDRV_REQUEST_SIZE];
    unsigned char answer[ORUDRV_ANSWER_SIZE];
    intptr_t handle;

    memset(result, 0, sizeof *result);
    handle = LoadSensor(iniPath);
    result->loaded = handle != 0;
    result->opened = OpenSensor(handle);
    result->queriedOpen = QuerySensor(handle);

    FillRequest(request, 0x10);
    memset(answer, 0, sizeof answer);
    result->connectionTest = TelegramSensor(handle, request, answer);
    result->connectionMarker = answer[0] | (answer[1] << 8);
    result->connectionCommand = answer[8];

    FillRequest(request, 0x31);
    memset(answer, 0, sizeof answer);
    result->identification = TelegramSensor(handle, request, answer);
    result->identificationCommand = answer[8];
    memcpy(result->version, &answer[9], 7);
    result->version[7] = '\0';

    FillRequest(request, 0x10);
    result->failedTelegram = TelegramSensor(handle, request, answer);
    result->firstError = ErrorSensor(handle, result->firstErrorText, (int)sizeof result->firstErrorText);
    result->secondError = ErrorSensor(handle, result->secondErrorText, (int)sizeof result->secondErrorText);

    result->closed = CloseSensor(handle);
    result->queriedClosed = QuerySensor(handle);
    result->freed = FreeSensor(handle);
    result->freedNull = FreeSensor(0);
    result->nullHandleCalls = OpenSensor(0) + TelegramSensor(0, request, answer);
}
