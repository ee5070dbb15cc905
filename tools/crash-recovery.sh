#!/usr/bin/env bash
# Checks under a real X server that nothing written is lost when Quillmere is killed: types
# text, injects seed words, kills the program with SIGKILL once its recovery copy is due,
# starts it again, answers Restore and compares the editor's content with what was there.
#
#   tools/crash-recovery.sh [path/to/quillmere]     (default build/quillmere)
#
# CRASH_DISPLAY names the X display to create (default :99). Needs xvfb, openbox, xdotool,
# xclip, x11-utils and imagemagick. Settings and data go to a temporary folder, so the
# user's own are never touched; screenshots are left in that folder's shots/ when KEEP=1.
set -euo pipefail

program=$(realpath "${1:-build/quillmere}")
display=${CRASH_DISPLAY:-:99}
work=$(mktemp -d)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if [ "${KEEP:-0}" = 1 ]; then echo "crash-recovery: kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

export DISPLAY=$display
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$work/shots"
mkdir -m 700 "$XDG_RUNTIME_DIR"
recovery=$XDG_DATA_HOME/Quillmere/recovery

fail() {
    echo "crash-recovery: FAIL: $*" >&2
    exit 1
}

# shellcheck source=tools/xdesktop.sh
source "$(dirname "$0")/xdesktop.sh"
start_desktop 1280x1024x24

keys() {
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.25
    done
}

shot() {
    sleep 0.5
    import -window root "$work/shots/$1.png"
}

# The editor's whole content as Copy puts it on the clipboard: its RTF markup as text.
copy_all() {
    local text=""
    for _ in 1 2 3; do
        xdotool windowactivate --sync "$main"
        keys ctrl+a ctrl+c
        sleep 0.3
        text=$(xclip -selection clipboard -o 2>/dev/null || true)
        [ -n "$text" ] && break
    done
    printf '%s' "$text"
}

start() {
    "$program" >>"$work/program.log" 2>&1 &
    app=$!
    pids+=("$app")
}

# First run: some typing, a seed chosen through the menu (which injects a run of words),
# one more run with F8, then more typing.
start
main=$(window ' - Quillmere v[0-9.]*$')
xdotool windowactivate --sync "$main"
sleep 1 # the window takes keys only once the window manager has framed and focused it
keys Tab
xdotool type --clearmodifiers --delay 20 "Nothing written is lost. "
xdotool mousemove --window "$main" 18 10 click 1
sleep 0.4
keys Right Right Down Return
keys F8
xdotool type --clearmodifiers --delay 20 " The last words before the crash."
before=$(copy_all)
shot 1-before-kill
# Injection may put the caret anywhere, so the seed words can split the first sentence.
grep -q 'The last words before the crash' <<<"$before" ||
    fail "the typed text did not reach the editor; the clipboard held: $before"

# A little over the rest period after the last change, the copy must be on disk.
sleep 3
ls "$recovery"/*.recovery >/dev/null 2>&1 || fail "no recovery copy after the rest period"
kill -9 "$app"
wait "$app" 2>/dev/null || true
echo "crash-recovery: killed with SIGKILL; left behind: $(cd "$recovery" && echo *)"

# Second run: the question comes first; Return takes its default, Restore. The restored
# document keeps its name and takes the place of the unused start-up document.
start
question=$(window '^Quillmere$')
xdotool windowactivate --sync "$question" 2>/dev/null || true
shot 2-question
keys Return
main=$(window '^Untitled1 - Quillmere v[0-9.]*$') || fail "no restored Untitled1"
xdotool windowactivate --sync "$main"
sleep 1
keys Tab
after=$(copy_all)
shot 3-restored
[ "$after" = "$before" ] || {
    diff <(echo "$before") <(echo "$after") | head -20 >&2
    fail "the restored document differs from the one that was killed"
}
echo "crash-recovery: restored text (RTF as Copy gives it):"
echo "$after"
echo "crash-recovery: PASS: Untitled1 holds the $(wc -c <<<"$after")-byte document of the killed run"
kill -9 "$app"
wait "$app" 2>/dev/null || true
