#!/usr/bin/env bash
# Includes run one way: a file under src/<folder>/ may include its own folder or a folder earlier in
# base, settings, inventory, render, ui, boxes, app. Prints each include that runs upward as
# "file: #include "x"" and exits 1 when there is one.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root/src"
order=(base settings inventory render ui boxes app)
rank() { local i; for i in "${!order[@]}"; do [ "${order[$i]}" = "$1" ] && { echo "$i"; return; }; done; echo -1; }
bad=0
for f in */*.h */*.cpp; do
    own=$(rank "${f%%/*}")
    while IFS= read -r inc; do
        dir=${inc%%/*}
        [ "$dir" = "$inc" ] && continue
        r=$(rank "$dir")
        if [ "$r" -gt "$own" ]; then
            echo "src/$f: #include \"$inc\" runs upward (${f%%/*} may not include $dir)"
            bad=1
        fi
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$f")
done
[ "$bad" -eq 0 ] && echo "layer check: no include runs upward"
exit "$bad"
