#!/usr/bin/env bash
# scripts/run: a model outside 1-3 is refused before anything is built; the build, of the program
# that runs and the simulator alone, reports on stderr while stdout stays the program's. A
# stand-in cmake prints its arguments and fails to build, so no case builds or starts anything;
# a stand-in dpkg-query finds every package.
set -uo pipefail
top=${1:?the source tree}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "stand-in cmake $*"\n[ "$1" != --build ]\n' >"$work/bin/cmake"
printf '#!/bin/sh\necho "install ok installed"\n' >"$work/bin/dpkg-query"
chmod +x "$work/bin/cmake" "$work/bin/dpkg-query"

refused="--model takes 1, 2 or 3"
failures=0
# display | expected status | expected on stderr | must not be on stderr | arguments
cases=(
  "|2|$refused|stand-in cmake|deskhand2-link --model 4"
  "|2|$refused|stand-in cmake|deskhand2 --model 0"
  "|2|$refused|stand-in cmake|deskhand2-link --model x read handset"
  "|2|$refused|stand-in cmake|deskhand2-link --model"
  "|1|--target deskhand2-link --target deskhand-phonesim|$refused|deskhand2-link --model 3 read handset"
  "|1|--target deskhand2-link --target deskhand-phonesim|$refused|deskhand2 --model 1"
  "offscreen|1|--target deskhand2 --target deskhand-phonesim|$refused|deskhand2 --model 1"
  "|1|--target deskhand-link --target deskhand-phonesim|$refused|deskhand-link read handset"
  "|1|--target deskhand-link --target deskhand-phonesim|$refused|"
  "offscreen|1|--target deskhand --target deskhand-phonesim|$refused|"
)
for row in "${cases[@]}"; do
  IFS='|' read -r display status wanted unwanted args <<<"$row"
  read -r -a argv <<<"$args"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ${display:+QT_QPA_PLATFORM=$display} \
    PATH="$work/bin:$PATH" DESKHAND_BUILD_DIR="$work/build" DESKHAND_RUN_DIR="$work/run" \
    "$top/scripts/run" "${argv[@]}" >"$work/out" 2>"$work/err" </dev/null
  got=$?
  problem=""
  [ "$got" = "$status" ] || problem+=" exit $got, expected $status;"
  grep -qF -- "$wanted" "$work/err" || problem+=" stderr lacks '$wanted';"
  ! grep -qF -- "$unwanted" "$work/err" || problem+=" stderr has '$unwanted';"
  [ ! -s "$work/out" ] || problem+=" stdout is not empty;"
  if [ -n "$problem" ]; then
    echo "FAIL ${display:+QT_QPA_PLATFORM=$display }scripts/run $args:$problem"
    sed 's/^/  stderr: /' "$work/err"
    sed 's/^/  stdout: /' "$work/out"
    failures=$((failures + 1))
  else
    echo "ok   ${display:+QT_QPA_PLATFORM=$display }scripts/run $args"
  fi
done
[ "$failures" -eq 0 ]
