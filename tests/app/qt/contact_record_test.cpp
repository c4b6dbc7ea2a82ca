// Copying between the contact dialog's edits and the current record: accented and every other
// Windows-1252 byte shown as itself and stored back byte for byte, untouched edits writing the
// original bytes, only the first ten fields mapped, and "Marcar Teléfono".
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include "app/contact_template.h"
#include "app/phone_link.h"
#include "tests/app/contact_fixture.h"

namespace rt::test {
namespace {

TEST_F(ContactTest, AccentsShowAsThemselvesAndAnUntouchedRecordStaysByteForByte) {
    Load(1, Cp1252("José Ñúñez"));
    Load(2, Cp1252("Ángel Güemes · «Peña» €"));
    // Bytes the code page leaves undefined, control bytes and padding that is not blanks.
    Load(3, std::string("\x81\x8d\x8f\x90\x9d", 5) + std::string("\0\0x", 3));
    Load(9, "Trailing tab\t");
    Load(10, "uno\ndos\r\ntres\rcuatro");
    const std::string stored = Record();

    dialog_->recordToDialog();
    EXPECT_EQ(Control<QLineEdit>(kIdEditRazonSocial)->text(), QString::fromUtf8("José Ñúñez"));
    EXPECT_EQ(Control<QLineEdit>(kIdEditNombre)->text(), QString::fromUtf8("Ángel Güemes · «Peña» €"));

    // Copying the untouched edits back, as every command does first, writes the record back exactly.
    Show();
    dialog_->dialogToRecord();
    EXPECT_EQ(Record(), stored);
}

TEST_F(ContactTest, TypedTextIsStoredInWindows1252AndOnlyItsFieldChanges) {
    Load(1, Cp1252("José Ñúñez"));
    Load(10, "uno\ndos");
    dialog_->recordToDialog();
    const std::string before = Record();
    Show();

    auto* name = Control<QLineEdit>(kIdEditNombre);
    TypeTo(name, QString::fromUtf8("Muñoz ✓"));  // the check mark is not in the code page
    dialog_->dialogToRecord();
    dialog_->recordToDialog();
    EXPECT_EQ(Field(2), Padded(Cp1252("Muñoz ") + "?", 60));
    EXPECT_EQ(name->text(), QString::fromUtf8("Muñoz ?"));

    std::string expected = before;
    const std::string nameField = Padded(Cp1252("Muñoz ") + "?", 60);
    expected.replace(60, 60, nameField);
    EXPECT_EQ(Record(), expected);

    // A text longer than its field is cut to the field's width.
    auto* cp = Control<QLineEdit>(kIdEditCp);
    TypeTo(cp, "1400199");
    dialog_->dialogToRecord();
    EXPECT_EQ(Field(4), "14001");
}

// A file of more than ten fields fills the ten edits only; the eleventh field and the button next
// to the edits are left alone.
TEST_F(ContactTest, OnlyTheFirstTenFieldsReachTheEdits) {
    const std::uint8_t wide = FileByName(S("anchos"));
    ASSERT_NE(wide, 0);
    ASSERT_EQ(FileOpen(FileSelect(wide), 2), 0);
    {
        DynScope scope;
        for (std::uint16_t i = 1; i <= 11; ++i) FieldSet(wide, i, D("campo" + std::to_string(i)));
    }
    dialog_->recordToDialog();
    EXPECT_EQ(Control<QLineEdit>(kIdEditRazonSocial)->text(), QStringLiteral("campo1"));
    EXPECT_EQ(Control<QPlainTextEdit>(kIdEditObservaciones)->toPlainText(), QStringLiteral("campo10"));
    EXPECT_EQ(Control<QPushButton>(kIdButtonDial)->text(), QString::fromUtf8("Marcar Teléfono"));

    Control<QLineEdit>(kIdEditRazonSocial)->setText(QStringLiteral("nuevo"));
    dialog_->dialogToRecord();
    EXPECT_EQ(Field(1, wide), Padded("nuevo", 10));
    EXPECT_EQ(Field(11, wide), Padded("campo11", 10));
    FileClose(wide);
    FileSelect(contacts_);
}

TEST(PhoneLink, KeepsDigitsLettersAndALeadingPlus) {
    struct Case { const char* text; const char* number; };
    const Case cases[] = {
        {"957 47 25 36", "957472536"},
        {"+34 (957) 47-25-36", "+34957472536"},
        {"  +34.600.112.908 ", "+34600112908"},
        {"600 +34", "60034"},  // a plus that does not lead is punctuation
        {"", ""},
        {"   ", ""},
        {"- / .", ""},
        {"+", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PhoneNumberForLink(QString::fromUtf8(c.text)).toStdString(), c.number) << c.text;
}

// Receives the links the desktop would hand to the phone application.
class TelHandler : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST_F(ContactTest, MarcarTelefonoHandsTheNumberToThePhoneApplication) {
    TelHandler handler;
    QDesktopServices::setUrlHandler(QStringLiteral("tel"), &handler, "open");
    Show();
    auto* dial = Control<QPushButton>(kIdButtonDial);
    Click(dial);  // empty TELEFONO: nothing
    Control<QLineEdit>(kIdEditTelefono)->setText(QStringLiteral("+34 957 47 25 36"));
    Click(dial);
    QDesktopServices::unsetUrlHandler(QStringLiteral("tel"));
    ASSERT_EQ(handler.urls.size(), 1);
    EXPECT_EQ(handler.urls[0].toString(), QStringLiteral("tel:+34957472536"));
    // Dialling touches no record.
    EXPECT_EQ(Field(6), std::string(20, ' '));
}

}  // namespace
}  // namespace rt::test

#include "contact_record_test.moc"
