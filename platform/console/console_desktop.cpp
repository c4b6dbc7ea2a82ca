// The terminal desktop: message boxes written to standard error and answered with their first
// button, and the fixed character cell that stands for every font.
#include "platform/console/console_desktop.h"

#include "platform/cp1252.h"

#include <cstdio>
#include <string>

namespace rt {

namespace {

// UTF-8 for the terminal. CR LF line breaks of runtime texts become LF; a lone surrogate becomes '?'.
std::string ToTerminal(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = u'?';
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace

MsgButton ConsoleDesktop::ShowMessageBox(const MsgBoxRequest& request) {
    const std::string out = ToTerminal(request.caption) + "\n" + ToTerminal(request.text) + "\n";
    std::fwrite(out.data(), 1, out.size(), stderr);
    std::fflush(stderr);
    return MsgFirstButton(request.buttons);
}

// A terminal has no event queue of its own; standard input belongs to the tool's transfers.
void ConsoleDesktop::DiscardPendingInput() {}

CharMetrics ConsoleDesktop::FontMetrics(const FontRequest& request) {
    return CharMetrics{request.width != 0 ? request.width : kCellWidth,
                       request.height != 0 ? request.height : kCellHeight};
}

CharMetrics ConsoleDesktop::DefaultFontMetrics() { return CharMetrics{kCellWidth, kCellHeight}; }

}  // namespace rt
