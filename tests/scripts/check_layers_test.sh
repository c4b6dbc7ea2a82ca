#!/usr/bin/env bash
# The layer check on a copy of the tree: the copy as it is passes, and each planted back-arrow, stray
# backend include, Qt or libpq include fails with the file and the include named.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

copy_tree() {
    rm -rf "$work/tree"
    mkdir -p "$work/tree"
    (cd "$repo" && for d in platform runtime app tools bench; do [[ -d $d ]] && cp -r "$d" "$work/tree/"; done; true)
}

status=0
copy_tree
if ! out="$(bash "$repo/scripts/check-layers.sh" "$work/tree" 2>&1)"; then
    echo "FAIL: the untouched tree does not pass:"; echo "$out"; status=1
fi

# file to plant into | line planted | text the report must hold
cases=(
    "runtime/text/str_desc.cpp|#include \"runtime/env/paths.h\"|runtime/text/str_desc.cpp:1: includes \"runtime/env/paths.h\" from a layer above its own"
    "runtime/vars/variables.h|#include \"runtime/expr/evaluator.h\"|runtime/vars/variables.h:1: includes \"runtime/expr/evaluator.h\" from a layer above its own"
    "runtime/ui/message_box.cpp|#include \"runtime/start/runtime_start.h\"|runtime/ui/message_box.cpp:1: includes \"runtime/start/runtime_start.h\""
    "platform/desktop.cpp|#include \"runtime/text/str_desc.h\"|platform/desktop.cpp:1: includes \"runtime/text/str_desc.h\" from a layer above its own"
    "runtime/ui/message_box.cpp|#include \"platform/qt/qt_desktop.h\"|runtime/ui/message_box.cpp:1: includes \"platform/qt/qt_desktop.h\"; only app/"
    "runtime/env/fonts.cpp|#include <QFont>|runtime/env/fonts.cpp:1: includes Qt <QFont>"
    "runtime/data/keys.cpp|#include <libpq-fe.h>|runtime/data/keys.cpp:1: includes libpq <libpq-fe.h>"
    "runtime/mystery/odd.cpp|// a folder of its own|runtime/mystery/odd.cpp: its folder has no place"
)
for c in "${cases[@]}"; do
    IFS='|' read -r file planted expected <<<"$c"
    copy_tree
    mkdir -p "$(dirname "$work/tree/$file")"
    { echo "$planted"; cat "$work/tree/$file" 2>/dev/null || true; } >"$work/planted"
    mv "$work/planted" "$work/tree/$file"
    if out="$(bash "$repo/scripts/check-layers.sh" "$work/tree" 2>&1)"; then
        echo "FAIL: $file with '$planted' passed the check"; status=1
    elif [[ "$out" != *"$expected"* ]]; then
        echo "FAIL: $file with '$planted' reported:"; echo "$out"; status=1
    fi
done
[[ $status == 0 ]] && echo "check-layers self-test: ${#cases[@]} planted violations caught"
exit "$status"
