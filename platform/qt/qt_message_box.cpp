// Message boxes on the Qt desktop: a modal QMessageBox with the request's icon, buttons and caption.
#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_handles.h"

namespace rt {

namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::kInformation: return QMessageBox::Information;
        case MsgIcon::kWarning: return QMessageBox::Warning;
        case MsgIcon::kError: return QMessageBox::Critical;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons ToQtButtons(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::kOk: return QMessageBox::Ok;
        case MsgButtons::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::kRetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
        case MsgButtons::kYesNo: return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::kYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton ToQtButton(MsgButton button) {
    switch (button) {
        case MsgButton::kOk: return QMessageBox::Ok;
        case MsgButton::kCancel: return QMessageBox::Cancel;
        case MsgButton::kRetry: return QMessageBox::Retry;
        case MsgButton::kYes: return QMessageBox::Yes;
        case MsgButton::kNo: return QMessageBox::No;
        case MsgButton::kAbort: return QMessageBox::Abort;
        case MsgButton::kIgnore: return QMessageBox::Ignore;
        case MsgButton::kNone: break;
    }
    return QMessageBox::NoButton;
}

MsgButton FromQtButton(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok: return MsgButton::kOk;
        case QMessageBox::Cancel: return MsgButton::kCancel;
        case QMessageBox::Retry: return MsgButton::kRetry;
        case QMessageBox::Yes: return MsgButton::kYes;
        case QMessageBox::No: return MsgButton::kNo;
        case QMessageBox::Abort: return MsgButton::kAbort;
        case QMessageBox::Ignore: return MsgButton::kIgnore;
        default: return MsgButton::kNone;
    }
}

QString FromUtf16(const std::u16string& s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

bool QtWidgetsReady() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

MsgButton QtDesktop::ShowMessageBox(const MsgBoxRequest& request) {
    if (!QtWidgetsReady()) return MsgButton::kNone;

    // A box of a runtime window stays above it; without one it belongs to the application.
    QMessageBox box(ToQtIcon(request.icon), FromUtf16(request.caption), QString(), ToQtButtons(request.buttons),
                    QtWidgetOf(request.owner));
    // Runtime texts are shown as they are: markup in a contact must not be interpreted. Their line
    // breaks are CR LF; a label wants plain LF.
    box.setTextFormat(Qt::PlainText);
    QString text = FromUtf16(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(text);
    box.setDefaultButton(ToQtButton(MsgFirstButton(request.buttons)));
    box.exec();

    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) return MsgButton::kNone;
    return FromQtButton(box.standardButton(clicked));
}

}  // namespace rt
