#pragma once
#include "framework/core/WinTypes.h"

class CSize : public SIZE {
public:
    constexpr CSize() : SIZE{0, 0} {}
    constexpr CSize(LONG x, LONG y) : SIZE{x, y} {}
    constexpr CSize(SIZE s) : SIZE(s) {}

    constexpr bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
};

class CPoint : public POINT {
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(LONG x, LONG y) : POINT{x, y} {}
    constexpr CPoint(POINT p) : POINT(p) {}

    constexpr bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    constexpr CPoint operator+(CSize s) const { return {x + s.cx, y + s.cy}; }
};
