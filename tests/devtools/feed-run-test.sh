#!/usr/bin/env bash
# The program with "/RT" against the feed stand-in, twice on one copy of the demo folder: the first
# run fills the day from the feed; the second, started later, gets the minutes it missed as well.
# "reconnect": one run whose connection the stand-in drops; "sweep": every enabled command; "charts":
# every chart of the default layouts paints prices; "alarm": an intraday alarm set below a traded
# price triggers and is logged.
# Usage: feed-run-test.sh QUORVANTIS QVFEED MODE (in the program-run folder)
set -u
app="$1"; qvfeed="$2"; mode="$3"
rm -rf "feed-$mode" && cp -r demo "feed-$mode" && mkdir -p "feed-$mode-runtime" && chmod 700 "feed-$mode-runtime"
cd "feed-$mode" || exit 1
# The charts check comes after New York's opening (14:30 London), where the US Industrials index
# of the default layouts has its first values of the day.
speed=600
[ "$mode" = "charts" ] && speed=2400
"$qvfeed" . --port 0 --speed "$speed" >feed.log 2>&1 &
feed=$!
trap 'kill "$feed" 2>/dev/null' EXIT
for _ in $(seq 100); do grep -q "127.0.0.1:" feed.log && break; sleep 0.1; done
cat feed.log
QV_FEED_SERVER=$(sed -n 's/.* on \(127\.0\.0\.1:[0-9]*\)$/\1/p' feed.log)
export QV_FEED_SERVER
if [ "$mode" = "sweep" ]; then
  QV_COMMAND_SWEEP=1 "$app" /RT; echo "program exit code $?"
  exit 0
fi
if [ "$mode" = "charts" ]; then
  # The default layouts, not those an earlier run without "/RT" saved with daily charts in place of
  # the intraday ones.
  rm -f Quorva.cfg View.cfg Graph.cfg
  QV_CHART_CHECK=1 "$app" /RT; echo "program exit code $?"
  exit 0
fi
if [ "$mode" = "alarm" ]; then
  QV_FEED_CHECK=alarm "$app" /RT; echo "program exit code $?"
  exit 0
fi
if [ "$mode" = "reconnect" ]; then
  # The stand-in drops the connection once the program reports it connected.
  QV_FEED_CHECK=reconnect "$app" /RT >program.log 2>&1 &
  program=$!
  for _ in $(seq 700); do grep -q "Feed check: connected" program.log && break; sleep 0.1; done
  kill -USR1 "$feed"
  wait "$program"; code=$?
  grep "Feed check:" program.log
  echo "program exit code $code"
  exit 0
fi
QV_FEED_CHECK=1 "$app" /RT; echo "first run exit code $?"
sleep 3
QV_FEED_CHECK=1 "$app" /RT; echo "second run exit code $?"
