// Applying edit masks, default masks of field types, and the stored and shown forms of field values.
#include "runtime/vars/masks.h"

#include <string>
#include <vector>

#include "runtime/text/err_codes.h"
#include "runtime/vars/dates.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/vars/format_desc.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/str_bridge.h"

namespace rt {
namespace {

using std::string;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

string TrimBlanks(const string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Decimal places of a numeric type letter.
int TypeDecimals(char type) { return (type >= '1' && type <= '9') ? type - '0' : 0; }

bool WidthFits(int width) { return width >= 0 && width < 0xFFFF; }

// Marks the positions of quoted sections (quotes included): they are literal in a mask.
std::vector<bool> QuotedMap(const string& m) {
    std::vector<bool> q(m.size(), false);
    char open = 0;
    for (std::size_t i = 0; i < m.size(); ++i) {
        char c = m[i];
        if (open != 0) {
            q[i] = true;
            if (c == open) open = 0;
        } else if (c == '\'' || c == '"') {
            open = c;
            q[i] = true;
        }
    }
    return q;
}

bool IsNumberPlace(char c) { return c == '#' || c == '0'; }

// ---- Number edit ----

// A number text taken apart: sign, integer digits without leading zeros, decimal digits.
struct NumParts {
    bool neg = false;
    string ints;
    string decs;
    bool any = false;  // the value has at least one digit
};

NumParts SplitValue(string v) {
    NumParts p;
    v = TrimBlanks(v);
    v = NumExpandZeros(v);  // "D<n>" stands for n zero digits
    std::size_t i = 0;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) p.neg = v[i++] == '-';
    for (; i < v.size() && (IsDigit(v[i]) || v[i] == ','); ++i)
        if (IsDigit(v[i])) p.ints += v[i];
    if (i < v.size() && v[i] == '.')
        for (++i; i < v.size() && IsDigit(v[i]); ++i) p.decs += v[i];
    std::size_t nz = p.ints.find_first_not_of('0');
    if (nz == string::npos) nz = p.ints.empty() ? 0 : p.ints.size() - 1;
    p.ints.erase(0, nz);
    p.any = !p.ints.empty() || !p.decs.empty();
    if (!p.any) p.neg = false;
    return p;
}

// Rounds the decimals to nd places (halves away from zero) or pads them with zeros; a value below 1
// gets its "0" before the point.
void FitDecimals(NumParts& p, std::size_t nd) {
    if (!p.any) return;
    if (p.decs.size() > nd) {
        bool up = p.decs[nd] >= '5';
        p.decs.resize(nd);
        if (up) {
            string all = p.ints + p.decs;
            std::size_t k = all.size();
            while (k > 0 && all[k - 1] == '9') all[--k] = '0';
            if (k == 0) all.insert(0, "1");
            else ++all[k - 1];
            p.ints = all.substr(0, all.size() - nd);
            p.decs = all.substr(all.size() - nd);
        }
    } else {
        p.decs.append(nd - p.decs.size(), '0');
    }
    std::size_t nz = p.ints.find_first_not_of('0');
    p.ints.erase(0, nz == string::npos ? p.ints.size() : nz);
    if (p.ints.empty()) p.ints = "0";
    if (p.ints == "0" && p.decs.find_first_not_of('0') == string::npos) p.neg = false;
}

string NumberEdit(const string& mask, const string& value, char dc, char tc) {
    std::vector<bool> q = QuotedMap(mask);
    std::size_t first = string::npos;
    for (std::size_t i = 0; i < mask.size() && first == string::npos; ++i)
        if (!q[i] && IsNumberPlace(mask[i])) first = i;
    if (first == string::npos) return mask;
    // A point right before the first digit place belongs to the edited part (".##").
    if (first > 0 && mask[first - 1] == '.' && !q[first - 1]) --first;
    string prefix = mask.substr(0, first);
    string body = mask.substr(first);
    std::vector<bool> qb(q.begin() + static_cast<std::ptrdiff_t>(first), q.end());

    const NumParts value_parts = SplitValue(value);
    NumParts p;
    std::size_t dot = string::npos;
    bool commas_done = false;
    for (;;) {
        dot = string::npos;
        std::size_t last = string::npos;
        for (std::size_t j = 0; j < body.size(); ++j) {
            if (qb[j]) continue;
            if (body[j] == '.' && dot == string::npos) dot = j;
            if (IsNumberPlace(body[j])) last = j;
        }
        std::size_t int_places = 0, dec_places = 0;
        for (std::size_t j = 0; j < body.size(); ++j) {
            if (qb[j] || !IsNumberPlace(body[j])) continue;
            if (dot == string::npos || j < dot) ++int_places;
            else if (j <= last) ++dec_places;
        }
        p = value_parts;
        FitDecimals(p, dec_places);
        std::size_t need = p.any ? p.ints.size() + (p.neg ? 1 : 0) : 0;
        if (need <= int_places) break;
        // Too few integer places: the thousands places take digits first...
        if (!commas_done) {
            commas_done = true;
            bool changed = false;
            for (std::size_t j = 0; j < body.size() && (dot == string::npos || j < dot); ++j)
                if (!qb[j] && body[j] == ',') { body[j] = '#'; changed = true; }
            if (changed) continue;
        }
        // ...then decimal places are given up one by one, the mask moving right within its length.
        if (dec_places > 0) {
            body.erase(last, 1);
            qb.erase(qb.begin() + static_cast<std::ptrdiff_t>(last));
            body.insert(0, "#");
            qb.insert(qb.begin(), false);
            if (dec_places == 1) {
                ++dot;  // the point moved with the insert
                body.erase(dot, 1);
                qb.erase(qb.begin() + static_cast<std::ptrdiff_t>(dot));
                body.insert(0, "#");
                qb.insert(qb.begin(), false);
            }
            continue;
        }
        break;  // the digits that find no place are written before the mask
    }

    string s;
    if (p.any) {
        s = p.ints;
        if (!p.decs.empty()) s += "." + p.decs;
    }
    long k = static_cast<long>(s.size()) - 1;
    bool sign_pending = false;
    string out = body;
    for (long j = static_cast<long>(body.size()) - 1; j >= 0; --j) {
        char c = body[j];
        if (qb[j]) continue;
        if (sign_pending) {  // the sign takes the place right before the first digit
            out[j] = '-';
            sign_pending = false;
            continue;
        }
        bool prev_hash = j > 0 && body[j - 1] == '#';
        if (IsNumberPlace(c)) {
            if (k >= 0) {
                char ch = s[k--];
                out[j] = ch == '.' ? dc : ch;
                if (k < 0 && p.neg) sign_pending = true;
            } else {
                out[j] = c == '#' ? ' ' : '0';
            }
        } else if (dot != string::npos && static_cast<std::size_t>(j) == dot) {
            if (k >= 0 && s[k] == '.') {
                out[j] = dc;
                --k;
            } else {
                out[j] = (!p.any && (j == 0 || prev_hash)) ? ' ' : dc;
            }
        } else if (c == ',' && (dot == string::npos || static_cast<std::size_t>(j) < dot)) {
            out[j] = (k >= 0 || !(j == 0 || prev_hash)) ? tc : ' ';
        }
    }
    // Digits that found no place go before the mask, and the sign before them: a value that does not
    // fit shows as the overflow it is and never turns positive.
    string extra = k >= 0 ? s.substr(0, static_cast<std::size_t>(k) + 1) : string();
    if (sign_pending || (k >= 0 && p.neg)) extra.insert(0, "-");
    return prefix + extra + out;
}

// ---- Character fill ----

string CharFill(string m, const string& v) {
    std::vector<bool> q = QuotedMap(m);
    // "\   \" stands for as many placeholders as it is long.
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (q[i] || m[i] != '\\') continue;
        std::size_t j = i + 1;
        while (j < m.size() && m[j] == ' ' && !q[j]) ++j;
        if (j > i + 1 && j < m.size() && m[j] == '\\' && !q[j])
            for (std::size_t x = i + 1; x < j; ++x) m[x] = '\\';
    }
    char first = 0;
    for (std::size_t i = 0; i < m.size() && first == 0; ++i)
        if (!q[i] && (m[i] == '\\' || m[i] == '?' || IsNumberPlace(m[i]))) first = m[i];
    std::size_t in_order = 0;
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (q[i]) continue;
        if (m[i] == '\\' || (m[i] == '?' && first == '\\')) {
            m[i] = in_order < v.size() ? v[in_order++] : ' ';
        } else if (m[i] == '?') {
            m[i] = i < v.size() ? v[i] : ' ';
        }
    }
    return m;
}

