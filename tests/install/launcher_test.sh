#!/bin/bash
# The installed launcher, on a throwaway install of this build: it starts the
# game from any folder in the player's run folder, keeps the player's own
# levels beside the bundled ones, and meets bad surroundings (no display,
# unusable XDG_DATA_HOME, links broken by a removed install, a levels folder
# that is a file) with a message naming the path and status 1, never
# deleting anything of the player's.
#
# The game binary of the throwaway install is replaced by a stand-in that
# prints where it runs: the real game in a real window is the end-to-end
# test's business.
#
# usage: launcher_test.sh <build dir> <scratch dir>
set -u
BUILD=$1
T=$2
rm -rf "$T"
mkdir -p "$T"
T=$(cd "$T" && pwd -P)
failures=0 passed=0

check() {  # check WHAT CONDITION...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAIL: $what"
        echo "--- output ---"
        cat "$T/out"
        failures=$((failures + 1))
    fi
}
has() { grep -qF -- "$1" "$T/out"; }

# run STATUS [VAR=VALUE...]: the launcher from /, with a display unless told
# otherwise; checks its exit status and keeps what it printed in $T/out.
run() {
    local want=$1 got
    shift
    (cd / && export DISPLAY=:0 && env "$@" "$LAUNCHER") >"$T/out" 2>&1
    got=$?
    check "exit status $got, not $want (${*})" [ "$got" = "$want" ]
}
# What a folder holds: kinds, modes, link targets and file contents, to
# compare before and after a run.
inventory() { (cd "$1" && find . -printf '%y %m %p -> %l\n' | sort && find . -type f -print0 | sort -z | xargs -0 -r md5sum); }

cmake --install "$BUILD" --prefix "$T/prefix" >"$T/install.log" 2>&1 || { cat "$T/install.log"; exit 1; }
LAUNCHER=$T/prefix/bin/rampartica
GAME=$(find "$T/prefix" -type f -name rampartica -path '*/rampartica/rampartica')
printf '#!/bin/sh\necho "game running in $(pwd -P)"\n' >"$GAME"
chmod +x "$GAME"
DATA=$T/prefix/share/rampartica

# --- a fresh start from another folder ----------------------------------------
run 1 -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME="$T/xdg"
check "no display is named" has "no display: set DISPLAY or WAYLAND_DISPLAY"
check "nothing is made without a display" [ ! -e "$T/xdg" ]

run 0 XDG_DATA_HOME="$T/xdg"
RUN=$T/xdg/rampartica
check "the game runs in the run folder" has "game running in $RUN"
check "the player is told where levels go" has "your own levels go in $RUN/levels"
for entry in img letters.bmp letters_black.bmp levels/Meadow levels/Canyon; do
    check "$entry links to the installed data" [ "$(readlink "$RUN/$entry")" = "$DATA/$entry" ]
done
run 0 -u XDG_DATA_HOME HOME="$T/home"
check "without XDG_DATA_HOME the run folder is in ~/.local/share" has "game running in $T/home/.local/share/rampartica"
run 0 XDG_DATA_HOME=relative/path HOME="$T/home"
check "a relative XDG_DATA_HOME is named and not used" \
    eval 'has "XDG_DATA_HOME is not an absolute path (relative/path)" && has "game running in $T/home/.local/share/rampartica"'
ln -s "$LAUNCHER" "$T/elsewhere-link"
(cd / && env DISPLAY=:0 XDG_DATA_HOME="$T/xdg" "$T/elsewhere-link") >"$T/out" 2>&1
check "started through a link, the launcher still finds the game" has "game running in $RUN"

