#pragma once
// Points in time (seconds since 1970, UTC) read in the local time zone, and spans of
// seconds. Files hold them as 32-bit seconds: writers store DWORD(t.GetTime()).
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

#include <compare>
#include <ctime>

class CTimeSpan {
public:
    constexpr CTimeSpan() = default;
    constexpr CTimeSpan(std::time_t seconds) : m_timeSpan(seconds) {}
    constexpr CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
        : m_timeSpan(((std::time_t(lDays) * 24 + nHours) * 60 + nMins) * 60 + nSecs)
    {
    }

    // Whole days, and the hours, minutes and seconds left over (signed like the span).
    constexpr LONG GetDays() const { return LONG(m_timeSpan / 86400); }
    constexpr LONG GetTotalHours() const { return LONG(m_timeSpan / 3600); }
    constexpr int GetHours() const { return int(GetTotalHours() - GetDays() * 24); }
    constexpr LONG GetTotalMinutes() const { return LONG(m_timeSpan / 60); }
    constexpr int GetMinutes() const { return int(GetTotalMinutes() - GetTotalHours() * 60); }
    constexpr std::time_t GetTotalSeconds() const { return m_timeSpan; }
    constexpr int GetSeconds() const { return int(GetTotalSeconds() - std::time_t(GetTotalMinutes()) * 60); }

    // %D days, %H hours, %M minutes, %S seconds (two digits each), %% a percent sign.
    CString Format(LPCTSTR pFormat) const;

    constexpr CTimeSpan operator-() const { return -m_timeSpan; }
    constexpr bool operator==(const CTimeSpan&) const = default;
    constexpr auto operator<=>(const CTimeSpan&) const = default;

private:
    std::time_t m_timeSpan = 0;
};

class CTime {
public:
    constexpr CTime() = default;
    constexpr CTime(std::time_t time) : m_time(time) {}
    // Local time; nDST < 0 lets the system decide whether daylight saving applies, 0 says
    // standard time, > 0 daylight saving time. Values outside their ranges carry over
    // (month 13 is January of the next year).
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    static CTime GetCurrentTime();

    constexpr std::time_t GetTime() const { return m_time; }
    // Fields in local time. A time the system cannot break down reads as all zeros.
    int GetYear() const;
    int GetMonth() const;     // 1-12
    int GetDay() const;       // 1-31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday ... 7 = Saturday

    // strftime codes, in the user's locale (its language and date/time formats).
    CString Format(LPCTSTR pFormat) const;
    CString FormatGmt(LPCTSTR pFormat) const;

    constexpr CTimeSpan operator-(CTime other) const { return CTimeSpan(m_time - other.m_time); }
    constexpr CTime operator+(CTimeSpan span) const { return m_time + span.GetTotalSeconds(); }
    constexpr CTime operator-(CTimeSpan span) const { return m_time - span.GetTotalSeconds(); }
    CTime& operator-=(CTimeSpan span) { m_time -= span.GetTotalSeconds(); return *this; }
    constexpr bool operator==(const CTime&) const = default;
    constexpr auto operator<=>(const CTime&) const = default;

private:
    std::tm LocalFields() const;

    std::time_t m_time = 0;
};
