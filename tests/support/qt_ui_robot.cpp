// The UI robot: a timer that watches for the next runtime window, message box or file dialog and runs
// the queued step on it, and the views through which steps read and drive the widgets.
#include "tests/support/qt_ui_robot.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>

#include <deque>
#include <unistd.h>

#include "platform/desktop.h"
#include "platform/qt/qt_handles.h"
#include "runtime/ui/win_stack.h"
#include "tests/support/window_input.h"

namespace rt::test {

namespace {

// The folder the test program started in (the build folder); tests may change folders later.
const std::string g_start_folder = [] {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string(".");
}();

std::string Utf8(const QString& s) { return s.toStdString(); }

const char* KindName(UiKind kind) {
    switch (kind) {
        case UiKind::kRuntimeWindow: return "runtime window";
        case UiKind::kMessageBox: return "message box";
        case UiKind::kFileDialog: return "file dialog";
    }
    return "?";
}

// What is showing now: a box or file dialog runs modally; a runtime window is the stack's top.
struct Showing {
    UiKind kind = UiKind::kRuntimeWindow;
    QWidget* widget = nullptr;
    WinHandle window = kNoWindow;
};

bool Current(Showing* out) {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr && box->isVisible()) {
        *out = Showing{UiKind::kMessageBox, box, kNoWindow};
        return true;
    }
    if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog != nullptr && dialog->isVisible()) {
        *out = Showing{UiKind::kFileDialog, dialog, kNoWindow};
        return true;
    }
    const WinHandle top = WinTop();
    QWidget* w = QtWidgetOf(top);
    if (w != nullptr && w->isVisible() && w->isEnabled()) {
        *out = Showing{UiKind::kRuntimeWindow, w, top};
        return true;
    }
    return false;
}

std::string Describe(const Showing& s) {
    if (s.kind == UiKind::kMessageBox)
        return "message box '" + Utf8(s.widget->windowTitle()) + "': " + Utf8(static_cast<QMessageBox*>(s.widget)->text());
    return std::string(KindName(s.kind)) + " '" + Utf8(s.widget->windowTitle()) + "'";
}

}  // namespace

// ---- UiView ----

std::string UiView::caption() const { return Utf8(top_->windowTitle()); }

std::string UiView::text() const {
    if (auto* box = qobject_cast<QMessageBox*>(top_)) return Utf8(box->text());
    if (auto* dialog = qobject_cast<QFileDialog*>(top_)) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        return edit != nullptr ? Utf8(edit->text()) : std::string();
    }
    return std::string();
}

std::vector<UiControl> UiView::controls() const {
    std::vector<UiControl> out;
    QWidget* content = top_->findChild<QWidget*>(QStringLiteral("content"), Qt::FindDirectChildrenOnly);
    if (content == nullptr) return out;
    Desktop* d = DesktopGet();
    for (QObject* child : content->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        const WinHandle h = QtHandleOf(child);
        if (w == nullptr || h == kNoWindow) continue;
        UiControl c;
        c.id = d != nullptr ? d->ControlId(h) : 0;
        c.rect = w->geometry();
        c.focused = w->hasFocus();
        c.enabled = w->isEnabled();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            c.kind = "label";
            c.text = Utf8(label->text());
            c.right_aligned = (label->alignment() & Qt::AlignRight) != 0;
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            c.kind = "edit";
            c.text = Utf8(edit->text());
            c.right_aligned = (edit->alignment() & Qt::AlignRight) != 0;
            c.masked = edit->echoMode() != QLineEdit::Normal;
            c.read_only = edit->isReadOnly();
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            c.kind = "check";
            c.text = check->isChecked() ? "1" : "";
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            c.kind = "button";
            c.text = Utf8(button->text());
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            c.kind = "list";
            for (int i = 0; i < list->count(); ++i) c.text += (i ? "," : "") + Utf8(list->item(i)->text());
        } else if (qobject_cast<QProgressBar*>(w) != nullptr) {
            c.kind = "bar";
        } else {
            c.kind = "panel";
            c.text = d != nullptr ? QString::fromStdU16String(d->ControlText(h)).toStdString() : std::string();
        }
        out.push_back(c);
    }
    return out;
}

UiControl UiView::control(std::uint16_t id) const {
    for (const UiControl& c : controls())
        if (c.id == id) return c;
    ADD_FAILURE() << "no control " << id << " in '" << caption() << "'";
    return UiControl{};
}

