// The contact dialog: its controls and menu built from the template tables, the keys it takes and
// leaves, and the commands it runs through the runtime adapter.
#include "app/contact_dialog.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

#include "app/about_dialog.h"
#include "app/contact_runtime.h"
#include "app/contact_template.h"
#include "app/phone_link.h"
#include "app/template_widgets.h"

// The icons are compiled into the application's library; its resources are registered once, from
// outside any namespace as the resource system's initialiser has to be named.
static void InitAppResources() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    Q_INIT_RESOURCE(app);
}

namespace rt {

namespace {

// The record keeps a multi-line text's line ends as CR LF; the edit works with LF.
QString ToRecordLineEnds(QString text) { return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")); }
QString ToEditLineEnds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

bool IsEnter(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

}  // namespace

QIcon QuintaraIcon() {
    InitAppResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/quintara-%1.png").arg(size), QSize(size, size));
    return icon;
}

ContactDialog::ContactDialog(QWidget* parent) : QDialog(parent) {
    const DialogSpec& spec = ContactDialogSpec();
    // Caption, system menu and close box, a fixed frame; no parent, so it has its own task-bar entry.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QuintaraIcon());

    client_ = new QWidget(this);
    client_->setFont(DialogFont(QString::fromLatin1(spec.face), spec.points));
    base_ = MeasureBaseUnits(client_->font());
    client_->setFixedSize(DialogClientSize(spec, base_));

    menuBar_ = new QMenuBar(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(client_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    buildControls();
    buildMenu();
    applyTexts();
}

void ContactDialog::applyTexts() {
    setWindowTitle(ContactText(ContactDialogSpec().caption));
    for (const auto& [target, code] : catalogTexts_) {
        const QString text = ContactText(code);
        if (auto* menu = qobject_cast<QMenu*>(target)) menu->setTitle(text);
        else if (auto* action = qobject_cast<QAction*>(target)) action->setText(text);
        else if (auto* button = qobject_cast<QPushButton*>(target)) button->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(target)) label->setText(text);
    }
}

void ContactDialog::buildControls() {
    const DialogSpec& spec = ContactDialogSpec();
    const QIcon icon = windowIcon();
    for (const ControlSpec& c : spec.controls) {
        QWidget* widget = MakeControl(c, base_, icon, client_);
        if (c.msg != nullptr) catalogTexts_.emplace_back(widget, c.msg);
        if (c.id == kIdStatic) continue;
        controls_.insert(c.id, widget);
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const std::uint16_t id = c.id;
            connect(button, &QPushButton::clicked, this, [this, id] { runCommand(id); });
        } else {
            widget->installEventFilter(this);
        }
    }
    QWidget* previous = nullptr;
    for (std::uint16_t id : ContactTabOrder()) {
        QWidget* next = control(id);
        if (previous != nullptr && next != nullptr) setTabOrder(previous, next);
        if (next != nullptr) previous = next;
    }
}

void ContactDialog::buildMenu() {
    std::vector<QMenu*> open;
    for (const MenuEntry& entry : ContactMenu()) {
        switch (entry.kind) {
            case MenuEntryKind::kPopup: {
                const QString title = ContactText(entry.text);
                open.push_back(open.empty() ? menuBar_->addMenu(title) : open.back()->addMenu(title));
                catalogTexts_.emplace_back(open.back(), entry.text);
                break;
            }
            case MenuEntryKind::kEnd:
                if (!open.empty()) open.pop_back();
                break;
            case MenuEntryKind::kSeparator:
                if (!open.empty()) open.back()->addSeparator();
                break;
            case MenuEntryKind::kItem: {
                if (open.empty()) break;
                QAction* action = open.back()->addAction(ContactText(entry.text));
                catalogTexts_.emplace_back(action, entry.text);
                const std::uint16_t id = entry.id;
                if (entry.shortcut != nullptr) {
                    const QKeySequence keys(QString::fromLatin1(entry.shortcut), QKeySequence::PortableText);
                    action->setShortcut(keys);
                    commandKeys_ << keys;
                    // Held by the dialog as well, so the keys work wherever the focus is in it.
                    addAction(action);
                }
                connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
                actions_.insert(id, action);
                break;
            }
        }
    }
}

QString ContactDialog::widgetText(int index) const {
    QWidget* widget = control(static_cast<std::uint16_t>(kIdEditFirst + index));
    if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
    if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) return multi->toPlainText();
    return QString();
}

QStringList ContactDialog::editTexts() const {
    QStringList texts;
    for (int i = 0; i < kContactEditCount; ++i) {
        const QString text = widgetText(i);
        // An edit the user has not touched gives back exactly the text it was given, whatever the
        // widget made of its line ends or control characters.
        if (text == asShown_[i]) texts << asGiven_[i];
        else if (i == kIdEditObservaciones - kIdEditFirst) texts << ToRecordLineEnds(text);
        else texts << text;
    }
    return texts;
}

void ContactDialog::setEditTexts(const QStringList& texts) {
    for (int i = 0; i < texts.size() && i < kContactEditCount; ++i) {
        QWidget* widget = control(static_cast<std::uint16_t>(kIdEditFirst + i));
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            line->setText(texts[i]);
            line->setCursorPosition(0);
        } else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
            multi->setPlainText(ToEditLineEnds(texts[i]));
        }
        asGiven_[i] = texts[i];
        asShown_[i] = widgetText(i);
    }
}

