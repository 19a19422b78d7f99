#!/usr/bin/env bash
# Runs the transcripts that pages of the documentation show and compares what the programs print
# with what the page says they print, so that a page cannot drift from the programs.
#
#   transcripts.sh [--update] BUILD_DIR PAGE.md...
#
# Runs inside the private test network (tests/netns/testnet.sh). A transcript is a fenced block
# without a language whose first line starts with "$ ": each "$ " line is a command (a line
# ending in a backslash goes on in the next), the lines up to the next "$ " line are its output.
# The commands run as the page shows them, from the source tree on a pseudo-terminal, with
# tools/demo/vanmoor-demo.sh using the programs of BUILD_DIR: a demo command with a program
# command runs against fresh devices; one without opens its shell, which takes the commands
# that follow up to "exit". What the terminal shows is compared: progress lines that a program
# erases again count as erased.
#
# Only what varies from run to run is left out of the comparison: times ("1.2 s", "350 ms"),
# the counter of batch progress lines ("[2/3]", the order in which devices finish), and the
# order of the lines of a command without --sort (devices are listed as they answer).
# --update writes what the programs printed into the pages instead, for a change of output.
set -uo pipefail

update=0
if [ "${1:-}" = --update ]; then
    update=1
    shift
fi
if [ "$#" -lt 2 ]; then
    echo "usage: transcripts.sh [--update] BUILD_DIR PAGE.md..." >&2
    exit 2
fi
if [ -z "${VANMOOR_TESTNET:-}" ]; then
    echo "transcripts.sh: run me through tests/netns/testnet.sh" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
shift
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VANMOOR_DEMO_BUILD="$build"

# Splits PAGE into transcripts: writes $work/N.cmds (one command a line), $work/N.exp.K (the
# output the page shows for command K) and $work/N.lines (the page's line numbers of each
# command's first and last line of output, for --update). Prints the number of transcripts.
split_page() {
    awk -v work="$work" '
        BEGIN { block = 0 }
        function finish_command() {
            if (command != "") {
                print command > (work "/" block ".cmds")
                print first, NR - 1 > (work "/" block ".lines")
                close(work "/" block ".exp." commands)
                commands++
            }
            command = ""
        }
        /^```/ {
            if (!fenced) { fenced = 1; candidate = ($0 == "```"); started = 0; next }
            fenced = 0
            if (started) { finish_command(); block++ }
            started = 0
            next
        }
        !fenced || !candidate { next }
        !started && !/^\$ / { candidate = 0; next }
        continuing {
            line = $0
            sub(/^ +/, "", line)
            command = command " " line
            continuing = sub(/ *\\$/, "", command)
            first = NR + 1
            next
        }
        /^\$ / {
            if (!started) { started = 1; commands = 0 } else { finish_command() }
            command = substr($0, 3)
            continuing = sub(/ *\\$/, "", command)
            first = NR + 1
            printf "" > (work "/" block ".exp." commands)
            next
        }
        { print > (work "/" block ".exp." commands) }
        END { print block + 0 }
    ' "$1"
}

# Writes a script that runs transcript N's commands, each after a line "@@transcript K" (the
# exit status kept across it, for a following "echo $?").
write_script() {
    local n=$1 k=0 in_shell=0 command
    {
        echo 'mark() { local status=$?; echo "@@transcript $1"; return $status; }'
        while IFS= read -r command; do
            echo "mark $k"
            if [ "$in_shell" -eq 0 ] && [[ "$command" =~ ^tools/demo/vanmoor-demo\.sh( --site [a-z]+)?$ ]]; then
                echo "$command <<'END_OF_SHELL'"
                echo 'mark() { local status=$?; echo "@@transcript $1"; return $status; }'
                in_shell=1
            else
                echo "$command"
                if [ "$in_shell" -eq 1 ] && [ "$command" = exit ]; then
                    echo END_OF_SHELL
                    in_shell=0
                fi
            fi
            k=$((k + 1))
        done <"$work/$n.cmds"
        [ "$in_shell" -eq 0 ] || echo END_OF_SHELL
        echo "mark $k"
    } >"$work/$n.sh"
}

