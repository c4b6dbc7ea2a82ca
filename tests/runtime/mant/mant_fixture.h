// The maintenance engine's tests share one small contact table on the test's database: three
// contacts (ALFA, BETA, GAMMA) with a name and a telephone, key 1 on "RAZON_SOCIAL" and key 2 on
// "NOMBRE", open and current as the contact application has it; and screens made from a parameter
// text over it. The desktop backend is the test's choice (the terminal, or Qt offscreen).
#pragma once
#include <string>

#include "runtime/text/slot_map.h"
#include "runtime/text/slot_table.h"
#include "runtime/ui/screen.h"
#include "runtime/vars/parm_blocks.h"
#include "tests/runtime/access/access_fixture.h"

namespace rt::test {

// The boxes of the maintenance engine as the terminal shows them: caption, then text (UTF-8).
const std::string kInfo = "Mensaje Informativo\n";
const std::string kQuestion = "Solicitud de Informaci\xC3\xB3n\n";
const std::string kEndOfFile = kInfo + "Fin de fichero\n";
const std::string kNotFound = kInfo + "Clave no encontrada\n";
const std::string kBadKey = kInfo + "Clave incorrecta\n";
const std::string kChanged = kInfo + "Datos Cambiados. Grabaci\xC3\xB3n canceleda\n";
const std::string kKeyRefused = kQuestion + "Modificaci\xC3\xB3n de Clave descartada\n";
const std::string kAskDelete = kQuestion + "\xC2\xBF" "Anular Registro(s)?\n";

// A screen of the three columns, each field bound to its column and the screen to the table.
inline const std::string kContactScreen =
    "FD$=\"RS,NOM,TEL\":FILEDEF$=\"RAZON_SOCIAL{contactos},NOMBRE{contactos},TELEFONO{contactos},contactos\"";

template <typename Backend>
class ContactsTestOn : public AccessTestOn<Backend> {
protected:
    void SetUp() override {
        AccessTestOn<Backend>::SetUp();
        ScreenReset();
        this->db().ExecOk(
            "CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(30) PRIMARY KEY, \"NOMBRE\" varchar(30), "
            "\"TELEFONO\" varchar(20));");
        this->db().ExecOk("CREATE INDEX contactos_nombre ON contactos (\"NOMBRE\");");
        this->db().ExecOk("INSERT INTO contactos VALUES ('BETA', 'Beatriz', '222'), ('ALFA', 'Zoe', '111'), "
                          "('GAMMA', 'Carlos', '333');");
        file_ = this->OpenTable("contactos");
    }
    void TearDown() override {
        ScreenReset();
        AccessTestOn<Backend>::TearDown();
    }

    // Every stored contact in key order: "KEY=NOMBRE/TELEFONO ...".
    std::string Rows() {
        return this->db().Value(
            "SELECT string_agg(\"RAZON_SOCIAL\" || '=' || coalesce(\"NOMBRE\", '') || '/' || "
            "coalesce(\"TELEFONO\", ''), ' ' ORDER BY \"RAZON_SOCIAL\") FROM contactos;");
    }

    // Makes the screen of parameter text parms and its screen window, current (the window is the
    // current top runtime window, none on the terminal).
    void MakeScreen(const std::string& parms) {
        ASSERT_EQ(SlotPush(kParmStackGroup, D(parms)), 0);
        ErrCode e = ScreenCreate(ScreenCtrl{}, nullptr, StrEmpty());
        ParmPop();
        ASSERT_EQ(e, 0) << parms;
        ASSERT_EQ(ScreenWinCreate(), 0);
    }
    // The screen's fields as shown: "RS|NOM|TEL".
    static std::string Shown() {
        std::string out;
        const ScreenCtrl* s = ScreenCurrent();
        for (std::uint16_t i = 1; s != nullptr && i <= s->count; ++i) {
            DynScope scope;
            out += (i == 1 ? "" : "|") + Str(ScreenFieldText(i));
        }
        return out;
    }

    std::uint8_t file_ = 0;
};

}  // namespace rt::test
