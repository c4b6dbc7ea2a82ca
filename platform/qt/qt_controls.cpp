// The child controls of runtime windows on the Qt desktop: labels, edits, check boxes, push buttons,
// list boxes, progress bars and the painted text panel, and the operations on them.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_handles.h"
#include "platform/qt/qt_registry.h"

namespace rt {

namespace {

// A grey panel with lines of white text, each centred across the panel and the block of lines
// centred from top to bottom (never starting above the top).
class TextPanel final : public QWidget {
public:
    explicit TextPanel(QWidget* parent) : QWidget(parent) {}
    void SetLines(QStringList lines) {
        lines_ = std::move(lines);
        update();
    }
    QStringList lines() const { return lines_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(128, 128, 128));
        p.setPen(Qt::white);
        p.setFont(font());
        const QFontMetrics fm(font());
        const int block = fm.height() * static_cast<int>(lines_.size());
        int y = std::max(0, (height() - block) / 2);
        for (const QString& line : lines_) {
            p.drawText(QRect(0, y, width(), fm.height()), Qt::AlignHCenter | Qt::AlignVCenter, line);
            y += fm.height();
        }
    }

private:
    QStringList lines_;
};

void SendCommand(WinHandle window, std::uint16_t id, std::uint16_t notify) {
    WinEvent e;
    e.type = WinEventType::kCommand;
    e.id = id;
    e.notify = notify;
    QtDispatch(window, e);
}

template <typename T>
T* As(WinHandle control, ControlKind kind) {
    QtEntry* e = QtEntryOf(control);
    if (e == nullptr || e->is_window || e->kind != kind) return nullptr;
    return static_cast<T*>(e->widget.data());
}

}  // namespace

WinHandle QtDesktop::ControlCreate(const ControlRequest& request) {
    QWidget* parent = QtContentOf(request.parent);
    if (parent == nullptr) return kNoWindow;
    const QString text = QtString(request.text);
    const Qt::Alignment align =
        ((request.style & kStyleRightAlign) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    QWidget* w = nullptr;
    switch (request.kind) {
        case ControlKind::kLabel: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setText(text);
            label->setAlignment(align);
            w = label;
            break;
        }
        case ControlKind::kEdit: {
            auto* edit = new QLineEdit(parent);
            edit->setText(text);
            edit->setAlignment(align);
            edit->setFrame((request.style & kStyleBorder) != 0);
            if (request.style & kStylePassword) edit->setEchoMode(QLineEdit::Password);
            if (request.style & kStyleReadOnly) edit->setReadOnly(true);
            if (request.limit != 0) edit->setMaxLength(request.limit);
            w = edit;
            break;
        }
        case ControlKind::kCheckBox: w = new QCheckBox(text, parent); break;
        case ControlKind::kButton: {
            auto* button = new QPushButton(text, parent);
            // Enter on a focused button presses it, as Space does.
            button->setAutoDefault(true);
            w = button;
            break;
        }
        case ControlKind::kListBox: {
            auto* list = new QListWidget(parent);
            list->setFrameShape((request.style & kStyleBorder) ? QFrame::StyledPanel : QFrame::NoFrame);
            list->setUniformItemSizes(true);
            w = list;
            break;
        }
        case ControlKind::kProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            bar->setRange(0, 100);
            bar->setValue(0);
            w = bar;
            break;
        }
        case ControlKind::kTextPanel: {
            auto* panel = new TextPanel(parent);
            if (!text.isEmpty()) panel->SetLines(text.split(QLatin1Char('\n')));
            w = panel;
            break;
        }
    }
    w->setGeometry(request.rect.x, request.rect.y, request.rect.width, request.rect.height);
    QtEntry entry;
    entry.window = request.parent;
    entry.id = request.id;
    entry.proc = request.proc;
    entry.kind = request.kind;
    const WinHandle h = QtRegister(w, entry);
    const WinHandle window = request.parent;
    const std::uint16_t id = request.id;
    if (auto* button = qobject_cast<QPushButton*>(w))
        QObject::connect(button, &QPushButton::clicked, [window, id] { SendCommand(window, id, kNotifyClicked); });
    if (auto* list = qobject_cast<QListWidget*>(w))
        QObject::connect(list, &QListWidget::itemDoubleClicked,
                         [window, id](QListWidgetItem*) { SendCommand(window, id, kNotifyDoubleClick); });
    w->show();
    return h;
}

std::uint16_t QtDesktop::ControlId(WinHandle control) {
    QtEntry* e = QtEntryOf(control);
    return e != nullptr && !e->is_window ? e->id : 0;
}

