// Runtime windows on the Qt desktop: the registry of handles, the filter that turns Qt events into
// runtime events for the window and input procedures, the top-level window with its client area and
// scroll bars, and the event pump. Widgets are deleted only when no procedure call is running that
// could still be inside one of their event handlers.
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_handles.h"
#include "platform/qt/qt_registry.h"

namespace rt {

namespace {

std::unordered_map<WinHandle, QtEntry> g_entries;
std::unordered_map<const QObject*, WinHandle> g_handles;
WinHandle g_next_handle = 1;

// Depth of procedure calls in progress. A widget destroyed at depth d may still have one of its
// event handlers on the stack until the depth drops below d.
int g_dispatch_depth = 0;
struct Dead {
    QPointer<QWidget> widget;
    int depth;
};
std::vector<Dead> g_dead;

void Reap(bool all) {
    std::vector<Dead> keep;
    std::vector<QPointer<QWidget>> doomed;
    for (Dead& d : g_dead) {
        if (all || d.depth > g_dispatch_depth) doomed.push_back(d.widget);
        else keep.push_back(d);
    }
    g_dead.swap(keep);
    for (QPointer<QWidget>& w : doomed) delete w.data();
}

void Unregister(WinHandle handle) {
    auto it = g_entries.find(handle);
    if (it == g_entries.end()) return;
    if (QWidget* w = it->second.widget.data()) g_handles.erase(w);
    g_entries.erase(it);
}

class InputFilter;
InputFilter* Filter();

// The top-level window: a client area (the content) that scrolls under optional scroll bars. A
// close request goes to the runtime, which decides whether the window goes.
class RuntimeWindow final : public QWidget {
public:
    RuntimeWindow() : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                           Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
        content_ = new QWidget(this);
        content_->setObjectName(QStringLiteral("content"));
        hbar_ = new QScrollBar(Qt::Horizontal, this);
        vbar_ = new QScrollBar(Qt::Vertical, this);
        hbar_->hide();
        vbar_->hide();
        setFocusPolicy(Qt::NoFocus);
        QObject::connect(hbar_, &QScrollBar::actionTriggered, this, [this](int a) { Scrolled(ScrollBar::kHorizontal, a); });
        QObject::connect(vbar_, &QScrollBar::actionTriggered, this, [this](int a) { Scrolled(ScrollBar::kVertical, a); });
    }

    QWidget* content() const { return content_; }
    WinHandle handle = kNoWindow;

    void ScrollTo(int x, int y, int x_range, int y_range) {
        x_range_ = x_range;
        y_range_ = y_range;
        hbar_->setRange(0, x_range);
        vbar_->setRange(0, y_range);
        hbar_->setValue(x);
        vbar_->setValue(y);
        hbar_->setVisible(x_range > 0);
        vbar_->setVisible(y_range > 0);
        offset_ = QPoint(x, y);
        Layout();
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        WinEvent e;
        e.type = WinEventType::kCloseRequest;
        QtDispatch(handle, e);
    }
    void resizeEvent(QResizeEvent*) override { Layout(); }

private:
    void Layout() {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const int w = width() - (vbar_->isVisible() ? bar : 0);
        const int h = height() - (hbar_->isVisible() ? bar : 0);
        hbar_->setGeometry(0, h, w, bar);
        vbar_->setGeometry(w, 0, bar, h);
        // The content is as large as the window plus what can be scrolled.
        content_->setGeometry(-offset_.x(), -offset_.y(), w + x_range_, h + y_range_);
        content_->lower();
    }
    void Scrolled(ScrollBar bar, int action) {
        WinEvent e;
        e.type = WinEventType::kScroll;
        e.bar = bar;
        switch (action) {
            case QAbstractSlider::SliderSingleStepSub: e.action = ScrollAction::kLineUp; break;
            case QAbstractSlider::SliderSingleStepAdd: e.action = ScrollAction::kLineDown; break;
            case QAbstractSlider::SliderPageStepSub: e.action = ScrollAction::kPageUp; break;
            case QAbstractSlider::SliderPageStepAdd: e.action = ScrollAction::kPageDown; break;
            case QAbstractSlider::SliderToMinimum: e.action = ScrollAction::kTop; break;
            case QAbstractSlider::SliderToMaximum: e.action = ScrollAction::kBottom; break;
            default: e.action = ScrollAction::kThumb; break;
        }
        QScrollBar* sb = bar == ScrollBar::kHorizontal ? hbar_ : vbar_;
        e.position = sb->sliderPosition();
        // The runtime moves the content itself (WindowScroll); the bar's own step is undone.
        const int old = bar == ScrollBar::kHorizontal ? offset_.x() : offset_.y();
        sb->setSliderPosition(old);
        QtDispatch(handle, e);
    }

