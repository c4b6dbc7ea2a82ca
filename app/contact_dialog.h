// The contact directory's window: the dialog of template 102 with its menu, showing the current
// record of the open contact file in ten edits and turning every button and menu command into one
// runtime command.
#pragma once
#include <QDialog>
#include <QHash>
#include <QStringList>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/contact_runtime.h"
#include "app/dialog_units.h"

class QAction;
class QMenuBar;
class QWidget;

namespace rt {

class ContactDialog : public QDialog {
    Q_OBJECT
public:
    explicit ContactDialog(QWidget* parent = nullptr);

    // The control of a template id (edits and buttons), null for an unknown id.
    QWidget* control(std::uint16_t id) const { return controls_.value(id, nullptr); }
    // The menu item of a command id, null when the menu has none.
    QAction* menuAction(std::uint16_t id) const { return actions_.value(id, nullptr); }
    // The area below the menu bar in which the template places its controls.
    QWidget* clientArea() const { return client_; }
    QMenuBar* menuBar() const { return menuBar_; }
    const DialogBaseUnits& baseUnits() const { return base_; }

    // Gives the caption, labels, buttons and menus their texts from the run's catalog. The dialog
    // does so when it is built; the application again once the runtime has started, since the
    // language file is known only then.
    void applyTexts();

    // Runs the command of an id as the command table says.
    void runCommand(std::uint16_t id);

    // Copies the edits into the current record (before every command that acts on it) and the
    // current record into the edits (after it).
    void dialogToRecord();
    void recordToDialog();

    // The edits' texts, OBSERVACIONES with CR LF line ends as the record keeps them.
    QStringList editTexts() const;
    void setEditTexts(const QStringList& texts);

    // Enter never closes the dialog.
    void accept() override {}
    // Cancel (Escape, the close box, Salir) ends the dialog through done(), which removes the
    // dialog's runtime screen first.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void initialise();
    void showAboutBox();
    QString widgetText(int index) const;

    DialogBaseUnits base_;
    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QHash<std::uint16_t, QWidget*> controls_;
    QHash<std::uint16_t, QAction*> actions_;
    // Every label, button, menu and menu item whose text comes from the catalog, with its code.
    std::vector<std::pair<QObject*, const char*>> catalogTexts_;
    QList<QKeySequence> commandKeys_;
    ContactRecordLink link_;
    // Per edit: the text last given to it and the widget's text right after, to tell an untouched
    // edit from an edited one.
    std::array<QString, kContactEditCount> asGiven_;
    std::array<QString, kContactEditCount> asShown_;
    bool screenOpen_ = false;
};

// The application's icon in all its sizes.
QIcon QuintaraIcon();

}  // namespace rt
