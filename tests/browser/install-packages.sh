#!/bin/bash
# Installs the browser tests' npm packages into FOLDER (which holds package.json and
# package-lock.json) with npm ci, from the committed lock file, unless that very lock
# file installed them already. puppeteer-core downloads no browser: the tests drive
# Debian's chromium.
# usage: install-packages.sh FOLDER
set -euo pipefail
cd "$1"
stamp=node_modules/.installed-from-lock
lock=$(sha256sum package-lock.json | cut -d' ' -f1)
if [ "$(cat "$stamp" 2>/dev/null)" = "$lock" ]; then
    exit 0
fi
# A node that bundles its own authorities (as NodeSource's does) would not trust one
# that the machine's administrator added to the system's, as a network that inspects
# TLS on its way to the registry needs.
system_authorities=/etc/ssl/certs/ca-certificates.crt
if [ -z "${NODE_EXTRA_CA_CERTS:-}" ] && [ -r "$system_authorities" ]; then
    export NODE_EXTRA_CA_CERTS=$system_authorities
fi
npm ci --no-audit --no-fund --loglevel=error
echo "$lock" >"$stamp"
