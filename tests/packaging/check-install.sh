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
         share/man/man1/vellumo.1 share/man/man1/vellumo-cli.1 \
         share/bash-completion/completions/vellumo-cli share/zsh/site-functions/_vellumo-cli \
         share/fish/vendor_completions.d/vellumo-cli.fish \
         share/vellumo/help/Introduction.htm share/vellumo/translations/vellumo_de.qm; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/example.orlenwick.Vellumo.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/example.orlenwick.Vellumo.metainfo.xml"
for page in vellumo.1 vellumo-cli.1; do
    # Warnings of the formatter (bad requests, unknown escapes) are failures too.
    warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done
# The completions load without errors and register for vellumo-cli.
bash -c "source '$prefix/share/bash-completion/completions/vellumo-cli' && complete -p vellumo-cli" >/dev/null
if command -v zsh >/dev/null; then
    zsh -n "$prefix/share/zsh/site-functions/_vellumo-cli"
    zsh -fc "autoload -Uz compinit && compinit -u -D && fpath=('$prefix/share/zsh/site-functions' \$fpath) && autoload -Uz _vellumo-cli && whence -w _vellumo-cli" >/dev/null
fi
if command -v fish >/dev/null; then
    fish --no-config -c "source '$prefix/share/fish/vendor_completions.d/vellumo-cli.fish'; complete -C 'vellumo-cli --fi'" | grep -q -- --fit
fi
echo "installed files are in place and valid"
