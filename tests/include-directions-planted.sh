#!/usr/bin/env bash
# Shows that tests/include-directions.sh catches what it is for: a tree with the real folder
# table and one planted wrong-way include (a record page reaching into the multiple pages,
# one through a relative path) must fail, naming the file; the same tree without it must pass.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="${1:-$(cd "$here/.." && pwd)}"
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
mkdir -p "$t/docs" "$t/pages/record" "$t/pages/multiple" "$t/pages/common"
cp "$root/docs/DEVELOPING.md" "$t/docs/"
echo '#include "pages/common/ResultPage.h"' > "$t/pages/record/Page.cpp"
touch "$t/pages/multiple/Aggregation.h" "$t/pages/common/ResultPage.h"
bash "$here/include-directions.sh" "$t" >/dev/null || { echo "FAIL: a clean tree was refused"; exit 1; }

echo '#include "pages/multiple/Aggregation.h"' >> "$t/pages/record/Page.cpp"
echo '#include "../multiple/Aggregation.h"' > "$t/pages/record/Other.h"
if out=$(bash "$here/include-directions.sh" "$t"); then
    echo "FAIL: planted wrong-way includes passed"; exit 1
fi
for f in pages/record/Page.cpp pages/record/Other.h; do
    grep -q "^$f: " <<<"$out" || { echo "FAIL: $f not named in: $out"; exit 1; }
done
echo "include-directions-planted: both planted includes named"
