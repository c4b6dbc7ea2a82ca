// The contact directory in each of its languages: the dialog, its menus and About box built from the
// language files of lang/ (every text translated, nothing cut off, mnemonics unique in each menu),
// and whole runs that start with a language file in the working folder, as the launcher leaves it:
// English at the end of the contacts and in a file dialog, a German date and number, French Borrar.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "app/about_dialog.h"
#include "app/contact_runtime.h"
#include "platform/desktop.h"
#include "runtime/env/catalog_builtin.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/message_box.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_stack.h"
#include "runtime/vars/dates.h"
#include "runtime/vars/masks.h"
#include "tests/app/contact_db_fixture.h"
#include "tests/support/language_file.h"
#include "tests/support/qt_ui_robot.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/window_input.h"

namespace rt::test {
namespace {

std::string LanguageBytes(const std::string& code) {
    std::ifstream in(QUINTARA_SOURCE_DIR "/lang/KV_LANG_" + code + ".MSJ", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every text of a dialog's labels and buttons, its caption, and its menus' titles and items.
std::vector<QString> TextsOf(QWidget* dialog) {
    std::vector<QString> texts{dialog->windowTitle()};
    for (auto* label : dialog->findChildren<QLabel*>())
        if (!label->text().isEmpty()) texts.push_back(label->text());
    for (auto* button : dialog->findChildren<QPushButton*>()) texts.push_back(button->text());
    for (auto* menu : dialog->findChildren<QMenu*>()) {
        texts.push_back(menu->title());
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && action->menu() == nullptr) texts.push_back(action->text());
    }
    return texts;
}

// A label or button whose text is wider than the control shows it cut off.
void ExpectEveryTextFits(QWidget* dialog, const std::string& language) {
    for (auto* label : dialog->findChildren<QLabel*>())
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << language << " " << label->text().toStdString();
    for (auto* button : dialog->findChildren<QPushButton*>())
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 6, button->width())
            << language << " " << button->text().toStdString();
}

// The mnemonic letter of a menu text, lower-cased; 0 when it has none.
QChar Mnemonic(const QString& text) {
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
}

void ExpectUniqueMnemonics(const QList<QAction*>& actions, const std::string& where) {
    std::set<QChar> seen;
    for (QAction* action : actions) {
        if (action->isSeparator()) continue;
        const QChar m = Mnemonic(action->text());
        EXPECT_FALSE(m.isNull()) << where << " " << action->text().toStdString();
        EXPECT_TRUE(seen.insert(m).second) << where << " " << action->text().toStdString();
        if (action->menu() != nullptr) ExpectUniqueMnemonics(action->menu()->actions(), where + " > " + action->text().toStdString());
    }
}

class LanguageDialogTest : public RuntimeTest {};

TEST_F(LanguageDialogTest, EveryLanguageTranslatesTheWholeDialogAndItFits) {
    MsgLangReset();
    ContactDialog spanish_dialog;
    AboutDialog spanish_about;
    std::set<QString> spanish;
    for (const QString& t : TextsOf(&spanish_dialog)) spanish.insert(t);
    for (const QString& t : TextsOf(&spanish_about)) spanish.insert(t);
    // Texts that stay as they are in some language: the letter buttons, and words shared with Spanish.
    const std::set<QString> shared = {QStringLiteral("E-MAIL:"), QStringLiteral("&Standard"), QStringLiteral("NOMBRE:"),
                                      QStringLiteral("TELEFONO:"), QStringLiteral("Ultimo"), QStringLiteral("&Ultimo")};
    ExpectEveryTextFits(&spanish_dialog, "ES");

    for (const char* language : {"EN", "FR", "DE", "IT"}) {
        LanguageFile file(language, LanguageBytes(language));
        ContactDialog dialog;
        AboutDialog about;
        for (QWidget* w : {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(&about)}) {
            for (const QString& text : TextsOf(w)) {
                if (text.size() == 1 || shared.count(text)) continue;
                EXPECT_EQ(spanish.count(text), 0u) << language << " still Spanish: " << text.toStdString();
            }
            ExpectEveryTextFits(w, language);
        }
        ExpectUniqueMnemonics(dialog.menuBar()->actions(), language);
        dialog.show();
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        const std::string lower = QString::fromLatin1(language).toLower().toStdString();
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(UiRobot::ScreenshotFolder())));
        EXPECT_TRUE(dialog.grab().save(QString::fromStdString(UiRobot::ScreenshotFolder() + "/contact_dialog_" + lower + ".png")));
        EXPECT_TRUE(about.grab().save(QString::fromStdString(UiRobot::ScreenshotFolder() + "/about_dialog_" + lower + ".png")));
        dialog.reject();  // takes the dialog's runtime screen down
        MsgLangReset();
    }
}

