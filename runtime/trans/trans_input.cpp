// Reads an import's external file in pieces of 32 KB into one buffer and hands out its lines or
// fixed-length blocks as views, so that a line of up to 65,535 bytes is one record whatever its
// length, and a longer one is skipped (and logged) instead of being split into several records.
#include "runtime/trans/trans_input.h"

#include <cstring>

#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/text_build.h"
#include "runtime/vars/run_log.h"

namespace rt {
namespace {

constexpr std::uint32_t kPiece = 32768;
constexpr unsigned char kCtrlZ = 26;
constexpr unsigned char kQuote = '"';
// The error log takes every line of mask 1.
constexpr std::uint16_t kLogErrors = 1;

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

TransInput::TransInput(std::uint16_t handle) : handle_(handle), buffer_(kTransMaxLine + 1 + kPiece) {}

void TransInput::QuotedValues(unsigned char delimiter) {
    delimiter_ = delimiter;
    quoted_ = delimiter != kQuote;
}

bool TransInput::EndsRecord(Scan& scan, char c) const {
    if (!quoted_) return IsLineEnd(c);
    unsigned char b = static_cast<unsigned char>(c);
    if (scan.inQuote) {
        if (b == kQuote) {
            scan.inQuote = false;
            scan.justClosed = true;
        }
        return false;
    }
    bool closed = scan.justClosed;
    scan.justClosed = false;
    if (IsLineEnd(c)) return true;
    if (b == delimiter_) {
        scan.valueStart = true;
        return false;
    }
    // A quote opens a value at its first byte; right after a closing quote it is the second of a
    // doubled one, and the value stays open.
    if (b == kQuote && (scan.valueStart || closed)) scan.inQuote = true;
    scan.valueStart = false;
    return false;
}

bool TransInput::Fill() {
    if (atEnd_) return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    std::uint32_t room = static_cast<std::uint32_t>(buffer_.size()) - end_;
    if (room > kPiece) room = kPiece;
    if (room == 0) return false;
    std::uint16_t got = StreamRead(handle_, kStreamHere, static_cast<std::uint16_t>(room), buffer_.data() + end_,
                                   static_cast<std::uint16_t>(room));
    if (got == kStreamBad || got == 0) {
        atEnd_ = true;
        return false;
    }
    end_ += got;
    return true;
}

// Takes the line end at begin_ (CR LF, LF or CR); a CR at the buffer's edge leaves its LF pending.
static void TakeLineEnd(const std::vector<char>& buffer, std::uint32_t* begin, std::uint32_t end, bool* pendingLf) {
    char c = buffer[*begin];
    ++*begin;
    if (c != '\r') return;
    if (*begin < end) {
        if (buffer[*begin] == '\n') ++*begin;
    } else {
        *pendingLf = true;
    }
}

ErrCode TransInput::SkipLongLine() {
    ++line_;
    ++skipped_;
    {
        DynScope scope;
        LogLine(Format(96, "Transfer: line %u longer than %u bytes skipped", static_cast<unsigned>(line_),
                       static_cast<unsigned>(kTransMaxLine)),
                kLogErrors);
    }
    Scan scan;
    for (;;) {
        std::uint32_t i = begin_;
        while (i < end_ && !EndsRecord(scan, buffer_[i])) ++i;
        consumed_ += i - begin_;
        begin_ = i;
        if (i < end_) {
            std::uint32_t before = begin_;
            TakeLineEnd(buffer_, &begin_, end_, &pendingLf_);
            consumed_ += begin_ - before;
            return 0;
        }
        begin_ = end_ = 0;
        if (!Fill()) return 0;
    }
}

ErrCode TransInput::NextLine(StrDesc* line) {
    std::uint32_t scan = begin_;
    Scan values;  // the quote state up to scan
    for (;;) {
        if (pendingLf_) {
            if (begin_ == end_ && !Fill()) return kStatusNoRecord;
            pendingLf_ = false;
            if (buffer_[begin_] == '\n') {
                ++begin_;
                ++consumed_;
            }
            scan = begin_;
            values = Scan{};
        }
        std::uint32_t i = scan;
        while (i < end_ && !EndsRecord(values, buffer_[i])) ++i;
        if (i < end_) {
            std::uint32_t length = i - begin_;
            if (length > kTransMaxLine) {
                SkipLongLine();
                scan = begin_;
                values = Scan{};
                continue;
            }
            *line = StrDesc{buffer_.data() + begin_, static_cast<std::uint16_t>(length)};
            consumed_ += length;
            begin_ = i;
            std::uint32_t before = begin_;
            TakeLineEnd(buffer_, &begin_, end_, &pendingLf_);
            consumed_ += begin_ - before;
            ++line_;
            return 0;
        }
        if (end_ - begin_ > kTransMaxLine) {
            SkipLongLine();
            scan = begin_;
            values = Scan{};
            continue;
        }
        std::uint32_t held = end_ - begin_;
        if (atEnd_ || !Fill()) {
            // Fill may have moved the held bytes to the front: take them from begin_ as it is now.
            if (held == 0) return kStatusNoRecord;
            const char* start = buffer_.data() + begin_;
            consumed_ += held;
            begin_ = end_;
            // The end-of-file mark of old text files is neither part of the last line nor a line.
            if (static_cast<unsigned char>(start[held - 1]) == kCtrlZ && --held == 0) return kStatusNoRecord;
            *line = StrDesc{start, static_cast<std::uint16_t>(held)};
            ++line_;
            return 0;
        }
        // Fill moved the held bytes to the front; they hold no line end, so the search goes on after them.
        scan = begin_ + held;
    }
}

ErrCode TransInput::NextBlock(std::uint16_t count, StrDesc* record) {
    while (end_ - begin_ < count && Fill()) {
    }
    if (begin_ == end_) return kStatusNoRecord;
    std::uint32_t n = end_ - begin_ < count ? end_ - begin_ : count;
    *record = StrDesc{buffer_.data() + begin_, static_cast<std::uint16_t>(n)};
    begin_ += n;
    consumed_ += n;
    ++line_;
    return 0;
}

}  // namespace rt
