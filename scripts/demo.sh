#!/usr/bin/env bash
# Installs what is missing, builds Zorby and starts it on a fresh copy of the demo folder, so the demo
# can be patched again and again. Without a display it runs under Xvfb, saves a screenshot and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)

scripts/install-deps.sh imagemagick
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target Zorby

run="$top/build/demo-run"
rm -rf "$run"
mkdir -p "$run"
cp -r demo/default demo/custom "$run/"
cd "$run/custom"
echo "Demo folder: $run/custom"

if [ -n "${DISPLAY:-}" ]; then
    exec "$top/build/default/app/Zorby"
fi

shot="$top/build/demo-screenshot.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1" & zorby=$!
    for _ in $(seq 50); do
        xdotool search --name "Patcher" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 1
    import -window root "$2"
    kill "$zorby"
' _ "$top/build/default/app/Zorby" "$shot"
echo "No display here: Zorby ran under Xvfb. Screenshot: $shot"
