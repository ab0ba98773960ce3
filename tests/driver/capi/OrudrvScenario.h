/* A driver session written in C against the public header only; the C++ test around it
 * provides the device and checks what the session saw. */
#ifndef ORUDRV_SCENARIO_H
#define ORUDRV_SCENARIO_H

#ifdef __cplusplus
extern "C" {
#endif

struct OrudrvScenarioResult {
    int loaded;               /* LoadSensor gave a handle */
    int opened;               /* OpenSensor */
    int queriedOpen;          /* QuerySensor after opening */
    int connectionTest;       /* TelegramSensor 0x10 */
    int connectionMarker;     /* answer bytes 0-1 */
    int connectionCommand;    /* answer byte 8 */
    int identification;       /* TelegramSensor 0x31 */
    int identificationCommand;
    char version[8];          /* answer bytes 9-15 */
    int failedTelegram;       /* the third exchange, which the device leaves unanswered */
    int firstError;           /* ErrorSensor after the failure */
    char firstErrorText[256];
    int secondError;          /* ErrorSensor again */
    char secondErrorText[256];
    int closed;               /* CloseSensor */
    int queriedClosed;        /* QuerySensor after closing */
    int freed;                /* FreeSensor of the handle */
    int freedNull;            /* FreeSensor(0) */
    int nullHandleCalls;      /* OpenSensor + TelegramSensor with handle 0, summed */
};

void RunOrudrvScenario(const char* iniPath, struct OrudrvScenarioResult* result);

#ifdef __cplusplus
}
#endif

#endif
