#!/usr/bin/env bash
# Builds the setup program and the demo payload, then starts setup from a
# fresh folder that holds the payload, as a user would.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh run

cmake --preset default
cmake --build --preset default --target zor-setup demo-payload

folder=$(mktemp -d "${TMPDIR:-/tmp}/zor-payload.XXXXXX")
cp build/default/demo-payload/ZOR.ex_ build/default/demo-payload/ZOR.hl_ build/default/demo-payload/ZOR.cn_ "$folder"
echo "payload in $folder"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "no display: start setup on a desktop, or under a virtual one: xvfb-run -a bash scripts/run.sh" >&2
fi

cd "$folder"
set +e
"$OLDPWD/build/default/src/zor-setup"
code=$?
set -e
echo "zor-setup exited with $code"
exit $code