// A whole run whose working folder holds the language file the launcher put there.
class LanguageRunTest : public ContactDbTest {
protected:
    explicit LanguageRunTest(const char* language) : language_(language) {}
    void SetUp() override {
        work_.Write(std::string("KV_LANG_") + language_ + ".MSJ", LanguageBytes(language_));
        ContactDbTest::SetUp();
    }
    std::vector<std::string> ButtonsOf(QWidget* box) {
        std::vector<std::string> buttons;
        for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) buttons.push_back(b->text().toStdString());
        return buttons;
    }
    const char* language_;
};

class EnglishRunTest : public LanguageRunTest {
protected:
    EnglishRunTest() : LanguageRunTest("EN") {}
};
class GermanRunTest : public LanguageRunTest {
protected:
    GermanRunTest() : LanguageRunTest("DE") {}
};
class FrenchRunTest : public LanguageRunTest {
protected:
    FrenchRunTest() : LanguageRunTest("FR") {}
};

TEST_F(EnglishRunTest, EndOfFileAndAFileDialogInEnglish) {
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Quintara Contacts"));
    std::string text, caption, look_in, title;
    std::vector<std::string> buttons;
    UiRobot robot;
    robot.OnBox([&](UiView& v) {
        text = v.text();
        caption = v.caption();
        buttons = ButtonsOf(v.top());
        v.Screenshot("message_box_english");
        v.ClickButton("OK");
    });
    robot.OnFileDialog([&](UiView& v) {
        auto* label = v.top()->findChild<QLabel*>(QStringLiteral("lookInLabel"));
        look_in = label != nullptr ? label->text().toStdString() : "";
        title = v.top()->windowTitle().toStdString();
        v.Screenshot("file_dialog_english");
        v.Key(Qt::Key_Escape);
    });
    RunModal([&] {
        KeyToWindow(dialog_.get(), Qt::Key_End, Qt::ControlModifier);  // Last
        KeyToWindow(dialog_.get(), Qt::Key_PageDown);                  // Next, past the last contact
        DynScope scope;
        FileDialogRequest request;
        const std::string files = Str(MsgText(kMsgTextFiles));
        request.title = ContactText(kMsgFileSelection).toStdU16String();
        request.filters = {QString::fromLatin1(Str(Item(StrViewStd(files), ',', 1))).replace(QStringLiteral("%s"), QStringLiteral("*.txt")).toStdU16String(),
                           std::u16string(u"*.txt")};
        std::u16string path;
        EXPECT_FALSE(DesktopGet()->RunFileDialog(request, &path));
    });
    EXPECT_EQ(text, "End of file");
    EXPECT_EQ(caption, "Notice");
    EXPECT_EQ(buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(title, "File Selection");
    EXPECT_EQ(look_in, "Look in:");
}

TEST_F(GermanRunTest, DatesAndNumbersInGerman) {
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Quintara Kontakte"));
    std::string text;
    UiRobot robot;
    robot.OnBox([&](UiView& v) {
        text = v.text();
        v.Screenshot("message_box_german_date");
        v.ClickButton("OK");
    });
    RunModal([&] {
        DynScope scope;
        const std::string shown = Str(DateShow(S("20261211"), 4)) + " / " + Str(DateShow(S("20261211"), 2)) + " / " +
                                  Str(MaskApply(S("#,###,###.##"), S("1234567.5"), 255)) + " / " +
                                  Str(FieldToShow('2', S("  1234.50"), 9));
        MsgShow(StrViewStd(shown), StrEmpty(), kMsgInfo);
    });
    EXPECT_EQ(text, "11. Dezember 2026 / 11-12-2026 / 1.234.567,50 /   1234,50");
}

TEST_F(FrenchRunTest, BorrarAsksInFrench) {
    std::string text;
    std::vector<std::string> buttons;
    UiRobot robot;
    robot.OnBox([&](UiView& v) {
        text = v.text();
        buttons = ButtonsOf(v.top());
        v.Screenshot("delete_question_french");
        v.ClickButton("&Non");
    });
    RunModal([&] {
        KeyToWindow(dialog_.get(), Qt::Key_Home, Qt::ControlModifier);
        KeyToWindow(dialog_.get(), Qt::Key_Delete, Qt::ControlModifier);
    });
    EXPECT_EQ(text, "Supprimer le(s) enregistrement(s)\u00a0?");
    EXPECT_EQ(buttons, (std::vector<std::string>{"&Oui", "&Non"}));
    EXPECT_EQ(Count(), "4");
}

}  // namespace
}  // namespace rt::test
