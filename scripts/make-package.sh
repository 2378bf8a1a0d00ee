#!/usr/bin/env bash
# Builds the Debian package of the game, cornfield_<version>_<arch>.deb, from
# this tree: the game built with Debian's build flags (hardening included),
# `cpack -G DEB` on its install component, then the package's own checks:
# the version is the same in VERSION, the changelog and the AppStream
# release list; the desktop entry and the AppStream metadata as installed
# pass desktop-file-validate and appstreamcli; lintian reports no error
# (its warnings are printed). The package's path is the last line printed.
#
#   scripts/make-package.sh [BUILD_DIR]          (default build/package)
#
# Needs what scripts/install-deps.sh play package installs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/package}
case "$build" in /*) ;; *) build=$PWD/$build ;; esac
jobs=$(nproc)

fail() { echo "make-package: $*" >&2; exit 1; }

version=$(head -n 1 VERSION)
changelog=$(sed -n '1s/^cornfield (\([^)]*\)).*/\1/p' packaging/changelog)
release=$(grep -o '<release version="[^"]*"' packaging/*.metainfo.xml | head -n 1 | sed 's/.*"\(.*\)"/\1/')
[ "$changelog" = "$version" ] || fail "packaging/changelog starts at $changelog, VERSION says $version"
[ "$release" = "$version" ] || fail "the metainfo's newest release is $release, VERSION says $version"

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" \
    -DVQ_BUILD_TESTS=OFF -DVQ_BUILD_BENCHMARKS=OFF -DVQ_BUILD_TOOLS=OFF \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" --target cornfield cornfield_documents -j "$jobs" >/dev/null
rm -f "$build"/cornfield_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/cornfield_"$version"_*.deb 2>/dev/null) || fail "cpack made no cornfield_${version}_*.deb"

contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml || fail "the AppStream metadata does not validate"

lintian_output=$(lintian --allow-root --info "$deb" 2>&1) || true
echo "== lintian $(basename "$deb")"
[ -n "$lintian_output" ] && echo "$lintian_output"
if echo "$lintian_output" | grep -q '^E: '; then
    fail "lintian reports errors"
fi
echo "$deb"
