#pragma once
#include "framework/core/WinTypes.h"

class CSize : public SIZE {
public:
    constexpr CSize() : SIZE{0, 0} {}
    constexpr CSize(LONG x, LONG y) : SIZE{x, y} {}
    constexpr CSize(SIZE s) : SIZE(s) {}

    constexpr bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
    constexpr CSize operator+(CSize o) const { return {cx + o.cx, cy + o.cy}; }
    constexpr CSize operator-(CSize o) const { return {cx - o.cx, cy - o.cy}; }
    constexpr CSize operator-() const { return {-cx, -cy}; }
    CSize& operator+=(CSize o) { cx += o.cx; cy += o.cy; return *this; }
    CSize& operator-=(CSize o) { cx -= o.cx; cy -= o.cy; return *this; }
};

class CPoint : public POINT {
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(LONG x, LONG y) : POINT{x, y} {}
    constexpr CPoint(POINT p) : POINT(p) {}
    constexpr explicit CPoint(SIZE s) : POINT{s.cx, s.cy} {}

    void Offset(LONG dx, LONG dy) { x += dx; y += dy; }
    void Offset(CSize s) { Offset(s.cx, s.cy); }
    constexpr bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    constexpr CPoint operator+(CSize s) const { return {x + s.cx, y + s.cy}; }
    constexpr CPoint operator-(CSize s) const { return {x - s.cx, y - s.cy}; }
    constexpr CSize operator-(CPoint p) const { return {x - p.x, y - p.y}; }
    constexpr CPoint operator-() const { return {-x, -y}; }
    CPoint& operator+=(CSize s) { x += s.cx; y += s.cy; return *this; }
    CPoint& operator-=(CSize s) { x -= s.cx; y -= s.cy; return *this; }
};
