#!/bin/sh
# Saves the whole Xvfb screen ($DISPLAY) as a PNG.
#   screenshot.sh OUT.png
set -eu
out=${1:?usage: screenshot.sh OUT.png}
: "${DISPLAY:?DISPLAY must name the Xvfb display}"
import -display "$DISPLAY" -window root "$out"
