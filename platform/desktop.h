// The desktop as the runtime sees it. The runtime's message boxes, fonts and (later) windows are
// written against this interface only; a backend (the Qt desktop, or the terminal of the command-line
// tool) implements it, and whoever starts the process makes one backend current with DesktopSet.
//
// Texts cross this boundary as UTF-16: the runtime decodes its Windows-1252 bytes losslessly before
// a call and encodes the answers back, so no backend ever sees the runtime's 8-bit texts.
#pragma once
#include <cstdint>
#include <string>

namespace rt {

// ---- Message boxes ----

enum class MsgIcon : std::uint8_t { kInformation, kWarning, kError };

// The button sets a box can offer, named in the order the buttons appear; the first is the default.
enum class MsgButtons : std::uint8_t { kOk, kOkCancel, kRetryCancel, kYesNo, kYesNoCancel };

// The button that closed a box. kNone: the box could not be shown (or closed without a button).
enum class MsgButton : std::uint8_t { kNone, kOk, kCancel, kRetry, kYes, kNo, kAbort, kIgnore };

struct MsgBoxRequest {
    std::u16string text;
    std::u16string caption;
    MsgIcon icon = MsgIcon::kInformation;
    MsgButtons buttons = MsgButtons::kOk;
    // The owner window joins here once runtime windows exist (the box is then modal to it).
};

// The first (default) button of a set.
MsgButton MsgFirstButton(MsgButtons buttons);

// ---- Fonts ----

// A font as the runtime describes it: face name, character height and average character width in
// pixels (0 lets the platform choose), and weight (400 normal, 700 bold).
struct FontRequest {
    std::u16string face;
    std::uint16_t height = 0;
    std::uint16_t width = 0;
    std::uint16_t weight = 400;
};

// Measured metrics of a font: average character width and character height (ascent + descent),
// in pixels. Zero in both means the font could not be measured.
struct CharMetrics {
    std::uint16_t avg_width = 0;
    std::uint16_t height = 0;
};

// ---- The backend ----

class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows a modal box and gives the button that closed it (kNone when it could not be shown).
    virtual MsgButton ShowMessageBox(const MsgBoxRequest& request) = 0;

    // Drops input (keys, mouse) that is waiting for the process, so that keystrokes typed ahead are
    // not taken as an answer to a box that is about to appear. Other pending work may run.
    virtual void DiscardPendingInput() = 0;

    // Metrics of the font that best matches the request on this desktop.
    virtual CharMetrics FontMetrics(const FontRequest& request) = 0;
    // Metrics of the desktop's default user-interface font.
    virtual CharMetrics DefaultFontMetrics() = 0;

    // ---- Reserved for the window layer, added by later work (not part of this interface yet) ----
    // - top-level runtime windows: class name, caption, owner, disabling the owner while modal;
    // - child controls: static label, single-line edit, check box, push button, list box,
    //   progress bar, painted text panel; focus, enabling, geometry and scrolling;
    // - one non-blocking pump of pending events;
    // - the open and save file dialogs.
};

// The current backend; null until someone sets one. The caller keeps ownership.
void DesktopSet(Desktop* desktop);
Desktop* DesktopGet();

}  // namespace rt
