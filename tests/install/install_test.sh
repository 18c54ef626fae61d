#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it as another program
# would: a C program built through pkg-config and through find_package, the
# tool and the desktop program run from the prefix.
# Arguments: the build folder, the C compiler, and whether the build is
# relocatable (TESSEL_RELOCATABLE: ON for a movable tree, OFF for a package's
# /usr, where the programs carry no run path and the pkg-config file names
# /usr; the test then points the loader and pkg-config at the prefix).
set -euo pipefail
build=$1
cc=$2
relocatable=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(cd "$prefix" && dirname "$(find . -name 'libTESSEL_CAT.so.1' | head -n 1)")
libdir=${libdir#./}
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
pkg_config=(pkg-config)
if [ "$relocatable" = OFF ]; then
    grep -q '^prefix=/' "$prefix/$libdir/pkgconfig/tessel-cat.pc" || fail "the package's pkg-config file names no absolute prefix"
    pkg_config+=(--define-variable=prefix="$prefix")
fi
# shellcheck disable=SC2046
"$cc" "$work/convert.c" -o "$work/by-pkg-config" $("${pkg_config[@]}" --cflags --libs tessel-cat) \
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

# The programs find the library through their run path ($ORIGIN), or, built
# for a package, through the system's search (here the prefix's library
# folder, as the system would find /usr's).
runpath() { readelf -d "$1" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p'; }
for program in "$prefix"/bin/*; do
    if [ "$relocatable" = ON ]; then
        [ "$(runpath "$program")" = "\$ORIGIN/../$libdir" ] || fail "$program: run path $(runpath "$program")"
    else
        [ -z "$(runpath "$program")" ] || fail "$program: run path $(runpath "$program") in a package build"
    fi
done
[ "$relocatable" = ON ] || export LD_LIBRARY_PATH="$prefix/$libdir"

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

# The desktop program, where it is built: it runs from the prefix, and its
# batch selection library lies in a folder of its own, the one whose path
# relative to the programs' folder the program holds.
if [ -e "$prefix/bin/TesselFilterPack" ]; then
    multisel=$(cd "$prefix" && find . -name libMultisel.so)
    multisel=${multisel#./}
    [ "$(echo "$multisel" | wc -w)" = 1 ] || fail "libMultisel.so installed as: $multisel"
    [ "$(dirname "$multisel")" != "$libdir" ] || fail "libMultisel.so lies among the public libraries"
    from_programs=$(realpath --relative-to="$prefix/bin" "$prefix/$(dirname "$multisel")")
    grep -a -q -F "$from_programs" "$prefix/bin/TesselFilterPack" ||
        fail "TesselFilterPack does not look in $from_programs"
    out=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/TesselFilterPack" --version | head -n 1)
    [ "$out" = "TesselFilterPack (Tessel Filter Pack) ${version##* }" ] || fail "TesselFilterPack --version said: $out"
    if command -v help2man >/dev/null; then
        grep -q '^\.SH OPTIONS' "$prefix/share/man/man1/TesselFilterPack.1" ||
            fail "the desktop program's manual page lacks its options"
    fi
fi
echo "install test: prefix, pkg-config, find_package, tool and desktop program all fine"
