#!/usr/bin/env bash
# Borrar (Ctrl+Delete) asks "¿Anular Registro(s)?" in Spanish buttons: "No" keeps the contact, "Sí"
# deletes it; the dialog answers the keyboard afterwards.
source "$(dirname "${BASH_SOURCE[0]}")/scenario_lib.sh"
scen_start_x
scen_make_db
before="$(sql "SELECT count(*) FROM contactos")"
first="$(sql "SELECT \"RAZON_SOCIAL\" FROM contactos ORDER BY \"RAZON_SOCIAL\" LIMIT 1")"
scen_launch
scen_dialog
main="$(window "Quintara de Contactos")"

key ctrl+Home
key ctrl+Delete
w=$(new_window "$main") && { shot borrar_question; key alt+n; }
sleep 0.5
[[ "$(sql "SELECT count(*) FROM contactos")" == "$before" ]] || fail "No deleted the contact"
key ctrl+Delete
w=$(new_window "$main") && key alt+s
sleep 0.5
[[ "$(sql "SELECT count(*) FROM contactos")" == $((before - 1)) ]] || fail "Sí did not delete one contact"
[[ -z "$(sql "SELECT 1 FROM contactos WHERE \"RAZON_SOCIAL\" = '${first//\'/\'\'}'")" ]] || fail "the first contact is still there"
expect_dialog_answers borrado
scen_quit
scen_end