string ApplyMask(const string& m, const string& v, std::uint16_t mode) {
    std::vector<bool> q = QuotedMap(m);
    char first = 0;
    bool has_char_places = false, has_number_places = false;
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (q[i]) continue;
        char c = m[i];
        bool ph = c == '\\' || c == '?' || IsNumberPlace(c);
        if (ph && first == 0) first = c;
        if (c == '\\' || c == '?') has_char_places = true;
        if (IsNumberPlace(c)) has_number_places = true;
    }
    if (first == 0) return m;
    bool number_text = v.find_first_not_of(".-1234567890,D ") == string::npos;
    bool number_first = IsNumberPlace(first);
    if (has_number_places && (mode == kMaskFixed || (mode != kMaskChars && number_first && number_text))) {
        if (mode == kMaskFixed) return NumberEdit(m, TrimBlanks(v), '.', ',');
        FormatDescriptor f = FormatCurrent();
        return NumberEdit(m, TrimBlanks(v), f.decimal, f.thousands);
    }
    if (number_first && !has_char_places) return m;
    return CharFill(m, v);
}

string DefaultMask(char type, int width) {
    if (width <= 0) return string();
    string m(static_cast<std::size_t>(width), IsNumericType(type) ? '#' : '\\');
    int d = TypeDecimals(type);
    if (d > 0 && width - d - 1 >= 0) m[static_cast<std::size_t>(width - d - 1)] = '.';
    return m;
}

