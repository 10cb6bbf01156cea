#!/usr/bin/env bash
# check-layers on a small tree: a downward include passes, an upward one is listed and fails, and a
# sub-folder drawn as its own layer counts as that layer.
set -euo pipefail
script="$1"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/docs" "$tree/core" "$tree/shell" "$tree/lists/ui"
cat > "$tree/docs/ARCHITECTURE.md" <<'DOC'
## Layers

```
  lists/ui/
  lists/
  shell/
  core/
```
DOC
echo '#include "core/A.h"' > "$tree/shell/B.cpp"
echo '#include "lists/ui/W.h"' > "$tree/lists/ui/V.cpp"
echo '#include "shell/B.h"' > "$tree/lists/C.cpp"
"$script" "$tree" > "$tree/out" || { echo "a tree with downward includes failed"; cat "$tree/out"; exit 1; }

echo '#include "lists/C.h"' > "$tree/core/A.cpp"
echo '#include "lists/ui/W.h"' > "$tree/lists/D.cpp"
if "$script" "$tree" > "$tree/out" 2>/dev/null; then
  echo "upward includes passed"; exit 1
fi
grep -q '^core/A.cpp:1: core/ includes lists/C.h' "$tree/out" || { echo "core/A.cpp not listed"; cat "$tree/out"; exit 1; }
grep -q '^lists/D.cpp:1: lists/ includes lists/ui/W.h' "$tree/out" || { echo "lists/D.cpp not listed"; cat "$tree/out"; exit 1; }
[ "$(wc -l < "$tree/out")" -eq 2 ] || { echo "more than the two upward includes listed"; cat "$tree/out"; exit 1; }
echo "check-layers: fixture passed"
