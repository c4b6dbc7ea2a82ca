// Date and time texts: reading, checking, day arithmetic and the shown forms.
#include "runtime/vars/dates.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/process.h"
#include "runtime/vars/format_desc.h"
#include "runtime/vars/var_system.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/str_bridge.h"

namespace rt {
namespace {

using std::string;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

string TrimBlanks(const string& s) {
    std::size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
    return b == string::npos ? string() : s.substr(b, e - b + 1);
}

// The leading decimal digits of a text (blanks trimmed), at most nine of them; -1 when it has none.
long LeadingInt(const string& s) {
    string t = TrimBlanks(s);
    long v = -1;
    for (std::size_t i = 0; i < t.size() && i < 9 && IsDigit(t[i]); ++i) v = (v < 0 ? 0 : v * 10) + (t[i] - '0');
    return v;
}

// Bit 64 of _AUXSTAT: an empty date stays empty instead of meaning today.
bool EmptyDateStaysEmpty() { return (SysBits(kSysAuxStat) & kAuxEmptyDateStays) != 0; }

string TwoDigits(long v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02ld", v);
    return buf;
}

string DateText(long y, long m, long d) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04ld%02ld%02ld", y, m, d);
    return buf;
}

string TodayText() {
    PlatformDateTime now = PlatformNow();
    return DateText(now.year, now.month, now.day);
}

struct Ymd {
    std::int64_t y = 0, m = 0, d = 0;
};

// A date text read strictly: eight digits making a valid date.
bool ReadDate(const string& t, Ymd* out) {
    if (t.size() != 8) return false;
    for (char c : t)
        if (!IsDigit(c)) return false;
    out->y = std::stol(t.substr(0, 4));
    out->m = std::stol(t.substr(4, 2));
    out->d = std::stol(t.substr(6, 2));
    return DateValid(static_cast<int>(out->y), static_cast<int>(out->m), static_cast<int>(out->d));
}

// Day, month and year of a date text by position, leniently (for arithmetic); empty means today.
Ymd DateParts(const string& text) {
    string t = TrimBlanks(text);
    if (t.empty()) t = TodayText();
    Ymd r;
    std::size_t n = t.size();
    r.y = std::max(0L, LeadingInt(t.substr(0, 4)));
    if (n >= 4) r.m = std::max(0L, LeadingInt(t.substr(n - 4, 2)));
    if (n >= 2) r.d = std::max(0L, LeadingInt(t.substr(n - 2, 2)));
    return r;
}

// Days since 1970-01-01 in the Gregorian calendar, and back.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Ymd CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    Ymd r;
    r.d = doy - (153 * mp + 2) / 5 + 1;
    r.m = mp < 10 ? mp + 3 : mp - 9;
    r.y = yoe + era * 400 + (r.m <= 2);
    return r;
}

// Months beyond 1..12 carry into the year, days beyond the month into the month.
Ymd Normalise(Ymd a) {
    std::int64_t months = a.y * 12 + (a.m - 1);
    std::int64_t y = months >= 0 ? months / 12 : -((-months + 11) / 12);
    std::int64_t m = months - y * 12 + 1;
    return CivilFromDays(DaysFromCivil(y, m, 1) + (a.d - 1));
}

std::int64_t Clamp(std::int64_t v, std::int64_t lo, std::int64_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// Days before month m in a 365-day year.
std::int64_t DaysBeforeMonth(std::int64_t m) {
    static const int kCum[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    return kCum[Clamp(m, 1, 12)];
}

string ReplaceAll(string s, const string& find, const string& with) {
    for (std::size_t p = s.find(find); p != string::npos; p = s.find(find, p + with.size()))
        s.replace(p, find.size(), with);
    return s;
}

}  // namespace

std::uint16_t DateCodeOf(char letter) {
    switch (letter) {
        case 'D': case 'd': return kDateDay;
        case 'M': case 'm': return kDateMonth;
        case 'Y': case 'y': return kDateYear;
        case 'V': case 'v': return kDateValue;
        default: return 0;
    }
}

int DateMonthLength(int year, int month) {
    switch (month) {
        case 4: case 6: case 9: case 11: return 30;
        case 2: return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28;
        default: return 31;
    }
}

bool DateValid(int year, int month, int day) {
    return year >= 0 && year < 10000 && month >= 1 && month <= 12 && day >= 1 && day <= DateMonthLength(year, month);
}

StrDesc DateToday() { return StrFromStd(TodayText()); }

EmptyDatesStay::EmptyDatesStay() : was_(EmptyDateStaysEmpty()) {
    SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(SysBits(kSysAuxStat) | kAuxEmptyDateStays));
}