# What a terminal shows of standard input: a carriage return moves back to the line's start,
# ESC [ K erases to the line's end, later characters overwrite earlier ones.
render_terminal() {
    LC_ALL=C awk '{
        shown = ""; at = 0; i = 1; n = length($0)
        while (i <= n) {
            c = substr($0, i, 1)
            if (c == "\r") { at = 0; i++; continue }
            if (c == "\033" && substr($0, i, 3) == "\033[K") { shown = substr(shown, 1, at); i += 3; continue }
            shown = substr(shown, 1, at) c substr(shown, at + 2); at++; i++
        }
        sub(/ +$/, "", shown)
        print shown
    }'
}

# Splits the rendered output of transcript N at its marks into $work/N.out.K.
split_output() {
    awk -v out="$work/$2.out." '
        /^@@transcript [0-9]+$/ { if (file != "") close(file); file = out $2; printf "" > file; next }
        file != "" { print > file }
    ' "$1"
}

# The text compared: times and batch counters masked, trailing blanks and trailing empty lines
# dropped, lines sorted unless the command sorts its rows itself.
comparable() {
    local file=$1 command=$2
    sed -E -e 's/[0-9]+(\.[0-9]+)? ?(ms|s)([^A-Za-z0-9]|$)/<time>\3/g' \
        -e 's/^\[[0-9]+\/([0-9]+)\]/[n\/\1]/' -e 's/[[:space:]]+$//' "$file" |
        awk '{ lines[NR] = $0 } END { last = NR; while (last > 0 && lines[last] == "") last--;
                                      for (i = 1; i <= last; i++) print lines[i] }' |
        if [[ " $command " == *" --sort "* ]]; then cat; else LC_ALL=C sort; fi
}

# Replaces each command's output in PAGE by what was printed (--update).
update_page() {
    local page=$1 blocks=$2 n k first last replacements=()
    for ((n = 0; n < blocks; n++)); do
        k=0
        while read -r first last; do
            replacements+=("$first $last $work/$n.out.$k")
            k=$((k + 1))
        done <"$work/$n.lines"
    done
    printf '%s\n' "${replacements[@]}" >"$work/replacements"
    awk -v list="$work/replacements" '
        BEGIN { while ((getline entry < list) > 0) { split(entry, f, " "); from[f[1]] = f[2]; with[f[1]] = f[3] } }
        NR in from {
            while ((getline line < with[NR]) > 0) print line
            close(with[NR]); skip_to = from[NR]
        }
        NR <= skip_to { next }
        { print }
    ' "$page" >"$work/page" && cat "$work/page" >"$page"
}

passed=0
failed=0
for page in "$@"; do
    page=$(cd "$(dirname "$page")" && pwd)/$(basename "$page")
    rm -f "$work"/[0-9]*
    blocks=$(split_page "$page")
    if [ "$blocks" -eq 0 ]; then
        echo "FAIL $page: no transcript found"
        failed=$((failed + 1))
        continue
    fi
    for ((n = 0; n < blocks; n++)); do
        write_script "$n"
        # script(1) gives the commands a terminal, as on the page; stdin stays closed.
        (cd "$source_dir" && script -qec "bash $work/$n.sh" /dev/null </dev/null) >"$work/$n.raw" 2>&1
        render_terminal <"$work/$n.raw" >"$work/$n.shown"
        split_output "$work/$n.shown" "$n"
        k=0
        while IFS= read -r command; do
            [ -f "$work/$n.out.$k" ] || : >"$work/$n.out.$k"
            if [ "$update" -eq 0 ]; then
                if diff -u --label "$page: \$ $command (page)" --label "printed" \
                    <(comparable "$work/$n.exp.$k" "$command") \
                    <(comparable "$work/$n.out.$k" "$command"); then
                    passed=$((passed + 1))
                else
                    failed=$((failed + 1))
                fi
            fi
            k=$((k + 1))
        done <"$work/$n.cmds"
    done
    if [ "$update" -eq 1 ]; then
        update_page "$page" "$blocks"
        echo "updated $page"
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
