#pragma once
// The identity records that GetZOKSimData and GetKVRSimData fill for a simulated device.
// The records are buffers of the caller; each must hold at least the size below.
#include "framework/core/WinTypes.h"

#include <cstddef>
#include <span>

constexpr std::size_t kZOKSimDataSize = 225;
constexpr std::size_t kKVRSimDataSize = 297;

// Only the named bytes and the ranges the rule clears are written; the rest of the
// caller's buffer keeps its content.
void FillZOKSimData(std::span<BYTE, kZOKSimDataSize> record);
void FillKVRSimData(std::span<BYTE, kKVRSimDataSize> record);
