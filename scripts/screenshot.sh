#!/usr/bin/env bash
# Screenshot of the desktop program under Xvfb: waits past the splash, answers the world-frame
# dialog, reads a sample model through the file menu and the real file dialog (driven with
# xdotool) and saves a PNG of the whole screen.
#   scripts/screenshot.sh OUTPUT.png [MODEL.csv]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:?usage: scripts/screenshot.sh OUTPUT.png [MODEL.csv]}
model=${2:-docs/sample_model.csv}
program=build/apps/tavrine/tavrine
[[ -x $program ]] || { echo "build the program first (scripts/build.sh)" >&2; exit 1; }
[[ -f $model ]] || { echo "no model file $model" >&2; exit 1; }
model=$(realpath "$model")
out_dir=$(dirname "$out")
mkdir -p "$out_dir"
out=$(realpath "$out_dir")/$(basename "$out")

# A display number nobody else uses on this machine.
display_number=$((90 + RANDOM % 400))
while [[ -e /tmp/.X11-unix/X$display_number || -e /tmp/.X$display_number-lock ]]; do
  display_number=$((display_number + 1))
done
export DISPLAY=:$display_number
log_dir=$(mktemp -d)
Xvfb "$DISPLAY" -screen 0 1600x1100x24 -nolisten tcp >"$log_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
program_pid=
cleanup() {
  [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$log_dir"
}
trap cleanup EXIT
for _ in $(seq 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done

# Waits up to $2 seconds for a visible window whose title matches $1 and prints its id.
wait_window() {
  local id
  for _ in $(seq $(($2 * 10))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    if [[ -n $id ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "window \"$1\" did not appear" >&2
  return 1
}

# There is no window manager: focus the window directly before typing into it.
focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.3
}

export QT_QPA_PLATFORM=xcb
# Qt wants a private runtime directory; a fresh one keeps its warning out of the output.
export XDG_RUNTIME_DIR=$log_dir/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$program" >"$log_dir/program.log" 2>&1 &
program_pid=$!

# The world-frame dialog opens when the splash timer runs out (3 s).
dialog=$(wait_window '全体座標系の定義' 20)
focus "$dialog"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 50 100
xdotool key Return
sleep 0.5

main_window=$(wait_window '^Tavrine$' 5)
focus "$main_window"
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key Return
file_dialog=$(wait_window 'ファイルからデータの読み込み' 10)
focus "$file_dialog"
# The file name box has the focus in Qt's file dialog; a full path reads that file.
xdotool type --delay 20 "$model"
xdotool key Return
sleep 3

import -window root "$out"
if ! kill -0 "$program_pid" 2>/dev/null; then
  echo "the program ended early:" >&2
  cat "$log_dir/program.log" >&2
  exit 1
fi

# Quit as a user does: 終了(&X) in the file menu, then the default button はい of the question,
# whose window carries the main window's title and is the newest one of that name.
focus "$main_window"
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key x
sleep 1
question=$(wait_window '^Tavrine$' 5)
focus "$question"
xdotool key Return
status=
for _ in $(seq 50); do
  if ! kill -0 "$program_pid" 2>/dev/null; then
    wait "$program_pid" && status=0 || status=$?
    break
  fi
  sleep 0.1
done
program_pid_left=$program_pid
program_pid=
if [[ -z $status ]]; then
  echo "the program did not end after 終了 and はい" >&2
  kill "$program_pid_left" 2>/dev/null || true
  exit 1
fi
if [[ -s $log_dir/program.log ]]; then
  echo "program output:" >&2
  cat "$log_dir/program.log" >&2
fi
echo "saved $out; the program ended with status $status"
[[ $status == 0 ]]
