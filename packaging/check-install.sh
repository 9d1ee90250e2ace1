#!/bin/sh
# Checks what installing the build puts on a machine.
#   check-install.sh CHECK BUILD_DIR VERSION APP_ID HAS_WINDOW HAS_DESKTOP_FILES
# CHECK is one of
#   tree      cmake --install into a temporary prefix: executables, desktop entry, icons, metainfo
#   metainfo  the installed AppStream metainfo passes appstreamcli (skipped without it)
#   deb       cpack -G DEB: package fields, declared dependencies, and the extracted exporter runs
# Exit status 0 passed, 1 failed, 77 skipped.
set -u
check=$1 build=$2 version=$3 app_id=$4 has_window=$5 has_desktop_files=$6

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
skip() {
    echo "SKIP: $*"
    exit 77
}
need() {
    command -v "$1" >/dev/null 2>&1 || skip "$1 is not installed ($2)"
}

install_into() {
    cmake --install "$build" --prefix "$1" >"$work/install.log" 2>&1 || {
        cat "$work/install.log"
        echo "FAIL: cmake --install into $1"
        exit 1
    }
}

# The width and height stored in a PNG's header, as "WxH".
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

expect_version() { # EXE
    out=$("$1" --version 2>&1)
    [ "$out" = "quillon-export $version" ] || fail "$1 --version said '$out'"
}

check_tree() {
    prefix=$work/prefix
    install_into "$prefix"
    [ -x "$prefix/bin/quillon-export" ] || fail "bin/quillon-export is not installed"
    expect_version "$prefix/bin/quillon-export"
    if [ "$has_window" = 1 ]; then
        [ -x "$prefix/bin/quillon" ] || fail "bin/quillon is not installed"
    fi
    [ "$has_desktop_files" = 1 ] || return 0

    desktop=$prefix/share/applications/$app_id.desktop
    [ -f "$desktop" ] || fail "share/applications/$app_id.desktop is not installed"
    if command -v desktop-file-validate >/dev/null 2>&1; then
        desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    else
        fail "desktop-file-validate is not installed (Debian package desktop-file-utils)"
    fi
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    if [ "$has_window" = 1 ]; then
        [ -x "$prefix/bin/$exec_name" ] || fail "Exec=$exec_name is not an installed executable"
    fi

    icon=$(sed -n 's/^Icon=//p' "$desktop")
    hicolor=$prefix/share/icons/hicolor
    [ -f "$hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named $icon"
    for size in 16 32 48 64 128 256; do
        png=$hicolor/${size}x$size/apps/$icon.png
        if [ -f "$png" ]; then
            actual=$(png_size "$png")
            [ "$actual" = "${size}x$size" ] || fail "$png is $actual"
        else
            fail "no ${size}x$size icon named $icon"
        fi
    done

    metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
    if [ -f "$metainfo" ]; then
        grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
        grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
            fail "metainfo does not launch $app_id.desktop"
        newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
        [ "$newest" = "$version" ] ||
            fail "newest release in the metainfo is '$newest', the project is $version"
    else
        fail "share/metainfo/$app_id.metainfo.xml is not installed"
    fi
}

check_metainfo() {
    [ "$has_desktop_files" = 1 ] || skip "built without the window: no metainfo is installed"
    need appstreamcli "Debian package appstream"
    install_into "$work/prefix"
    appstreamcli validate --no-net "$work/prefix/share/metainfo/$app_id.metainfo.xml" ||
        fail "appstreamcli rejects the installed metainfo"
}

check_deb() {
    need cpack "CMake"
    need dpkg-deb "Debian package dpkg"
    need dpkg-shlibdeps "Debian package dpkg-dev"
    cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || {
        cat "$work/cpack.log"
        fail "cpack -G DEB"
        return
    }
    set -- "$work"/out/*.deb
    [ $# = 1 ] && [ -f "$1" ] || {
        fail "cpack made no single .deb: $*"
        return
    }
    deb=$1
    [ "$(dpkg-deb -f "$deb" Package)" = quillon ] || fail "package name is not quillon"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
    depends=$(dpkg-deb -f "$deb" Depends)
    wanted="libqt6core6"
    [ "$has_window" = 1 ] && wanted="$wanted libqt6gui6 libqt6widgets6"
    for pkg in $wanted; do
        case "$depends" in
        *"$pkg "* | *"$pkg," | *"$pkg") ;;
        *) fail "Depends does not name $pkg: $depends" ;;
        esac
    done
    dpkg-deb -c "$deb" >"$work/contents"
    for path in ./usr/bin/quillon-export \
        $([ "$has_window" = 1 ] && echo ./usr/bin/quillon) \
        $([ "$has_desktop_files" = 1 ] &&
            echo "./usr/share/applications/$app_id.desktop" \
                "./usr/share/metainfo/$app_id.metainfo.xml" \
                "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
                "./usr/share/icons/hicolor/32x32/apps/$app_id.png"); do
        grep -q " $path\$" "$work/contents" || fail "the package does not hold $path"
    done
    dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x"
    expect_version "$work/root/usr/bin/quillon-export"
}

case "$check" in
tree) check_tree ;;
metainfo) check_metainfo ;;
deb) check_deb ;;
*)
    echo "unknown check: $check"
    exit 2
    ;;
esac
[ "$failures" = 0 ] || exit 1
echo "PASS: $check"
