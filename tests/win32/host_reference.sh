#!/usr/bin/env bash
# Runs the host's zoomwright-cli (the Linux build) over the example style and
# keeps what it prints and the chart it draws, for the Windows build's
# zoomwright-cli.exe to be compared with. One run per line of the table below:
# NAME, then the arguments; @STYLE@, @TYP@ and @OUT@ stand for the example
# style, its TYP file and the run's output image.
set -euo pipefail
cli=${1:?host zoomwright-cli}
source_dir=${2:?source directory}
out=${3:?output directory}
if [ ! -x "$cli" ]; then
  echo "host_reference: no host zoomwright-cli at '$cli' (make test-windows builds it)" >&2
  exit 1
fi
rm -rf "$out"
mkdir -p "$out"
style="$source_dir/examples/styles/example"
typ="$source_dir/examples/typ/example.txt"
while read -r name args; do
  [ -z "$name" ] && continue
  printf '%s\n' $args >"$out/$name.args"
  expanded=$(printf '%s\n' $args | sed -e "s|@STYLE@|$style|" -e "s|@TYP@|$typ|" -e "s|@OUT@|$out/$name.bmp|")
  mapfile -t argv <<<"$expanded"
  status=0
  "$cli" "${argv[@]}" --system-dir "$out/system" >"$out/$name.out" 2>"$out/$name.err" || status=$?
  echo "$status" >"$out/$name.status"
done <<'TABLE'
analyse-lines analyse @STYLE@ --kind lines --all --inc --sort
analyse-polygons analyse @STYLE@ --kind polygons --all --resolution 20
analyse-points analyse @STYLE@ --kind points --all --inc
levels levels @STYLE@
typ typ @TYP@
chart-lines chart @STYLE@ --kind lines --all --inc --sort --show-text --typ @TYP@ --out @OUT@
chart-narrow chart @STYLE@ --kind lines --all --width 9000 --overview-only --out @OUT@
TABLE
ls "$out"/*.args | wc -l
