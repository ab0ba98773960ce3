#pragma once
// Device-wide commands of the documents, each in device sessions of its own with the
// sessions' status texts and prompts. Every road that logged in to a device logs out
// again before the session ends, also when a step failed.
#include "framework/core/WinTypes.h"

#include <memory>

class CKVRConfig;
class CSensorType;

// Prompts of the device-wide commands.
constexpr UINT IDP_SYSTEM_NOT_WRITTEN = 388;
constexpr UINT IDP_SYSTEM_WRITTEN = 389;
constexpr UINT IDP_CONFIRM_WRITE_SYSTEM = 425;
constexpr UINT IDP_CONFIRM_SCANNER_SESSION = 431;
// "%d" stands for the scanner's number; the box's help context is the same id.
constexpr UINT IDP_CONFIRM_ADDRESSED_SCANNER = 432;
constexpr UINT IDP_SCANNER_SESSION_DONE = 437;
constexpr UINT IDP_SCANNER_SESSION_FAILED = 438;
// The service password a scanner behind a KVR unit is addressed with.
constexpr UINT IDS_SCANNER_SERVICE_PASSWORD = 940;

// The value the default system leaves in the KVR unit's setting of command 0x66.
constexpr BYTE kDefaultSystemSetting = 0;

// After message 425: a default system (one scanner, one field pair, one case) written to
// the KVR unit in both steps, then its setting of command 0x66.
void WriteKVRDefaultSystem();
// The default system for a unit whose scanners are of the type.
std::unique_ptr<CKVRConfig> MakeKVRDefaultSystem(const CSensorType& type);
// A session with one of the scanners behind the KVR unit (its device command 0x50).
void RunKVRScannerSession();
// After message 425: the ZOK scanner's whole system put into its default state.
void WriteZOKWholeSystem();
// After message 431: the ZOK scanner's session, its device command 0x50.
void RunZOKScannerSession();
