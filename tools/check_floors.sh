#!/usr/bin/env bash
# Keeps the floors of src/ in order. From the bottom up: gfx/ and platform/,
# then game/, view/ and app/. A file includes only its own floor or those
# below; platform/ includes nothing of ours but platform/; includes are
# written from src/; and only platform/ knows which machine it is built for,
# so no other file has a preprocessor conditional.
#
# usage: tools/check_floors.sh [source dir]   (default: the one holding tools/)
# Prints one line per broken rule, naming the file, and fails if there is any.
set -u
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$top/src" || exit 2

files=$(find . -type f \( -name '*.cpp' -o -name '*.h' \) | sed 's#^\./##' | sort)
# First the list of files, then every line of them as file:number:text.
awk '
function floor(d) {
    if (d == "gfx" || d == "platform") return 0
    if (d == "game") return 1
    if (d == "view") return 2
    if (d == "app") return 3
    return -1
}
function complain(where, why) { print "src/" where ": " why; broken = 1 }
FNR == NR { exists[$0] = 1; next }
{
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2)
    no = rest; sub(/:.*/, "", no)
    text = substr(rest, length(no) + 2)
    dir = file; sub(/\/.*/, "", dir)
    own = floor(dir)
    if (!(file in seen)) {
        seen[file] = 1
        if (own < 0) complain(file, "lies outside the floors gfx/, platform/, game/, view/ and app/")
    }
    if (own < 0) next
    if (text ~ /^[ \t]*#[ \t]*(if|ifdef|ifndef|elif)([ \t(!]|$)/ && dir != "platform")
        complain(file ":" no, "has a preprocessor conditional: only platform/ differs between machines, chosen by the build")
    if (text !~ /^[ \t]*#[ \t]*include[ \t]*"/) next
    inc = text; sub(/^[^"]*"/, "", inc); sub(/".*/, "", inc)
    to = inc; sub(/\/.*/, "", to)
    target = floor(to)
    if (to == inc || target < 0 || !(inc in exists))
        complain(file ":" no, "includes \"" inc "\": write includes from src/, as <floor>/<file>")
    else if (dir == "platform" && to != "platform")
        complain(file ":" no, "includes \"" inc "\": platform/ includes nothing of ours but platform/")
    else if (to == "app" && dir != "app")
        complain(file ":" no, "includes \"" inc "\": no file outside app/ includes app/")
    else if (to == "view" && (dir == "game" || dir == "gfx"))
        complain(file ":" no, "includes \"" inc "\": game/ and gfx/ include nothing from view/")
    else if (target > own)
        complain(file ":" no, "includes \"" inc "\": a floor includes only itself and the floors below (gfx/ and platform/, then game/, view/, app/)")
}
END {
    if (!broken) print "floors: every include in src/ keeps its floor"
    exit broken
}' <(echo "$files") <(echo "$files" | xargs grep -nH '' /dev/null)
