// The widgets of template controls, placed by their dialog-unit rectangles.
#include "app/template_widgets.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/contact_runtime.h"

namespace rt {

namespace {

// The standard icon size of the template system.
constexpr int kIconPixels = 32;

}  // namespace

QWidget* MakeControl(const ControlSpec& spec, const DialogBaseUnits& base, const QIcon& icon, QWidget* parent) {
    const QRect rect = DialogRectToPixels(spec.rect, base);
    const QString text = ContactControlText(spec);
    QWidget* widget = nullptr;
    switch (spec.kind) {
        case TemplateControlKind::kButton: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            button->setDefault(false);
            widget = button;
            break;
        }
        case TemplateControlKind::kLabel: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setText(text);
            label->setAlignment(Qt::AlignRight | Qt::AlignTop);
            widget = label;
            break;
        }
        case TemplateControlKind::kEdit: {
            auto* edit = new QLineEdit(parent);
            edit->setText(text);
            widget = edit;
            break;
        }
        case TemplateControlKind::kMultiLineEdit: {
            auto* edit = new QPlainTextEdit(parent);
            edit->setPlainText(text);
            edit->setTabChangesFocus(true);
            edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            widget = edit;
            break;
        }
        case TemplateControlKind::kIcon: {
            auto* label = new QLabel(parent);
            label->setPixmap(icon.pixmap(kIconPixels, kIconPixels));
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = label;
            widget->setGeometry(rect.x(), rect.y(), kIconPixels, kIconPixels);
            return widget;
        }
    }
    widget->setGeometry(rect);
    return widget;
}

QSize DialogClientSize(const DialogSpec& spec, const DialogBaseUnits& base) {
    return QSize(DialogUnitsToPixelsX(spec.width, base), DialogUnitsToPixelsY(spec.height, base));
}

}  // namespace rt
