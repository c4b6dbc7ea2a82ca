// "Marcar Teléfono": a telephone number handed to the desktop as a tel: link, so that the user's
// phone application dials it.
#pragma once
#include <QString>

namespace rt {

// The number as a tel: link wants it: the letters and digits of text, with a leading '+' kept;
// blanks and punctuation are dropped. Empty when text holds no digit.
QString PhoneNumberForLink(const QString& text);

// Opens tel:<number> through the desktop. Does nothing, and gives false, when there is no number or
// no application handles tel: links.
bool DialPhone(const QString& text);

}  // namespace rt
