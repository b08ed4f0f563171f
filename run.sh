#!/usr/bin/env bash
# Installs what is missing, builds, and starts Равнобор on the example case.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Равнобор: нет графического дисплея (не заданы DISPLAY и WAYLAND_DISPLAY); запустите ./run.sh в графическом сеансе." >&2
    exit 1
fi
# The example case in the documents folder, found exactly as the program finds it.
# The first start creates that copy itself, so then the program starts without one.
example="$(build/tools/ravnobor_docsfolder)/Пример.rvb"
if [ -f "$example" ]; then
    exec build/bin/ravnobor "$example"
else
    exec build/bin/ravnobor
fi
