#!/bin/sh
# Installs the Debian packages the build and the tests need, when any is missing.
# Printing goes through Qt's print support and libcups; the print queue tests start a
# scheduler of their own from cups-daemon (no system service is needed).
set -eu
PACKAGES="cmake ninja-build g++ clang libclang-rt-14-dev pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation poppler-utils cups-daemon cups-client libcups2-dev libqt6printsupport6 libx11-dev libxcb1-dev"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q </dev/null
$SUDO apt-get install -y -q --no-install-recommends $missing </dev/null
