// Message boxes on the real Qt desktop (offscreen): each kind is inspected while it is open, one of its
// buttons is clicked, and the answer letter is checked against the catalog in force.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

#include "platform/qt/qt_desktop.h"
#include "runtime/env/catalog.h"
#include "runtime/ui/message_box.h"
#include "tests/support/desktop_fixture.h"
#include "tests/support/language_file.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/window_input.h"

namespace rt {
namespace {

// Runs action on the first message box that becomes the active modal widget, once.
class BoxWatcher {
public:
    explicit BoxWatcher(std::function<void(QMessageBox*)> action) : action_(std::move(action)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            timer_.stop();
            seen_ = true;
            action_(box);
        });
        timer_.start(5);
    }
    bool seen() const { return seen_; }

private:
    QTimer timer_;
    std::function<void(QMessageBox*)> action_;
    bool seen_ = false;
};

void Click(QMessageBox* box, QMessageBox::StandardButton which) {
    if (QAbstractButton* button = box->button(which)) {
        test::Click(button);
    } else {
        ADD_FAILURE() << "the box lacks button " << which;
        box->done(0);
    }
}

using QtMessageBoxTest = test::DesktopTest<QtDesktop>;

TEST_F(QtMessageBoxTest, EachKindShowsItsIconButtonsAndCaptionAndAnswersByCatalog) {
    using B = QMessageBox;
    struct Case {
        std::uint16_t kind;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton first;
        const char16_t* caption;
        QMessageBox::StandardButton click;
        std::uint8_t answer;
    };
    const char16_t* info = u"Solicitud de Informaci\u00f3n";
    const char16_t* notice = u"Mensaje Informativo";
    const char16_t* fatal = u"Alerta de Mensaje Fatal";
    const Case cases[] = {
        {0, B::Information, B::Ok, B::Ok, info, B::Ok, 'S'},
        {1, B::Warning, B::Ok, B::Ok, notice, B::Ok, 'S'},
        {2, B::Information, B::Ok | B::Cancel, B::Ok, info, B::Ok, 'S'},
        {2, B::Information, B::Ok | B::Cancel, B::Ok, info, B::Cancel, 3},
        {3, B::Critical, B::Ok, B::Ok, fatal, B::Ok, 'S'},
        {4, B::Critical, B::Retry | B::Cancel, B::Retry, notice, B::Retry, 'S'},
        {4, B::Critical, B::Retry | B::Cancel, B::Retry, notice, B::Cancel, 3},
        {5, B::Information, B::Yes | B::No, B::Yes, info, B::Yes, 'S'},
        {5, B::Information, B::Yes | B::No, B::Yes, info, B::No, 'N'},
        {6, B::Information, B::Yes | B::No | B::Cancel, B::Yes, info, B::Yes, 'S'},
        {6, B::Information, B::Yes | B::No | B::Cancel, B::Yes, info, B::No, 'N'},
        {6, B::Information, B::Yes | B::No | B::Cancel, B::Yes, info, B::Cancel, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << ", clicking " << c.click);
        BoxWatcher watcher([&](QMessageBox* box) {
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->standardButtons(), c.buttons);
            EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(c.first));
            EXPECT_EQ(box->windowTitle(), QString::fromUtf16(c.caption));
            EXPECT_EQ(box->text(), QStringLiteral("Texto"));
            Click(box, c.click);
        });
        EXPECT_EQ(MsgShow(S("Texto"), StrEmpty(), c.kind), c.answer);
        EXPECT_TRUE(watcher.seen());
    }
}

TEST_F(QtMessageBoxTest, TextAndCaptionArriveDecodedAndPlain) {
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    BoxWatcher watcher([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        Click(box, QMessageBox::Ok);
    });
    // Windows-1252: F1 is n with tilde, 80 the euro sign, 8D one of the bytes the code page leaves free.
    MsgInfo(S("<b>Espa\xF1" "a</b>\r\n\x80 \x8D"), S("Acerca de Quintara"));
    ASSERT_TRUE(watcher.seen());
    EXPECT_EQ(title, QStringLiteral("Acerca de Quintara"));
    EXPECT_EQ(text, QString::fromUtf16(u"<b>Espa\u00f1a</b>\n\u20ac \u008d"));
    EXPECT_EQ(format, Qt::PlainText);
}

TEST_F(QtMessageBoxTest, KindsBeyondTheTableShowAsInformation) {
    BoxWatcher watcher([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        Click(box, QMessageBox::Ok);
    });
    EXPECT_EQ(MsgShow(S("x"), StrEmpty(), 7), 'S');
    EXPECT_TRUE(watcher.seen());
}

// A box closed without any of its buttons answers as its least confirming button.
TEST_F(QtMessageBoxTest, BoxClosedWithoutAButtonDoesNotConfirm) {
    BoxWatcher watcher([](QMessageBox* box) { box->done(0); });
    EXPECT_FALSE(MsgAsk(S("\xBF" "Anular Registro(s)?")));
    EXPECT_TRUE(watcher.seen());
}

class KeyCounter : public QWidget {
public:
    int keys = 0;
protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::KeyPress) ++keys;
        return QWidget::event(e);
    }
};

TEST_F(QtMessageBoxTest, InputTypedAheadIsDroppedAndOtherWorkStillRuns) {
    KeyCounter widget;
    widget.show();
    // A key waiting for the window reaches the widget when the events are read...
    test::PostKeyToWindow(&widget, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(widget.keys, 1);
    widget.keys = 0;
    // ...but not when the waiting input is dropped.
    bool queued_ran = false;
    test::PostKeyToWindow(&widget, Qt::Key_Return);
    QMetaObject::invokeMethod(&widget, [&] { queued_ran = true; }, Qt::QueuedConnection);
    desktop_.DiscardPendingInput();
    EXPECT_EQ(widget.keys, 0);
    EXPECT_TRUE(queued_ran);

    // The same holds for a key waiting when a box is shown.
    test::PostKeyToWindow(&widget, Qt::Key_N, Qt::NoModifier, "n");
    BoxWatcher watcher([](QMessageBox* box) { Click(box, QMessageBox::Yes); });
    EXPECT_TRUE(MsgAsk(S("Seguir?")));
    QCoreApplication::processEvents();
    EXPECT_EQ(widget.keys, 0);
}

// A language file whose yes letter differs: the answers follow it, and so do the default captions.
TEST_F(QtMessageBoxTest, AnswersAndCaptionsFollowTheLanguageFile) {
    test::LanguageFile language("EN", "0011 Yy,Nn\r\n0012 Notice\r\n0013 Fatal alert\r\n0014 Information request\r\n");

    QString title;
    BoxWatcher yes([&](QMessageBox* box) {
        title = box->windowTitle();
        Click(box, QMessageBox::Yes);
    });
    EXPECT_EQ(MsgShow(S("Continue?"), StrEmpty(), kMsgYesNo), 'Y');
    EXPECT_EQ(title, QStringLiteral("Information request"));

    BoxWatcher ask_yes([](QMessageBox* box) { Click(box, QMessageBox::Yes); });
    EXPECT_TRUE(MsgAsk(S("Continue?")));
    BoxWatcher ask_no([](QMessageBox* box) { Click(box, QMessageBox::No); });
    EXPECT_FALSE(MsgAsk(S("Continue?")));

}

}  // namespace
}  // namespace rt