// ---- Stored form ----

string CleanNumber(const string& text, const FormatDescriptor& f) {
    string t = TrimBlanks(text);
    string out;
    for (std::size_t i = 0; i < t.size() && out.size() < 20; ++i) {
        char c = t[i];
        if (f.number_chars.find(c) == string::npos && c != '.') break;
        if (c == '-' && !out.empty()) break;
        if (out.empty() && c == '0' && i + 1 < t.size() && t[i + 1] != f.decimal) continue;
        out += c == f.decimal ? '.' : c;
    }
    return out;
}

string Pad(string s, std::size_t width, bool right) {
    if (s.size() >= width) return s.substr(0, width);
    return right ? string(width - s.size(), ' ') + s : s + string(width - s.size(), ' ');
}

// The width fitting of a stored form; 168 in err when a number's integer part does not fit.
string Fit(char type, string t, int width, ErrCode* err) {
    if (!WidthFits(width)) return t;
    std::size_t w = static_cast<std::size_t>(width);
    switch (type) {
        case 'V':
        case 'T':
            return string(w, ' ');
        case 'D':
        case 'F':
            if (t.size() == 8 && w == 6) t.erase(0, 2);
            return Pad(t, w, false);
        default:
            break;
    }
    if (!(IsNumericType(type) || type == 'L')) return Pad(t, w, false);
    t = TrimBlanks(t);
    if (t.size() <= w) return Pad(t, w, true);
    std::size_t int_len = t.find('.');
    if (int_len == string::npos) int_len = t.size();
    if (int_len <= w) {
        // Only the decimals are too many: edit again with as many as the width leaves room for.
        NumParts orig = SplitValue(t);
        long room = static_cast<long>(w) - static_cast<long>(int_len) - 1;
        for (long nd = room < 0 ? 0 : room; nd >= 0; --nd) {
            NumParts p = orig;
            FitDecimals(p, static_cast<std::size_t>(nd));
            string s = (p.neg ? "-" : "") + p.ints + (nd > 0 ? "." + p.decs : string());
            if (s.size() <= w) return Pad(s, w, true);
        }
    }
    *err = kErrDataOutBound;
    return string();
}

