#!/usr/bin/env bash
# The launcher's choice of language file, with a stand-in program that reports the language files
# of its working folder: the locale's file (LC_ALL before LC_MESSAGES before LANG), --lang over the
# locale, Spanish as no file at all, the file it put there replaced on the next choice, and a file
# of the user's own (or one the user changed) never replaced or removed.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/db" "$tmp/bin"
echo "sqlhost='/nowhere' database='x' user='u' passw='p'" >"$tmp/db/sqlparams.dat"
cat >"$tmp/bin/app" <<'APP'
#!/bin/sh
for f in KV_LANG_* kv_lang_*; do [ -f "$f" ] && printf '%s:%s ' "$f" "$(head -c 4 "$f" | od -An -c | tr -d ' ')"; done
echo
APP
chmod +x "$tmp/bin/app"
export QUINTARA_HOME="$tmp/work"
status=0
run() {  # run EXPECTED ENV... -- ARGS...
    local want="$1" envs=() got
    shift
    while [[ "$1" != "--" ]]; do envs+=("$1"); shift; done
    shift
    got="$(env -u LC_ALL -u LC_MESSAGES -u LANG "${envs[@]}" bash "$repo/scripts/launch.sh" "$tmp/bin/app" \
           --db-from "$tmp/db" "$@" 2>/dev/null | sed 's/ *$//')"
    if [[ "$got" != "$want" ]]; then echo "FAIL: ${envs[*]} $*: '$got', expected '$want'"; status=1; fi
}
run "KV_LANG_DE.MSJ:0005"        LANG=de_DE.UTF-8 --
run "KV_LANG_FR.MSJ:0005"        LANG=de_DE.UTF-8 LC_MESSAGES=fr_FR.UTF-8 --
run "KV_LANG_IT.MSJ:0005"        LANG=de_DE.UTF-8 LC_MESSAGES=fr_FR.UTF-8 LC_ALL=it_IT.UTF-8 --
run ""                           LANG=C.UTF-8 --
run "KV_LANG_EN.MSJ:0005"        LANG=es_ES.UTF-8 -- --lang EN
run ""                           LANG=en_US.UTF-8 -- --lang es
run "KV_LANG_EN.MSJ:0005"        LANG=en_US.UTF-8 --
# The file put there, changed by the user, is theirs from then on.
printf '0009 Mine\r\n' >"$tmp/work/KV_LANG_EN.MSJ"
run "KV_LANG_EN.MSJ:0009"        LANG=de_DE.UTF-8 --
run "KV_LANG_EN.MSJ:0009"        -- --lang it
rm "$tmp/work/KV_LANG_EN.MSJ"
run "KV_LANG_IT.MSJ:0005"        -- --lang it
# A file of the user's own, in any letter case, makes the one put there go and is used alone.
printf '0009 Mine\r\n' >"$tmp/work/kv_lang_fr.msj"
run "kv_lang_fr.msj:0009"        -- --lang it
run "kv_lang_fr.msj:0009"        LANG=de_DE.UTF-8 --
if out="$(bash "$repo/scripts/launch.sh" "$tmp/bin/app" --lang xx 2>&1)"; then
    echo "FAIL: --lang xx was accepted"; status=1
elif [[ "$out" != *"es, en, fr, de, it"* ]]; then
    echo "FAIL: --lang xx: $out"; status=1
fi
exit "$status"
