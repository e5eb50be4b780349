#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need.
# Idempotent and silent when everything is already present.
set -eu

PACKAGES="build-essential cmake pkg-config binutils
libcurl4-openssl-dev libtinyxml2-dev libjsoncpp-dev libeasyloggingpp-dev
libzip-dev zlib1g-dev libssl-dev openssl libgtk-3-dev
googletest libgtest-dev libcpp-httplib-dev
xvfb xauth xdotool
nginx aria2 time
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
# Maintainer scripts must not start services: nginx's would take port 80, and
# without an init system its start fails the install. policy-rc.d says no
# while apt runs, unless the machine has a policy of its own.
policy=/usr/sbin/policy-rc.d
if [ ! -e "$policy" ]; then
    $SUDO sh -c "printf '#!/bin/sh\\nexit 101\\n' >$policy && chmod 755 $policy"
    trap '$SUDO rm -f "$policy"' EXIT
fi
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
