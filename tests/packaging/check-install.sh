#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the desktop files are there
# and valid: check-install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/vellumo bin/vellumo-cli \
         share/applications/example.orlenwick.Vellumo.desktop \
         share/metainfo/example.orlenwick.Vellumo.metainfo.xml \
         share/icons/hicolor/256x256/apps/vellumo.png share/icons/hicolor/scalable/apps/vellumo.svg \
         share/man/man1/vellumo.1 share/vellumo/help/Introduction.htm \
         share/vellumo/translations/vellumo_de.qm; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/example.orlenwick.Vellumo.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/example.orlenwick.Vellumo.metainfo.xml"
man -l "$prefix/share/man/man1/vellumo.1" >/dev/null
echo "installed files are in place and valid"
