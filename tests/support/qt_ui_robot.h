// The UI robot: drives the runtime's windows, message boxes and file dialogs on the offscreen Qt
// desktop as a user would, while the code under test runs its modal loops.
//
// A test queues steps before it calls the code that opens windows. Each step waits (bounded) for the
// next thing of its kind to appear and settle: a runtime window newly on top of the window stack, a
// message box, or a file dialog. The step then reads what is shown (caption, texts, the focused
// control) and acts with real key and mouse events. A step that times out fails the test and presses
// Escape on whatever is showing, so that a broken dialog never hangs the run.
#pragma once
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/window_types.h"

namespace rt::test {

enum class UiKind { kRuntimeWindow, kMessageBox, kFileDialog };

// One control of a runtime window as the robot sees it.
struct UiControl {
    std::uint16_t id = 0;
    std::string kind;   // "label", "edit", "check", "button", "list", "bar", "panel"
    std::string text;   // UTF-8; a check box gives "1" ticked and "" cleared
    QRect rect;         // in the window's client area
    bool right_aligned = false;
    bool masked = false;     // an edit that hides what is typed
    bool read_only = false;
    bool focused = false;
    bool enabled = true;
};

// What a step sees and can do.
class UiView {
public:
    UiView(UiKind kind, QWidget* top, WinHandle window) : kind_(kind), top_(top), window_(window) {}

    UiKind kind() const { return kind_; }
    QWidget* top() const { return top_; }
    WinHandle window() const { return window_; }  // runtime windows only

    std::string caption() const;
    // A box's text, a file dialog's name field.
    std::string text() const;
    // Runtime windows: every control, in creation order.
    std::vector<UiControl> controls() const;
    UiControl control(std::uint16_t id) const;
    // The id of the focused runtime control (0 when the focus is elsewhere) and its text.
    std::uint16_t focused_id() const;
    std::string focused_text() const;

    // Types text into the focused widget: one key event per character, carrying the character.
    void Type(const QString& text);
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A mouse click in the middle of the runtime control with that id.
    void Click(std::uint16_t id);
    // Runtime list box: selects item n (1-based) with a click and double-clicks it.
    void ChooseItem(int n);
    // The window's close box.
    void CloseBox();
    // Message boxes: clicks the button with that text (UTF-8).
    void ClickButton(const std::string& text);
    // File dialogs: types the path into the name field and presses Enter.
    void AnswerFile(const std::string& path);
    // Saves a PNG of the window into the screenshot folder; gives the file's path.
    std::string Screenshot(const std::string& name) const;

private:
    QWidget* Focus() const;
    UiKind kind_;
    QWidget* top_;
    WinHandle window_;
};

class UiRobot {
public:
    using Step = std::function<void(UiView&)>;

    explicit UiRobot(int timeout_ms = 5000);
    // Fails the test for every step that never ran.
    ~UiRobot();
    UiRobot(const UiRobot&) = delete;
    UiRobot& operator=(const UiRobot&) = delete;

    UiRobot& OnWindow(Step step) { return Add(UiKind::kRuntimeWindow, std::move(step)); }
    UiRobot& OnBox(Step step) { return Add(UiKind::kMessageBox, std::move(step)); }
    UiRobot& OnFileDialog(Step step) { return Add(UiKind::kFileDialog, std::move(step)); }

    std::size_t pending() const;
    // What the boxes said, in order ("caption: text").
    const std::vector<std::string>& boxes_seen() const { return boxes_; }

    // Pumps Qt events until cond holds or the time is up; gives cond's last answer.
    static bool WaitUntil(const std::function<bool()>& cond, int timeout_ms = 5000);
    // The folder screenshots go to: the test's starting folder's "screenshots" (the build folder).
    static std::string ScreenshotFolder();

private:
    UiRobot& Add(UiKind kind, Step step);
    void Tick();
    struct Impl;
    Impl* impl_;
    std::vector<std::string> boxes_;
};

}  // namespace rt::test