EmptyDatesStay::~EmptyDatesStay() {
    if (!was_) SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(SysBits(kSysAuxStat) & ~kAuxEmptyDateStays));
}

StrDesc DateParse(StrDesc text) {
    if (text.IsError()) return text;
    string t = TrimBlanks(StrToStd(text));
    const bool day_first = FormatDayFirst();
    bool separated = t.find_first_of("-./") != string::npos;
    if (!separated && t.size() == 6) {
        string dd = t.substr(0, 2), mm = t.substr(2, 2), yy = t.substr(4, 2);
        t = day_first ? dd + "-" + mm + "-" + yy : mm + "-" + dd + "-" + yy;
        separated = true;
    }
    if (!separated) {
        if (!t.empty()) return StrFromStd(t);
        return StrFromStd(EmptyDateStaysEmpty() ? string(8, ' ') : TodayText());
    }
    char sep = t[t.find_first_of("-./")];
    std::vector<string> parts;
    std::size_t start = 0;
    for (std::size_t p; (p = t.find(sep, start)) != string::npos; start = p + 1) parts.push_back(t.substr(start, p - start));
    parts.push_back(t.substr(start));
    parts.resize(std::max<std::size_t>(parts.size(), 3));
    long day = LeadingInt(day_first ? parts[0] : parts[1]);
    long month = LeadingInt(day_first ? parts[1] : parts[0]);
    string year_text = TrimBlanks(parts[2]);
    long year = LeadingInt(year_text);
    if (day <= 0 || month <= 0 || year < 0) return StrEmpty();
    if (year_text.size() == 2) {
        long base = SysVar(kSysBYear), pivot = SysVar(kSysBkYear);
        year = year < pivot ? base + year : base - 100 + year;
    }
    if (!DateValid(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day))) return StrEmpty();
    return StrFromStd(DateText(year, month, day));
}

StrDesc DateShow(StrDesc date, std::uint16_t mode) {
    if (date.IsError()) return date;
    string t = TrimBlanks(StrToStd(date));
    if (t.find_first_of("-./") != string::npos) {
        std::uint16_t mark = DynMark();
        t = TrimBlanks(StrToStd(DateParse(date)));
        DynRelease(mark);
    } else if (t.empty() && !EmptyDateStaysEmpty()) {
        t = TodayText();
    }
    Ymd v;
    if (!ReadDate(t, &v)) return StrFromStd(mode == 1 ? string(8, ' ') : mode == 2 ? string(10, ' ') : string());
    const bool day_first = FormatDayFirst();
    string dd = TwoDigits(v.d), mm = TwoDigits(v.m), yyyy = t.substr(0, 4);
    switch (mode) {
        case 0:
            return StrFromStd(t);
        case 1:
        case 2: {
            string y = mode == 1 ? yyyy.substr(2) : yyyy;
            return StrFromStd(day_first ? dd + "-" + mm + "-" + y : mm + "-" + dd + "-" + y);
        }
        case 3:
            return StrFromStd(FormatMonthName(static_cast<int>(v.m)).substr(0, 3) + " " + yyyy);
        case 4: {
            string s = FormatLongDatePattern();
            s = ReplaceAll(s, "[D]", dd);
            s = ReplaceAll(s, "[M]", FormatMonthName(static_cast<int>(v.m)));
            return StrFromStd(ReplaceAll(s, "[Y]", yyyy));
        }
        default:
            return StrEmpty();
    }
}

