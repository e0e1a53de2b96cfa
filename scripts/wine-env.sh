#!/usr/bin/env bash
# Runs COMMAND ARGS... in the Wine environment shared by the end-to-end tests and the demo:
#   - a private prefix (default build/wineprefix, or $SETUP_WINEPREFIX), made once and reused;
#   - Wine's own fonts, real folders instead of links into $HOME, no menu entries written;
#   - one 1024x768 virtual desktop for every program, so windows get title bars and the
#     driver finds the windows of the program it drives;
#   - a ru_RU locale, so the ANSI code page is 1251 as on a Russian Windows;
#   - a private Xvfb when there is no display;
#   - with $SETUP_DPI, the prefix's display scale in dots per inch (96 is 100 %); only with a
#     prefix of its own ($SETUP_WINEPREFIX), so the tests' prefix stays at 96.
# Everything started here is stopped here, by process id; the command's exit code is kept.
set -euo pipefail

if [ $# -eq 0 ]; then
    echo "usage: $0 COMMAND [ARGS...]" >&2
    exit 2
fi

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prefix=${SETUP_WINEPREFIX:-$repo/build/wineprefix}
locales=$repo/build/locales
# Bump when the prefix set-up below changes: older prefixes are then made anew.
prefix_version=1

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES=winemenubuilder.exe=d
export LOCPATH=$locales
export LANG=ru_RU.UTF-8
unset LC_ALL LANGUAGE
# An X resource file, empty, as a desktop session has its resources: without any, Xlib looks for
# ~/.Xdefaults and ~/.Xdefaults-HOST again at every resource query, some forty times per repaint
# of a window with text under Wine.
export XENVIRONMENT=$repo/build/x-resources
mkdir -p "$repo/build"
: >>"$XENVIRONMENT"

# Where the kernel runs no 32-bit programs the tests are built for 64-bit Windows
# (scripts/windows-arch.sh): Debian's launchers would still pick the 32-bit loader, so every
# "wine" (and the tools' "wine-stable") of the command means the 64-bit one.
if [ "$("$repo/scripts/windows-arch.sh")" = x86_64 ]; then
    wine64_bin=$repo/build/wine64-bin
    mkdir -p "$wine64_bin"
    for launcher in wine wine-stable; do
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$wine64_bin/$launcher"
        chmod +x "$wine64_bin/$launcher"
    done
    export WINELOADER=/usr/lib/wine/wine64
    export PATH=$wine64_bin:$PATH
fi

xvfb_pid=
desktop_pid=
command_pid=
wine_started=

stop_prefix_programs() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

# shellcheck disable=SC2317  # called by the EXIT trap
cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    if [ -n "$command_pid" ] && kill -0 "$command_pid" 2>/dev/null; then
        kill -TERM "$command_pid" 2>/dev/null || true
        wait "$command_pid" 2>/dev/null || true
    fi
    if [ -n "$wine_started" ]; then
        stop_prefix_programs
    fi
    if [ -n "$desktop_pid" ]; then
        wait "$desktop_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill -TERM "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

make_locale() {
    [ -f "$locales/ru_RU.UTF-8/LC_CTYPE" ] && return
    mkdir -p "$locales"
    # localedef warns (and exits 1) about harmless details of the source files; the
    # compiled locale is what counts.
    localedef -i ru_RU -f UTF-8 "$locales/ru_RU.UTF-8" 2>/dev/null || true
    if [ ! -f "$locales/ru_RU.UTF-8/LC_CTYPE" ]; then
        echo "wine-env: could not build the ru_RU.UTF-8 locale in $locales" >&2
        exit 1
    fi
}

start_xvfb() {
    [ -n "${DISPLAY:-}" ] && return
    local display_number display_file
    display_file=$(mktemp)
    # -displayfd lets Xvfb take the first free display itself (no race with other servers)
    # and report its number once it accepts connections.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" \
        >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [ -s "$display_file" ]; then
            break
        fi
        if ! kill -0 "$xvfb_pid" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    display_number=$(tr -d '[:space:]' <"$display_file")
    rm -f "$display_file"
    if [ -z "$display_number" ]; then
        echo "wine-env: Xvfb did not start" >&2
        exit 1
    fi
    export DISPLAY=:$display_number
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && return
        sleep 0.1
    done
    echo "wine-env: Xvfb on $DISPLAY accepts no connections" >&2
    exit 1
}

# Waits until the prefix's programs and its server have ended. A desktop can now and then miss
# the end of the last program and stay up, which would hold the wait for ever: it is stopped
# after a while (the server saves the registry as it goes).
settle() {
    timeout 60 wineserver -w && return
    echo "wine-env: programs of $prefix still run after 60 s; stopping them" >&2
    stop_prefix_programs
}

# Makes the prefix with wineboot, which returns while its set-up still runs: the prefix is made
# when every program of it has ended. One that is not made in time is made anew, once (stopping
# the set-up half way could leave it broken).
boot_prefix() {
    local attempt
    for attempt in 1 2; do
        rm -rf "$prefix"
        mkdir -p "$prefix"
        # No Mono or Gecko: nothing here needs them, and their installers would ask.
        if WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
            timeout 120 wineboot -i >/dev/null 2>&1 && timeout 120 wineserver -w; then
            return
        fi
        echo "wine-env: the prefix $prefix was not made in time (attempt $attempt)" >&2
        stop_prefix_programs
    done
    exit 1
}

make_prefix() {
    local stamp=$prefix/.setup-prefix-ready
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$prefix_version" ]; then
        return
    fi
    echo "wine-env: creating the Wine prefix $prefix (once, about 20 s)" >&2
    wine_started=1
    boot_prefix
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$prefix/drive_c/windows/Fonts/"
    local user_dir
    for user_dir in "$prefix"/drive_c/users/*/; do
        local link
        for link in "$user_dir"*; do
            if [ -L "$link" ]; then
                rm "$link"
                mkdir "$link"
            fi
        done
    done
    # The desktop's size before the choice of desktop, so that no program here runs on it.
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
    settle
    echo "$prefix_version" >"$stamp"
}

# A server that stays up between the command's programs, with the prefix's services and its
# desktop started here rather than by the command: Wine starts them on demand from whichever
# program comes first, they inherit that program's output, and a test runner would wait for
# them to close a test's output pipe (for seconds, or for ever with a persistent server).
start_wine() {
    wine_started=1
    wineserver -p </dev/null >/dev/null 2>&1
    wine explorer.exe /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &
    desktop_pid=$!
    for _ in $(seq 100); do
        xwininfo -root -children 2>/dev/null | grep -q '"Default - Wine desktop"' && return
        sleep 0.1
    done
    echo "wine-env: the Wine desktop did not come up" >&2
    exit 1
}

make_locale
start_xvfb
mkdir -p "$(dirname "$prefix")"
# One creator at a time when two runs share the prefix.
exec 9>"$prefix.lock"
flock 9
make_prefix
if [ -n "${SETUP_DPI:-}" ]; then
    if [ -z "${SETUP_WINEPREFIX:-}" ]; then
        echo "wine-env: SETUP_DPI needs a prefix of its own (SETUP_WINEPREFIX)" >&2
        exit 2
    fi
    wine_started=1
    # Wine takes the scale from the user's desktop settings, else from the machine's fonts key.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$SETUP_DPI" /f >/dev/null
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$SETUP_DPI" /f >/dev/null
    settle
fi
flock -u 9

start_wine
"$@" &
command_pid=$!
set +e
wait "$command_pid"
status=$?
set -e
command_pid=
exit "$status"
