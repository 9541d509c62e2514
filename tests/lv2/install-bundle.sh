#!/usr/bin/env bash
# Installs the build's bundle under a scratch prefix and checks that lv2ls finds the plug-in in
# PREFIX/lib/lv2, with the binary and both descriptions in place.
#   install-bundle.sh BUILD_DIR PLUGIN_URI
set -euo pipefail
build="$1"
uri="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix"
bundle="$prefix/lib/lv2/Ferrowin.lv2"
for file in Ferrowin.so manifest.ttl Ferrowin.ttl; do
  [ -s "$bundle/$file" ] || { echo "missing $bundle/$file"; exit 1; }
done
found="$(LV2_PATH="$prefix/lib/lv2" lv2ls)"
echo "lv2ls: $found"
[ "$found" = "$uri" ]
