// The open and save dialogs on the Qt desktop: Qt's own file dialog (the same on every desktop, and
// driven by the tests as a user would), with the runtime's filter pairs, initial name and suffix.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_registry.h"

namespace rt {

namespace {

QString ToSystem(const std::u16string& path) { return QtString(path).replace(QLatin1Char('\\'), QLatin1Char('/')); }

std::u16string FromSystem(const QString& path) {
    QString p = path;
    return QtUtf16(p.replace(QLatin1Char('/'), QLatin1Char('\\')));
}

// Qt reads a filter's patterns from its last parentheses; a label that does not end with its pattern
// in parentheses gets it appended.
QStringList NameFilters(const std::vector<std::u16string>& pairs) {
    QStringList filters;
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const QString label = QtString(pairs[i]).trimmed();
        const QString pattern = QtString(pairs[i + 1]).trimmed();
        if (pattern.isEmpty()) continue;
        const QString tail = QLatin1Char('(') + pattern + QLatin1Char(')');
        filters << (label.endsWith(tail) ? label : (label.isEmpty() ? tail : label + QLatin1Char(' ') + tail));
    }
    return filters;
}

// The folders last used by each file dialog, kept in the working folder (the process's current folder).
constexpr char kFoldersFile[] = "folders.ini";

// A dialog is known by its kind and title: the export's and the imports' dialogs each keep their own.
QString FolderKey(const FileDialogRequest& request) {
    QString title = QtString(request.title);
    title.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return QLatin1String(request.save ? "save/" : "open/") + (title.isEmpty() ? QStringLiteral("-") : title);
}

QString FoldersPath() { return QDir::current().absoluteFilePath(QString::fromLatin1(kFoldersFile)); }

// Where a dialog without a folder of its own starts: the folder it was last used in, else the user's
// documents folder, else the home folder. Never the working folder, which holds the database's files.
QString StartFolder(const FileDialogRequest& request) {
    const QString last = QSettings(FoldersPath(), QSettings::IniFormat).value(FolderKey(request)).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

}  // namespace

bool QtDesktop::RunFileDialog(const FileDialogRequest& request, std::u16string* path) {
    if (path != nullptr) path->clear();
    if (!QtWidgetsReady()) return false;

    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Choosing an existing file to save into is not a question of its own: the caller decides what
    // happens to it (the export asks next whether to add to it or replace it).
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.title.empty()) dialog.setWindowTitle(QtString(request.title));
    const QStringList filters = NameFilters(request.filters);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.default_suffix.empty()) dialog.setDefaultSuffix(QtString(request.default_suffix));

    // The initial name may carry a folder; the name part (a pattern such as *.TXT, or a file name)
    // stands in the name field.
    const QString initial = ToSystem(request.initial);
    const QFileInfo info(initial);
    dialog.setDirectory(initial.contains(QLatin1Char('/')) ? info.absolutePath() : StartFolder(request));
    if (!initial.isEmpty()) dialog.selectFile(info.fileName());
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return false;
    QSettings(FoldersPath(), QSettings::IniFormat).setValue(FolderKey(request), QFileInfo(chosen.first()).absolutePath());
    if (path != nullptr) *path = FromSystem(chosen.first());
    return true;
}

}  // namespace rt
