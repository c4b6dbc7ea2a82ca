#include "runtime/expr/var_number_seam.h"

#include <string>

#include "runtime/expr/var_system.h"
#include "runtime/text/dyn_strings.h"

namespace rt {
namespace {

// Decimal places used for number texts; a negative or absurd _PRECIS is held to a sane range.
int Decimals() {
    int p = SysVar(kSysPrecis);
    if (p < 0) return 0;
    return p > 18 ? 18 : p;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::uint16_t VarNumScale() {
    std::uint16_t p = static_cast<std::uint16_t>(SysVar(kSysPrecis));
    std::uint16_t s = 1;
    for (std::uint16_t i = 0; i < p && s != 0; ++i) s = static_cast<std::uint16_t>(s * 10u);
    return s;
}

std::int64_t VarNumRoundDiv(std::int64_t n, std::int64_t d) {
    if (d == 0) return 0;
    if (d == -1) return static_cast<std::int64_t>(0u - static_cast<std::uint64_t>(n));
    std::int64_t q = n / d, r = n % d;
    std::uint64_t ar = r < 0 ? 0u - static_cast<std::uint64_t>(r) : static_cast<std::uint64_t>(r);
    std::uint64_t ad = d < 0 ? 0u - static_cast<std::uint64_t>(d) : static_cast<std::uint64_t>(d);
    if (ar != 0 && ar >= ad - ar) q += ((n < 0) != (d < 0)) ? -1 : 1;
    return q;
}

std::int64_t VarNumInteger(FixedNumber n) { return VarNumRoundDiv(n, VarNumScale()); }

ErrCode VarNumPush(FixedNumber n) {
    StrDesc d = DynAlloc(8);
    if (d.IsError()) return d.len;
    std::uint64_t u = static_cast<std::uint64_t>(n);
    for (int i = 0; i < 8; ++i) d.mut()[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return 0;
}

FixedNumber VarNumFromEntry(StrDesc entry) {
    if (entry.IsError() || entry.len == 0) return 0;
    if (entry.len != 8) return -1;
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | entry.bytes()[i];
    return static_cast<FixedNumber>(u);
}

FixedNumber VarNumRead(StrDesc text) {
    if (text.IsError()) return 0;
    std::string t(text.ptr, text.len);
    std::size_t b = t.find_first_not_of(' '), e = t.find_last_not_of(' ');
    t = b == std::string::npos ? std::string() : t.substr(b, e - b + 1);
    // "D<n>" stands for n zero digits; more than 20 could only overflow.
    std::size_t dpos = t.find('D');
    if (dpos != std::string::npos) {
        std::size_t k = dpos + 1;
        unsigned zeros = 0;
        while (k < t.size() && IsDigit(t[k])) {
            zeros = zeros * 10 + unsigned(t[k] - '0');
            if (zeros > 20) zeros = 20;
            ++k;
        }
        t = t.substr(0, dpos) + std::string(zeros, '0') + t.substr(k);
    }
    int p = Decimals();
    std::size_t dot = t.find('.');
    std::string digits = t.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : t.substr(dot + 1);
    std::size_t fracDigits = 0;  // the decimals end at the first character that is not a digit
    while (fracDigits < frac.size() && IsDigit(frac[fracDigits])) ++fracDigits;
    frac.resize(fracDigits);
    bool roundUp = frac.size() > std::size_t(p) && frac[p] >= '5';
    frac.resize(p, '0');
    digits += frac;
    std::size_t i = 0;
    bool negative = false;
    if (i < digits.size() && (digits[i] == '-' || digits[i] == '+')) negative = digits[i++] == '-';
    std::uint64_t v = 0;
    bool ended = false;
    for (; i < digits.size(); ++i) {
        if (!IsDigit(digits[i])) { ended = true; break; }
        v = v * 10u + unsigned(digits[i] - '0');
    }
    if (roundUp && !ended) ++v;
    std::int64_t r = static_cast<std::int64_t>(v);
    return negative ? static_cast<std::int64_t>(0u - v) : r;
}

StrDesc VarNumText(FixedNumber n) {
    int p = Decimals();
    std::uint64_t u = n < 0 ? 0u - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    std::string digits = std::to_string(u);
    if (digits.size() < std::size_t(p)) digits.insert(0, std::size_t(p) - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - p);
    std::string frac = digits.substr(digits.size() - p);
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    std::string out = (n < 0 ? "-" : "") + whole + (frac.empty() ? "" : "." + frac);
    if (n == 0) out.clear();
    return StrCopy(StrDesc{out.data(), static_cast<std::uint16_t>(out.size())});
}

}  // namespace rt
