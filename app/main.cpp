// The contact directory's process entry: the Qt application, the desktop backend, and the
// application object's one initialisation call, whose result is the exit status.
#include <QApplication>

#include "app/contact_dialog.h"
#include "app/quintara_app.h"
#include "platform/desktop.h"
#include "platform/process.h"
#include "platform/qt/qt_desktop.h"

int main(int argc, char** argv) {
    rt::PlatformSetArgs(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintara"));
    QApplication::setDesktopFileName(QStringLiteral("quintara"));
    QApplication::setWindowIcon(rt::QuintaraIcon());

    rt::QtDesktop desktop;
    rt::DesktopSet(&desktop);
    int status = 0;
    {
        // The dialog exists before the runtime starts and is destroyed after it has ended.
        rt::ContactDialog dialog;
        status = rt::QuintaraInitInstance(dialog, rt::QuintaraStartHook);
    }
    rt::DesktopSet(nullptr);
    return status;
}
