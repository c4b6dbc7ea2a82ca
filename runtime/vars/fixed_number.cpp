// Fixed-point arithmetic, rounding, and the number texts (canonical and edited).
#include "runtime/vars/fixed_number.h"

#include <limits>
#include <string>

#include "runtime/vars/var_system.h"

namespace rt {
namespace {

using Wide = __int128;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

std::int64_t Clamp(Wide v) {
    if (v > Wide(kMax)) return kMax;
    if (v < Wide(kMin)) return kMin;
    return static_cast<std::int64_t>(v);
}

Wide WideRoundDiv(Wide n, Wide d) {
    if (d == 0) return 0;
    Wide q = n / d, r = n % d;
    Wide ar = r < 0 ? -r : r, ad = d < 0 ? -d : d;
    if (ar != 0 && 2 * ar >= ad) q += ((n < 0) != (d < 0)) ? -1 : 1;
    return q;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }


}  // namespace

// "D<n>" anywhere in the text becomes n zero digits (more than 20 could only overflow).
std::string NumExpandZeros(std::string t) {
    std::size_t d = t.find('D');
    if (d == std::string::npos) return t;
    std::size_t k = d + 1;
    unsigned zeros = 0;
    while (k < t.size() && IsDigit(t[k])) {
        zeros = zeros * 10 + unsigned(t[k] - '0');
        if (zeros > 20) zeros = 20;
        ++k;
    }
    return t.substr(0, d) + std::string(zeros, '0') + t.substr(k);
}

int NumDecimals() {
    int p = SysVar(kSysPrecis);
    if (p < 0) return 0;
    return p > 18 ? 18 : p;
}

std::int64_t NumPow10(int k) {
    if (k < 0 || k > 18) return 0;
    std::int64_t p = 1;
    while (k-- > 0) p *= 10;
    return p;
}

std::int64_t NumScale() { return NumPow10(NumDecimals()); }

std::int64_t NumRoundDiv(std::int64_t n, std::int64_t d) { return Clamp(WideRoundDiv(n, d)); }

FixedNumber NumRescale(FixedNumber n, int from, int to) {
    if (to == from) return n;
    if (to > from) {
        int k = to - from;
        if (k > 18) return n == 0 ? 0 : (n > 0 ? kMax : kMin);
        return Clamp(Wide(n) * NumPow10(k));
    }
    int k = from - to;
    if (k > 18) return 0;  // a multiple of 10^19 or more: every 64-bit value rounds to 0 or overflows
    Wide unit = NumPow10(k);
    return Clamp(WideRoundDiv(n, unit) * unit);
}

std::int64_t NumInteger(FixedNumber n) { return NumRoundDiv(n, NumScale()); }

FixedNumber NumFromInteger(std::int64_t i) { return Clamp(Wide(i) * NumScale()); }

FixedNumber NumAdd(FixedNumber a, FixedNumber b) { return Clamp(Wide(a) + b); }

FixedNumber NumSub(FixedNumber a, FixedNumber b) { return Clamp(Wide(a) - b); }

FixedNumber NumMul(FixedNumber a, FixedNumber b) { return Clamp(WideRoundDiv(Wide(a) * b, NumScale())); }

FixedNumber NumDiv(FixedNumber a, FixedNumber b) {
    if (b == 0) return 0;
    return Clamp(WideRoundDiv(Wide(a) * NumScale(), b));
}

FixedNumber NumPercent(FixedNumber a, FixedNumber b) {
    return Clamp(WideRoundDiv(WideRoundDiv(Wide(a) * b, 100), NumScale()));
}

FixedNumber NumRoundTo(FixedNumber a, FixedNumber b) {
    std::int64_t s = NumScale();
    std::int64_t n = s == 0 ? 0 : b / s;  // the integer part, truncated
    if (n > 40) n = 40;
    if (n < -40) n = -40;
    int p = NumDecimals();
    return NumRescale(a, p, static_cast<int>(n));
}

FixedNumber NumReadDecimals(StrDesc text, int decimals) {
    if (text.IsError() || text.len == 0) return 0;
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    std::string t(text.ptr, text.len);
    std::size_t b = t.find_first_not_of(' '), e = t.find_last_not_of(' ');
    if (b == std::string::npos) return 0;
    t = NumExpandZeros(t.substr(b, e - b + 1));

    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    Wide v = 0;
    for (; i < t.size() && IsDigit(t[i]); ++i) {
        v = v * 10 + (t[i] - '0');
        if (v > Wide(kMax)) v = Wide(kMax) + 1;  // stays beyond the range; clamped below
    }
    v *= NumPow10(decimals);
    if (i < t.size() && t[i] == '.') {
        // The first `decimals` digits after the point, then the next one decides the rounding.
        ++i;
        std::int64_t unit = NumPow10(decimals);
        for (int k = 0; k < decimals; ++k) {
            unit /= 10;
            if (i < t.size() && IsDigit(t[i])) v += Wide(t[i++] - '0') * unit;
        }
        if (i < t.size() && IsDigit(t[i]) && t[i] >= '5') v += 1;
    }
    return Clamp(negative ? -v : v);
}

FixedNumber NumRead(StrDesc text) { return NumReadDecimals(text, NumDecimals()); }

StrDesc NumTextDecimals(FixedNumber n, int decimals) {
    if (n == 0) return StrEmpty();
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    std::uint64_t u = n < 0 ? 0u - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    std::string digits = std::to_string(u);
    std::size_t p = static_cast<std::size_t>(decimals);
    if (digits.size() < p) digits.insert(0, p - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - p);
    std::string frac = digits.substr(digits.size() - p);
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    std::string out = (n < 0 ? "-" : "") + whole + (frac.empty() ? "" : "." + frac);
    return StrCopy(StrDesc{out.data(), static_cast<std::uint16_t>(out.size())});
}

StrDesc NumText(FixedNumber n) { return NumTextDecimals(n, NumDecimals()); }

}  // namespace rt
