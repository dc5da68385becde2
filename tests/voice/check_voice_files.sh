#!/usr/bin/env bash
# check_voice_files.sh SOX FILE...: every spoken countdown file was built and
# is a sound of positive length.
set -u
sox=$1
shift
status=0
for f in "$@"; do
  if [ ! -s "$f" ]; then
    echo "missing: $f"; status=1; continue
  fi
  d=$("$sox" --i -D "$f" 2>/dev/null || echo 0)
  if ! awk -v d="$d" 'BEGIN { exit !(d > 0) }'; then
    echo "no sound in $f (duration '$d')"; status=1
  fi
done
[ $status -eq 0 ] && echo "$# voice files with sound"
exit $status
