// Qt's translations for the run's language, loaded from the system's Qt translation folder.
#include "app/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "runtime/env/catalog.h"
#include "runtime/text/slot_map.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"

namespace rt {

namespace {

// The built-in catalog speaks Spanish.
constexpr char kBuiltInLanguage[] = "es";

// The language the catalog's texts are in: a language file's when one was loaded.
QString RunLanguage() {
    if (MsgLangState() != LangState::kLoaded || LangIndex() == 0) return QString::fromLatin1(kBuiltInLanguage);
    return QString::fromStdString(StrToStd(SlotGet(kRunGroup, kSlotLanguage))).toLower();
}

}  // namespace

void QuintaraLoadQtTranslations() {
    static QTranslator* installed = nullptr;
    if (installed != nullptr) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    auto* translator = new QTranslator;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QStringLiteral("qtbase_") + RunLanguage(), folder) && QCoreApplication::installTranslator(translator))
        installed = translator;
    else
        delete translator;
}

}  // namespace rt
