// A started runtime on the offscreen Qt desktop with the contact file of a structure dictionary
// open and current, and the contact dialog over it. The dictionary QTDICC.DAT lies in a fresh
// program folder: contactos with the ten text fields of the directory, and anchos, a file of eleven
// fields.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/contact_dialog.h"
#include "platform/qt/qt_desktop.h"
#include "runtime/data/fields.h"
#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/data/record_buffer.h"
#include "runtime/start/runtime_start.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/platform_text.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_input.h"

namespace rt::test {

struct ContactField {
    const char* name;
    int width;
};

inline const std::vector<ContactField>& ContactFields() {
    static const std::vector<ContactField> fields = {
        {"RAZON_SOCIAL", 60}, {"NOMBRE", 60}, {"DIRECCION", 60}, {"CP", 5},     {"POBLACION", 40},
        {"TELEFONO", 20},     {"MOVIL", 20},  {"EMAIL", 60},     {"OTROS", 60}, {"OBSERVACIONES", 250},
    };
    return fields;
}

// "01" in columns 1-2, the width in columns 10-12, the type letter in column 14, the name from 15.
inline std::string DictFieldLine(int width, const std::string& name) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "01       %03d ", width);
    return buf + std::string("A") + name;
}

// Windows-1252 bytes of a UTF-8 literal (for texts the code page holds).
inline std::string Cp1252(const char* utf8) {
    const std::u16string units = QString::fromUtf8(utf8).toStdU16String();
    std::string bytes;
    for (char16_t u : units) bytes.push_back(static_cast<char>(UnitToCp1252(u)));
    return bytes;
}

class ContactTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string dict;
        dict += "01**00contactos\r\n";
        for (const ContactField& f : ContactFields()) dict += DictFieldLine(f.width, f.name) + "\r\n";
        dict += "31<0001060>\r\n";
        dict += "02**00anchos\r\n";
        for (int i = 1; i <= 11; ++i) dict += DictFieldLine(10, "F" + std::to_string(i)) + "\r\n";
        dict += "32<0001010>\r\n";
        folder_.Write("QTDICC.DAT", dict);

        DesktopSet(&desktop_);
        StartRequest r;
        const std::string program = folder_.RuntimePath() + "\\quintara";
        r.commandLine = std::u16string(program.begin(), program.end());
        r.identity = S("QT:Quintara");
        r.description = S("Quintara");
        r.flags = kStartLoadApp;
        ASSERT_EQ(RuntimeStart(r), 0);
        started_ = true;
        contacts_ = FileByName(S("contactos"));
        ASSERT_NE(contacts_, 0);
        ASSERT_EQ(FileOpen(FileSelect(contacts_), 2), 0);
        dialog_ = std::make_unique<ContactDialog>();
    }

    void TearDown() override {
        // Cancel, as a user ends the dialog: its runtime screen goes before the runtime ends.
        if (dialog_) dialog_->reject();
        dialog_.reset();
        if (started_) {
            FileClose(contacts_);
            RuntimeEnd(nullptr, 0);
            EXPECT_FALSE(MemReady());
        }
        DesktopSet(nullptr);
    }

    void Show() {
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
    }

    // The current record's field, full width, as bytes.
    std::string Field(std::uint16_t field, std::uint8_t file = 0) {
        DynScope scope;
        return Str(FieldRaw(file == 0 ? contacts_ : file, field, kRecCurrent));
    }
    std::string Record() {
        DynScope scope;
        return Str(RecImage(contacts_, kRecCurrent));
    }
    // Puts bytes into a field of the current record and the reference record alike, as a read would.
    void Load(std::uint16_t field, const std::string& bytes) {
        DynScope scope;
        ASSERT_EQ(FieldSet(contacts_, field, D(bytes)), 0);
        RecCopy(contacts_, 1);
    }
    static std::string Padded(const std::string& bytes, std::size_t width) {
        return bytes + std::string(width - bytes.size(), ' ');
    }

    template <typename W>
    W* Control(std::uint16_t id) {
        return qobject_cast<W*>(dialog_->control(id));
    }

    TempFolder folder_;
    QtDesktop desktop_;
    bool started_ = false;
    std::uint8_t contacts_ = 0;
    std::unique_ptr<ContactDialog> dialog_;
};

}  // namespace rt::test
