#!/bin/bash
# Plays the real game in a real X window (Xvfb), with keys sent by xdotool,
# and checks what a player sees and what the game prints:
#   the menu lists the bundled levels and its highlight follows Down;
#   Y slides the help picture in and any key brings the menu back;
#   B on a level loads it: the sidebar stands at the right edge;
#   a turret is bought and placed on the map, and the money shown changes;
#   Y starts a wave and monsters with their health bars walk in;
#   START + SELECT (Esc + Backspace) leave the game for the menu;
#   closing the window ends the process through the exit handler, status 0.
#
# usage: play_test.sh <rampartica binary> <run dir> <out dir>
#        play_test.sh --launcher <installed launcher> <data home> <out dir>
# The second form plays an installed game the way a player starts it: the
# launcher, run from a folder of its own with XDG_DATA_HOME=<data home> (so
# the run dir is <data home>/rampartica), on the SDL the launcher picks: with
# sdl12-compat the window is three times the size, and every screenshot is
# sampled back down to the game's 320x240.
# The screenshots stay in <out dir>; with RAMPARTICA_SCREENSHOTS=<dir> the
# menu, help and game pictures are also copied there (twice the size) for
# the README.
set -u

LAUNCHER=
if [ "$1" = --launcher ]; then
    shift
    LAUNCHER=$(realpath "$1")
    mkdir -p "$2"
    BIN=$LAUNCHER
    RUN=$(realpath "$2")/rampartica
else
    BIN=$(realpath "$1")
    RUN=$(realpath "$2")
fi
mkdir -p "$3"
OUT=$(realpath "$3")
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/picture.sh"

START_TIME=$SECONDS
XVFB_PID=
GAME_PID=
STEP="starting"

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

fail() {
    echo "FAIL ($STEP): $*"
    echo "--- game stdout (tail) ---"
    tail -n 20 "$OUT/stdout.txt" 2>/dev/null
    echo "--- game stderr ---"
    cat "$OUT/stderr.txt" 2>/dev/null
    echo "screenshots in $OUT"
    echo "0 passed, 1 failed"
    exit 1
}

step() {
    STEP=$1
    echo "[$((SECONDS - START_TIME))s] $1"
}

# --- the pieces -----------------------------------------------------------

for tool in Xvfb xdotool import convert compare identify; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (./test installs it)"
done

step "building the window-close helper"
${CXX:-c++} -std=c++17 -O1 -o "$OUT/wm_delete" "$HERE/wm_delete.cpp" -lX11 2>"$OUT/wm_delete.log" \
    || fail "cannot build wm_delete: $(cat "$OUT/wm_delete.log")"

