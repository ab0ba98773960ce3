#include "framework/ui/DDXNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// One optional sign, then the digits; false when no digits follow or text remains.
bool ParseInteger(const char* text, bool allowMinus, std::int64_t low, std::int64_t high, std::int64_t& value)
{
    const std::string_view trimmed = TrimBlanks(text ? text : "");
    if (trimmed.empty()) return false;
    const char first = trimmed.front();
    bool negative = false;
    std::string_view digits = trimmed;
    if (first == '+' || first == '-') {
        negative = first == '-';
        digits.remove_prefix(1);
    }
    if (negative && !allowMinus) return false;
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return false;

    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (error != std::errc() || end != digits.data() + digits.size()) return false;
    if (magnitude > std::uint64_t(std::numeric_limits<std::int64_t>::max())) return false;
    const std::int64_t signedValue = negative ? -std::int64_t(magnitude) : std::int64_t(magnitude);
    if (signedValue < low || signedValue > high) return false;
    if (signedValue == 0 && first != '0') return false;
    value = signedValue;
    return true;
}

} // namespace

bool ParseDialogInt32(const char* text, std::int32_t& value)
{
    std::int64_t parsed = 0;
    if (!ParseInteger(text, true, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), parsed))
        return false;
    value = std::int32_t(parsed);
    return true;
}

bool ParseDialogUInt32(const char* text, std::uint32_t& value)
{
    std::int64_t parsed = 0;
    if (!ParseInteger(text, false, 0, std::numeric_limits<std::uint32_t>::max(), parsed)) return false;
    value = std::uint32_t(parsed);
    return true;
}

bool ParseDialogInt16(const char* text, std::int16_t& value)
{
    std::int64_t parsed = 0;
    if (!ParseInteger(text, true, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max(), parsed))
        return false;
    value = std::int16_t(parsed);
    return true;
}

bool ParseDialogReal(const char* text, double& value)
{
    const std::string_view trimmed = TrimBlanks(text ? text : "");
    if (trimmed.empty()) return false;
    const char first = trimmed.front();
    std::string_view number = trimmed;
    bool negative = false;
    if (first == '+' || first == '-') {
        negative = first == '-';
        number.remove_prefix(1);
    }
    // from_chars would take "inf" and "nan"; a number starts with a digit or a point.
    if (number.empty() || !((number.front() >= '0' && number.front() <= '9') || number.front() == '.')) return false;
    double parsed = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed, std::chars_format::general);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(parsed)) return false;
    if (parsed == 0 && first != '0') return false;
    value = negative ? -parsed : parsed;
    return true;
}

bool ParseDialogFloat(const char* text, float& value)
{
    double parsed = 0;
    if (!ParseDialogReal(text, parsed) || std::fabs(parsed) > double(std::numeric_limits<float>::max())) return false;
    value = float(parsed);
    return true;
}

CString FormatDialogReal(double value, int significantDigits)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significantDigits);
    if (error != std::errc()) return CString();
    return CString(buffer, int(end - buffer));
}
