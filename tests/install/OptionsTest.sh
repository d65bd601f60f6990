#!/usr/bin/env bash
# A manual page names the same options as a program's --help, or as another file (the bash
# completion): an option added to one and not the other is caught here.
# Usage: OptionsTest.sh PAGE PROGRAM|FILE.
set -euo pipefail
page=${1:?manual page} source=${2:?program or file}

# Long options as written in text; in roff source a hyphen is "\-".
options() { sed 's/\\-/-/g' | grep -oE -- '--[a-z][a-z-]*' | sort -u; }

if [ -x "$source" ]; then
  listed=$("$source" --help | options)
  name="$(basename "$source") --help"
else
  listed=$(options <"$source")
  name=$(basename "$source")
fi
documented=$(options <"$page")
missing=$(comm -23 <(echo "$listed") <(echo "$documented"))
extra=$(comm -13 <(echo "$listed") <(echo "$documented"))
[ -z "$missing" ] || echo "FAIL: $(basename "$page") lacks what $name lists:" $missing >&2
[ -z "$extra" ] || echo "FAIL: $name lacks what $(basename "$page") documents:" $extra >&2
[ -z "$missing$extra" ] && echo "$(basename "$page") and $name name the same options:" $listed