step "starting Xvfb"
# Xvfb picks a free display itself and writes its number once it is ready.
: >"$OUT/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$OUT/display" >"$OUT/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 1 200); do
    [ -s "$OUT/display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(cat "$OUT/xvfb.log")"
    sleep 0.1
done
[ -s "$OUT/display" ] || fail "Xvfb named no display"
export DISPLAY=":$(tr -d '[:space:]' <"$OUT/display")"
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "display $DISPLAY does not answer"
# The pointer stays off the window, even a 3x one: a motion over the menu
# would move its highlight.
xdotool mousemove 1020 760

step "starting the game"
rm -f "$OUT"/*.png
start_game() {
    if [ -n "$LAUNCHER" ]; then
        (
            mkdir -p "$OUT/elsewhere" && cd "$OUT/elsewhere" || exit 99
            # The launcher's own choice of SDL and window size, as a player gets it.
            exec env -u SDL_VIDEODRIVER -u LD_LIBRARY_PATH -u SDL12COMPAT_WINDOW_SCALING \
                -u SDL12COMPAT_SCALE_METHOD XDG_DATA_HOME="${RUN%/rampartica}" SDL_AUDIODRIVER=dummy "$LAUNCHER"
        ) >"$OUT/stdout.txt" 2>"$OUT/stderr.txt" &
        GAME_PID=$!
        return
    fi
    (
        cd "$RUN" || exit 99
        # The SDL the caller's library path gives (classic SDL 1.2 by default,
        # sdl12-compat in ./test's second run), always in a 320x240 window.
        exec env -u SDL12COMPAT_WINDOW_SCALING -u SDL12COMPAT_SCALE_METHOD \
            SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$BIN"
    ) >"$OUT/stdout.txt" 2>"$OUT/stderr.txt" &
    GAME_PID=$!
}

# A freshly started X server under a heavily loaded machine has been seen to
# refuse the very first client now and then, which SDL reports only as a
# failed start (status 1, nothing printed). That one case is tried once more;
# anything else the game does before its window appears fails the test.
WID=
for attempt in 1 2; do
    start_game
    for _ in $(seq 1 150); do
        WID=$(xdotool search --name '^Rampartica$' 2>/dev/null | head -n 1)
        [ -n "$WID" ] && break
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            wait "$GAME_PID"
            status=$?
            if [ "$attempt" = 1 ] && [ "$status" = 1 ] && [ ! -s "$OUT/stderr.txt" ]; then
                echo "the game could not open the display (status 1); starting it once more"
                continue 2
            fi
            fail "the game ended with status $status before its window appeared"
        fi
        sleep 0.1
    done
    break
done
[ -n "$WID" ] || fail "no window named Rampartica"
SDL_LIB=$(grep -m 1 -o '/[^ ]*libSDL-1\.2[^ ]*' "/proc/$GAME_PID/maps" 2>/dev/null)
echo "playing on $SDL_LIB"
timeout 5 xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
# The launcher scales the window three times on sdl12-compat; the game
# started directly always gets 320x240.
SCALE=1
[ -n "$LAUNCHER" ] && [[ "$SDL_LIB" == */sdl12-compat/* ]] && SCALE=3
GEOMETRY=$(xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: //p')
[ "$GEOMETRY" = "$((320 * SCALE))x$((240 * SCALE))" ] || fail "window is $GEOMETRY, not $((320 * SCALE))x$((240 * SCALE))"

# --- waiting by looking ----------------------------------------------------

SHOT="$OUT/current.png"
shot() {
    import -window "$WID" "$SHOT" 2>/dev/null || return 1
    [ "$SCALE" = 1 ] || convert "$SHOT" -sample 320x240 "$SHOT"
}
keep() { cp "$SHOT" "$OUT/$1.png"; }
# Keys go to the focused window through XTEST, as a real keyboard's would.
press() { xdotool key --delay 60 "$@"; }

# wait_until SECONDS CHECK...: takes screenshots until CHECK (a command that
# reads $SHOT) succeeds.
wait_until() {
    local limit=$((SECONDS + $1))
    shift
    while [ $SECONDS -le $limit ]; do
        [ $((SECONDS - START_TIME)) -le 90 ] || fail "the whole run took over 90 s"
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended unexpectedly"
        if shot && "$@"; then return 0; fi
        sleep 0.15
    done
    return 1
}

# The menu's levels in the order the game lists them: unsorted, as the
# directory gives them.
mapfile -t LEVELS < <(ls -U -A "$RUN/levels")
[ "${#LEVELS[@]}" -ge 1 ] || fail "no levels in $RUN/levels"

# The red highlight on row ROW for its name: the bar reaches 10 pixels left
# of the text and 9 right of its shadow, rows 120 + 14*ROW to 12 lower.
bar_on_row() {
    local row=$1 n=${#LEVELS[$1]}
    local top=$((120 + 14 * row)) left=$((160 - 3 * n - 10)) right=$((161 + 3 * n))
    all_colour "$SHOT" "10x12+$left+$top" "#FF0000" && all_colour "$SHOT" "9x12+$right+$top" "#FF0000"
}
# Every listed name shows white glyph pixels around the middle of its row.
rows_listed() {
    local i top
    for ((i = 0; i < ${#LEVELS[@]} && i < 9; i++)); do
        top=$((120 + 14 * i))
        [ "$(count_colour "$SHOT" "120x12+100+$top" "#FFFFFF")" -gt 0 ] || return 1
    done
}
same_as() { [ "$(differing "$SHOT" "$1" "$2")" -le "${3:-0}" ]; }

# --- the menu --------------------------------------------------------------

step "menu: levels listed, first one highlighted"
wait_until 15 bar_on_row 0 || fail "no red highlight on the first row"
rows_listed || fail "not every level (${LEVELS[*]}) is listed"
keep menu
if [ "${#LEVELS[@]}" -ge 2 ]; then
    press Down
    wait_until 5 bar_on_row 1 || fail "Down did not move the highlight to row 1"
    press Up
    wait_until 5 bar_on_row 0 || fail "Up did not move the highlight back"
fi

step "help screen slides in"
press y
wait_until 10 same_as "$RUN/img/help.bmp" 320x240+0+0 200 || fail "the help picture did not show"
keep help
press x
wait_until 10 bar_on_row 0 || fail "a key on the help screen did not bring the menu back"

# --- a game ----------------------------------------------------------------

# A level whose map fills the map area and whose top-left cell is buildable:
# the cursor starts on that cell, so a turret can be placed without moving.
fits() {
    awk '
        /^Tile/ && !/^TileSet/ {
            c = substr($0, 5, 1); split(substr($0, index($0, "=") + 1), v, ",")
            if (!(c in b)) b[c] = (v[3] + 0 != 0)
        }
        /^LevelWidth/ { w = substr($0, index($0, "=") + 1) + 0 }
        /^LevelHeight/ { h = substr($0, index($0, "=") + 1) + 0 }
        /^Row/ && !seen { first = substr($0, index($0, "=") + 1, 1); seen = 1 }
        END { exit !(w * 16 >= 240 && h * 16 >= 240 && (first in b) && b[first]) }
    ' "$1"
}
CHOSEN=-1
for i in "${!LEVELS[@]}"; do
    if [ "$i" -lt 9 ] && [ -f "$RUN/levels/${LEVELS[$i]}/level.txt" ] && fits "$RUN/levels/${LEVELS[$i]}/level.txt"; then
        CHOSEN=$i
        break
    fi
done
[ "$CHOSEN" -ge 0 ] || fail "no bundled level fills the map area with a buildable top-left cell"
step "choosing ${LEVELS[$CHOSEN]} (row $CHOSEN)"
for ((i = 0; i < CHOSEN; i++)); do press Down; done
wait_until 5 bar_on_row "$CHOSEN" || fail "could not highlight row $CHOSEN"
press b

# The sidebar picture is blitted whole at x = 240, with only the counters and
# icons drawn over it: most of its pixels show as they are in the file.
sidebar_shown() { [ "$(differing "$SHOT" "$RUN/img/sidebar.bmp" 80x240+240+0)" -lt 9600 ]; }
wait_until 20 sidebar_shown || fail "the game screen with its sidebar did not appear"
sleep 0.5
shot
keep game-start
grep -q '^debuggiversio!!!$' "$OUT/stdout.txt" || fail "no debuggiversio!!! line at the game start"
grep -q '^Level successfully loaded!$' "$OUT/stdout.txt" || fail "the level did not load"

step "buying and placing a turret on the top-left cell"
# Volume up (PageUp) takes up turret type 0 (or the one most like it), B
# places it under the cursor, X drops what is still selected.
press Prior
sleep 0.3
press b
sleep 0.3
press x
# The money counter (text at 274,26) changes, and the top-left cell shows the
# turret. The cursor covers the cell's top-left quarter, so only the rest of
# the cell is compared.
money_changed() { [ "$(differing "$SHOT" "$OUT/game-start.png" 40x12+274+26)" -gt 0 ]; }
wait_until 5 money_changed || fail "the money shown did not change: nothing was bought"
sleep 0.3
shot
keep turret
changed=$(( $(differing "$SHOT" "$OUT/game-start.png" 8x16+8+0) + $(differing "$SHOT" "$OUT/game-start.png" 8x8+0+8) ))
[ "$changed" -ge 8 ] || fail "no turret on the top-left cell ($changed pixels changed)"

step "starting a wave: monsters with health bars walk in"
# Health bars are pure green (0,255,0), 14 pixels by 2 at full health; one
# monster counts once half a bar more than before is green.
BASE_GREEN=$(count_colour "$SHOT" 240x240+0+0 "#00FF00")
monsters_in() { [ "$(count_colour "$SHOT" 240x240+0+0 "#00FF00")" -ge $((BASE_GREEN + 14 * $1)) ]; }
press y
wait_until 15 monsters_in 1 || fail "no monster health bar appeared on the map"
wait_until 8 monsters_in 3 || true  # a fuller picture for the README, if it comes
keep wave

step "START + SELECT leave the game"
xdotool keydown Escape BackSpace
sleep 0.3
xdotool keyup BackSpace Escape
wait_until 10 bar_on_row 0 || fail "START + SELECT did not bring the menu back"
keep menu-again

step "closing the window"
"$OUT/wm_delete" "$WID" || fail "could not send the close request"
for _ in $(seq 1 100); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end when its window was closed"
wait "$GAME_PID"
STATUS=$?
GAME_PID=
[ "$STATUS" -eq 0 ] || fail "exit status $STATUS, not 0"
tail_lines=$(grep -E '^(Closing game|Freeing surfaces|Returning to menu|Bye)$' "$OUT/stdout.txt" | tr '\n' '|')
[ "$tail_lines" = "Closing game|Freeing surfaces|Returning to menu|Bye|" ] \
    || fail "exit handler lines were: $tail_lines"

if [ -n "${RAMPARTICA_SCREENSHOTS:-}" ]; then
    mkdir -p "$RAMPARTICA_SCREENSHOTS"
    for name in menu help wave; do
        convert "$OUT/$name.png" -filter point -resize 200% "$RAMPARTICA_SCREENSHOTS/screenshot-$name.png"
    done
    echo "screenshots copied to $RAMPARTICA_SCREENSHOTS"
fi

step "done"
echo "1 passed, 0 failed"
