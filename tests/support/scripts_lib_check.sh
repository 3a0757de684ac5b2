#!/bin/bash
# scripts/lib.sh as a person meets it by hand: sourced into an interactive
# shell, it refuses and leaves the shell's options alone (its own would close
# the shell at the next failing command); and a Wine session already up in
# the prefix is reported with every way it comes about and how to end it;
# and scripts/run's example drives are watched from the first start only, so
# an untick lasts; and the locale Wine gets. Stand-ins first on the PATH play the running session
# ("wineserver") and the prefix's registry ("wine reg", keys as folders).
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

cat >"$stand_in/wine" <<'END'
#!/bin/sh
[ "$1" = reg ] || exit 1
key="$STAND_IN_REGISTRY/$(printf '%s' "$3" | tr '\\' '/')"
case "$2" in
query) [ -d "$key" ] ;;
add) mkdir -p "$key" ;;
*) exit 1 ;;
esac
END
chmod +x "$stand_in/wine"
start_as_run_does() {
    PATH="$stand_in:$PATH" STAND_IN_REGISTRY="$stand_in/registry" VEXMORA_BUILD="$stand_in/build" bash -c \
        "source '$root/scripts/lib.sh'; watch_drives_on_first_start '$root/examples/drives.ini'"
}
settings="$stand_in/registry/HKCU/SOFTWARE/Larpok corporation/Vexmora/Mon"
start_as_run_does
for model in ST3500418AS "WDC WD10EADS-00L5B1" "FUJITSU MHV2080AH" IC35L120AVV207-0; do
    [ -d "$settings/$model" ] || fail "the first start left $model unwatched"
done
# Unticked and applied: the program deletes the drive's key.
rmdir "$settings/WDC WD10EADS-00L5B1"
start_as_run_does
start_as_run_does
[ ! -d "$settings/WDC WD10EADS-00L5B1" ] || fail "a later start watched the unticked drive again"
# The locale Wine names Unix files in: none is C.UTF-8, an installed one is
# left alone, a missing one is generated, an unknown one is said to be so.
# Stand-ins play "locale -a" (LOCALES), the package check and locale-gen.
printf '#!/bin/sh\nprintf "%%s\\n" $STAND_IN_LOCALES\n' >"$stand_in/locale"
printf '#!/bin/sh\necho "install ok installed"\n' >"$stand_in/dpkg-query"
printf '#!/bin/sh\necho run >>"$STAND_IN_GENERATED"\n' >"$stand_in/locale-gen"
chmod +x "$stand_in/locale" "$stand_in/dpkg-query" "$stand_in/locale-gen"
printf 'C.UTF-8 UTF-8\nja_JP.UTF-8 UTF-8\nja_JP.EUC-JP EUC-JP\nzh_CN.UTF-8 UTF-8\n' >"$stand_in/SUPPORTED"
locale_for() {
    : >"$stand_in/locale.gen"
    : >"$stand_in/generated"
    env -u LC_ALL -u LC_CTYPE -u LANG "$@" PATH="$stand_in:$PATH" STAND_IN_LOCALES="C.utf8 POSIX ja_JP.utf8" \
        STAND_IN_GENERATED="$stand_in/generated" VEXMORA_LOCALE_GEN="$stand_in/locale.gen" \
        VEXMORA_SUPPORTED_LOCALES="$stand_in/SUPPORTED" VEXMORA_BUILD="$stand_in/build" \
        bash -c "source '$root/scripts/lib.sh'; ensure_locale; echo \"LC_ALL=\${LC_ALL:-}\"" 2>&1
}
[ "$(locale_for)" = "LC_ALL=C.UTF-8" ] || fail "no locale was not taken as C.UTF-8: $(locale_for)"
[ "$(locale_for LC_ALL=C)" = "LC_ALL=C.UTF-8" ] || fail "C was not taken as C.UTF-8"
[ "$(locale_for LANG=ja_JP.UTF-8)" = "LC_ALL=" ] && [ ! -s "$stand_in/generated" ] ||
    fail "an installed locale was generated again"
locale_for LANG=zh_CN.UTF-8 >/dev/null
[ "$(cat "$stand_in/locale.gen")" = "zh_CN.UTF-8 UTF-8" ] && [ "$(cat "$stand_in/generated")" = run ] ||
    fail "a missing locale was not generated: $(cat "$stand_in/locale.gen")"
message="$(locale_for LC_ALL=xx_YY.UTF-8)"
grep -q "The locale xx_YY.UTF-8 is unknown" <<<"$message" && [ ! -s "$stand_in/generated" ] ||
    fail "an unknown locale was not reported: $message"
exit "$failed"