    QWidget* content_;
    QScrollBar* hbar_;
    QScrollBar* vbar_;
    QPoint offset_;
    int x_range_ = 0, y_range_ = 0;
};

// Turns the Qt events of registered widgets into runtime events.
class InputFilter final : public QObject {
protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto found = g_handles.find(object);
        if (found == g_handles.end()) return false;
        const WinHandle h = found->second;
        QtEntry* entry = QtEntryOf(h);
        if (entry == nullptr || entry->proc == nullptr) return false;
        switch (event->type()) {
            case QEvent::KeyPress: return Key(h, static_cast<QKeyEvent*>(event), true);
            case QEvent::KeyRelease: return Key(h, static_cast<QKeyEvent*>(event), false);
            case QEvent::FocusIn: {
                if (entry->is_window) return false;
                WinEvent e;
                e.type = WinEventType::kFocusIn;
                return QtDispatch(h, e);
            }
            case QEvent::FocusOut: {
                if (entry->is_window) return false;
                WinEvent e;
                e.type = WinEventType::kFocusOut;
                QtDispatch(h, e);
                return false;  // the control must always learn that it lost the focus
            }
            case QEvent::WindowActivate: {
                if (!entry->is_window) return false;
                WinEvent e;
                e.type = WinEventType::kFocusIn;
                QtDispatch(h, e);
                return false;
            }
            default: return false;
        }
    }

private:
    static bool Key(WinHandle h, QKeyEvent* k, bool down) {
        WinEvent e;
        e.type = down ? WinEventType::kKeyDown : WinEventType::kKeyUp;
        e.key = QtKeyOf(k->key());
        e.shift = (k->modifiers() & Qt::ShiftModifier) != 0 || k->key() == Qt::Key_Backtab;
        e.ctrl = (k->modifiers() & Qt::ControlModifier) != 0;
        if (QtDispatch(h, e)) return true;
        if (!down) return false;
        // The character of the key, as the runtime sees typed characters. Ctrl+] is the group
        // separator (29) whatever the keyboard layout makes of it.
        QString text = k->text();
        if (e.ctrl && k->key() == Qt::Key_BracketRight) text = QString(QChar(29));
        if (text.isEmpty() || QtEntryOf(h) == nullptr) return false;
        bool consumed = false;
        for (QChar c : text) {
            WinEvent ce;
            ce.type = WinEventType::kChar;
            ce.ch = c.unicode();
            ce.shift = e.shift;
            ce.ctrl = e.ctrl;
            if (QtEntryOf(h) == nullptr) return true;
            consumed = QtDispatch(h, ce) || consumed;
        }
        return consumed;
    }
};

InputFilter* Filter() {
    static InputFilter* filter = new InputFilter;
    return filter;
}

// Brings a window to the front. The offscreen platform has no stacking (and says so on every call).
void BringToFront(QWidget* w) {
    static const bool stacking = QGuiApplication::platformName() != QLatin1String("offscreen");
    if (stacking) w->raise();
    w->activateWindow();
}

