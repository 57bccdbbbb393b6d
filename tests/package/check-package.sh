#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a temporary
# root and runs the unpacked program from there; checks the package's files
# and, where the tools are installed, lintian and the AppStream metadata.
#   check-package.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d /tmp/talvo-package.XXXXXX)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/out/talvo_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -x "$deb" "$work/root"

for file in usr/bin/talvo usr/bin/talvo-helper \
            usr/share/applications/com.talvo.Talvo.desktop \
            usr/share/icons/hicolor/scalable/apps/com.talvo.Talvo.svg \
            usr/share/icons/hicolor/48x48/apps/com.talvo.Talvo.png \
            usr/share/metainfo/com.talvo.Talvo.metainfo.xml \
            usr/share/man/man1/talvo.1.gz \
            usr/share/bash-completion/completions/talvo \
            usr/share/kio/servicemenus/com.talvo.Talvo.addtoshelf.desktop \
            usr/share/nemo/actions/talvo-add.nemo_action \
            usr/share/doc/talvo/copyright; do
    [[ -e $work/root/$file ]] || fail "missing $file"
done
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6quick6* && $depends == *qml6-module-qtquick* ]] || fail "Depends lacks Qt: $depends"

export XDG_CONFIG_HOME=$work/config
version=$("$work/root/usr/bin/talvo" --version)
[[ $version == "talvo "* ]] || fail "talvo --version said: $version"
"$work/root/usr/bin/talvo" prefs list | grep -q '^shelfStyle' || fail "talvo prefs list"

if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$work/root/usr/share/metainfo/com.talvo.Talvo.metainfo.xml" \
        || fail "appstreamcli validate"
else
    echo "appstreamcli is not installed: metadata not validated"
fi
if command -v lintian >/dev/null; then
    lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" || fail "lintian"
else
    echo "lintian is not installed: package not checked"
fi
echo "package checks passed"
