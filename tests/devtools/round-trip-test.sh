#!/usr/bin/env bash
# Save, exit and restart on one copy of the demo folder. The first run changes what the program keeps
# (a layout of many windows with one moved, a transaction, a toolbar, the current filter), checks that
# File > Save leaves it all in memory, and exits; the second run starts on what was left, prints its
# state and exits at once. The state both print must agree, and every file the program keeps must
# come back from the second exit as the first exit left it.
# Usage: round-trip-test.sh QUORVANTIS (in the program-run folder, QV_CONFIG_HOME set)
set -u
app="$1"
rm -rf round-trip round-trip-kept "$QV_CONFIG_HOME" && cp -r demo round-trip && mkdir -p round-trip-kept "$QV_CONFIG_HOME"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd round-trip || exit 1

# The files the program keeps: portfolios, cash accounts, toolbars, layouts, graphs, filters, the
# configuration and the registry file.
kept_files() {
  { ls Quorva[0-9][0-9][0-9].por 2>/dev/null
    find . -maxdepth 2 -iname cash.dat | sed 's|^\./||'
    echo Toolbar.cfg; echo View.cfg; echo Graph.cfg; echo Filter.cfg; echo Quorva.cfg
  } | sort -u
}

QV_SCRIPTED_USE=round-trip-1 "$app" /RT >../round-trip-1.log 2>&1
echo "first run exit code $?"
cat ../round-trip-1.log
for f in $(kept_files); do
  if [ -s "$f" ]; then mkdir -p "../round-trip-kept/$(dirname "$f")" && cp "$f" "../round-trip-kept/$f"; else echo "not saved: $f"; fi
done
cp "$QV_CONFIG_HOME/registry.ini" ../round-trip-kept/registry.ini 2>/dev/null || echo "not saved: registry.ini"

QV_SCRIPTED_USE=round-trip-2 "$app" /RT >../round-trip-2.log 2>&1
echo "second run exit code $?"
cat ../round-trip-2.log

grep '^Round trip: state:' ../round-trip-1.log >../round-trip-1.state
grep '^Round trip: state:' ../round-trip-2.log >../round-trip-2.state
if [ -s ../round-trip-1.state ] && diff ../round-trip-1.state ../round-trip-2.state; then
  echo "round trip: the state came back"
else
  echo "round trip: state differs"
fi
for f in $(cd ../round-trip-kept && find . -type f | sed 's|^\./||' | grep -v '^registry.ini$'); do
  cmp -s "../round-trip-kept/$f" "$f" && echo "kept: $f" || echo "changed: $f"
done
cmp -s ../round-trip-kept/registry.ini "$QV_CONFIG_HOME/registry.ini" && echo "kept: registry.ini" ||
  { echo "changed: registry.ini"; diff ../round-trip-kept/registry.ini "$QV_CONFIG_HOME/registry.ini"; }
