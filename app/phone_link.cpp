// Telephone numbers turned into tel: links for the desktop.
#include "app/phone_link.h"

#include <QDesktopServices>
#include <QUrl>

namespace rt {

QString PhoneNumberForLink(const QString& text) {
    const QString trimmed = text.trimmed();
    QString number;
    if (trimmed.startsWith(QLatin1Char('+'))) number += QLatin1Char('+');
    bool digit = false;
    for (QChar c : trimmed) {
        if (!c.isLetterOrNumber()) continue;
        digit = digit || c.isDigit();
        number += c;
    }
    return digit ? number : QString();
}

bool DialPhone(const QString& text) {
    const QString number = PhoneNumberForLink(text);
    if (number.isEmpty()) return false;
    return QDesktopServices::openUrl(QUrl(QStringLiteral("tel:") + number));
}

}  // namespace rt
