#!/usr/bin/env bash
# Includes may only point down the layer chain
#   text <- header | expand; header <- obs | nav | meteo <- scan <- views <- ui <- app
# (expand holds the expansion of compressed files and is used by scan)
# obs, nav and meteo never include one another, and no Qt header sits below ui/.
set -euo pipefail
cd "$(dirname "$0")/../src"

rank() {
    case "$1" in
    text) echo 0 ;; header | expand) echo 1 ;; obs | nav | meteo) echo 2 ;; scan) echo 3 ;;
    views) echo 4 ;; ui) echo 5 ;; app) echo 6 ;; *) echo -1 ;;
    esac
}

status=0
for dir in */; do
    layer=${dir%/}
    own=$(rank "$layer")
    [ "$own" -ge 0 ] || continue
    while IFS=: read -r file line text; do
        target=$(sed -E 's/^#include "([a-z]+)\/.*/\1/' <<<"$text")
        [ "$target" = "$layer" ] && continue
        other=$(rank "$target")
        if [ "$other" -lt 0 ]; then
            continue
        fi
        if [ "$other" -gt "$own" ] || { [ "$other" -eq "$own" ] && [ "$target" != "$layer" ]; }; then
            echo "$file:$line: $layer may not include $target" >&2
            status=1
        fi
    done < <(grep -rn -E '^#include "[a-z]+/' "$layer" || true)
    if [ "$own" -lt 5 ]; then
        if grep -rn -E '^#include <Q|^#include <qcustomplot' "$layer" >&2; then
            echo "Qt include below ui/ in $layer" >&2
            status=1
        fi
    fi
done
[ $status -eq 0 ] && echo "layers: ok"
exit $status
