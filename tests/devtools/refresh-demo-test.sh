#!/bin/sh
# refresh-demo-test.sh SCRIPT BUILD_DIR: a demo folder without a current stamp is set aside with the
# user's files in it and made anew; a current one is left alone.
set -eu
script="$1"; build="$2"
rm -rf refresh-check refresh-check-old-*
mkdir -p refresh-check/data
echo "1 demo" > refresh-check/DemoVersion.txt
echo "my portfolio" > refresh-check/Mine.pfl
"$script" "$build" refresh-check 2> refresh-first.txt
grep -q "moved to .*refresh-check-old-" refresh-first.txt
test "$(cat refresh-check-old-*/Mine.pfl)" = "my portfolio"
test "$(cat refresh-check/DemoVersion.txt)" = "$("$build/devtools/qvtool" demo-version)"
test -s refresh-check/data/Quorva.dat
test ! -e refresh-check/Mine.pfl
"$script" "$build" refresh-check 2> refresh-second.txt
test ! -s refresh-second.txt
test "$(ls -d refresh-check-old-* | wc -l)" -eq 1
echo refresh-demo-ok
