#include "framework/core/CTime.h"

#include <clocale>
#include <cstring>
#include <locale.h>
#include <string>
#include <time.h>

namespace {

// The user's date and time conventions from the environment, independent of the
// process-wide locale that other code may have set for numbers.
class UserTimeLocale {
public:
    UserTimeLocale()
    {
        m_locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", locale_t(nullptr));
        if (!m_locale) m_locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", locale_t(nullptr));
    }
    ~UserTimeLocale()
    {
        if (m_locale) freelocale(m_locale);
    }
    UserTimeLocale(const UserTimeLocale&) = delete;
    UserTimeLocale& operator=(const UserTimeLocale&) = delete;

    locale_t Get() const { return m_locale; }

private:
    locale_t m_locale = locale_t(nullptr);
};

CString FormatFields(const std::tm& fields, const char* format)
{
    if (!format || !*format) return CString();
    UserTimeLocale locale;
    // strftime gives 0 both for an empty result and for too small a buffer: grow a few
    // times, then take the result as empty.
    const std::size_t formatLength = std::strlen(format);
    for (std::size_t size = 128 + 4 * formatLength; size <= 64 * (128 + 4 * formatLength); size *= 4) {
        std::string out(size, '\0');
        const std::size_t written = locale.Get() ? strftime_l(out.data(), size, format, &fields, locale.Get())
                                                 : std::strftime(out.data(), size, format, &fields);
        if (written > 0) {
            out.resize(written);
            return CString(std::move(out));
        }
    }
    return CString();
}

} // namespace

CString CTimeSpan::Format(LPCTSTR pFormat) const
{
    CString out;
    if (!pFormat) return out;
    for (const char* p = pFormat; *p; ++p) {
        if (*p != '%' || p[1] == '\0') {
            out += *p;
            continue;
        }
        switch (*++p) {
        case 'D': out.AppendFormat("%ld", long(GetDays())); break;
        case 'H': out.AppendFormat("%02d", GetHours()); break;
        case 'M': out.AppendFormat("%02d", GetMinutes()); break;
        case 'S': out.AppendFormat("%02d", GetSeconds()); break;
        default: out += *p; break; // "%%" and unknown codes give the character itself
        }
    }
    return out;
}

// Local time needs the C library: it follows the TZ variable, rules included.
CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    std::tm fields{};
    fields.tm_year = nYear - 1900;
    fields.tm_mon = nMonth - 1;
    fields.tm_mday = nDay;
    fields.tm_hour = nHour;
    fields.tm_min = nMin;
    fields.tm_sec = nSec;
    fields.tm_isdst = nDST < 0 ? -1 : nDST > 0 ? 1 : 0;
    *this = CTime(std::mktime(&fields));
}

CTime CTime::GetCurrentTime()
{
    return CTime(std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
}

std::tm CTime::LocalFields() const
{
    const std::time_t time = GetTime();
    std::tm fields{};
    if (!localtime_r(&time, &fields)) return std::tm{};
    return fields;
}

int CTime::GetYear() const
{
    const std::tm fields = LocalFields();
    return fields.tm_mday == 0 ? 0 : fields.tm_year + 1900;
}

int CTime::GetMonth() const
{
    const std::tm fields = LocalFields();
    return fields.tm_mday == 0 ? 0 : fields.tm_mon + 1;
}

int CTime::GetDay() const { return LocalFields().tm_mday; }
int CTime::GetHour() const { return LocalFields().tm_hour; }
int CTime::GetMinute() const { return LocalFields().tm_min; }
int CTime::GetSecond() const { return LocalFields().tm_sec; }

int CTime::GetDayOfWeek() const
{
    const std::tm fields = LocalFields();
    return fields.tm_mday == 0 ? 0 : fields.tm_wday + 1;
}

CString CTime::Format(LPCTSTR pFormat) const
{
    const std::time_t time = GetTime();
    std::tm fields{};
    if (!localtime_r(&time, &fields)) return CString();
    return FormatFields(fields, pFormat);
}

CString CTime::FormatGmt(LPCTSTR pFormat) const
{
    const std::time_t time = GetTime();
    std::tm fields{};
    if (!gmtime_r(&time, &fields)) return CString();
    return FormatFields(fields, pFormat);
}