unsigned char Upper1252(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    return c;
}

}  // namespace

bool IsNumericType(char type) { return type == 'N' || static_cast<unsigned char>(type) < 'A'; }

StrDesc MaskApply(StrDesc mask, StrDesc value, std::uint16_t mode) {
    if (mask.IsError()) return mask;
    if (value.IsError()) return value;
    return StrFromStd(ApplyMask(StrToStd(mask), StrToStd(value), mode));
}

StrDesc MaskDefault(char type, std::uint16_t width) { return StrFromStd(DefaultMask(type, width)); }

StrDesc NumClean(StrDesc text) {
    if (text.IsError()) return text;
    return StrFromStd(CleanNumber(StrToStd(text), FormatCurrent()));
}

StrDesc FieldFit(char type, StrDesc text, int width) {
    if (text.IsError()) return text;
    ErrCode err = 0;
    string r = Fit(type, StrToStd(text), width, &err);
    return err != 0 ? StrError(err) : StrFromStd(r);
}

StrDesc FieldToStore(char type, StrDesc text, int width) {
    if (text.IsError()) return text;
    string t = StrToStd(text);
    string r;
    if (IsNumericType(type)) {
        string cleaned = CleanNumber(t, FormatCurrent());
        int w = WidthFits(width) ? width : 48;  // without fitting, a mask wide enough for any value
        r = NumberEdit(DefaultMask(type, w), cleaned, '.', ',');
        if (!WidthFits(width)) r = TrimBlanks(r);
    } else if (type == 'B' || type == 'C') {
        for (char c : t)
            if (IsDigit(c) || c == ' ') r += c;
    } else if (type == 'D' || type == 'F') {
        DynScope scope;
        r = StrToStd(DateParse(text));
    } else if (type == 'L') {
        string s = TrimBlanks(t);
        FormatDescriptor f = FormatCurrent();
        r = " ";
        if (!s.empty()) {
            char c = static_cast<char>(Upper1252(static_cast<unsigned char>(s[0])));
            if (c == f.letters[1]) r = "0";
            else if (c == f.letters[2]) r = "1";
        }
    } else {
        r = t;
    }
    ErrCode err = 0;
    r = Fit(type, r, width, &err);
    if (err != 0) return StrError(err);
    if (type == 'C' && r.find_first_not_of(' ') != string::npos)
        for (char& c : r)
            if (c == ' ') c = '0';
    return StrFromStd(r);
}

StrDesc FieldToShow(char type, StrDesc stored, int width) {
    if (stored.IsError()) return stored;
    string t = StrToStd(stored);
    std::size_t w = WidthFits(width) ? static_cast<std::size_t>(width) : t.size();
    if (type == 'D' || type == 'F') {
        if (w != 8 && w != 10) return StrFromStd(string(w, ' '));
        if (type == 'F' && TrimBlanks(t).empty()) return StrFromStd(string(w, ' '));
        return DateShow(stored, w == 8 ? 1 : 2);
    }
    if (type == 'L') {
        string s = TrimBlanks(t);
        char c = s.empty() ? ' ' : s[0];
        FormatDescriptor f = FormatCurrent();
        const string& word = c == ' ' ? f.words[0] : c == '1' ? f.words[2] : f.words[1];
        return StrFromStd(word.size() >= w ? word : word + string(w - word.size(), ' '));
    }
    if (type == 'N' || (type >= '1' && type <= '9'))
        return StrFromStd(ApplyMask(DefaultMask(type, static_cast<int>(w)), TrimBlanks(t), kMaskLanguage));
    if (!WidthFits(width) || w == t.size()) return StrFromStd(t);
    return FieldFit(type, stored, width);
}

}  // namespace rt
