#!/usr/bin/env bash
# Runs inside the guest: bridges emulated products to /dev/uhid and drives them
# with gaming-device-cli over the kernel's hidraw nodes. $1 is the build folder.
set -u
bin=$1/bin
[ -e /dev/uhid ] || { echo "no /dev/uhid"; exit 1; }
"$bin/gd-uhid-bridge" mouse,mousepad,headset 60 &
bridge=$!
sleep 3
ls -l /dev/hidraw* || true
fail=0
check() {
  echo "\$ gaming-device-cli $*"
  "$bin/gaming-device-cli" --trace "$@" || fail=1
}
check list
check raw mouse CMD_CONFIG_BEGIN
check raw mouse CMD_READ_INFO
check raw mouse CMD_READ_PARAMS 80 0
check raw mousepad CMD_READ_INFO
check raw mouse CMD_CONFIG_END
# The device models over the same nodes: discovery, connect, a setting written and read back.
data=$(mktemp -d)
check --data-root "$data" devices
check --data-root "$data" connect mouse
check --data-root "$data" set mouse dpi-active 2
check --data-root "$data" connect mousepad
check --data-root "$data" connect headset
check --data-root "$data" watch mouse 3
rm -rf "$data"
kill $bridge 2>/dev/null
wait $bridge 2>/dev/null
echo "hidraw-check=$fail"
exit $fail