std::uint16_t UiView::focused_id() const {
    for (const UiControl& c : controls())
        if (c.focused) return c.id;
    return 0;
}

std::string UiView::focused_text() const {
    for (const UiControl& c : controls())
        if (c.focused) return c.text;
    return std::string();
}

QWidget* UiView::Focus() const {
    QWidget* f = QApplication::focusWidget();
    return f != nullptr ? f : top_;
}

namespace {

// Whether Qt lets a user reach the window: no modal window above it blocks it. The close box is the
// one request QTest cannot send as the window system does, so its modality check is made here.
bool Reachable(QWidget* w) {
    QWindow* window = WindowOf(w);
    QWindow* modal = QGuiApplication::modalWindow();
    if (modal == nullptr || modal == window || modal->isAncestorOf(window, QWindow::IncludeTransients)) return true;
    if (modal->modality() == Qt::ApplicationModal) return false;
    for (QWindow* m = modal; m != nullptr; m = m->transientParent() != nullptr ? m->transientParent() : m->parent())
        for (QWindow* x = window; x != nullptr; x = x->transientParent() != nullptr ? x->transientParent() : x->parent())
            if (m == x) return false;
    return true;
}

}  // namespace

void UiView::Type(const QString& text) {
    for (QChar c : text) {
        KeyToWindow(Focus(), KeyOfChar(c), Qt::NoModifier, QString(c));
    }
}

void UiView::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) { KeyToWindow(Focus(), key, modifiers); }

void UiView::Click(std::uint16_t id) {
    for (QObject* child : top_->findChildren<QWidget*>()) {
        const WinHandle h = QtHandleOf(child);
        if (h == kNoWindow || DesktopGet() == nullptr || DesktopGet()->ControlId(h) != id) continue;
        auto* w = static_cast<QWidget*>(child);
        ClickAt(w, w->rect().center());
        return;
    }
    ADD_FAILURE() << "no control " << id << " to click in '" << caption() << "'";
}

void UiView::ChooseItem(int n) {
    auto* list = top_->findChild<QListWidget*>();
    if (list == nullptr || n < 1 || n > list->count()) {
        ADD_FAILURE() << "no list item " << n << " in '" << caption() << "'";
        return;
    }
    const QPoint at = list->visualItemRect(list->item(n - 1)).center();
    ClickAt(list->viewport(), at);
    DoubleClickAt(list->viewport(), at);
}

void UiView::CloseBox() {
    if (Reachable(top_)) top_->close();
}

void UiView::ClickButton(const std::string& text) {
    for (QAbstractButton* b : top_->findChildren<QAbstractButton*>()) {
        if (Utf8(b->text()).find(text) == std::string::npos) continue;
        ClickAt(b, b->rect().center());
        return;
    }
    ADD_FAILURE() << "no button '" << text << "' in '" << caption() << "'";
}

void UiView::AnswerFile(const std::string& path) {
    auto* edit = top_->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (edit == nullptr) {
        ADD_FAILURE() << "the file dialog has no name field";
        return;
    }
    ClickAt(edit, edit->rect().center());
    KeyToWindow(edit, Qt::Key_A, Qt::ControlModifier);
    KeyToWindow(edit, Qt::Key_Delete, Qt::NoModifier);
    for (QChar c : QString::fromStdString(path)) KeyToWindow(edit, Qt::Key_unknown, Qt::NoModifier, QString(c));
    KeyToWindow(edit, Qt::Key_Return, Qt::NoModifier);
}

std::string UiView::Screenshot(const std::string& name) const {
    const std::string folder = UiRobot::ScreenshotFolder();
    QDir().mkpath(QString::fromStdString(folder));
    const std::string path = folder + "/" + name + ".png";
    top_->repaint();
    // The offscreen desktop draws no frames: a title strip with the caption stands in for one, so
    // that the picture shows what the user reads in the title bar too.
    const QPixmap client = top_->grab();
    const int strip = QFontMetrics(QApplication::font()).height() + 10;
    QPixmap shot(client.width() + 2, client.height() + strip + 1);
    shot.fill(QColor(60, 60, 60));
    QPainter p(&shot);
    p.setPen(Qt::white);
    p.setFont(QApplication::font());
    p.drawText(QRect(8, 0, shot.width() - 16, strip), Qt::AlignVCenter | Qt::AlignLeft, top_->windowTitle());
    p.drawPixmap(1, strip, client);
    p.end();
    const bool saved = shot.save(QString::fromStdString(path), "PNG");
    EXPECT_TRUE(saved) << "screenshot " << path;
    return path;
}

