#!/usr/bin/env bash
# Starts the contact directory in its working folder with a database to talk to.
#
# Usage: launch.sh BINARY [--db-from FOLDER] [--lang XX] [ARGUMENTS...]
#
# The working folder is ${QUINTARA_HOME:-${XDG_DATA_HOME:-~/.local/share}/quintara}; it holds the
# connection parameters sqlparams.dat, and later the remembered credentials, config.txt and the logs.
# - Without sqlparams.dat there, one is written that points at the embedded default database
#   (scripts/local-db.sh).
# - --db-from FOLDER copies FOLDER's sqlparams.dat over it, for a server of the user's own; when FOLDER
#   has none, the working folder's is set aside for this run, so the credentials dialog asks.
# When sqlparams.dat points at the embedded database, the application runs holding a lease on its
# server (local-db.sh with-lease): the server is started when it is not running, and stopped again
# when the last window or command holding a lease has ended, unless it was started or asked for by
# hand (local-db.sh ensure).
# The language: the language file of the user's locale (LC_ALL, then LC_MESSAGES, then LANG: en, fr,
# de, it), or of --lang XX (es, en, fr, de, it), is put into the working folder as KV_LANG_XX.MSJ,
# replacing the one put there before; Spanish (es, or any other locale) is the built-in catalog, so
# no file. A language file the user placed there (one this script did not put, or changed since) is
# left alone and used.
# The exit status is the application's.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
local_db="$here/local-db.sh"

die() {
    echo "launch: $*" >&2
    exit 1
}

[[ $# -ge 1 ]] || { echo "usage: launch.sh BINARY [--db-from FOLDER] [--lang XX] [ARGUMENTS...]" >&2; exit 2; }
binary="$(realpath -m "$1")"
shift
[[ -x "$binary" ]] || die "no program at $binary"

db_from=""
lang=""
while [[ $# -gt 0 ]]; do
    case "$1" in
        --db-from)
            [[ $# -ge 2 ]] || die "--db-from needs a folder"
            db_from="$2"
            shift 2
            ;;
        --lang)
            [[ $# -ge 2 ]] || die "--lang needs a language (es, en, fr, de, it)"
            lang="${2,,}"
            [[ "$lang" =~ ^(es|en|fr|de|it)$ ]] || die "--lang: no language '$2' (es, en, fr, de, it)"
            shift 2
            ;;
        *) break ;;
    esac
done
# Without --lang the locale decides: the first of LC_ALL, LC_MESSAGES and LANG that is set.
if [[ -z "$lang" ]]; then
    locale_name="${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}"
    lang="${locale_name:0:2}"
    lang="${lang,,}"
    [[ "$lang" =~ ^(en|fr|de|it)$ ]] || lang="es"
fi

work="$(realpath -m "${QUINTARA_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/quintara}")"
mkdir -p "$work"
chmod 700 "$work"
params="$work/sqlparams.dat"

# The connection parameters hold a password: readable by their owner only.
install_params() {
    local tmp
    tmp="$(mktemp "$work/.sqlparams.XXXXXX")"
    chmod 600 "$tmp"
    cat >"$tmp"
    mv -f "$tmp" "$params"
}

# A file named like sqlparams.dat in any letter case (files written on Windows).
find_params_in() {
    find "$1" -maxdepth 1 -type f -iname sqlparams.dat -print -quit 2>/dev/null
}

set_aside=""
if [[ -n "$db_from" ]]; then
    [[ -d "$db_from" ]] || die "--db-from: no folder $db_from"
    source_params="$(find_params_in "$db_from")"
    if [[ -n "$source_params" ]]; then
        [[ "$(realpath "$source_params")" == "$(realpath -m "$params")" ]] || install_params <"$source_params"
    elif [[ -f "$params" ]]; then
        set_aside="$work/sqlparams.dat.aside"
        mv -f "$params" "$set_aside"
    fi
elif [[ ! -f "$params" ]]; then
    bash "$local_db" params | install_params
fi

# The run's language file. The marker .lang-placed names the file this script put in the working
# folder and its checksum, so that a file of the user's own is never replaced or removed.
lang_dir=""
for candidate in "${QUINTARA_LANG_DIR:-}" "$here/../lang" "$here/../../share/quintara/lang"; do
    if [[ -n "$candidate" && -d "$candidate" ]]; then lang_dir="$candidate"; break; fi
done
marker="$work/.lang-placed"
placed_name="" placed_sum=""
[[ -f "$marker" ]] && read -r placed_name placed_sum <"$marker" || true
placed_ours=0
if [[ -n "$placed_name" && -f "$work/$placed_name" ]] &&
   [[ "$(sha256sum <"$work/$placed_name" | cut -d' ' -f1)" == "$placed_sum" ]]; then
    placed_ours=1
fi
user_file=""
while IFS= read -r found; do
    name="$(basename "$found")"
    (( placed_ours )) && [[ "$name" == "$placed_name" ]] && continue
    user_file="$name"
    break
done < <(find "$work" -maxdepth 1 -type f -iname 'kv_lang_*.msj' 2>/dev/null)
wanted=""
[[ "$lang" != "es" && -z "$user_file" ]] && wanted="KV_LANG_${lang^^}.MSJ"
if (( placed_ours )) && [[ "$placed_name" != "$wanted" ]]; then
    rm -f "$work/$placed_name"
    placed_ours=0
fi
(( placed_ours )) || rm -f "$marker"
if [[ -n "$wanted" ]] && ! (( placed_ours )); then
    if [[ -n "$lang_dir" && -f "$lang_dir/$wanted" ]]; then
        tmp="$(mktemp "$work/.lang.XXXXXX")"
        cp "$lang_dir/$wanted" "$tmp"
        chmod 644 "$tmp"
        mv -f "$tmp" "$work/$wanted"
        echo "$wanted $(sha256sum <"$work/$wanted" | cut -d' ' -f1)" >"$marker"
    else
        echo "launch: no language file $wanted; the built-in Spanish serves" >&2
    fi
fi
if [[ -n "$user_file" && "$lang" != "es" ]]; then
    echo "launch: the working folder holds a language file of its own ($user_file); it is used" >&2
fi

# sqlparams.dat of the embedded database names its socket folder as the host.
embedded_line="$(bash "$local_db" params)"
embedded_host="${embedded_line%% *}"
uses_embedded=0
[[ -f "$params" ]] && grep -qF -- "$embedded_host" "$params" && uses_embedded=1

cleanup() {
    if [[ -n "$set_aside" && -f "$set_aside" ]]; then
        # The credentials dialog of this run may have written a new sqlparams.dat; that one stays.
        if [[ -f "$params" ]]; then rm -f "$set_aside"; else mv -f "$set_aside" "$params"; fi
    fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# local-db.sh finds its folders from the environment before the application's folder is entered.
status=0
if (( uses_embedded )); then
    bash "$local_db" with-lease env -C "$work" -- "$binary" "$@" || status=$?
else
    (cd "$work" && exec "$binary" "$@") || status=$?
fi
exit "$status"
