#!/usr/bin/env bash
# vm-check.sh: builds the program and runs tests/vm/check-hidraw.sh in a guest
# with the real kernel's uhid and hidraw (needs the machine's vm/ folder of the
# shared workspace and qemu-system-x86, linux-image-amd64, busybox-static).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
vm=${GD_VM_DIR:-$root/../shared/vm}
build=$root/build-vm
"$root/scripts/build.sh" "$build" -DGD_BUILD_TESTS=OFF -DGD_BUILD_BENCH=OFF
guest=$(mktemp /var/tmp/gd-vm-XXXXXX.sh)
trap 'rm -f "$guest"' EXIT
printf '#!/bin/bash\nbash %q %q\n' "$root/tests/vm/check-hidraw.sh" "$build" > "$guest"
out=$(bash "$vm/run.sh" "$guest" 2>&1) || true
echo "$out"
grep -q 'hidraw-check=0' <<<"$out"
