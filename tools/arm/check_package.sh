#!/usr/bin/env bash
# check_package.sh <zip> <reference-run-dir>
#
# Checks the SD-card package of the console build: one folder, rampartica/,
# holding exactly the game (a 32-bit ARM executable), its launcher, the text
# for the card, and the files the game reads, each identical to the one in
# the reference run directory of a native build (so the pictures the art tool
# drew under the emulator are the ones it draws natively).
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 <zip> <reference-run-dir>" >&2; exit 2; }
zip=$(realpath "$1") ref=$(realpath "$2")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" -d "$tmp"
fail() { echo "$zip: $*" >&2; exit 1; }

[ "$(ls -A "$tmp")" = rampartica ] || fail "holds more than the folder rampartica/: $(ls -A "$tmp" | tr '\n' ' ')"
cd "$tmp/rampartica"
data=$(cd "$ref" && find img letters.bmp letters_black.bmp levels -type f | sort)
[ -n "$data" ] || fail "the reference $ref holds no game data"
want=$( { printf '%s\n' README.txt rampartica rampartica.gpe; echo "$data"; } | sort)
have=$(find . -type f | sed 's|^\./||' | sort)
[ "$have" = "$want" ] || fail "$(diff <(echo "$want") <(echo "$have") | sed -n 's/^</missing:/p; s/^>/unexpected:/p' | tr '\n' ' ')"
while IFS= read -r f; do cmp -s "$f" "$ref/$f" || fail "$f differs from $ref/$f"; done <<< "$data"

kind=$(file -b rampartica)
case $kind in "ELF 32-bit LSB executable, ARM"*) ;; *) fail "the game is not a 32-bit ARM executable: $kind" ;; esac
[ -x rampartica ] && [ -x rampartica.gpe ] || fail "the game or its launcher is not executable"
echo "package: $(echo "$have" | wc -l) files in rampartica/; the game is $(echo "$kind" | cut -d, -f1-3)"
