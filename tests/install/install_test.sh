#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it as another program
# would: a C program built through pkg-config and through find_package, the
# tool run from the prefix, and the Debian package's contents.
# Arguments: the build folder, the C compiler.
set -euo pipefail
build=$1
cc=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(cd "$prefix" && dirname "$(find . -name 'libTESSEL_CAT.so.1' | head -n 1)")
[ -n "$libdir" ] || fail "no libTESSEL_CAT.so.1 installed"
for file in include/tessel_cat.h "$libdir/libTESSEL_CAT.so" "$libdir/pkgconfig/tessel-cat.pc" \
    "$libdir/cmake/TesselCat/TesselCatConfig.cmake" bin/tessel; do
    [ -e "$prefix/$file" ] || fail "missing $file"
done
if command -v help2man >/dev/null; then
    [ -s "$prefix/share/man/man1/tessel.1" ] || fail "missing the manual page"
    grep -q 'markup' "$prefix/share/man/man1/tessel.1" || fail "the manual page lacks the commands"
fi

# The C program of the README (the output of its `$ cat convert.c`), which
# converts a file through the installed library.
readme="$(dirname "$0")/../../README.md"
awk '/^\$ cat convert\.c$/ { shown = 1; next } shown && /^\$ / { exit } shown' "$readme" \
    >"$work/convert.c"
grep -q 'funciTextReadWriteParser' "$work/convert.c" || fail "README.md shows no convert.c"
printf 'one\rtwo\n' >"$work/input.mac"
export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig"
# shellcheck disable=SC2046
"$cc" "$work/convert.c" -o "$work/by-pkg-config" $(pkg-config --cflags --libs tessel-cat) \
    -Wl,-rpath,"$prefix/$libdir"
out=$("$work/by-pkg-config" "$work/input.mac")
[ "$out" = "TESSEL_CAT.DLL Version 1.09: 2, $work/input.txt" ] ||
    fail "pkg-config program said: $out"
[ "$(od -An -c "$work/input.txt" | tr -d ' \n')" = 'one\r\ntwo\r\n' ] || fail "wrong conversion"

mkdir "$work/consumer"
cat >"$work/consumer/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.16)
project(consumer C)
find_package(TesselCat 1 REQUIRED)
add_executable(by-find-package ../convert.c)
target_link_libraries(by-find-package PRIVATE TesselCat::TESSEL_CAT)
CMAKE
cmake -S "$work/consumer" -B "$work/consumer/build" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_COMPILER="$cc" >/dev/null
cmake --build "$work/consumer/build" >/dev/null
rm -f "$work/input.txt"
out=$("$work/consumer/build/by-find-package" "$work/input.mac")
[ "$out" = "TESSEL_CAT.DLL Version 1.09: 2, $work/input.txt" ] ||
    fail "find_package program said: $out"

version=$("$prefix/bin/tessel" --version | head -n 1)
[ "$version" = "tessel (Tessel Filter Pack) $(sed -n 's/^project([^ ]* VERSION \([0-9.]*\).*/\1/p' \
    "$(dirname "$0")/../../CMakeLists.txt")" ] || fail "tessel --version said: $version"

# The installed tool finds the shipped HTML tag file in its data folder:
# HTML5 elements mark up without a kept error log.
tags="$prefix/share/tessel-filter-pack/html5-tags.txt"
[ -s "$tags" ] || fail "missing share/tessel-filter-pack/html5-tags.txt"
printf '<section><nav><mark>x</mark></nav></section>\r\n' >"$work/modern.html"
out=$("$prefix/bin/tessel" markup html "$work/modern.html") || fail "the HTML5 page gave a kept log"
case "$out" in
*"Using Tag Definition File: $tags"*) ;;
*) fail "the installed tool did not read $tags: $out" ;;
esac

# The Debian package holds the same tree under /usr, and its tool runs.
if command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
    (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null)
    deb=$(ls "$work"/deb/*.deb)
    dpkg-deb -c "$deb" >"$work/contents"
    for file in ./usr/bin/tessel ./usr/include/tessel_cat.h libTESSEL_CAT.so.1 tessel-cat.pc \
        TesselCatConfig.cmake ./usr/share/tessel-filter-pack/html5-tags.txt; do
        grep -q -- "$file" "$work/contents" || fail "the package lacks $file"
    done
    dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "the package names no dependencies"
    dpkg-deb -x "$deb" "$work/unpacked"
    "$work/unpacked/usr/bin/tessel" --version | grep -q '^TESSEL_CAT.DLL Version 1.09$' ||
        fail "the packaged tool does not run"
fi
echo "install test: prefix, pkg-config, find_package, tool and package all fine"
