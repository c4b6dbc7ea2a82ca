#!/usr/bin/env bash
# Every question of Archivo -> Exportar, and its progress window, left with Escape: the command ends
# there, nothing more is asked, no count is shown, and the dialog answers the keyboard again.
source "$(dirname "${BASH_SOURCE[0]}")/scenario_lib.sh"
scen_start_x
scen_make_db
# Enough contacts for the progress window to stay up while the user presses Escape.
sql "INSERT INTO contactos (\"RAZON_SOCIAL\", \"NOMBRE\") SELECT 'Z' || lpad(i::text, 7, '0'), 'N' || i
     FROM generate_series(1, 150000) i"
scen_launch
scen_dialog
out="$scen_tmp/home/Documents/cancelado.txt"
total="$(sql "SELECT count(*) FROM contactos")"

# Runs the export up to the question named, answering the ones before it, and leaves that one
# with Escape.
export_until() {
    local stop="$1" w
    key alt+a e
    w=$(expect_window "Selección de Tabla") || return
    [[ "$stop" == table ]] && { key Escape; return; }
    key Return
    w=$(expect_window "Selección de Campos de Limites") || return
    [[ "$stop" == limit_fields ]] && { key Escape; return; }
    type_text L; confirm_form "$w"
    w=$(expect_window "Selección de Campos") || return
    [[ "$stop" == fields ]] && { key Escape; return; }
    confirm_form "$w"
    w=$(expect_window "Actualizacion Relacional") || return
    [[ "$stop" == relational ]] && { key Escape; return; }
    confirm_form "$w"
    w=$(expect_window "Solicitud de Información") || return
    key alt+n
    w=$(expect_window "Guardar como") || return
    [[ "$stop" == file_dialog ]] && { key Escape; return; }
    type_text "$out"; key Return
    w=$(expect_window "Selección de Fichero") || return
    [[ "$stop" == file ]] && { key Escape; return; }
    confirm_form "$w"
    w=$(expect_window "Límites de Transacción") || return
    [[ "$stop" == limits ]] && { key Escape; return; }
    confirm_form "$w"
    w=$(expect_window "Proceso en progreso.....cancelado") || return
    shot cancel_progress_window
    key Escape
}

for stop in table limit_fields fields relational file_dialog file limits progress; do
    export_until "$stop"
    sleep 1
    left="$(showing)"
    [[ "$left" == "'Quintara de Contactos' " ]] || fail "after Escape at $stop: $left"
    if [[ "$stop" == progress ]]; then
        lines=$(wc -l <"$out" 2>/dev/null || echo 0)
        ((lines < total)) || fail "the cancelled export wrote all $lines contacts"
    else
        [[ ! -e "$out" ]] || fail "Escape at $stop still wrote $out"
    fi
    expect_dialog_answers "tras_$stop"
done
scen_quit
scen_end
