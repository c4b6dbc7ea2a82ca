#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Quintara need.
# A machine that already has every package runs no apt at all.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build        # compiler and build
  clang libclang-rt-14-dev     # the fuzz build: clang with libFuzzer and the sanitizer runtimes
  libgtest-dev                 # test framework
  qt6-base-dev                 # desktop widgets
  libpq-dev                    # database client
  postgresql postgresql-common # database server and pg_virtualenv
  fonts-liberation             # faces metric-compatible with the dialog fonts
  xdg-utils                    # hands tel: links to the desktop's phone application
  qt6-translations-l10n        # Qt's own texts (buttons, file dialogs) in the program's language
  xvfb xdotool imagemagick     # the scenario tests: a real X server, keys and clicks from outside, screenshots
  lua5.4
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  if [[ "$status" != "installed" ]]; then
    missing+=("$pkg")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
