# Sourced by the scripts that drive Quillmere on a real X server. Starts Xvfb and openbox on
# $display, noting their ids in $pids for the caller's cleanup, and gives the helpers below.

# Waits up to about thirty seconds for a command to succeed.
await() {
    for _ in $(seq 300); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "gave up waiting for: $*" >&2
    return 1
}

# The id of the visible window whose title matches a pattern.
window() {
    timeout 15 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

# Starts the X server at the given screen size with a window manager on it.
start_desktop() {
    Xvfb "$display" -screen 0 "$1" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    await xdpyinfo
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    await bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
}
