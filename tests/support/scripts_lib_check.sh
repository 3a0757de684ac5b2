#!/bin/bash
# scripts/lib.sh as a person meets it by hand: sourced into an interactive
# shell, it refuses and leaves the shell's options alone (its own would close
# the shell at the next failing command); and a Wine session already up in
# the prefix is reported with every way it comes about and how to end it. A
# stand-in "wineserver" first on the PATH plays the running session.
# Usage: scripts_lib_check.sh SOURCE_DIR
set -u
root="$1"
failed=0
fail() {
    echo "$*" >&2
    failed=1
}

options="$(bash --norc --noprofile -i -c "source '$root/scripts/lib.sh'; set +o | grep -E 'errexit|nounset|pipefail'" 2>/dev/null)"
for option in errexit nounset pipefail; do
    grep -q -- "+o $option" <<<"$options" || fail "sourcing scripts/lib.sh by hand left $option set"
done

stand_in="$(mktemp -d)"
trap 'rm -rf "$stand_in"' EXIT
printf '#!/bin/sh\nexit 1\n' >"$stand_in/wineserver"
chmod +x "$stand_in/wineserver"
message="$(PATH="$stand_in:$PATH" VEXMORA_BUILD="$stand_in/build" bash -c \
    "source '$root/scripts/lib.sh'; use_test_prefix; start_wine_session || echo \"returned \$?\"" 2>&1)"
for words in "returned 2" "another scripts/test" "ctest run by hand" "wineserver -k"; do
    grep -q -- "$words" <<<"$message" || fail "the busy session's report lacks \"$words\": $message"
done
exit "$failed"
