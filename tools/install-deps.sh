#!/bin/sh
# Installs, through apt, only the Debian packages that are not there yet.
set -e
PKGS="make cmake g++ qt6-base-dev qt6-base-dev-tools fonts-liberation poppler-utils libbenchmark-dev libsqlite3-dev"
# ICU orders the names in the lists by the locale's collation.
PKGS="$PKGS libicu-dev"
# Spreadsheets: libxlsxwriter writes the XLSX exports; pkg-config finds it, and its link line names zlib,
# whose development files its package does not pull in. The tests read workbooks back with unzip.
PKGS="$PKGS pkg-config libxlsxwriter-dev zlib1g-dev unzip"
# The shared server: libpq talks to PostgreSQL; the server tests and the load benchmark start a throwaway
# cluster with its initdb and pg_ctl. The server comes without its recommendations: they bring a mail
# transport agent, whose set-up fails on a machine without the usual system users and never serves the tests.
PKGS="$PKGS libpq-dev"
# SHA-256 at the processor's speed for the history and the backups: OpenSSL's libcrypto, opened at the first hash.
PKGS="$PKGS libssl-dev"
LEAN_PKGS="postgresql"
# Installing and packaging: the menu entry and metainfo checks, the manual page check, and what CPack's Debian
# generator calls (dpkg-shlibdeps, file).
PKGS="$PKGS desktop-file-utils appstream xdg-utils man-db dpkg-dev file"
# The button test also runs under GTK's platform theme, which needs a display: a virtual one.
PKGS="$PKGS qt6-gtk-platformtheme xvfb xauth"
# make fuzz also needs clang and its fuzzer and sanitizer runtimes.
if [ "$1" = "--fuzz" ]; then
    PKGS="$PKGS clang libclang-rt-14-dev"
fi
missing_of() {
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            printf ' %s' "$p"
        fi
    done
}
missing=$(missing_of $PKGS)
lean=$(missing_of $LEAN_PKGS)
if [ -n "$missing$lean" ]; then
    echo "Installing:$missing$lean"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -q
    [ -z "$missing" ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
    [ -z "$lean" ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $lean
fi
