// The application's About box (template 100): icon, name and version, and "Aceptar".
#pragma once
#include <QDialog>

#include "app/dialog_units.h"

namespace rt {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    const DialogBaseUnits& baseUnits() const { return base_; }

private:
    DialogBaseUnits base_;
};

}  // namespace rt
