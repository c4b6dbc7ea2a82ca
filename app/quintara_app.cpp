// The contact directory's start-up and shut-down around its modal dialog.
#include "app/quintara_app.h"

#include "app/contact_dialog.h"
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

ErrCode QuintaraInitInstance(ContactDialog& dialog, AppCallback hook) {
    StartRequest request;
    request.commandLine = PlatformCommandLine();
    request.identity = S(kAppIdentity);
    request.description = S(kAppDescription);
    request.flags = kAppStartFlags;
    request.callback = hook;

    ErrCode code = kOk;
    // A failed start has already been shown; the run goes straight to its end.
    if (RuntimeStart(request) == kOk) {
        FontSet(kScreenFontHeight, kScreenFontWidth, kScreenFontWeight, S(kScreenFontFace));
        const std::uint8_t file = FileByName(S(kContactFileName));
        if (file == 0) {
            code = ErrSetText(kErrData, S(kContactFileName));
        } else {
            code = FileOpen(FileSelect(file), kContactOpenMode);
            if (code == kOk) {
                dialog.exec();
                FileClose(file);
            }
        }
        if (code != kOk) {
            ErrShow(code);
            code = kOk;
        }
    }
    return RuntimeEnd(hook, code);
}

}  // namespace rt
