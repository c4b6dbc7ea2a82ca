#!/usr/bin/env bash
# Archivo -> Importar -> Externo with the keyboard: the CSV typed in the file dialog, its columns matched
# in "Origen" and "Destino" with the arrow keys and Return, the matching ended with Escape, the import
# confirmed. The existing contact is updated in its matched fields, the new one added, the map
# remembered in config.txt, and the dialog answers the keyboard afterwards.
source "$(dirname "${BASH_SOURCE[0]}")/scenario_lib.sh"
scen_start_x
scen_make_db
csv="$scen_tmp/home/Documents/otros.csv"
printf 'EMPRESA;CONTACTO;TELEFONO\r\nAlfarería Hermanos Muñoz;Joaquín Muñoz;999 99 99 99\r\nNueva Empresa S.L.;Marta;911 11 11 11\r\n' |
    iconv -f UTF-8 -t CP1252 >"$csv"
before="$(sql "SELECT count(*) FROM contactos")"
scen_launch
scen_dialog

# One column of "Origen" (its position) to one field of "Destino" (its position).
assign() {
    local column="$1" field="$2" i
    expect_window "Origen" >/dev/null || return
    for ((i = 1; i < column; i++)); do key Down; done
    key Return
    expect_window "Destino" >/dev/null || return
    for ((i = 1; i < field; i++)); do key Down; done
    [[ "$column" == 3 ]] && shot import_2_destino
    key Return
}

key alt+a i x
w=$(expect_window "Abrir") && { type_text "$csv"; key Return; }
w=$(expect_window "Origen") && shot import_1_origen
assign 1 1  # EMPRESA -> RAZON_SOCIAL
assign 2 2  # CONTACTO -> NOMBRE
assign 3 6  # TELEFONO -> TELEFONO
w=$(expect_window "Origen") && { shot import_3_matched; key Escape; }
w=$(new_window "$(window "Quintara de Contactos")") && { shot import_4_confirm; key alt+s; }
w=$(expect_window "Mensaje Informativo") && { shot import_5_count; key Return; }
gone "Mensaje Informativo"

[[ "$(sql "SELECT count(*) FROM contactos")" == $((before + 1)) ]] || fail "not one contact added"
[[ "$(sql "SELECT \"NOMBRE\" || '|' || \"TELEFONO\" || '|' || \"POBLACION\" FROM contactos
          WHERE \"RAZON_SOCIAL\" = 'Alfarería Hermanos Muñoz'")" == "Joaquín Muñoz|999 99 99 99|Talavera de la Reina" ]] ||
    fail "the existing contact was not updated in its matched fields only"
[[ "$(sql "SELECT \"NOMBRE\" || '|' || \"TELEFONO\" FROM contactos WHERE \"RAZON_SOCIAL\" = 'Nueva Empresa S.L.'")" == \
    "Marta|911 11 11 11" ]] || fail "the new contact was not added"
grep -q "EMPRESA=RAZON_SOCIAL" "$scen_tmp/work/config.txt" 2>/dev/null || fail "the map is not in config.txt"
expect_dialog_answers importado
scen_quit
scen_end
