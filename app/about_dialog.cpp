// The About box of the contact directory, built from its template.
#include "app/about_dialog.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "app/contact_dialog.h"
#include "app/contact_runtime.h"
#include "app/contact_template.h"
#include "app/template_widgets.h"

namespace rt {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    const DialogSpec& spec = AboutDialogSpec();
    setWindowTitle(ContactText(spec.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont(QString::fromLatin1(spec.face), spec.points));
    base_ = MeasureBaseUnits(font());
    const QIcon icon = QuintaraIcon();
    for (const ControlSpec& c : spec.controls) {
        QWidget* widget = MakeControl(c, base_, icon, this);
        if (c.id == kIdOk) {
            auto* ok = static_cast<QPushButton*>(widget);
            // The OK command is the box's default: Enter closes it, as Escape does.
            ok->setDefault(true);
            connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        }
    }
    setFixedSize(DialogClientSize(spec, base_));
}

}  // namespace rt
