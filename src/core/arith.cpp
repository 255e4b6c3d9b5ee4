#include "core/arith.h"

#include <charconv>
#include <cmath>

namespace vezer {

namespace {
int Clamp100(long long v) { return v < 0 ? 0 : v > 100 ? 100 : static_cast<int>(v); }
} // namespace

int ClampAdd(int value, int delta) { return Clamp100(static_cast<long long>(value) + delta); }
int ClampSub(int value, int delta) { return Clamp100(static_cast<long long>(value) - delta); }

bool ParseInt(std::string_view text, int& out) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    out = value;
    return true;
}

int ParseIntOrZero(std::string_view text) {
    int value = 0;
    return ParseInt(text, value) ? value : 0;
}

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

int RoundHalfEvenRatio(long long num, long long den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    long long q = num / den;
    long long r = num % den;  // same sign as num
    if (r < 0) {
        q -= 1;
        r += den;
    }
    // now num = q * den + r with 0 <= r < den
    long long twice = 2 * r;
    if (twice > den || (twice == den && (q % 2 != 0))) ++q;
    return static_cast<int>(q);
}

} // namespace vezer
