// Qt's own texts (message-box buttons, the file dialog's labels) in the language the program speaks.
#pragma once

namespace rt {

// Installs Qt's translations for the run's language: the language of the loaded language file, or
// Spanish, the built-in catalog's. Called again, it replaces the translations of the previous call.
// Without Qt's translation files the texts stay Qt's defaults.
void QuintaraLoadQtTranslations();

}  // namespace rt
