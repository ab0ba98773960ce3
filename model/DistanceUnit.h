#pragma once
// Distance unit codes of fields and scans (0 cm, 1 mm, 2 dm) and the inch display.
#include "framework/core/CString.h"

constexpr int kUnitCm = 0;
constexpr int kUnitMm = 1;
constexpr int kUnitDm = 2;

// Centimetres per inch.
constexpr double kCmPerInch = 2.54;

// The nearest 32-bit integer, halves away from zero (2.5 -> 3, -2.5 -> -3). Values beyond
// the 32-bit range give its nearest end; nan gives 0.
int RoundToInt(double value);
inline float CmToInch(float cm) { return cm / float(kCmPerInch); }
inline float InchToCm(float inch) { return inch * float(kCmPerInch); }

// A distance in the unit shown in inch (divided by 2.54, 25.4 or 0.254; an unknown unit by 1),
// and back.
double InchFromUnit(double value, int unit);
double UnitFromInch(double value, int unit);

// A distance from one unit to another (x10, x100, x0.1, x0.01); an unknown unit is taken
// as it is. The callers round the result with RoundToInt.
double ConvertDistanceUnit(double value, int fromUnit, int toUnit);

// The unit's text: string 953 (inch) in inch mode, else 951 cm, 950 mm, 952 dm, an empty
// text for an unknown unit.
CString GetUnitText(int unit, bool inch);
// Decimals of an inch value of the unit: 2 for cm, 3 for mm, 1 for dm, else 0.
int GetUnitPrecision(int unit);

// A distance or an angle with the given decimals ("%.*f"). A value that shows as zero
// shows without a sign: "0.0", never "-0.0".
CString FormatDecimal(double value, int decimals);
