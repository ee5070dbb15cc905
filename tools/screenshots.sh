#!/usr/bin/env bash
# Takes screenshots of Quillmere on a desktop with a window manager (Xvfb and openbox), to
# check by eye how it looks: the main window, formatted text, the three dialogs, HiDPI, the
# Seed menu (docs/seed-menu.png in the README) and the spelling underline.
#
#   tools/screenshots.sh [folder]     (default ./shots)
#
# QUILLMERE names the program (default build/quillmere), SHOTS_DISPLAY the X display to
# create (default :97). Needs xvfb, openbox, xdotool, x11-utils and imagemagick. Settings go
# to a temporary folder, so the user's own are never touched.
set -euo pipefail

out=${1:-./shots}
program=$(realpath "${QUILLMERE:-build/quillmere}")
display=${SHOTS_DISPLAY:-:97}
mkdir -p "$out"
out=$(realpath "$out")
work=$(mktemp -d)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export DISPLAY=$display
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/Quillmere" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# shellcheck source=tools/xdesktop.sh
source "$(dirname "$0")/xdesktop.sh"
start_desktop 1600x1200x24

# Saves a window with its frame; openbox says how wide the frame is.
shot() {
    local id=$1 name=$2 x y w h left=0 right=0 top=0 bottom=0 extents
    sleep 0.8 # let the window manager and the program finish painting
    read -r x y w h < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x = $4}
        /Absolute upper-left Y/ {y = $4} /Width:/ {w = $2} /Height:/ {h = $2}
        END {print x, y, w, h}')
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')
    [ -n "$extents" ] && read -r left right top bottom <<<"$extents"
    import -window root -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" \
        +repage "$out/$name.png"
    echo "$out/$name.png"
}

start() {
    env "$@" "$program" >>"$work/program.log" 2>&1 &
    app=$!
    pids+=("$app")
    main=$(window ' - Quillmere v[0-9.]*$')
    xdotool windowactivate --sync "$main"
}

# Closes the window as a user would; it only asks about saving when a document changed.
quit() {
    xdotool windowactivate --sync "$main" key alt+F4
    await bash -c "! kill -0 $app"
}

# Ends a run whose documents changed, without the question about saving them; the recovery
# copies it leaves would otherwise make the next start ask about restoring them.
stop() {
    kill "$app"
    wait "$app" || true
    rm -rf "$XDG_DATA_HOME/Quillmere/recovery"
}

keys() {
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.25
    done
}

write() {
    xdotool type --clearmodifiers --delay 20 "$1"
}

# Clicks File, then walks the menu bar with the arrow keys; moving to a menu by keyboard
# highlights its first entry, and Right on an entry with a submenu opens that submenu.
pick() {
    xdotool mousemove --window "$main" 18 10 click 1
    sleep 0.4
    keys "$@" Return
    sleep 0.3
}
# Format (two to the left of File, round the end): Bold 1, Italic 2, Underline 3,
# Strikethru 4, Bullets 5.
format() {
    local downs=()
    for _ in $(seq 2 "$1"); do downs+=(Down); done
    pick Left Left "${downs[@]}"
}
seed_one() { pick Right Right Down; }
about() { pick Left; }

# First start: no stored geometry.
start
shot "$main" 01-main-first-start
quit

# The designed size from here on: 670 x 500 pixels at 100 x 100.
printf '[Settings]\nMainLeft=1500\nMainTop=1500\nMainWidth=10050\nMainHeight=7500\n' \
    >"$XDG_CONFIG_HOME/Quillmere/Quillmere.conf"

start
shot "$main" 02-main-designed-size
keys Tab
format 1
write "Bold words, "
format 1
format 2
write "italic words, "
format 2
format 3
write "underlined words"
format 3
write " and "
format 4
write "struck-through words."
format 4
keys Return
format 5
write "A bulleted line"
keys Return
write "and another."
keys Return
format 5
write "Seed One writes its words over a selection: here."
keys shift+Left shift+Left shift+Left shift+Left shift+Left
seed_one
format 1
shot "$main" 03-main-formatted-text

# The Seed menu open over the run Seed One just wrote, still marked; the README shows it.
xdotool mousemove --window "$main" 18 10 click 1
sleep 0.4
keys Right Right
shot "$main" 09-seed-menu
keys Escape Escape Escape

# A misspelt word underlined once typing rests.
format 1
keys ctrl+End Return
write "teh quick"
sleep 1
shot "$main" 10-spelling

keys ctrl+g
dialog=$(window '^Goto Line$')
keys Tab Tab
write "3"
shot "$dialog" 04-goto-line
xdotool windowactivate --sync "$dialog" key alt+F4

keys ctrl+h
dialog=$(window '^Find and Replace$')
keys Tab
write "words"
keys Tab Tab Tab
write "phrases"
shot "$dialog" 05-find-and-replace
xdotool windowactivate --sync "$dialog" key alt+F4

xdotool windowactivate --sync "$main"
about
dialog=$(window '^Quillmere ver [0-9.]*$')
shot "$dialog" 06-about
keys Escape
stop

# Twice the pixels: the same window, twice as large and as sharp.
start QT_SCALE_FACTOR=2
keys Tab
format 1
write "Bold at twice the scale, "
format 1
format 2
write "italic too."
format 2
shot "$main" 07-main-scale-2
about
dialog=$(window '^Quillmere ver [0-9.]*$')
shot "$dialog" 08-about-scale-2
keys Escape
stop
