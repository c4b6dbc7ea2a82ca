// Copying between the contact dialog's edits and the current record, and the runtime commands of
// the dialog.
#include "app/contact_runtime.h"

#include <algorithm>
#include <string>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/env/catalog_builtin.h"
#include "runtime/mant/mant_action.h"
#include "runtime/ui/screen.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/platform_text.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_clean.h"
#include "runtime/ui/about_box.h"
#include "runtime/trans/export_command.h"
#include "runtime/trans/import_commands.h"

namespace rt {

namespace {

// The current file, as every "current record" of the dialog means it.
std::uint8_t CurrentFile() { return FileResolve(0); }

QString DecodeBytes(StrDesc text) {
    QString result;
    result.reserve(text.len);
    for (std::uint16_t i = 0; i < text.len; ++i) result.append(QChar(Cp1252ToUnit(text.bytes()[i])));
    return result;
}

}  // namespace

int ContactRecordLink::FieldCount() const {
    return std::min<int>(rt::FieldCount(CurrentFile()), kContactEditCount);
}

QStringList ContactRecordLink::FromRecord() {
    const std::uint8_t file = CurrentFile();
    const int count = FieldCount();
    QStringList texts;
    DynScope scope;
    for (int i = 0; i < count; ++i) {
        StrDesc value = FieldGet(file, static_cast<std::uint16_t>(i + 1));
        known_[i] = !value.IsError();
        original_[i] = StrToStd(value);
        shown_[i] = known_[i] ? DecodeBytes(Trim(value, kTrimRight)) : QString();
        texts << shown_[i];
        DynRelease(scope.mark());
    }
    return texts;
}

void ContactRecordLink::ToRecord(const QStringList& texts) {
    const std::uint8_t file = CurrentFile();
    const int count = std::min<int>(FieldCount(), static_cast<int>(texts.size()));
    DynScope scope;
    for (int i = 0; i < count; ++i) {
        StrDesc value;
        if (known_[i] && texts[i] == shown_[i]) {
            value = StrViewStd(original_[i]);
        } else {
            const std::u16string units = texts[i].toStdU16String();
            value = FromPlatform(units.data(), units.size());
        }
        // A failure is noted by the field layer (an over-long text, a record that is not open); the
        // other fields are still copied, as every field is independent of the others.
        FieldSet(file, static_cast<std::uint16_t>(i + 1), value);
        DynRelease(scope.mark());
    }
}

void ContactRecordLink::Forget() { known_.fill(false); }

bool ContactOpenScreen() { return ScreenOpenPlain(FileResolve(kCurrentFile)) == 0; }

void ContactCloseScreen() { ScreenDestroy(kScreenCurrent); }

void ContactRunAction(std::uint16_t code) { MantAction(code); }

void ContactRunFind(char letter) {
    DynScope scope;
    MantFind(StrChar(static_cast<unsigned char>(letter)), kLetterKey);
}

void ContactShowRuntimeAbout() { AboutBox(StrEmpty()); }

QString ContactText(const char* code) {
    if (code == nullptr) return QString();
    DynScope scope;
    // Before the start no slot table exists to load a language file into.
    return DecodeBytes(SlotReady() ? MsgText(code) : MsgBuiltin(StrFromC(code)));
}

QString ContactControlText(const ControlSpec& spec) {
    return spec.msg != nullptr ? ContactText(spec.msg) : QString::fromUtf8(spec.text);
}

// The transfers report their own outcome; the dialog has nothing to add.
void ContactRunTransfer(CommandKind kind) {
    if (kind == CommandKind::kExport) ExportCommand();
    if (kind == CommandKind::kImportStandard) ImportStandard();
    if (kind == CommandKind::kImportExternal) ImportExternal();
}

}  // namespace rt