void ContactDialog::dialogToRecord() { link_.ToRecord(editTexts()); }

void ContactDialog::recordToDialog() { setEditTexts(link_.FromRecord()); }

void ContactDialog::runCommand(std::uint16_t id) {
    const Command command = CommandFor(id);
    switch (command.kind) {
        case CommandKind::kAction:
            dialogToRecord();
            ContactRunAction(command.action);
            recordToDialog();
            break;
        case CommandKind::kLetter:
            dialogToRecord();
            ContactRunFind(command.letter);
            recordToDialog();
            break;
        case CommandKind::kAboutRuntime:
            ContactShowRuntimeAbout();
            break;
        case CommandKind::kAboutApplication:
            showAboutBox();
            break;
        case CommandKind::kExit:
            reject();
            break;
        case CommandKind::kDial: {
            auto* phone = qobject_cast<QLineEdit*>(control(kIdEditTelefono));
            if (phone != nullptr) DialPhone(phone->text());
            break;
        }
        case CommandKind::kExport:
        case CommandKind::kImportStandard:
        case CommandKind::kImportExternal:
            // The edits stay as they are: a transfer works on the file, not on the shown contact.
            ContactRunTransfer(command.kind);
            break;
        case CommandKind::kNone:
            break;
    }
}

void ContactDialog::showAboutBox() {
    AboutDialog about(this);
    about.exec();
}

void ContactDialog::done(int result) {
    // However the dialog ends (Cancel is its only command for it), its screen goes first.
    if (screenOpen_) {
        ContactCloseScreen();
        screenOpen_ = false;
    }
    QDialog::done(result);
}

void ContactDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Each time the dialog opens (a window shown again after Cancel opens anew).
    if (!screenOpen_) initialise();
}

void ContactDialog::initialise() {
    // The runtime screen bound to the current file; without it the dialog still opens.
    screenOpen_ = ContactOpenScreen();
    // The first tab stop takes the focus, as the template's own system does when a dialog opens.
    if (QWidget* first = control(ContactTabOrder().front())) first->setFocus(Qt::OtherFocusReason);
}

void ContactDialog::contextMenuEvent(QContextMenuEvent* event) {
    // The window manager offers no application system menu; its About item lives here.
    QMenu menu(this);
    QAction* about = menu.addAction(ContactText(AboutItemText()));
    connect(about, &QAction::triggered, this, [this] { runCommand(kMenuAboutApplication); });
    menu.exec(event->globalPos());
}

bool ContactDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The command shortcuts win over the edits' own use of the same keys (Page Down, Ctrl+Home,
        // Ctrl+Delete ...): the edit does not claim them, so the menu command runs.
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QKeySequence& keys : commandKeys_) {
            if (keys.matches(pressed) == QKeySequence::ExactMatch) {
                event->ignore();
                return true;
            }
        }
    } else if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched) != nullptr) {
        // Enter in a single-line edit does nothing at all.
        if (IsEnter(static_cast<QKeyEvent*>(event))) return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace rt
