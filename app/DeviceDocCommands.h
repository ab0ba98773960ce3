#pragma once
// Command, prompt and hint ids of both device documents.
#include "framework/core/WinTypes.h"

// Commands of the device documents.
constexpr UINT ID_MODE_MONITOR = 32785;
constexpr UINT ID_MODE_TEACH_IN = 32787;
constexpr UINT ID_MODE_EDIT = 32788;
constexpr UINT ID_MODE_VERIFY = 32789;
constexpr UINT ID_FIELD_TRANSFER = 32790;
constexpr UINT ID_MODE_REPLAY = 32808;
constexpr UINT ID_WRITE_SYSTEM = 32866;
constexpr UINT ID_MODE_SIMULATION = 32876;
constexpr UINT ID_SCANNER_SESSION = 32916;
constexpr UINT ID_READ_FIELD = 32791;
constexpr UINT ID_TEST_CONNECTION = 32792;
constexpr UINT ID_EDIT_CONFIGURATION = 32861;
constexpr UINT ID_READ_CONFIGURATION = 32862;
constexpr UINT ID_SEND_CONFIGURATION = 32863;
constexpr UINT ID_CONFIGURATION_WIZARD = 32872;
constexpr UINT ID_DIAGNOSIS_RESULTS = 32795;
constexpr UINT ID_PROTOCOL_RESULTS = 32811;
constexpr UINT ID_ZOK_PARAMETERS = 32814;
constexpr UINT ID_MONITOR = 32902;

// Prompts of the device documents.
constexpr UINT IDP_OFFER_SEND_CONFIGURATION = 339;
constexpr UINT IDP_SIMULATED_FILE_REFUSED = 428;
// A document file of a version this program does not read (shown by the ZOK document).
constexpr UINT IDP_UNKNOWN_FILE_VERSION = 337;

// Update hints of the device documents.
constexpr LPARAM kHintSelectedScannerChanged = 301;
constexpr LPARAM kHintSimulationChanged = 302;

