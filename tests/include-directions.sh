#!/usr/bin/env bash
# Checks that every #include of the product's folders runs the way the folder table of
# docs/DEVELOPING.md allows: a folder includes only from the folders it names in "May include".
# Reads the sources only, so a wrong-way include fails here even though the build, whose
# libraries all export the source root, would accept it.
# Usage: tests/include-directions.sh [ROOT]   (ROOT: a checkout; default the one this script is in)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
doc="$root/docs/DEVELOPING.md"
[ -f "$doc" ] || { echo "include-directions: no $doc" >&2; exit 2; }

# The table's rows in order: folder name, then what it may include.
folders=()
declare -A allowed=()
while IFS= read -r line; do
    folder=$(sed -E 's/^\| `([^`]+)\/?` \|.*/\1/' <<<"$line")
    folder=${folder%/}
    may=$(awk -F'|' '{print $(NF-1)}' <<<"$line" | sed -E 's/\([^)]*\)//g')
    list=" "
    case "$may" in
        *anything*|*"libraries they time"*) list="*" ;;
        *"everything above"*) list=" ${folders[*]} " ;;
        *) for w in $(tr ',' ' ' <<<"$may"); do
               w=${w%/}
               [[ "$w" =~ ^[a-z/]+$ && "$w" != only ]] && list+="$w "
           done ;;
    esac
    folders+=("$folder")
    allowed[$folder]="$list"
done < <(grep -E '^\| `[a-z/]+/?` \|' "$doc")

if [ -n "${INCLUDE_DIRECTIONS_DEBUG:-}" ]; then
    for f in "${folders[@]}"; do echo "$f:${allowed[$f]}"; done
fi
[ ${#folders[@]} -gt 0 ] || { echo "include-directions: no folder table in $doc" >&2; exit 2; }

# The table folder a path (relative to root) lies in, in REPLY: the longest folder that
# prefixes it. No subshells: the check runs once per include.
folder_of() {
    local p="$1" f
    REPLY=""
    for f in "${folders[@]}"; do
        if [[ "$p" == "$f/"* && ${#f} -gt ${#REPLY} ]]; then REPLY="$f"; fi
    done
}

bad=0
checked=0
# One grep over the tree: "path:include" per line.
while IFS= read -r line; do
    rel=${line%%:*}
    inc=${line#*:}
    inc=${inc#*\"}
    inc=${inc%%\"*}
    folder_of "$rel"
    own=$REPLY
    [ -z "$own" ] && continue
    [ "${allowed[$own]}" = "*" ] && continue
    checked=$((checked + 1))
    dir=${rel%/*}
    # Resolve as the compiler does: beside the including file first, then from the root.
    if [ -e "$root/$dir/$inc" ]; then target="$dir/$inc"; else target="$inc"; fi
    if [[ "$target" == *../* ]]; then
        target=$(realpath -m --relative-to="$root" "$root/$target")
    fi
    folder_of "$target"
    tf=$REPLY
    [ -z "$tf" ] && continue                 # Qt, SQLite, the standard library, generated files
    [ "$tf" = "$own" ] && continue
    if [[ "${allowed[$own]}" != *" $tf "* ]]; then
        echo "$rel: #include \"$inc\" reaches $tf/, which $own/ may not include"
        bad=$((bad + 1))
    fi
done < <(cd "$root" && for f in "${folders[@]}"; do [ -d "$f" ] && printf '%s\0' "$f"; done |
         xargs -0 grep -rHE --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
         sed -E 's/^([^:]+):[^"]*"([^"]+)".*/\1:"\2"/' | sort -u)

if [ "$bad" -gt 0 ]; then
    echo "include-directions: $bad wrong-way include(s)"
    exit 1
fi
echo "include-directions: $checked includes checked, none runs the wrong way"
