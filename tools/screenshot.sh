#!/usr/bin/env bash
# Saves the whole X screen of $DISPLAY as a PNG: tools/screenshot.sh out.png
set -euo pipefail
out=${1:?usage: screenshot.sh out.png}
xwd -root -silent -display "$DISPLAY" | convert xwd:- "png:$out"
