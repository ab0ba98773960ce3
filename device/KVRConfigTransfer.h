#pragma once
// The mapping between a KVR configuration and the unit's configuration block and case
// records, both ways. The whole-configuration transfers of CKVRSensor
// (KVRConfigTransfer.cpp) are built on it.
#include "device/CKVRSensor.h"
#include "framework/core/CString.h"

#include <memory>

class CKVRConfig;
class CKVRControlConfig;

// The most entries of each list the unit keeps.
constexpr int kKVRMaxSensorConfigs = 4;
constexpr int kKVRMaxFieldPairs = 8;
constexpr int kKVRMaxCases = 15;

// The block of a configuration: sensor type, list counts and names (empty slots sent as
// blanks), unit-wide values and both mode/delay pairs. Value V5 does not travel.
KVRConfigBlock PackConfigBlock(const CKVRConfig& config);
// The sensor type and unit-wide values from a block; the lists, value V5 and bit 7 of
// the used flags keep what the configuration held. Delays outside 2..60 become 2.
void UnpackConfigBlock(const KVRConfigBlock& block, CKVRConfig& config);
// TRUE when the block's three list counts lie within the unit's limits.
BOOL BlockCountsFit(const KVRConfigBlock& block);
// TRUE when the configuration's lists fit the unit's limits, so it can be packed.
BOOL ConfigFitsUnit(const CKVRConfig& config);
// The trimmed name of sensor configuration i (0..3) or field pair i (0..7) in a block.
CString BlockSensorName(const KVRConfigBlock& block, int i);
CString BlockFieldPairName(const KVRConfigBlock& block, int i);

// The record of the case at position (0-based) with its name.
KVRCaseRecord PackCaseRecord(const CKVRControlConfig& control, int position, const CString& name);
// A new case from a record; an unused speed range reads back as 0 to 0.
std::unique_ptr<CKVRControlConfig> UnpackCaseRecord(const KVRCaseRecord& record);
// The trimmed case name of a record.
CString CaseRecordName(const KVRCaseRecord& record);

// Bit 0 always, bits 1..count for the monitoring cases.
WORD KVRCaseMask(int caseCount);
