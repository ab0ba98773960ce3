#pragma once
// Points in time (seconds since 1970, UTC) read in the local time zone, and spans of
// seconds: thin wrappers over std::chrono. Files hold them as 32-bit seconds: writers
// store DWORD(t.GetTime()).
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

#include <chrono>
#include <compare>
#include <ctime>

class CTimeSpan {
public:
    constexpr CTimeSpan() = default;
    constexpr CTimeSpan(std::time_t seconds) : m_span(seconds) {}
    constexpr explicit CTimeSpan(std::chrono::seconds span) : m_span(span) {}
    constexpr CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
        : m_span(std::chrono::days(lDays) + std::chrono::hours(nHours) + std::chrono::minutes(nMins) +
                 std::chrono::seconds(nSecs))
    {
    }

    // Whole days, and the hours, minutes and seconds left over (signed like the span).
    constexpr LONG GetDays() const { return LONG(Whole<std::chrono::days>(m_span)); }
    constexpr LONG GetTotalHours() const { return LONG(Whole<std::chrono::hours>(m_span)); }
    constexpr int GetHours() const { return int(Whole<std::chrono::hours>(m_span % std::chrono::days(1))); }
    constexpr LONG GetTotalMinutes() const { return LONG(Whole<std::chrono::minutes>(m_span)); }
    constexpr int GetMinutes() const { return int(Whole<std::chrono::minutes>(m_span % std::chrono::hours(1))); }
    constexpr std::time_t GetTotalSeconds() const { return m_span.count(); }
    constexpr int GetSeconds() const { return int((m_span % std::chrono::minutes(1)).count()); }

    // %D days, %H hours, %M minutes, %S seconds (two digits each), %% a percent sign.
    CString Format(LPCTSTR pFormat) const;

    constexpr CTimeSpan operator-() const { return CTimeSpan(-m_span); }
    constexpr bool operator==(const CTimeSpan&) const = default;
    constexpr auto operator<=>(const CTimeSpan&) const = default;

private:
    friend class CTime;

    // Counts whole units, cut toward zero.
    template <class Unit>
    static constexpr std::int64_t Whole(std::chrono::seconds span)
    {
        return std::chrono::duration_cast<Unit>(span).count();
    }

    std::chrono::seconds m_span{0};
};

class CTime {
public:
    constexpr CTime() = default;
    constexpr CTime(std::time_t time) : m_time(std::chrono::seconds(time)) {}
    // Local time; nDST < 0 lets the system decide whether daylight saving applies, 0 says
    // standard time, > 0 daylight saving time. Values outside their ranges carry over
    // (month 13 is January of the next year).
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    static CTime GetCurrentTime();

    constexpr std::time_t GetTime() const { return m_time.time_since_epoch().count(); }
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
    constexpr CTime operator+(CTimeSpan span) const { return CTime(m_time + span.m_span); }
    constexpr CTime operator-(CTimeSpan span) const { return CTime(m_time - span.m_span); }
    CTime& operator-=(CTimeSpan span) { m_time -= span.m_span; return *this; }
    constexpr bool operator==(const CTime&) const = default;
    constexpr auto operator<=>(const CTime&) const = default;

private:
    constexpr explicit CTime(std::chrono::sys_seconds time) : m_time(time) {}
    std::tm LocalFields() const;

    std::chrono::sys_seconds m_time{};
};
