#!/usr/bin/env bash
# Builds the Windows installer with wixl (Debian wixl) and adds what wixl cannot write: the
# Environment table row and its two actions that put the install folder on the system PATH for
# as long as the command line is installed.
#
#   make-msi.sh OUT.msi VERSION SOURCE_DIR BIN_DIR MINGW_IMPORT_LIB STRIP
set -euo pipefail
out="$(realpath -m "$1")" version="$2" source_dir="$3" bin_dir="$4" mingw_import_lib="$5"
strip="$6"
here="$(cd "$(dirname "$0")" && pwd)"
# wixl takes file sources relative to where it runs only: gather them in one folder.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# The installed programs without their debugging sections, which would treble the package.
"$strip" --strip-debug -o "$stage/vanmoor.dll" "$bin_dir/vanmoor.dll"
"$strip" --strip-debug -o "$stage/vanmoor.exe" "$bin_dir/vanmoor.exe"
"$strip" --strip-debug -o "$stage/kestrun.exe" "$bin_dir/kestrun.exe"
ln -s "$bin_dir/vanmoor.lib" "$mingw_import_lib" \
    "$source_dir/packaging/examples/Language.ini" "$source_dir/packaging/examples/LogConfig.txt" \
    "$source_dir/examples/list-devices.c" "$source_dir/discovery/include/vanmoor.h" "$stage/"
(cd "$stage" && wixl -a x64 -o package.msi -D Version="$version" "$here/Vanmoor.wxs")
# "=-*": set at install, removed at uninstall, in the system's environment (a per-machine
# package); "[~];" appends to what PATH holds and removes only this part again.
msibuild "$stage/package.msi" \
    -q 'CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)' \
    -q "INSERT INTO \`Environment\` (\`Environment\`, \`Name\`, \`Value\`, \`Component_\`) VALUES ('CommandLinePath', '=-*PATH', '[~];[INSTALLFOLDER]', 'CommandLine')" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('RemoveEnvironmentStrings', 3300)" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('WriteEnvironmentStrings', 5200)"
mv "$stage/package.msi" "$out"