WinHandle QtDesktop::ControlById(WinHandle window, std::uint16_t id) {
    QWidget* content = QtContentOf(window);
    if (content == nullptr) return kNoWindow;
    for (QObject* child : content->children()) {
        const WinHandle h = QtHandleOf(child);
        QtEntry* e = QtEntryOf(h);
        if (e != nullptr && !e->is_window && e->id == id) return h;
    }
    return kNoWindow;
}

WinHandle QtDesktop::ControlWindow(WinHandle handle) {
    QtEntry* e = QtEntryOf(handle);
    return e != nullptr ? e->window : kNoWindow;
}

void QtDesktop::ControlSetText(WinHandle control, const std::u16string& text) {
    QtEntry* e = QtEntryOf(control);
    if (e == nullptr || e->is_window) return;
    const QString t = QtString(text);
    switch (e->kind) {
        case ControlKind::kLabel: static_cast<QLabel*>(e->widget.data())->setText(t); break;
        case ControlKind::kEdit: static_cast<QLineEdit*>(e->widget.data())->setText(t); break;
        case ControlKind::kCheckBox:
        case ControlKind::kButton: static_cast<QAbstractButton*>(e->widget.data())->setText(t); break;
        case ControlKind::kTextPanel: static_cast<TextPanel*>(e->widget.data())->SetLines(t.split(QLatin1Char('\n'))); break;
        default: break;
    }
}

std::u16string QtDesktop::ControlText(WinHandle control) {
    QtEntry* e = QtEntryOf(control);
    if (e == nullptr || e->is_window) return {};
    switch (e->kind) {
        case ControlKind::kLabel: return QtUtf16(static_cast<QLabel*>(e->widget.data())->text());
        case ControlKind::kEdit: return QtUtf16(static_cast<QLineEdit*>(e->widget.data())->text());
        case ControlKind::kCheckBox:
        case ControlKind::kButton: return QtUtf16(static_cast<QAbstractButton*>(e->widget.data())->text());
        case ControlKind::kTextPanel: return QtUtf16(static_cast<TextPanel*>(e->widget.data())->lines().join(QLatin1Char('\n')));
        default: return {};
    }
}

void QtDesktop::ControlSelectAll(WinHandle control) {
    if (auto* edit = As<QLineEdit>(control, ControlKind::kEdit)) edit->selectAll();
}

void QtDesktop::ControlSetChecked(WinHandle control, bool checked) {
    if (auto* box = As<QCheckBox>(control, ControlKind::kCheckBox)) box->setChecked(checked);
}

bool QtDesktop::ControlChecked(WinHandle control) {
    auto* box = As<QCheckBox>(control, ControlKind::kCheckBox);
    return box != nullptr && box->isChecked();
}

void QtDesktop::ControlSetFont(WinHandle control, const FontRequest& font) {
    if (QWidget* w = QtWidgetOf(control)) w->setFont(QtFontFor(font));
}

void QtDesktop::ListSetItems(WinHandle list, const std::vector<std::u16string>& items, int item_height) {
    auto* l = As<QListWidget>(list, ControlKind::kListBox);
    if (l == nullptr) return;
    l->clear();
    for (const std::u16string& item : items) {
        auto* it = new QListWidgetItem(QtString(item), l);
        if (item_height > 0) it->setSizeHint(QSize(0, item_height));
    }
    if (!items.empty()) l->setCurrentRow(0);
}

int QtDesktop::ListCurrent(WinHandle list) {
    auto* l = As<QListWidget>(list, ControlKind::kListBox);
    return l != nullptr ? l->currentRow() : -1;
}

void QtDesktop::ListSetCurrent(WinHandle list, int index) {
    if (auto* l = As<QListWidget>(list, ControlKind::kListBox)) l->setCurrentRow(index);
}

void QtDesktop::ProgressSetRange(WinHandle bar, int maximum) {
    if (auto* b = As<QProgressBar>(bar, ControlKind::kProgressBar)) b->setRange(0, std::max(0, maximum));
}

void QtDesktop::ProgressSetPosition(WinHandle bar, int position) {
    if (auto* b = As<QProgressBar>(bar, ControlKind::kProgressBar)) b->setValue(position);
}

void QtDesktop::PanelSetLines(WinHandle panel, const std::vector<std::u16string>& lines) {
    auto* p = As<TextPanel>(panel, ControlKind::kTextPanel);
    if (p == nullptr) return;
    QStringList l;
    for (const std::u16string& line : lines) l << QtString(line);
    p->SetLines(l);
}

}  // namespace rt
