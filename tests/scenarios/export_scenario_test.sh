#!/usr/bin/env bash
# Archivo -> Exportar answered through every question with the keyboard: the table chosen with Return,
# RAZON_SOCIAL as the limit field, every field, the relational type, "No" to saving the definition,
# the file name typed in the file dialog, the file and limits questions confirmed. Every contact is
# written, the count is shown, and the dialog answers the keyboard afterwards.
source "$(dirname "${BASH_SOURCE[0]}")/scenario_lib.sh"
scen_start_x
scen_make_db
scen_launch
scen_dialog
out="$scen_tmp/home/Documents/contactos.txt"

key alt+a e
w=$(expect_window "Selección de Tabla") && { shot export_1_table_list; key Return; }
w=$(expect_window "Selección de Campos de Limites") && { shot export_2_limit_fields; type_text L; confirm_form "$w"; }
w=$(expect_window "Selección de Campos") && confirm_form "$w"
w=$(expect_window "Actualizacion Relacional") && confirm_form "$w"
w=$(expect_window "Solicitud de Información") && { shot export_3_save_question; key alt+n; }
w=$(expect_window "Guardar como") && { shot export_4_file_dialog; type_text "$out"; key Return; }
w=$(expect_window "Selección de Fichero") && { shot export_5_file_question; confirm_form "$w"; }
w=$(expect_window "Límites de Transacción") && confirm_form "$w"
w=$(expect_window "Mensaje Informativo") && { shot export_6_count; key Return; }
gone "Mensaje Informativo"

expected="$(sql "SELECT count(*) FROM contactos")"
[[ -f "$out" ]] || fail "no file written"
[[ "$(wc -l <"$out")" == "$expected" ]] || fail "the file holds $(wc -l <"$out") lines for $expected contacts"
grep -q "Alfarer" "$out" || fail "a known contact is missing from the file"
expect_dialog_answers exportado
shot export_7_dialog_after
scen_quit
scen_end
