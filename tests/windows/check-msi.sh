#!/usr/bin/env bash
# Checks the Windows installer: its tables and files (msitools), then, in a fresh Wine prefix
# inside the private test network, that it installs every file and the Start menu shortcut of
# Kestrun, puts vanmoor.exe on the system PATH, that a newer version replaces it (one product
# installed, not two) and that uninstalling removes every file, the shortcut and the PATH entry.
#
#   check-msi.sh MSI VERSION
set -euo pipefail
msi="$1" version="$2"
here="$(cd "$(dirname "$0")" && pwd)"
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

table() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }
property() { table "$1" Property | awk -F'\t' -v p="$2" '$1 == p { print $2 }'; }

upgrade_code=$(property "$msi" UpgradeCode)
[ "$(property "$msi" ProductVersion)" = "$version" ] || fail "ProductVersion is not $version"
[ "$(property "$msi" ALLUSERS)" = 1 ] || fail "not a per-machine package"
msiinfo suminfo "$msi" | grep -qx 'Template: x64;1033' || fail "not a 64-bit package"
# The major upgrade rule: an older version is found and removed, a newer one refuses.
table "$msi" Upgrade | grep -q "^$upgrade_code	*	$version	.*WIX_UPGRADE_DETECTED" ||
    fail "no rule that replaces older versions"
table "$msi" InstallExecuteSequence | grep -q '^RemoveExistingProducts' ||
    fail "older versions are never removed"
table "$msi" Environment | grep -qx $'CommandLinePath\t=-\\*PATH\t\\[~\\];\\[INSTALLFOLDER\\]\tCommandLine' ||
    fail "the install folder does not go on the system PATH"
table "$msi" InstallExecuteSequence | grep -q '^WriteEnvironmentStrings' ||
    fail "the PATH entry is never written"
table "$msi" Shortcut | grep -qx $'KestrunStartMenu\tProgramMenuFolder\tKestrun\tDialogShortcut\t\\[INSTALLFOLDER\\]kestrun.exe\t\t.*\tINSTALLFOLDER\t*' ||
    fail "no Start menu shortcut to kestrun.exe"
table "$msi" InstallExecuteSequence | grep -q '^CreateShortcuts' || fail "shortcuts are never made"

expected_files="Vanmoor/examples/Language.ini
Vanmoor/examples/LogConfig.txt
Vanmoor/examples/list-devices.c
Vanmoor/include/vanmoor.h
Vanmoor/kestrun.exe
Vanmoor/lib/libvanmoor.dll.a
Vanmoor/lib/vanmoor.lib
Vanmoor/vanmoor.dll
Vanmoor/vanmoor.exe"
files=$(cd "$work" && msiextract -C extracted "$msi" >/dev/null && cd extracted &&
    find . -type f | sed 's|^\./||; s|^Program Files/||' | sort)
[ "$files" = "$expected_files" ] || fail "the package holds other files:"$'\n'"$files"

# A newer version of the same package, as the next build would make it: the same files under a
# new version and product code, its upgrade rule bounded by the new version.
newer="$work/newer.msi"
cp "$msi" "$newer"
next_version="${version%.*}.$((${version##*.} + 1))"
new_guid() { echo "{$(tr '[:lower:]' '[:upper:]' </proc/sys/kernel/random/uuid)}"; }
msibuild "$newer" -q "UPDATE \`Property\` SET \`Value\` = '$next_version' WHERE \`Property\` = 'ProductVersion'" \
    -q "UPDATE \`Property\` SET \`Value\` = '$(new_guid)' WHERE \`Property\` = 'ProductCode'" \
    -q "DELETE FROM \`Upgrade\`" \
    -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$next_version', 1, 'WIX_UPGRADE_DETECTED')" \
    -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMin\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$next_version', 2, 'WIX_DOWNGRADE_DETECTED')" \
    -s "Vanmoor" "Vanmoor" "x64;1033" "$(new_guid)"

# Wine does not need the network to install, but nothing of it may reach a real interface.
WORK="$work" VERSION="$version" NEXT_VERSION="$next_version" MSI="$msi" NEWER="$newer" \
    "$here/../netns/testnet.sh" bash -c '
    set -uo pipefail
    # No menu entries of the host for the shortcut: only the one inside the prefix.
    export WINEPREFIX="$WORK/wine" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
    folder="$WINEPREFIX/drive_c/Program Files/Vanmoor"
    # Windows puts a per-machine shortcut in the common Start menu; Wine in the user'"'"'s.
    shortcuts() { find "$WINEPREFIX/drive_c" -path "*/Start Menu/Programs/Kestrun.lnk"; }
    products() {
        wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s |
            tr -d "\r" | grep -c "DisplayName.*REG_SZ *Vanmoor$"
    }
    system_path() {
        wine reg query "HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Environment" \
            /v PATH | tr -d "\r"
    }
    status=0
    check() { "$@" || { echo "FAIL: $*" >&2; status=1; }; }
    wine msiexec /i "$(winepath -w "$MSI")" /qn ADDLOCAL=ALL
    check test -f "$folder/vanmoor.exe"
    check test -f "$folder/include/vanmoor.h"
    check test -f "$folder/lib/vanmoor.lib"
    check test -f "$folder/kestrun.exe"
    shortcut=$(shortcuts)
    check test -n "$shortcut"
    # The link names the installed program (its path in 8-bit or UTF-16 text).
    tr -d "\0" <"${shortcut:-/dev/null}" | grep -aqi "Vanmoor.kestrun\.exe" ||
        check false "the shortcut does not name kestrun.exe"
    printed=$(wine cmd /c "vanmoor --version" | tr -d "\r")
    check test "$printed" = "vanmoor $VERSION"
    system_path | grep -qF "C:\\Program Files\\Vanmoor" || check false "PATH lacks the folder"
    wine msiexec /i "$(winepath -w "$NEWER")" /qn ADDLOCAL=ALL
    check test "$(products)" = 1
    wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s | tr -d "\r" |
        grep -q "DisplayVersion.*$NEXT_VERSION" || check false "the newer version is not the one installed"
    check test -f "$folder/vanmoor.exe"
    wine msiexec /x "$(winepath -w "$NEWER")" /qn
    check test "$(products)" = 0
    check test ! -e "$folder"
    check test -z "$(shortcuts)"
    system_path | grep -qF "C:\\Program Files\\Vanmoor" && check false "PATH still names the folder"
    wineserver -k || true
    exit $status' || fail "installing, upgrading or removing failed"
[ "$failed" = 0 ] && echo "the installer checks passed"
exit "$failed"