# --- the player's own levels ------------------------------------------------
mkdir -p "$RUN/levels/Mine" "$T/mylevels/Far"
echo "Name=Mine" >"$RUN/levels/Mine/level.txt"
rm "$RUN/levels/Meadow" && mkdir "$RUN/levels/Meadow" && echo "Name=my Meadow" >"$RUN/levels/Meadow/level.txt"
ln -s "$T/mylevels/Far" "$RUN/levels/Far"
ln -s "$T/nowhere" "$RUN/levels/Gone"
inventory "$RUN" >"$T/before"
run 0 XDG_DATA_HOME="$T/xdg"
inventory "$RUN" >"$T/after"
check "own levels, an own Meadow and own links stay as they are" cmp -s "$T/before" "$T/after"
check "an own link to nowhere is named" has "$RUN/levels/Gone is a link to $T/nowhere, which does not exist"

# --- the install moved away: its links are broken -----------------------------
mv "$T/prefix" "$T/moved"
LAUNCHER=$T/moved/bin/rampartica
run 0 XDG_DATA_HOME="$T/xdg"
check "a broken link of the launcher's is named" \
    has "$RUN/img pointed at $DATA/img, which is gone: it now points at $T/moved/share/rampartica/img"
check "it points at the install that runs" [ "$(readlink "$RUN/levels/Canyon")" = "$T/moved/share/rampartica/levels/Canyon" ]
check "the player's own levels are still there" eval '[ -f "$RUN/levels/Mine/level.txt" ] && [ -f "$RUN/levels/Meadow/level.txt" ]'

# --- bad surroundings: a message naming the path, status 1, nothing lost ------
touch "$T/afile"
mkdir -p "$T/locked"
chmod 555 "$T/locked"
# Root writes anywhere; /proc takes no new folders from anyone.
unwritable=$T/locked
[ "$(id -u)" = 0 ] && unwritable=/proc
declare -A BAD=(
    ["$T/afile/sub"]="cannot make $T/afile/sub (XDG_DATA_HOME): Not a directory"
    ["$T/afile"]="$T/afile (XDG_DATA_HOME) is not a folder"
    ["$unwritable"]="cannot make $unwritable/rampartica (the game's folder)"
)
for xdg in "${!BAD[@]}"; do
    run 1 XDG_DATA_HOME="$xdg"
    check "XDG_DATA_HOME=$xdg is named" has "${BAD[$xdg]}"
done
chmod 755 "$T/locked"

# Each case breaks the run folder in one way; the launcher names the path and
# leaves the folder exactly as it found it.
bad_run_folder() {  # bad_run_folder MESSAGE SETUP (run in $T/case/rampartica)
    rm -rf "$T/case"
    mkdir -p "$T/case/rampartica/levels/Mine"
    echo "Name=Mine" >"$T/case/rampartica/levels/Mine/level.txt"
    (cd "$T/case/rampartica" && eval "$2")
    inventory "$T/case" >"$T/before"
    run 1 XDG_DATA_HOME="$T/case"
    inventory "$T/case" >"$T/after"
    check "$2: names the path" has "$1"
    check "$2: changes nothing" cmp -s "$T/before" "$T/after"
}
CASE=$T/case/rampartica
bad_run_folder "$CASE/levels (the levels folder) is not a folder" 'mv levels levels.old && echo "my notes" >levels'
bad_run_folder "$CASE/img is not a folder" 'echo "mine" >img'
bad_run_folder "$CASE/letters.bmp is a link to $T/mine.bmp, which does not exist" 'ln -s "$T/mine.bmp" letters.bmp'
bad_run_folder "$CASE (the game's folder) is a link to $T/elsewhere, which is not a folder" \
    'cd .. && mv rampartica kept && ln -s "$T/elsewhere" rampartica'

# --- the package removed: the launcher left behind ----------------------------
rm -rf "$T/moved/share/rampartica"
inventory "$RUN" >"$T/before"
run 1 XDG_DATA_HOME="$T/xdg"
inventory "$RUN" >"$T/after"
check "missing data is named" has "the game is not installed completely: $T/moved/share/rampartica/img is missing"
check "the run folder is left alone" cmp -s "$T/before" "$T/after"

echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
