#!/usr/bin/env bash
# Runs the furthest end-to-end path the project has on the embedded default.
# Today that is zbinfo: the platform layer on this machine (registry file,
# system code page, GBK/BIG5 conversion, the Variant form of a login array).
# Once the client shell and the application server exist this runs the job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
cmake --preset default >/dev/null
cmake --build --preset default --target zbinfo
exec build/default/bin/zbinfo "$@"
