#pragma once
// The check value that travels with a field write, so the device can verify the
// contour it rebuilds from the field's few numbers.
#include "driver/internal/TelegramFrame.h"
#include "shared/BeamTrigTables.h"

#include <array>
#include <optional>
#include <span>

// Kc(i) = round(4096 cos(i * 0.5 deg)), with Kc(180) = 1 instead of 0;
// Kt(i) = round(512 tan(i * 0.5 deg)), with Kt(180) = 65535 instead of infinity.
inline constexpr std::array<WORD, 181> kCheckCosine = WithBeam180<WORD>(kBeamCosine4096, 1);
inline constexpr std::array<WORD, 181> kCheckTangent = WithBeam180<WORD>(kBeamTangent512, 65535);

// A rectangle with side distances A (0 deg side), B (180 deg side) and front F.
// None when a side is 0: the contour would divide by zero.
std::optional<WORD> RectangleCheckValue(WORD sideA, WORD front, WORD sideB);

// A polygon of n segments given by its n + 1 words (distance in the low 13 bits, flags
// above). None unless 1 <= n <= 360: the interpolation step 360 / n must be at least 1.
std::optional<WORD> PolygonCheckValue(std::span<const WORD> words);

// The check value a request needs, from its record: command 0x40 with shape 0, 1 or 2
// and command 0x48. None for other requests (they carry no check value).
struct FieldCheck {
    RequestError error = RequestError::None;
    std::optional<WORD> value;
    std::size_t offset = 0; // where value goes in the request
};
FieldCheck FieldCheckValue(ConstRequestSpan request);