RuntimeWindow* WindowOf(WinHandle handle) {
    QtEntry* e = QtEntryOf(handle);
    if (e == nullptr || !e->is_window) return nullptr;
    return static_cast<RuntimeWindow*>(e->widget.data());
}

}  // namespace

// ---- Registry ----

WinHandle QtRegister(QWidget* widget, const QtEntry& entry) {
    const WinHandle h = g_next_handle++;
    QtEntry e = entry;
    e.widget = widget;
    if (e.is_window) e.window = h;
    g_entries[h] = e;
    g_handles[widget] = h;
    widget->installEventFilter(Filter());
    QObject::connect(widget, &QObject::destroyed, [h](QObject*) { Unregister(h); });
    return h;
}

QtEntry* QtEntryOf(WinHandle handle) {
    auto it = g_entries.find(handle);
    if (it == g_entries.end() || it->second.widget.isNull()) return nullptr;
    return &it->second;
}

QWidget* QtContentOf(WinHandle window) {
    RuntimeWindow* w = WindowOf(window);
    return w != nullptr ? w->content() : nullptr;
}

bool QtDispatch(WinHandle target, const WinEvent& event) {
    QtEntry* entry = QtEntryOf(target);
    if (entry == nullptr || entry->proc == nullptr) return false;
    WinProc proc = entry->proc;
    ++g_dispatch_depth;
    const bool consumed = proc(target, event);
    --g_dispatch_depth;
    return consumed;
}

void QtDestroyAll() {
    std::vector<WinHandle> windows;
    for (auto& [h, e] : g_entries)
        if (e.is_window) windows.push_back(h);
    for (WinHandle h : windows) {
        QPointer<QWidget> w = g_entries[h].widget;
        Unregister(h);
        delete w.data();  // its controls go with it (their destroyed signals unregister them)
    }
    Reap(true);
}

QWidget* QtWidgetOf(WinHandle handle) {
    QtEntry* e = QtEntryOf(handle);
    return e != nullptr ? e->widget.data() : nullptr;
}

WinHandle QtHandleOf(const QObject* object) {
    auto it = g_handles.find(object);
    return it == g_handles.end() ? kNoWindow : it->second;
}

std::u16string QtClassOf(WinHandle window) {
    QtEntry* e = QtEntryOf(window);
    return e != nullptr && e->is_window ? e->class_name : std::u16string();
}

QString QtString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string QtUtf16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

// ---- Placement and modality of windows ----

namespace {

// The window the user was working in when a runtime window comes up: its runtime owner while that
// shows, else Qt's modal or active window (the contact dialog, for a command started from it).
QWidget* WorkingWindow(const QtEntry& entry, QWidget* self) {
    if (QWidget* owner = QtWidgetOf(entry.owner); owner != nullptr && owner->isVisible()) return owner->window();
    for (QWidget* w : {QApplication::activeModalWidget(), QApplication::activeWindow()})
        if (w != nullptr && w->window() != self && w->isVisible()) return w->window();
    return nullptr;
}

// While a Qt modal dialog is up (the contact dialog runs modally), Qt blocks the input of every other
// top-level window that is not modal over it. A runtime window shown then is made modal over the window
// the user was working in: it takes keys and clicks, and nothing beneath it does.
bool MakeModalOver(QWidget* w, QWidget* over) {
    if (QApplication::activeModalWidget() == nullptr || over == nullptr) return false;
    w->setWindowModality(Qt::WindowModal);
    if (w->windowHandle() != nullptr && over->windowHandle() != nullptr)
        w->windowHandle()->setTransientParent(over->windowHandle());
    return true;
}

// When a window shown modal over a window that is not the runtime's goes, that window gets the focus
// back (a window manager may do it too; without one nobody else would).
void GiveFocusBack(const QPointer<QWidget>& over) {
    if (over.isNull() || !over->isVisible() || QtHandleOf(over.data()) != kNoWindow) return;
    over->activateWindow();
}

// Centres a window over another (over the screen without one), kept inside that screen's work area.
void CentreOver(QWidget* w, QWidget* over) {
    QScreen* screen = over != nullptr && over->screen() != nullptr ? over->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const QRect target = over != nullptr ? over->frameGeometry() : area;
    const QSize size = w->frameGeometry().size().expandedTo(w->size());
    int x = target.center().x() - size.width() / 2;
    int y = target.center().y() - size.height() / 2;
    x = std::max(area.left(), std::min(x, area.right() + 1 - size.width()));
    y = std::max(area.top(), std::min(y, area.bottom() + 1 - size.height()));
    w->move(x, y);
}

}  // namespace

