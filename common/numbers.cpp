#include "common/numbers.h"

#include <cfloat>
#include <cstdio>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace kj {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
} // namespace

double numberValue(std::string_view text)
{
    // Collect the characters that form the leading number, skipping blanks.
    std::string num;
    std::size_t i = 0;
    auto peek = [&]() -> char {
        while (i < text.size() && isBlank(text[i])) ++i;
        return i < text.size() ? text[i] : '\0';
    };
    char c = peek();
    if (c == '+' || c == '-') {
        if (c == '-') num += '-';
        ++i;
    }
    bool digits = false;
    while (isDigit(c = peek())) { num += c; digits = true; ++i; }
    if (c == '.') {
        ++i;
        std::string frac;
        while (isDigit(c = peek())) { frac += c; ++i; }
        if (!frac.empty()) { num += '.'; num += frac; digits = true; }
    }
    if (!digits) return 0.0;
    c = peek();
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
        std::size_t save = i;
        ++i;
        std::string ex = "e";
        char s = peek();
        if (s == '+' || s == '-') { ex += s; ++i; }
        bool expDigits = false;
        while (isDigit(c = peek())) {
            // Keep the exponent's digits bounded; the value saturates anyway.
            if (ex.size() < 8) ex += c;
            expDigits = true;
            ++i;
        }
        if (expDigits) num += ex; else i = save;
    }
    double value = 0.0;
    const char* first = num.data();
    const char* last = num.data() + num.size();
    auto [ptr, ec] = std::from_chars(first, last, value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Overflow saturates to the largest finite value; underflow is zero.
        // from_chars leaves value untouched here, so decide by the exponent.
        double mant = 0.0;
        std::string m = num.substr(0, num.find('e'));
        std::from_chars(m.data(), m.data() + m.size(), mant);
        int e = std::atoi(num.c_str() + num.find('e') + 1);
        if (e > 0 && mant != 0.0) value = mant < 0 ? -DBL_MAX : DBL_MAX;
        else value = 0.0;
    }
    return value == 0.0 ? 0.0 : value;
}

double roundHalfEven(double x)
{
    if (!std::isfinite(x)) return x;
    double f = std::floor(x);
    double d = x - f; // exact for doubles
    double r;
    if (d > 0.5) r = f + 1.0;
    else if (d < 0.5) r = f;
    else r = (std::fmod(f, 2.0) == 0.0) ? f : f + 1.0;
    return r == 0.0 ? 0.0 : r;
}

double roundHalfEven2(double x)
{
    double r = roundHalfEven(x * 100.0) / 100.0;
    return r == 0.0 ? 0.0 : r;
}

int toIndex(double value)
{
    double r = roundHalfEven(value);
    if (!(r > -1e9)) return -1000000000;
    if (!(r < 1e9)) return 1000000000;
    return static_cast<int>(r);
}

int indexValue(std::string_view text) { return toIndex(numberValue(text)); }

std::string shortestDecimal(double x)
{
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Inf" : "Inf";
    if (x == 0.0) return "0";
    // Whole numbers of up to 15 digits are their own shortest form.
    if (std::fabs(x) < 1e15 && x == std::trunc(x)) return std::to_string(static_cast<long long>(x));
    // 15 significant digits, as the older program wrote them.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    std::string s(buf, res.ptr);
    std::size_t epos = s.find('e');
    std::string mant = s.substr(0, epos);
    int exp = std::atoi(s.c_str() + epos + 1);
    std::string digits;
    for (char c : mant)
        if (isDigit(c)) digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = x < 0 ? "-" : "";
    if (exp >= 15 || exp < -15) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += exp < 0 ? "E-" : "E+";
        std::string e = std::to_string(std::abs(exp));
        if (e.size() < 2) e = "0" + e;
        out += e;
        return out;
    }
    if (exp >= 0) {
        std::size_t intLen = static_cast<std::size_t>(exp) + 1;
        if (digits.size() <= intLen) {
            out += digits + std::string(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen) + "." + digits.substr(intLen);
        }
    } else {
        out += "0." + std::string(static_cast<std::size_t>(-exp - 1), '0') + digits;
    }
    return out;
}

std::string reportNumber(double x)
{
    if (x == 0.0) return " 0 ";
    std::string s = shortestDecimal(std::fabs(x));
    if (s.size() > 1 && s[0] == '0' && s[1] == '.') s.erase(0, 1);
    return (x < 0 ? "-" : " ") + s + " ";
}

} // namespace kj

namespace kj {

std::string fixedText(double x, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double r = roundHalfEven(x * scale) / scale;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, r == 0 ? 0.0 : r);
    return buf;
}

} // namespace kj
