#!/bin/sh
# build/wine-run keeps the build tree's test prefix whatever WINEPREFIX the
# caller exports. A stand-in "wine" first on the PATH says which prefix it
# was given; no Wine runs.
# Usage: wine_run_prefix_check.sh WINE_RUN TEST_PREFIX
set -eu
stand_in="$(mktemp -d)"
trap 'rm -rf "$stand_in"' EXIT
printf '#!/bin/sh\nprintf "%%s\\n" "$WINEPREFIX"\n' >"$stand_in/wine"
chmod +x "$stand_in/wine"
for exported in "$HOME/.wine" "$(dirname "$2")/wineprefix"; do
    given="$(WINEPREFIX="$exported" PATH="$stand_in:$PATH" "$1" program.exe)"
    if [ "$given" != "$2" ]; then
        echo "with WINEPREFIX=$exported exported, $1 ran in $given instead of $2" >&2
        exit 1
    fi
done
given="$(env -u WINEPREFIX PATH="$stand_in:$PATH" "$1" program.exe)"
[ "$given" = "$2" ] || { echo "$1 ran in $given instead of $2" >&2; exit 1; }
