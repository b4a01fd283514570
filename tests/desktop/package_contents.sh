#!/bin/sh
# The Debian package built from this build folder: what it holds, and what
# lintian says of it (no error, no warning).
#   package_contents.sh BUILD_DIR
set -eu
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/velmar_*_amd64.deb)
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
fail=0
for path in ./usr/bin/velmar ./usr/bin/velmar-cli \
            ./usr/share/man/man1/velmar.1.gz ./usr/share/man/man1/velmar-cli.1.gz \
            ./usr/share/applications/velmar.desktop ./usr/share/mime/packages/velmar.xml \
            ./usr/share/icons/hicolor/scalable/apps/velmar.svg \
            ./usr/share/metainfo/org.velmar.Velmar.metainfo.xml \
            ./usr/share/doc/velmar/copyright ./usr/share/doc/velmar/changelog.gz \
            ./usr/share/nemo/actions/velmar-verify.nemo_action ./usr/share/kio/servicemenus/velmar-create.desktop \
            ./usr/share/file-manager/actions/velmar-check.desktop \
            ./usr/share/nautilus-python/extensions/velmar.py; do
    printf '%s\n' "$contents" | grep -qx "$path" || { echo "missing from the package: $path"; fail=1; }
done
printf '%s\n' "$contents" | grep -q '^\./usr/local' && { echo "the package installs under /usr/local"; fail=1; }
dpkg-deb -f "$deb" Depends | grep -q libssl3 || { echo "libcrypto's package is not a dependency"; fail=1; }
lintian --fail-on error,warning "$deb" || fail=1
exit $fail
