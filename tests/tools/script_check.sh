#!/usr/bin/env bash
# The mIRC code that users copy: in the example script and in the README's
# mirc code blocks, every $dll( and $dllcall( names one of the DLL's commands,
# and every alias that a $dllcall names is a global alias of the same file
# (mIRC runs it from outside the script, where a local alias is not found).
#   script_check.sh EXPORTS-DEF FILE...
set -uo pipefail
commands=" $(sed -n 's/^ *\([A-Za-z]*\)\( = [A-Za-z]*\)\? @[0-9]*$/\1/p' "$1" | tr '\n' ' ')"
shift
failures=0
for file in "$@"; do
  case $file in
    *.md) code=$(awk '/^```/ { inside = ($0 == "```mirc"); next } inside' "$file") ;;
    *) code=$(cat "$file") ;;
  esac
  name=$(basename "$file")
  calls=$(grep -o -i -E '\$dll(call)?\([^,)]*,[^,)]*(,[^,)]*)?' <<< "$code" | tr -d ' ')
  [ -n "$calls" ] || { echo "FAIL: $name calls no command"; failures=$((failures + 1)); continue; }
  while IFS=, read -r call second third; do
    command=$second
    if [[ ${call,,} == '$dllcall('* ]]; then
      command=$third
      grep -q -i -E "^[[:space:]]*alias[[:space:]]+${second//./\\.}[[:space:]]" <<< "$code" || {
        echo "FAIL: $name: \$dllcall names $second, which is no global alias of $name"
        failures=$((failures + 1))
      }
    fi
    [[ $commands == *" $command "* ]] || {
      echo "FAIL: $name: ${call}...${second}... names $command, which is not a command"
      failures=$((failures + 1))
    }
  done <<< "$calls"
  [ $failures -eq 0 ] && echo "ok: $name: $(wc -l <<< "$calls") calls, each naming a command"
done
exit $((failures > 0))
