#!/usr/bin/env bash
# The main job: builds the add-on with the stand-in host and runs `kiro demo`.
# The demo starts what it needs on loopback: the sandbox of the remote
# services, a throw-away PostgreSQL for the host's database, the mail and
# SFTP servers of the local units.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/prerequisiti.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target kiro
exec build/dev/apps/kiro/kiro demo "$@"
