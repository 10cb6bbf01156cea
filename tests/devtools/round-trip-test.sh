#!/usr/bin/env bash
# Save, exit and restart on one copy of the demo folder, with "/RT" as the user starts the program
# (without it the program shows one window, whatever the layout holds). The first run changes what
# the program keeps (the main layout with a window of every other kind added and one moved, a graph
# setting, a transaction, a toolbar made in the designer, the current filter), checks that
# File > Save leaves it all in memory, and exits; the next two runs start on what was left, print
# their state and exit at once. Every run must print the same state, and every file the program
# keeps must come back from the second exit as the first left it. The window layouts are the one
# exception: the first restart writes the same windows in the order the program lays them out
# (groups numbered afresh), which the state lines show to be the same layout, and from then on the
# file stays as it is. The registry's tip position moves on at every start by design. A filter's
# out-of-date mark in Filter.cfg says whether its values were worked out in the session that wrote
# it (a refresh that fills the filter-driven portfolio clears it, and when that comes depends on the
# machine's speed); every start marks every filter out of date again when the database loads, so the
# filters are compared without it.
# No feed server answers (QV_FEED_SERVER names a closed port): nothing the feed sends can change
# the files between the runs.
# Usage: round-trip-test.sh QUORVANTIS QVTOOL (in the program-run folder, QV_CONFIG_HOME set)
set -u
app="$1"
qvtool="$2"
export QV_FEED_SERVER=127.0.0.1:9
rm -rf round-trip round-trip-kept round-trip-kept-2 "$QV_CONFIG_HOME" && cp -r demo round-trip &&
  mkdir -p round-trip-kept round-trip-kept-2 "$QV_CONFIG_HOME"
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
registry() { grep -v '^TipFilePos=' "$QV_CONFIG_HOME/registry.ini"; }
# The filters as qvtool reads them, the out-of-date mark (flag 1) taken off.
filters() { "$qvtool" filters "$1" | awk '{ for (i = 1; i < NF; ++i) if ($i == "flags") $(i + 1) -= $(i + 1) % 2; print }'; }

QV_SCRIPTED_USE=round-trip-1 "$app" /RT >../round-trip-1.log 2>&1
echo "first run exit code $?"
cat ../round-trip-1.log
for f in $(kept_files); do
  if [ -s "$f" ]; then mkdir -p "../round-trip-kept/$(dirname "$f")" && cp "$f" "../round-trip-kept/$f"; else echo "not saved: $f"; fi
done
registry >../round-trip-kept/registry.ini 2>/dev/null || echo "not saved: registry.ini"

QV_SCRIPTED_USE=round-trip-2 "$app" /RT >../round-trip-2.log 2>&1
echo "second run exit code $?"
cat ../round-trip-2.log
cp View.cfg ../round-trip-kept-2/View.cfg
QV_SCRIPTED_USE=round-trip-2 "$app" /RT >../round-trip-3.log 2>&1
echo "third run exit code $?"

for run in 1 2 3; do grep '^Round trip: state:' ../round-trip-$run.log >../round-trip-$run.state; done
if [ -s ../round-trip-1.state ] && diff ../round-trip-1.state ../round-trip-2.state && diff ../round-trip-1.state ../round-trip-3.state; then
  echo "round trip: the state came back"
else
  echo "round trip: state differs"
fi
for f in $(cd ../round-trip-kept && find . -type f | sed 's|^\./||' | grep -v '^registry.ini$'); do
  if [ "$f" = View.cfg ]; then
    cmp -s ../round-trip-kept-2/View.cfg View.cfg && echo "kept: View.cfg (from the second exit on)" || echo "changed: View.cfg"
  elif [ "$f" = Filter.cfg ]; then
    if [ -n "$(filters Filter.cfg)" ] && diff <(filters ../round-trip-kept/Filter.cfg) <(filters Filter.cfg); then echo "kept: Filter.cfg (out-of-date marks aside)"; else echo "changed: Filter.cfg"; fi
  else
    cmp -s "../round-trip-kept/$f" "$f" && echo "kept: $f" || echo "changed: $f"
  fi
done
registry | cmp -s ../round-trip-kept/registry.ini - && echo "kept: registry.ini" ||
  { echo "changed: registry.ini"; registry | diff ../round-trip-kept/registry.ini -; }
