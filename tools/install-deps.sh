#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need.
# Idempotent and silent when everything is already present.
set -eu

PACKAGES="build-essential cmake pkg-config binutils
libcurl4-openssl-dev libtinyxml2-dev libjsoncpp-dev libeasyloggingpp-dev
libzip-dev libssl-dev libgtk-3-dev
googletest libgtest-dev libcpp-httplib-dev
xvfb xauth xdotool
nginx aria2
fonts-dejavu-core fonts-noto-core fonts-noto-cjk"

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
