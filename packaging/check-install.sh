#!/bin/sh
# Checks what installing the build puts on a machine.
#   check-install.sh CHECK BUILD_DIR VERSION APP_ID HAS_WINDOW HAS_DESKTOP_FILES
# CHECK is one of
#   tree      cmake --install into a temporary prefix: executables, desktop entry, icons, metainfo
#   metainfo  the installed AppStream metainfo passes appstreamcli (skipped without it)
#   deb       cpack -G DEB: package fields, declared dependencies, and the unpacked exporter runs
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
    command -v "$1" >/dev/null 2>&1 || skip "$1 is not installed (Debian package $2)"
}
present() { # PATH: a regular file, or with -x an executable
    if [ "$1" = -x ]; then
        [ -x "$2" ] || fail "${2#"$work"/} is not an installed executable"
    else
        [ -f "$1" ] || fail "${1#"$work"/} is not installed"
    fi
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

# The executables installed under ROOT: both present, the exporter runs and knows its version.
check_executables() { # ROOT
    present -x "$1/bin/quillon-export"
    out=$("$1/bin/quillon-export" --version 2>&1)
    [ "$out" = "quillon-export $version" ] || fail "quillon-export --version said '$out'"
    [ "$has_window" = 0 ] || present -x "$1/bin/quillon"
}

check_tree() {
    prefix=$work/prefix
    install_into "$prefix"
    check_executables "$prefix"
    [ "$has_desktop_files" = 1 ] || return 0

    desktop=$prefix/share/applications/$app_id.desktop
    present "$desktop"
    [ "$has_window" = 0 ] || present -x "$prefix/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"

    icon=$(sed -n 's/^Icon=//p' "$desktop")
    hicolor=$prefix/share/icons/hicolor
    present "$hicolor/scalable/apps/$icon.svg"
    for size in 16 32 48 64 128 256; do
        png=$hicolor/${size}x$size/apps/$icon.png
        present "$png"
        [ ! -f "$png" ] || [ "$(png_size "$png")" = "${size}x$size" ] ||
            fail "${png#"$work"/} is $(png_size "$png")"
    done

    metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
    present "$metainfo"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $app_id.desktop"
    newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
    [ "$newest" = "$version" ] ||
        fail "the newest release in the metainfo is '$newest', the project is $version"

    # Last, so that a missing validator does not hide the failures above.
    [ "$failures" = 0 ] || return 0
    need desktop-file-validate desktop-file-utils
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
}

check_metainfo() {
    [ "$has_desktop_files" = 1 ] || skip "built without the window: no metainfo is installed"
    need appstreamcli appstream
    install_into "$work/prefix"
    appstreamcli validate --no-net "$work/prefix/share/metainfo/$app_id.metainfo.xml" ||
        fail "appstreamcli rejects the installed metainfo"
}

check_deb() {
    need dpkg-deb dpkg
    need dpkg-shlibdeps dpkg-dev
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
    [ "$(dpkg-deb -f "$deb" Package)" = quillon ] || fail "the package is not named quillon"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package version is not $version"
    depends=$(dpkg-deb -f "$deb" Depends)
    wanted=libqt6core6
    [ "$has_window" = 0 ] || wanted="$wanted libqt6gui6 libqt6widgets6"
    for pkg in $wanted; do
        case "$depends" in
        *"$pkg "* | *"$pkg," | *"$pkg") ;;
        *) fail "Depends does not name $pkg: $depends" ;;
        esac
    done
    dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x"
    check_executables "$work/root/usr"
    [ "$has_desktop_files" = 0 ] || present "$work/root/usr/share/applications/$app_id.desktop"
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
