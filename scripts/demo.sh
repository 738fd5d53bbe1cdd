#!/usr/bin/env bash
# The main job: builds the add-on with the stand-in host and runs `kiro demo`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/prerequisiti.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target kiro
# A throw-away PostgreSQL server holds the host's database for the steps that
# need one (the indications catalogue, the PDTA indicators).
if command -v pg_virtualenv >/dev/null; then
  exec pg_virtualenv -- build/dev/apps/kiro/kiro demo "$@"
fi
exec build/dev/apps/kiro/kiro demo "$@"
