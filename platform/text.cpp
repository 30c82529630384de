// Text conversions. Data files and saves are read on every machine alike, so
// nothing here may follow the C locale (decimal commas, Turkish dotless i).
#include "platform/text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <system_error>

namespace plat {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// Reads a number with from_chars after the sign handling it lacks ("+", and
// "inf"/"nan", which we do not take as numbers).
template <class F>
F ParseFloat(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    if (i >= s.size() || !(DigitValue(s[i]) < 10 || s[i] == '.')) return 0;
    F v = 0;
    const char* first = s.data() + i;
    const char* last = s.data() + s.size();
    auto [end, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large becomes infinite, too small becomes zero.
        bool tiny = false;
        for (const char* p = first; p != end; ++p)
            if ((*p == 'e' || *p == 'E') && p + 1 != end && p[1] == '-') tiny = true;
        v = tiny ? F(0) : std::numeric_limits<F>::infinity();
    } else if (ec != std::errc()) {
        return 0;
    }
    return neg ? -v : v;
}

template <class F>
std::string ShortestText(F v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

}  // namespace

std::string Lower(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string Upper(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

int ToInt(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') base = 16, ++i;
    else if (i < s.size() && s[i] == '%') base = 2, ++i;
    // Accumulate the magnitude, capped just past the int range.
    const int64_t cap = int64_t{INT_MAX} + 1;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        const int d = DigitValue(s[i]);
        if (d >= base) break;
        v = v * base + d;
        if (v > cap) v = cap;
    }
    if (neg) return static_cast<int>(-v);  // -2^31 at most: fits
    return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

double ToDouble(const std::string& s) { return ParseFloat<double>(s); }
float ToFloat(const std::string& s) { return ParseFloat<float>(s); }
std::string FloatToString(float v) { return ShortestText(v); }
std::string DoubleToString(double v) { return ShortestText(v); }

int TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}

}  // namespace plat
