#pragma once
// Device-wide commands of the documents, each in device sessions of its own with the
// sessions' status texts and prompts.
#include <memory>

class CKVRConfig;
class CSensorType;

// After message 425: a default system (one scanner, one field pair, one case) written to
// the KVR unit in both steps.
void WriteKVRDefaultSystem();
// The default system for a unit whose scanners are of the type.
std::unique_ptr<CKVRConfig> MakeKVRDefaultSystem(const CSensorType& type);
// A session with one of the scanners behind the KVR unit (device command 0x50).
void RunKVRScannerSession();
// After message 425: the ZOK scanner's whole system put into its default state.
void WriteZOKWholeSystem();
// After message 431: the ZOK scanner's device command 0x50.
void RunZOKDeviceCommand50();
