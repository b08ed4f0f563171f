#!/usr/bin/env bash
# Installs what is missing, builds, and starts Равнобор on the example case.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Равнобор: нет графического дисплея (DISPLAY не задан); запустите ./run.sh в графическом сеансе." >&2
    exit 1
fi
# The documents folder as Qt finds it: XDG_DOCUMENTS_DIR from user-dirs.dirs, else ~/Documents.
docs="$HOME/Documents"
dirs="${XDG_CONFIG_HOME:-$HOME/.config}/user-dirs.dirs"
if [ -f "$dirs" ]; then
    line=$(grep -E '^XDG_DOCUMENTS_DIR=' "$dirs" | tail -n 1 || true)
    if [ -n "$line" ]; then
        value=${line#XDG_DOCUMENTS_DIR=}
        value=${value%\"}
        value=${value#\"}
        docs=${value/#\$HOME/$HOME}
    fi
fi
# Start-up creates the example in the documents folder; open it when it is there.
example="$docs/Равнобор/Пример.rvb"
if [ -f "$example" ]; then
    exec build/bin/ravnobor "$example"
else
    exec build/bin/ravnobor
fi
