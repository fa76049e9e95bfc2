#!/bin/bash
# The manual pages render without a groff warning, name the packaged version,
# and amostra(1) lists each of the seventeen menu codes once.
#   manual_pages.sh SOURCE_DIR
set -u
src=$1
if ! command -v groff >/dev/null; then
  echo "SKIPPED: groff not found; the manual pages are not checked"
  exit 77
fi
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION \(.*\))$/\1/p' "$src/cmake/Packaging.cmake")
status=0
fail() { echo "FAIL: $*"; status=1; }
for page in "$src"/doc/*.1; do
  name=$(basename "$page")
  warnings=$(LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z "$page" 2>&1)
  [ -z "$warnings" ] || fail "$name: groff warns: $warnings"
  grep -q "^\.TH [A-Z0-9-]* 1 \"[^\"]*\" \"amostra $version\"" "$page" ||
    fail "$name: its heading does not name amostra $version"
  head -1 "$page" | grep -q "coding: UTF-8" || fail "$name: no coding line for its accented text"
done
codes=$(awk '/^\.SH APLICATIVOS/{on=1; next} /^\.SH/{on=0} on && /^\.B [0-9]+$/{print $2}' "$src/doc/amostra.1" | tr '\n' ' ')
[ "$codes" = "$(seq -s ' ' 1 17) " ] || fail "amostra.1 lists the codes '$codes', not 1 to 17"
[ $status -eq 0 ] && echo "manual pages: $(ls "$src"/doc/*.1 | wc -l) pages checked"
exit $status
