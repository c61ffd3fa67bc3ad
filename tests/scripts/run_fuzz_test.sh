#!/usr/bin/env bash
# run-fuzz runs the fuzz programs of a build and nothing else there: Qt's
# autogen folders are named fuzz-*_autogen, and logs fuzz-*.log.
set -u
script=${1:?run-fuzz}
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
mkdir "$build/fuzz-cli_autogen"
printf '#!/bin/sh\necho stat::number_of_executed_units: 1\n' >"$build/fuzz-ok"
chmod +x "$build/fuzz-ok"
: >"$build/fuzz-old.log"
out=$("$script" "$build" 1 2>&1)
rc=$?
[ $rc -eq 0 ] || { echo "run-fuzz exit $rc: $out"; exit 1; }
echo "$out" | grep -q '== fuzz ok for 1s' || { echo "fuzz-ok not run: $out"; exit 1; }
if echo "$out" | grep -q 'autogen\|old'; then echo "not a program run: $out"; exit 1; fi
exit 0
