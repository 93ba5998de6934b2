#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The manual page's source and the bash completion's table name exactly the subcommands and options
# that the tool's --help lists: an option added to the tool and not to them, or one left in them
# after it went, fails here. Usage: test_help_coverage.sh TOOL PAGE.scd COMPLETION.bash
set -euo pipefail
tool=$1 page=$2 completion=$3

failures=0
expect_same() { # what, the names --help gives, the names the document gives
  if [ "$2" != "$3" ]; then
    echo "$1: the tool has [$2], the document has [$3]"
    failures=$((failures + 1))
  fi
}
names() { tr ', ' '\n\n' | sed '/^$/d' | sort -u | paste -sd ' ' -; }

# --help lists an option as "  -o,--output TEXT   description" under "Options:", and a subcommand
# as "  build   description" under "Subcommands:".
help_section() { "$tool" $1 --help | sed -n "/^$2:/,/^\$/s/^  \\([^ ]*\\).*/\\1/p"; }

# The page: global options under "# OPTIONS", a subcommand's under "## gattdb SUBCOMMAND"; an
# option's entry is a line starting with its names in bold, as in "*-o*, *--output* _FILE_".
page_section() { sed -n "/^$1\$/,/^#/{/^$1\$/d;/^#/d;p}" "$page"; }
page_options() { page_section "$1" | grep '^\*-' | grep -o '\*-[^*]*\*' | tr -d '*' | names; }

# The completion: the table's lines, and the names before any "=".
table_options() { bash -c 'source "$1"; _gattdb_options "$2"' - "$completion" "$1" | sed 's/=[^ ]*//g' | names; }

# The subcommands come from the tool's own table, the one --help lists.
subcommands=$("$tool" --list-commands | cut -f1 | names)
expect_same "subcommands in the page" "$subcommands" "$(sed -n 's/^## gattdb //p' "$page" | names)"
expect_same "subcommands in the completion" "$subcommands" \
  "$(bash -c 'source "$1"; echo "$_gattdb_table"' - "$completion" | cut -d' ' -f1 | names)"

global=$(help_section "" Options | names)
expect_same "global options in the page" "$global" "$(page_options '# OPTIONS')"
expect_same "global options in the completion" "$global" "$(table_options "")"

for subcommand in $subcommands; do
  options=$(help_section "$subcommand" Options | names)
  expect_same "options of $subcommand in the page" "$options" "$(page_options "## gattdb $subcommand")"
  expect_same "options of $subcommand in the completion" "$options" "$(table_options "$subcommand")"
done

[ "$failures" -eq 0 ] || exit 1
echo "the page and the completion name the $(wc -w <<<"$subcommands") subcommands and all their options"