// ---- UiRobot ----

struct UiRobot::Impl {
    struct Pending {
        UiKind kind;
        Step step;
    };
    std::deque<Pending> steps;
    QTimer timer;
    int timeout_ms = 5000;
    QElapsedTimer waited;       // since the head step became the head
    QPointer<QWidget> last;     // what the last step acted on
    WinHandle last_window = kNoWindow;
    QPointer<QWidget> seen;     // what is showing, and since when
    WinHandle seen_window = kNoWindow;
    int seen_ticks = 0;
    bool running = false;       // a step has been handed to the event loop and not finished
};

UiRobot::UiRobot(int timeout_ms) : impl_(new Impl) {
    impl_->timeout_ms = timeout_ms;
    QObject::connect(&impl_->timer, &QTimer::timeout, [this] { Tick(); });
    impl_->timer.start(10);
}

UiRobot::~UiRobot() {
    impl_->timer.stop();
    for (const Impl::Pending& p : impl_->steps) ADD_FAILURE() << "robot: no " << KindName(p.kind) << " came for a step";
    delete impl_;
}

UiRobot& UiRobot::Add(UiKind kind, Step step) {
    if (impl_->steps.empty()) impl_->waited.start();
    impl_->steps.push_back({kind, std::move(step)});
    return *this;
}

std::size_t UiRobot::pending() const { return impl_->steps.size() + (impl_->running ? 1 : 0); }

void UiRobot::Tick() {
    Impl& m = *impl_;
    Showing now;
    const bool showing = Current(&now);
    if (!showing) {
        m.seen = nullptr;
        m.seen_window = kNoWindow;
        m.seen_ticks = 0;
    } else if (now.widget != m.seen.data() || now.window != m.seen_window) {
        m.seen = now.widget;
        m.seen_window = now.window;
        m.seen_ticks = 1;
    } else {
        ++m.seen_ticks;
    }

    if (m.steps.empty()) return;
    if (!m.waited.isValid()) m.waited.start();

    // A step acts on something new that has been showing for two ticks (its first focus is done).
    const bool fresh = showing && (now.widget != m.last.data() || now.window != m.last_window);
    if (showing && fresh && m.seen_ticks >= 2 && now.kind == m.steps.front().kind) {
        Impl::Pending p = std::move(m.steps.front());
        m.steps.pop_front();
        m.last = now.widget;
        m.last_window = now.window;
        if (now.kind == UiKind::kMessageBox)
            boxes_.push_back(Utf8(now.widget->windowTitle()) + ": " + Utf8(static_cast<QMessageBox*>(now.widget)->text()));
        m.waited.start();
        m.running = true;
        // The step runs from the event loop, not from this timer's slot, so that this timer keeps
        // ticking in the modal loops the step's actions open.
        QPointer<QWidget> target = now.widget;
        const WinHandle window = now.window;
        const UiKind kind = now.kind;
        QTimer::singleShot(0, [this, step = std::move(p.step), target, window, kind] {
            if (!target.isNull()) {
                UiView view(kind, target.data(), window);
                step(view);
            } else {
                ADD_FAILURE() << "robot: the " << KindName(kind) << " went before its step could run";
            }
            impl_->running = false;
        });
        return;
    }

    if (m.waited.elapsed() > m.timeout_ms) {
        const Impl::Pending& p = m.steps.front();
        ADD_FAILURE() << "robot: no " << KindName(p.kind) << " within " << m.timeout_ms << " ms"
                      << (showing ? "; showing: " + Describe(now) : std::string("; nothing is showing"));
        m.steps.pop_front();
        m.waited.start();
        // Whatever is showing is dismissed, so that the code under test can return: straight to the
        // widget, since a window the user cannot reach would not take the Escape of its window either.
        if (showing) {
            QWidget* f = now.widget->focusWidget();
            QTest::keyClick(f != nullptr ? f : now.widget, Qt::Key_Escape);
        }
    }
}

bool UiRobot::WaitUntil(const std::function<bool()>& cond, int timeout_ms) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > timeout_ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(5);
    }
    return true;
}

std::string UiRobot::ScreenshotFolder() { return g_start_folder + "/screenshots"; }

}  // namespace rt::test
