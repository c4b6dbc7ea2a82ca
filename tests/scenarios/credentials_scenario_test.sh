#!/usr/bin/env bash
# A server of the user's own without sqlparams.dat: the start asks for the server, database, user and
# password in the credentials dialog; typed with the keyboard they log in and the contact dialog opens.
source "$(dirname "${BASH_SOURCE[0]}")/scenario_lib.sh"
scen_start_x
scen_make_db
mkdir -p "$scen_tmp/nofile"
# A login of its own whose password fits the dialog's field (the test server's is longer).
password="Clave.$RANDOM"
psql -X -q -v ON_ERROR_STOP=1 -d postgres -c "CREATE ROLE $scen_db LOGIN PASSWORD '$password'" \
    -c "GRANT ALL ON DATABASE $scen_db TO $scen_db"
sql "GRANT ALL ON contactos TO $scen_db"
scen_launch nofile
main=$(expect_window "Acceso a Datos") || exit 1
shot credentials_dialog
# The fields come with their defaults (selected when entered): each is replaced with what is typed.
for value in "${PGHOST:-localhost}" "$scen_db" "$scen_db" "$password"; do
    key ctrl+a BackSpace
    type_text "$value"
    key Return
done
# Return in the last field ("Recordar", left unticked) confirms.
confirm_form "$main"
[[ ! -e "$scen_tmp/work/sqlusrprm.dat" ]] || fail "the credentials were remembered without Recordar"
scen_dialog
expect_dialog_answers credenciales
scen_quit
scen_end
