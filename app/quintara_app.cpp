// The contact directory's start-up and shut-down around its modal dialog.
#include "app/quintara_app.h"

#include "app/contact_dialog.h"
#include "app/qt_language.h"
#include "platform/process.h"
#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/env/errors.h"
#include "runtime/env/fonts.h"
#include "runtime/sql/sql_connect.h"
#include "runtime/text/err_codes.h"
#include "runtime/ui/error_box.h"

namespace rt {

ErrCode QuintaraStartHook(std::uint16_t code) {
    // The phase code is the start flags times 16 plus the phase: one byte for the flags of this
    // application.
    return SqlStartHook(static_cast<std::uint8_t>(code));
}

ErrCode QuintaraStart(AppCallback hook) {
    StartRequest request;
    request.commandLine = PlatformCommandLine();
    request.identity = S(kAppIdentity);
    request.description = S(kAppDescription);
    request.flags = kAppStartFlags;
    request.callback = hook;
    // Boxes of the start-up speak the built-in language; once the run's language is settled, Qt's own
    // texts follow it.
    QuintaraLoadQtTranslations();
    const ErrCode code = RuntimeStart(request);
    if (code == kOk) QuintaraLoadQtTranslations();
    return code;
}

ErrCode QuintaraOpenContacts(std::uint8_t* file) {
    FontSet(kScreenFontHeight, kScreenFontWidth, kScreenFontWeight, S(kScreenFontFace));
    *file = FileByName(S(kContactFileName));
    if (*file == 0) return ErrSetText(kErrData, S(kContactFileName));
    return FileOpen(FileSelect(*file), kContactOpenMode);
}

ErrCode QuintaraInitInstance(ContactDialog& dialog, AppCallback hook) {
    ErrCode code = kOk;
    // A failed start has already been shown; the run goes straight to its end.
    if (QuintaraStart(hook) == kOk) {
        // The dialog was built before the start chose the language file.
        dialog.applyTexts();
        std::uint8_t file = 0;
        code = QuintaraOpenContacts(&file);
        if (code == kOk) {
            // The dialog's own result is of no use: Cancel is its only way out.
            dialog.exec();
            FileClose(file);
        } else {
            ErrShow(code);
            code = kOk;
        }
    }
    return RuntimeEnd(hook, code);
}

}  // namespace rt
