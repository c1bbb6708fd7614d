#!/bin/sh
# Installs the Debian packages that the build, the tests and the demo need,
# when they are missing. As root it runs apt-get; otherwise it prints the line.
set -e
packages="cmake g++ make pkg-config libsqlite3-dev sqlite3 libmspack-dev qt6-base-dev
libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
fonts-noto-cjk mscompress liblnk-utils xvfb xauth"
missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "korvane: missing packages; install them with:" >&2
    echo "  sudo apt-get install -y$missing" >&2
    exit 1
fi
echo "korvane: installing$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends $missing >/dev/null ||
    { apt-get update >/dev/null && apt-get install -y --no-install-recommends $missing >/dev/null; }