// ---- Windows ----

QtDesktop::~QtDesktop() {
    if (QtWidgetsReady()) QtDestroyAll();
}

WinHandle QtDesktop::WindowCreate(const WindowRequest& request) {
    if (!QtWidgetsReady()) return kNoWindow;
    auto* w = new RuntimeWindow;
    w->setWindowTitle(QtString(request.caption));
    w->setProperty("quintaraClass", QtString(request.class_name));
    QtEntry entry;
    entry.is_window = true;
    entry.proc = request.proc;
    entry.class_name = request.class_name;
    entry.fixed_size = request.dialog_frame;
    entry.owner = request.owner;
    entry.centre = request.rect.x == kWinCentred || request.rect.y == kWinCentred;
    const WinHandle h = QtRegister(w, entry);
    w->handle = h;
    if (request.rect.width > 0 && request.rect.height > 0) {
        if (!entry.centre) w->move(request.rect.x, request.rect.y);
        w->resize(request.rect.width, request.rect.height);
        if (request.dialog_frame) w->setFixedSize(request.rect.width, request.rect.height);
    }
    // The owner keeps the window above it on a real window manager; ownership of the widget stays
    // with the registry, so disabling the owner never disables this window.
    w->winId();
    if (QWidget* owner = QtWidgetOf(request.owner)) {
        owner->winId();
        if (w->windowHandle() && owner->window()->windowHandle())
            w->windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
    return h;
}

void QtDesktop::WindowDestroy(WinHandle handle) {
    QtEntry* entry = QtEntryOf(handle);
    if (entry == nullptr) return;
    const bool is_window = entry->is_window;
    // Controls go first, each told before it goes; then the window itself.
    if (is_window) {
        std::vector<WinHandle> controls;
        for (auto& [h, e] : g_entries)
            if (!e.is_window && e.window == handle) controls.push_back(h);
        for (WinHandle c : controls) {
            WinEvent e;
            e.type = WinEventType::kDestroy;
            QtDispatch(c, e);
            Unregister(c);
        }
    }
    WinEvent e;
    e.type = WinEventType::kDestroy;
    QtDispatch(handle, e);
    entry = QtEntryOf(handle);
    if (entry == nullptr) return;
    QPointer<QWidget> widget = entry->widget;
    const QPointer<QWidget> over = entry->over;
    Unregister(handle);
    if (widget.isNull()) return;
    widget->hide();
    GiveFocusBack(over);
    if (g_dispatch_depth == 0) delete widget.data();
    else g_dead.push_back({widget, g_dispatch_depth});
}

void QtDesktop::WindowShow(WinHandle window, bool visible, bool maximised) {
    RuntimeWindow* w = WindowOf(window);
    if (w == nullptr) return;
    if (!visible) {
        w->hide();
        return;
    }
    if (!w->isVisible()) {
        QtEntry* entry = QtEntryOf(window);
        QWidget* over = WorkingWindow(*entry, w);
        if (MakeModalOver(w, over)) entry->over = over;
        if (over != nullptr) w->setWindowIcon(over->windowIcon());
        if (entry->centre) CentreOver(w, over);
    }
    if (maximised) w->showMaximized();
    else w->show();
    BringToFront(w);
}

void QtDesktop::WindowSetCaption(WinHandle window, const std::u16string& caption) {
    if (RuntimeWindow* w = WindowOf(window)) w->setWindowTitle(QtString(caption));
}

void QtDesktop::WindowEnable(WinHandle handle, bool enabled) {
    if (QWidget* w = QtWidgetOf(handle)) w->setEnabled(enabled);
}

bool QtDesktop::WindowEnabled(WinHandle handle) {
    QWidget* w = QtWidgetOf(handle);
    return w != nullptr && w->isEnabled();
}

void QtDesktop::WindowSetRect(WinHandle handle, const WinRect& rect) {
    QtEntry* e = QtEntryOf(handle);
    if (e == nullptr) return;
    QWidget* w = e->widget.data();
    if (e->is_window) {
        e->centre = rect.x == kWinCentred || rect.y == kWinCentred;
        if (!e->centre) w->move(rect.x, rect.y);
        if (e->fixed_size) w->setFixedSize(std::max(1, rect.width), std::max(1, rect.height));
        else w->resize(std::max(1, rect.width), std::max(1, rect.height));
        if (e->centre && w->isVisible()) CentreOver(w, WorkingWindow(*e, w));
    } else {
        w->setGeometry(rect.x, rect.y, rect.width, rect.height);
    }
}

WinRect QtDesktop::WindowRect(WinHandle handle) {
    QtEntry* e = QtEntryOf(handle);
    if (e == nullptr) return {};
    QWidget* w = e->widget.data();
    if (e->is_window) return WinRect{w->x(), w->y(), w->width(), w->height()};
    return WinRect{w->x(), w->y(), w->width(), w->height()};
}

WinRect QtDesktop::ScreenWorkArea() {
    if (!QtWidgetsReady() || QGuiApplication::primaryScreen() == nullptr) return Desktop::ScreenWorkArea();
    const QRect r = QGuiApplication::primaryScreen()->availableGeometry();
    return WinRect{r.x(), r.y(), r.width(), r.height()};
}

void QtDesktop::WindowScroll(WinHandle window, int x, int y, int x_range, int y_range) {
    if (RuntimeWindow* w = WindowOf(window)) w->ScrollTo(x, y, x_range, y_range);
}

void QtDesktop::WindowFocus(WinHandle handle) {
    QtEntry* e = QtEntryOf(handle);
    if (e == nullptr) return;
    QWidget* top = e->widget->window();
    if (!top->isActiveWindow()) BringToFront(top);
    if (!e->is_window) e->widget->setFocus(Qt::OtherFocusReason);
}

WinHandle QtDesktop::FocusedControl() {
    if (!QtWidgetsReady()) return kNoWindow;
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget())
        if (WinHandle h = QtHandleOf(w)) return h;
    return kNoWindow;
}

void QtDesktop::WindowUpdate(WinHandle window) {
    if (QWidget* w = QtWidgetOf(window)) w->repaint();
}

// ---- Events ----

namespace {

// Input waits while no runtime window shows: a key or click meant for the window beneath (the contact
// dialog) is delivered once the running command has ended, instead of starting another inside it.
QEventLoop::ProcessEventsFlags PumpFlags() {
    for (const auto& [h, e] : g_entries)
        if (e.is_window && !e.widget.isNull() && e.widget->isVisible()) return QEventLoop::AllEvents;
    return QEventLoop::ExcludeUserInputEvents;
}

}  // namespace

void QtDesktop::Pump() {
    if (!QtWidgetsReady()) return;
    QCoreApplication::processEvents(PumpFlags());
    Reap(false);
}

void QtDesktop::WaitForEvents(int milliseconds) {
    if (!QtWidgetsReady()) return;
    // The timer bounds the wait: the loop wakes for the first event or when it fires.
    QTimer bound;
    bound.setSingleShot(true);
    bound.start(std::max(1, milliseconds));
    QCoreApplication::processEvents(PumpFlags() | QEventLoop::WaitForMoreEvents);
    Reap(false);
}

}  // namespace rt