std::int32_t DatePart(StrDesc date, std::uint16_t code) {
    Ymd v = DateParts(StrToStd(date));
    switch (code) {
        case kDateDay: return static_cast<std::int32_t>(v.d);
        case kDateMonth: return static_cast<std::int32_t>(v.m);
        case kDateYear: return static_cast<std::int32_t>(v.y);
        case kDateValue: return static_cast<std::int32_t>(v.y * 10000 + v.m * 100 + v.d);
        default: return 0;
    }
}

std::int64_t DateShift(StrDesc date, std::int64_t amount, std::uint16_t code) {
    Ymd a = DateParts(StrToStd(date));
    if (amount >= 10001) {
        Ymd b;
        b.y = amount / 10000;
        b.m = amount / 100 % 100;
        b.d = amount % 100;
        switch (code) {
            case kDateDay:
                return (a.y - b.y) * 365 + DaysBeforeMonth(a.m) - DaysBeforeMonth(b.m) + a.d - b.d;
            case kDateMonth: return (a.y - b.y) * 12 + a.m - b.m;
            case kDateYear: return a.y - b.y;
            default: return 0;
        }
    }
    // Far enough for any four-digit year, small enough to keep the arithmetic exact.
    amount = Clamp(amount, -100000000, 100000000);
    switch (code) {
        case kDateDay:
            a.d += amount;
            break;
        case kDateMonth: {
            // The day is reduced to the new month's length (31 January plus a month is 28 February).
            std::int64_t day = a.d;
            a = Normalise(Ymd{a.y, a.m + amount, 1});
            a.d = std::min<std::int64_t>(day, DateMonthLength(static_cast<int>(a.y), static_cast<int>(a.m)));
            break;
        }
        case kDateYear:
            a.y += amount;
            break;
        default:
            break;
    }
    Ymd r = Normalise(a);
    return r.y * 10000 + r.m * 100 + r.d;
}

std::int64_t TimeNow() {
    PlatformDateTime now = PlatformNow();
    return ((now.hour * 60LL + now.minute) * 60 + now.second) * 1000 + now.millisecond;
}

std::int64_t TimeParse(StrDesc text) {
    string t = TrimBlanks(StrToStd(text));
    if (t.empty()) return TimeNow();
    std::int64_t ms = 0;
    std::size_t dot = t.find('.');
    if (dot != string::npos) {
        string frac;
        for (std::size_t i = dot + 1; i < t.size() && frac.size() < 3 && IsDigit(t[i]); ++i) frac += t[i];
        frac.resize(3, '0');
        ms = std::stol(frac);
        t.erase(dot);
    }
    std::vector<string> parts;
    std::size_t start = 0;
    for (std::size_t p; (p = t.find(':', start)) != string::npos; start = p + 1) parts.push_back(t.substr(start, p - start));
    parts.push_back(t.substr(start));
    std::int64_t unit = 1000, total = ms;
    for (std::size_t i = parts.size(); i > 0 && unit <= 3600000; --i, unit *= 60)
        total += std::max(0L, LeadingInt(parts[i - 1])) * unit;
    return total;
}

StrDesc TimeShow(std::int64_t ms, std::uint16_t mode) {
    if (ms < 0) ms = 0;
    string sep = (mode & 1) ? ":" : "";
    string s = TwoDigits(static_cast<long>(ms / 3600000)) + sep + TwoDigits(static_cast<long>(ms / 60000 % 60));
    if (mode & 2) s += sep + TwoDigits(static_cast<long>(ms / 1000 % 60));
    if (mode & 4) {
        char buf[8];
        std::snprintf(buf, sizeof buf, ".%03d", static_cast<int>(ms % 1000));
        s += buf;
    }
    return StrFromStd(s);
}

}  // namespace rt
