#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives the bash completion as bash does on Tab, through bash-completion's own loader: subcommands,
# options, the values of -f, and file names; the subcommands offered are those of the tool's table.
# Usage: test_completion.sh TOOL COMPLETION.bash
set -o pipefail
tool=$(realpath "$1") completion=$(realpath "$2")
subcommands=$("$tool" --list-commands | cut -f1 | sort | paste -sd " " -)
[ -n "$subcommands" ] || { echo "$tool lists no subcommands"; exit 1; }
source /usr/share/bash-completion/bash_completion || exit 1
source "$completion"
complete -p gattdb | grep -q -- '-F _gattdb' || { echo "gattdb has no completion function"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && mkdir out && touch heart-rate.json image.bin

# The words that Tab offers after the command line given, which ends at the cursor; bash splits
# "--format=h" into "--format", "=" and "h", as the words below do.
offered() {
  COMP_LINE=$1 COMP_POINT=${#1}
  read -ra COMP_WORDS <<<"${1//=/ = }"
  [[ $1 == *" " || $1 == *= ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _gattdb gattdb "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd " " -
}

failures=0
while IFS='|' read -r line expected; do
  [ -n "$line" ] || continue
  actual=$(offered "$line")
  if [ "$actual" != "$expected" ]; then
    echo "[$line]: expected [$expected], offered [$actual]"
    failures=$((failures + 1))
  fi
done <<CASES
gattdb |$subcommands
gattdb new --|--device-name --help --optional --output
gattdb check x.json --ignore prop|property-missing property-not-allowed
gattdb check x.json --ignore cccd|cccd-missing cccd-unused
gattdb dump -f m|markdown
gattdb d|diff dump
gattdb --v|--version
gattdb build --fo|--format
gattdb build -|--connection --format --from --help --import-dir --local --lossy --name --output -I -f -h -o
gattdb import x -I |out
gattdb dump x --from |bin btsnoop hex pcap
gattdb dump --s|--summary
gattdb build -f |bin c header hex map
gattdb build -f h|header hex
gattdb build heart-rate.json --format=m|map
gattdb build --name |
gattdb build -o o|out
gattdb build |heart-rate.json image.bin out
gattdb diff heart-rate.json i|image.bin
CASES
[ "$failures" -eq 0 ] || exit 1
echo "completion: every case offers what it should"
