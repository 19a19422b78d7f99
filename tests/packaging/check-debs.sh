#!/usr/bin/env bash
# Builds the Debian packages from a configured and built tree, checks their contents and
# dependencies, runs lintian, and smoke-checks the programs unpacked into a temporary root.
# The packages are never installed on this machine.
#   tests/packaging/check-debs.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$work/debs" >"$work/cpack.log" ||
    { cat "$work/cpack.log" >&2; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
soversion=${version%%.*}

# Package name, then one extended regular expression per file it must hold (dpkg-deb -c lines).
expect() {
    local package="$1" files listing pattern
    shift
    files=("$work/debs/${package}_${version}_"*.deb)
    [ -f "${files[0]}" ] || { fail "no package $package"; return 0; }
    listing=$(dpkg-deb -c "${files[0]}")
    for pattern in "$@" "/usr/share/doc/$package/copyright\$" "/usr/share/doc/$package/changelog.gz\$"; do
        grep -Eq "$pattern" <<<"$listing" || fail "$package lacks $pattern"
    done
}
lib='/usr/lib/([a-z0-9_]+-linux-gnu[a-z0-9_]*/)?'
expect "libvanmoor$soversion" "^-.* \\.${lib}libvanmoor\\.so\\.$version\$" \
    "^l.* \\.${lib}libvanmoor\\.so\\.$soversion -> libvanmoor\\.so\\.$version\$"
expect libvanmoor-dev "/usr/include/vanmoor\\.h\$" \
    "^l.* \\.${lib}libvanmoor\\.so -> libvanmoor\\.so\\.$soversion\$" \
    "\\.${lib}pkgconfig/vanmoor\\.pc\$" \
    "\\.${lib}cmake/Vanmoor/VanmoorConfig\\.cmake\$" \
    "\\.${lib}cmake/Vanmoor/VanmoorConfigVersion\\.cmake\$" \
    "\\.${lib}cmake/Vanmoor/VanmoorTargets\\.cmake\$"
expect kestrun "/usr/bin/kestrun\$" "/usr/share/man/man1/kestrun\\.1\\.gz\$" \
    "/usr/share/applications/kestrun\\.desktop\$" \
    "/usr/share/icons/hicolor/scalable/apps/kestrun\\.svg\$" \
    "/usr/share/doc/kestrun/examples/LogConfig\\.txt\$" \
    "/usr/share/doc/kestrun/examples/Language\\.ini\$"
expect vanmoor-tools "/usr/bin/vanmoor-devsim\$" "/usr/share/man/man1/vanmoor-devsim\\.1\\.gz\$" \
    "/usr/bin/vanmoor\$" "/usr/share/man/man1/vanmoor\\.1\\.gz\$"

# Every file that cmake --install writes belongs to a package: an install rule without one of
# the packaged components (Runtime, Development, Kestrun, Tools) would be left out silently.
DESTDIR="$work/all" cmake --install "$build" --prefix /usr >/dev/null
missing=$(comm -23 <(cd "$work/all" && find . ! -type d | sort) \
    <(for file in "$work/debs/"*.deb; do dpkg-deb -c "$file"; done |
        sed -E 's/^([^ ]+ +){5}//; s/ -> .*//' | grep -v '/$' | sort -u))
[ -z "$missing" ] || fail "installed but in no package: $missing"

# Every package whose programs link the library must depend on exactly this version of it;
# dpkg-shlibdeps cannot tell, as the library is in no installed package yet.
for file in "$work/debs/"*.deb; do
    package=$(dpkg-deb -f "$file" Package)
    depends=$(dpkg-deb -f "$file" Depends)
    dpkg-deb -x "$file" "$work/$package"
    while IFS= read -r -d '' elf; do
        if readelf -d "$elf" 2>/dev/null | grep -q "NEEDED.*\[libvanmoor\.so\.$soversion\]" &&
            ! grep -Eq "(^|, )libvanmoor$soversion \(= $version\)(,|\$)" <<<"$depends"; then
            fail "$package: ${elf#"$work/$package"} links libvanmoor.so.$soversion, but Depends is: $depends"
        fi
    done < <(find "$work/$package" -type f -perm -u+x -print0)
done
grep -q "libqt6widgets6" < <(dpkg-deb -f "$work/debs/kestrun_${version}_"*.deb Depends) ||
    fail "kestrun lacks its Qt dependency"

echo "--- lintian"
# The one warning the README explains is let through; any other warning or error fails.
lintian --fail-on error,warning --suppress-tags maintscript-calls-ldconfig --tag-display-limit 0 \
    "$work/debs/"*.deb || fail "lintian found errors or warnings"

mkdir "$work/root"
for file in "$work/debs/"*.deb; do
    dpkg-deb -x "$file" "$work/root"
done
root="$work/root"
libdir=$(dirname "$(find "$root" -name "libvanmoor.so.$soversion")")
# In the private test network, though --version and --help exit before any socket is opened.
mkdir -m 700 "$work/run"
smoke=$(LD_LIBRARY_PATH="$libdir" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" "$here/../netns/testnet.sh" bash -c '
    ldd "$1/usr/bin/kestrun" | grep libvanmoor
    "$1/usr/bin/kestrun" --version
    "$1/usr/bin/kestrun" --help | head -n 1
    "$1/usr/bin/vanmoor-devsim" --help | head -n 1
    "$1/usr/bin/vanmoor" --version' smoke "$root") || fail "smoke check failed"
echo "$smoke"
grep -q "libvanmoor.so.$soversion => $libdir/" <<<"$smoke" || fail "kestrun did not load the unpacked library"
# One version everywhere: both programs print the packages' version.
grep -qx "kestrun $version" <<<"$smoke" || fail "kestrun --version did not print $version"
grep -q "^Usage: .*kestrun" <<<"$smoke" || fail "kestrun --help printed no usage"
grep -q "^Usage: vanmoor-devsim" <<<"$smoke" || fail "vanmoor-devsim --help printed no usage"
grep -qx "vanmoor $version" <<<"$smoke" || fail "vanmoor --version did not print $version"
for page in "$root"/usr/share/man/man1/*.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

[ "$failures" -eq 0 ] || { echo "$failures packaging checks failed" >&2; exit 1; }
echo "Packages checked: $(cd "$work/debs" && echo *.deb)"
