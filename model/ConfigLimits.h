#pragma once
// Response times and speed limits that the configuration records, sheets and reports share.
#include "framework/core/WinTypes.h"

// Response time in ms of a KVR monitoring case with n scans: 40 n + 110.
int KVRResponseTime(BYTE scans);
// Response time in ms of a ZOK scanner with n scans: 40 n.
int ZOKResponseTime(BYTE scans);

// Lowest speed in cm/s that the speed scales can measure: always 10.
int MinSpeedLimit(int scale1, int scale2);
// Highest speed in cm/s: 100000 divided by the larger scale (compared unsigned); 2000 when
// that scale is 0 or less or the quotient exceeds 32767.
int MaxSpeedLimit(int scale1, int scale2);
// 100000 divided by the larger absolute value; 1000 when both are 0.
int MaxSpeedLimitAbs(int scale1, int scale2);
