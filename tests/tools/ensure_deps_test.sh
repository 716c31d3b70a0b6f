#!/usr/bin/env bash
# tools/ensure-deps.sh against a mirror in mid-sync, replayed by a stub
# apt-get on a PATH of its own (nothing is installed): the update is retried,
# the failed suite is pinned for the second install only, after the machine's
# own pins, and no preferences folder is left behind; a second install that
# fails too ends in the message.
set -uo pipefail
script=$(cd "$(dirname "$0")/../../tools" && pwd)/ensure-deps.sh
failures=0
check() { # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected [$2], got [$3]"; failures=$((failures + 1)); fi
}
stubs=$(mktemp -d); trap 'rm -rf "$stubs"' EXIT
for tool in bash cat cp echo find grep mktemp printf rm sed seq sleep sort tr awk env; do ln -s "$(command -v $tool)" "$stubs/$tool"; done
printf '#!/bin/bash\necho 0\n' >"$stubs/id"
printf '#!/bin/bash\nexit 0\n' >"$stubs/dpkg"
# Logs each call; update always fails for one list; install fails without the
# pin, and with it unless told to fail twice.
cat >"$stubs/apt-get" <<'STUB'
#!/bin/bash
echo "$*" >>"$STUB_LOG"
case " $* " in
  *" update "*) echo "Err:6 http://deb.example/debian-security bookworm-security/main i386 Packages"
    echo "E: Some index files failed to download."; exit 100 ;;
  *Dir::Etc::PreferencesParts=*) parts=${2#*=}; echo "$parts" >"$STUB_LOG.file"
    for part in "$parts"/*; do echo "== ${part##*/}"; cat "$part"; done >"$STUB_LOG.pin"
    [ -z "${STUB_FAIL_TWICE:-}" ] ;;
  *) exit 100 ;;
esac
STUB
chmod +x "$stubs"/{id,dpkg,apt-get}
mkdir "$stubs/parts" && printf 'Package: wine*\nPin: release n=bookworm-security\nPin-Priority: -1\n' >"$stubs/parts/50-admin"
run() { PATH=$stubs STUB_LOG=$stubs/log ENSURE_DEPS_UPDATE_PAUSE=0 ENSURE_DEPS_PREFERENCES_PARTS=$stubs/parts "$@" bash "$script" 2>"$stubs/err"; }

run env; check "exits 0 when the pinned install succeeds" 0 $?
check "update tried three times, then two installs" "update update update install install" \
  "$(sed 's/^-o [^ ]* //' "$stubs/log" | cut -d' ' -f1 | tr '\n' ' ' | sed 's/ $//')"
check "the first install has no pin" install "$(sed -n 4p "$stubs/log" | cut -d' ' -f1)"
check "the machine's own pins first, the fallback's last" "== 50-admin|== zzzz-toolcase-mirror-fallback.pref" \
  "$(grep '^== ' "$stubs/log.pin" | tr '\n' '|' | sed 's/|$//')"
check "the failed suite pinned below the others by its codename alone" "Pin: release n=bookworm-security|Pin-Priority: 100" \
  "$(sed -n '/^== zzzz/,$p' "$stubs/log.pin" | grep -A1 '^Pin:' | tr '\n' '|' | sed 's/|$//')"
check "the message says when the fallback helps" 1 "$(grep -c 'helps only while' "$stubs/err")"
check "the warning names the failed list" 1 "$(grep -c 'warning:.*debian-security bookworm-security' "$stubs/err")"
pin_file=$(cat "$stubs/log.file"); check "no preferences folder left behind" "${pin_file:-?} gone" "$pin_file $([ -e "$pin_file" ] || echo gone)"

rm -f "$stubs/log"*
run env STUB_FAIL_TWICE=1; check "exits non-zero when the pinned install fails too" 1 $?
check "the message names the list and the mirror" 2 \
  "$(sed -n '/^Could not install/,$p' "$stubs/err" | grep -c -e '^  http.* bookworm-security$' -e 'recovers within hours')"
[ $failures -eq 0 ] && echo PASS || { echo "$failures failure(s)"; exit 1; }
