#include "framework/core/CTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <time.h>

namespace {

// Central European time with its daylight saving rule, given inline so that no time
// zone database is needed.
class CTimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("TZ");
        m_hadTz = old != nullptr;
        if (old) m_oldTz = old;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_hadTz)
            setenv("TZ", m_oldTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool m_hadTz = false;
    std::string m_oldTz;
};

} // namespace

TEST_F(CTimeTest, FieldsOfLocalTimes)
{
    struct Case {
        CTime time;
        std::time_t seconds;
        int year, month, day, hour, minute, second, dayOfWeek;
    };
    const Case cases[] = {
        {CTime(1998, 3, 5, 12, 30, 0), 889097400, 1998, 3, 5, 12, 30, 0, 5},     // standard time
        {CTime(2021, 7, 1, 12, 0, 0), 1625133600, 2021, 7, 1, 12, 0, 0, 5},      // daylight saving
        {CTime(2021, 7, 1, 12, 0, 0, 0), 1625137200, 2021, 7, 1, 13, 0, 0, 5},   // told "standard"
        {CTime(1999, 13, 1, 0, 0, 59), 946681259, 2000, 1, 1, 0, 0, 59, 7},      // month carries over
        {CTime(std::time_t(0)), 0, 1970, 1, 1, 1, 0, 0, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.time.GetTime(), c.seconds);
        EXPECT_EQ(c.time.GetYear(), c.year) << c.seconds;
        EXPECT_EQ(c.time.GetMonth(), c.month) << c.seconds;
        EXPECT_EQ(c.time.GetDay(), c.day) << c.seconds;
        EXPECT_EQ(c.time.GetHour(), c.hour) << c.seconds;
        EXPECT_EQ(c.time.GetMinute(), c.minute) << c.seconds;
        EXPECT_EQ(c.time.GetSecond(), c.second) << c.seconds;
        EXPECT_EQ(c.time.GetDayOfWeek(), c.dayOfWeek) << c.seconds;
    }
    EXPECT_EQ(CTime(1998, 3, 5, 12, 30, 0).Format("%Y-%m-%d %H:%M:%S"), "1998-03-05 12:30:00");
    EXPECT_EQ(CTime(1998, 3, 5, 12, 30, 0).FormatGmt("%H:%M"), "11:30");
    EXPECT_EQ(CTime(std::time_t(0)).Format(""), "");
}

TEST_F(CTimeTest, SpansAndArithmetic)
{
    const CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetTotalHours(), 26);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetTotalMinutes(), 1563);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_EQ(span.Format("%D days %H:%M:%S %% %"), "1 days 02:03:04 % %");

    const CTimeSpan back = -CTimeSpan(0, 1, 30, 15);
    EXPECT_EQ(back.GetTotalMinutes(), -90);
    EXPECT_EQ(back.GetHours(), -1);
    EXPECT_EQ(back.GetMinutes(), -30);
    EXPECT_EQ(back.GetSeconds(), -15);

    // Across the change to daylight saving: 24 real hours later is 01:00 the next day.
    const CTime before(2021, 3, 28, 0, 0, 0);
    CTime after = before + CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(after.GetDay(), 29);
    EXPECT_EQ(after.GetHour(), 1);
    EXPECT_EQ(after - before, CTimeSpan(0, 24, 0, 0));
    after -= CTimeSpan(0, 0, 0, 1);
    EXPECT_LT(before, after);
    EXPECT_EQ(after - CTimeSpan(0, 23, 59, 59), before);
}
