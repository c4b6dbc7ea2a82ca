#!/usr/bin/env bash
# Checks the one-way layering of the production code: a file may include its own folder and the
# folders below it, never one above. From the bottom up:
#   platform/  <  runtime/text < env < vars < data < expr < ui < sql < access < mant < trans < start
#   <  app/, tools/ (and bench/)
# platform/qt/ (the desktop backend) is reached only from app/ and platform/qt/ itself, and
# platform/console/ only from tools/, bench/, app/ and itself; Qt headers only under platform/qt/ and app/,
# libpq only under runtime/sql/. Every violation is named with its file, line and include.
# Usage: check-layers.sh [ROOT]  (ROOT: the tree to check, the repository by default)
set -euo pipefail
root="${1:-$(dirname "${BASH_SOURCE[0]}")/..}"
cd "$root"

# The runtime's folders in layer order; a folder not listed here is itself a failure, so that a new
# folder has to be given its place.
runtime_order=(text env vars data expr ui sql access mant trans start)

declare -A runtime_rank
for i in "${!runtime_order[@]}"; do runtime_rank[${runtime_order[$i]}]=$((i + 1)); done

# Sets rank to the layer of a file's or an include's folder: platform 0, runtime/<folder> 1..,
# app, tools and bench on top; empty for a folder outside the layers.
rank_of() {
    rank=""
    case "$1" in
        platform/*) rank=0 ;;
        app/* | tools/* | bench/*) rank=100 ;;
        runtime/*/*)
            local folder="${1#runtime/}"
            rank="${runtime_rank[${folder%%/*}]:-}" ;;
    esac
}

failures=0
fail() {
    echo "check-layers: $1" >&2
    failures=$((failures + 1))
}

dirs=()
for d in platform runtime app tools bench; do [[ -d $d ]] && dirs+=("$d"); done

mapfile -t files < <(find "${dirs[@]}" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
for file in "${files[@]}"; do
    rank_of "$file"
    [[ -n "$rank" ]] || fail "$file: its folder has no place in the layer order"
done

# One pass over every include line: file:line:text.
while IFS= read -r hit; do
    file="${hit%%:*}"
    rest="${hit#*:}"
    line="${rest%%:*}"
    text="${rest#*:}"
    where="$file:$line"
    rank_of "$file"
    file_rank="$rank"
    [[ -n "$file_rank" ]] || continue
    if [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"((runtime|platform|app|tools|tests)/[^\"]*)\" ]]; then
        inc="${BASH_REMATCH[1]}"
        rank_of "$inc"
        inc_rank="$rank"
        if [[ -z "$inc_rank" ]]; then
            fail "$where: includes \"$inc\", which is outside the layers"
        elif (( inc_rank > file_rank )); then
            fail "$where: includes \"$inc\" from a layer above its own"
        fi
        case "$inc" in
            platform/qt/*)
                [[ "$file" == platform/qt/* || "$file" == app/* ]] \
                    || fail "$where: includes \"$inc\"; only app/ and platform/qt/ reach the desktop backend" ;;
            platform/console/*)
                [[ "$file" == platform/console/* || "$file" == tools/* || "$file" == bench/* || "$file" == app/* ]] \
                    || fail "$where: includes \"$inc\"; only tools/, bench/ and app/ choose the terminal backend" ;;
        esac
    elif [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*[\<\"]((Q[A-Za-z]*|Qt[A-Za-z]*/[^\>\"]*))[\>\"] ]]; then
        [[ "$file" == platform/qt/* || "$file" == app/* ]] \
            || fail "$where: includes Qt <${BASH_REMATCH[1]}> outside platform/qt/ and app/"
    elif [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*[\<\"]((libpq-fe\.h|libpq/[^\>\"]*|postgres_ext\.h|pg_config[^\>\"]*))[\>\"] ]]; then
        [[ "$file" == runtime/sql/* ]] \
            || fail "$where: includes libpq <${BASH_REMATCH[1]}> outside runtime/sql/"
    fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' "${dirs[@]}" | sort -t: -k1,1 -k2,2n)

if (( failures > 0 )); then
    echo "check-layers: $failures violation(s)" >&2
    exit 1
fi
echo "check-layers: ${#files[@]} files follow the layer order"
