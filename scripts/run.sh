#!/usr/bin/env bash
# Sets up, builds and starts Quillmarsh. Built for the default domain (the sample site), it also
# starts the sample site on 127.0.0.1:8058 for as long as the program runs.
#   QUILLMARSH_SITE_DOMAIN=example.com scripts/run.sh   builds for another site instead
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
domain="${QUILLMARSH_SITE_DOMAIN:-localhost:8058}"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUILLMARSH_SITE_DOMAIN="$domain" >/dev/null
cmake --build build-release -j"$(nproc)" --target quillmarsh quillmarsh-sample-site >/dev/null

site=""
if [ "$domain" = "localhost:8058" ]; then
  build-release/tools/quillmarsh-sample-site --port 8058 &
  site=$!
  trap 'kill $site 2>/dev/null || true' EXIT
fi
build-release/src/ui/quillmarsh
