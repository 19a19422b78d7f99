#!/usr/bin/env bash
# Checks the Windows files of a MinGW build: vanmoor.dll exports exactly the functions that
# vanmoor.h declares, undecorated; the DLL and the programs import nothing but system DLLs (and
# the programs vanmoor.dll), and no function newer than Windows 7; both import libraries name
# the same functions.
#
#   check-binaries.sh HEADER OBJDUMP NM DLL MINGW_IMPORT_LIB MSVC_LIB [EXE...]
set -euo pipefail
header="$1" objdump="$2" nm="$3" dll="$4" import_libs=("$5" "$6")
shift 6
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

declared=$(grep -o -E '^VANMOOR_API [^(]*\(' "$header" | sed -E 's/.*[ *]([A-Za-z_0-9]+)\($/\1/' |
    sort)
[ "$(wc -l <<<"$declared")" -eq 32 ] || fail "vanmoor.h declares $(wc -l <<<"$declared") functions"

# The export name table: "[ n] name" lines after "[Ordinal/Name Pointer] Table".
exported=$("$objdump" -p "$dll" |
    sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n -E 's/^\s*\[\s*[0-9]+\] (.*)$/\1/p' |
    sort)
if [ "$exported" != "$declared" ]; then
    fail "$(basename "$dll") exports differ from vanmoor.h:"
    diff <(echo "$declared") <(echo "$exported") >&2 || true
fi

# The system's own DLLs; msvcrt.dll is the C library every Windows carries, xmllite.dll (with
# SHLWAPI's memory stream) reads WS-Discovery's XML in the command line and Kestrun, which also
# draws with the common controls, GDI and the save dialog. WINHTTP.dll carries the cameras'
# device service requests and bcrypt.dll hashes their logins and gives their nonces (both in
# Windows since Vista). The C++ run-time, libgcc and winpthreads are linked in.
allowed='^(KERNEL32|msvcrt|WS2_32|IPHLPAPI|USER32|GDI32|COMCTL32|comdlg32|ADVAPI32|SHELL32|SHLWAPI|xmllite|WINHTTP|bcrypt|api-ms-win-.*)\.(dll|DLL)$'
# Functions that Windows 7 lacks (the per-monitor DPI functions came with Windows 10): a
# program that imports one does not start there, so they are looked up when it runs instead.
newer='^(GetDpiFor(Window|System)|GetSystemMetricsForDpi|AdjustWindowRectExForDpi|SystemParametersInfoForDpi|SetThreadDpiAwarenessContext|EnableNonClientDpiScaling)$'
for file in "$dll" "$@"; do
    while read -r name; do
        if [ "$file" != "$dll" ] && [ "$name" = vanmoor.dll ]; then
            continue
        fi
        grep -q -i -E "$allowed" <<<"$name" || fail "$(basename "$file") imports $name"
    done < <("$objdump" -p "$file" | sed -n -E 's/^\s*DLL Name: (.*)$/\1/p')
    while read -r function; do
        fail "$(basename "$file") imports $function, which Windows 7 lacks"
    done < <("$objdump" -p "$file" | sed -n -E 's/^\s+[0-9a-f]+\s+[0-9]+\s+([A-Za-z_0-9]+)$/\1/p' |
        grep -E "$newer")
done

for lib in "${import_libs[@]}"; do
    named=$("$nm" "$lib" | sed -n -E 's/^[0-9a-f]+ I __imp_(.*)$/\1/p' | sort)
    [ "$named" = "$declared" ] || fail "$(basename "$lib") does not name exactly the 32 functions"
done

[ "$failed" -eq 0 ] && echo "vanmoor.dll: 32 exports, system imports of Windows 7 only, import libraries complete"
exit "$failed"
