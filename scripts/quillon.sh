#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   scripts/quillon.sh run    install what is missing, build, start the program on a copy of
#                             the sample set and scan it
#   scripts/quillon.sh test   install what is missing, build, run every check and test,
#                             then a short run of every fuzz target and the Debian package
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config git
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-format clang libclang-rt-14-dev
    nlohmann-json3-dev libjpeg62-turbo-dev
    qt6-base-dev libqcustomplot-dev libgl-dev
    xvfb xauth locales python3
    dpkg-dev
)

# The tests read a decimal comma from a German locale; build it when the machine lacks it.
ensure_comma_locale() {
    locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "note: no de_DE.UTF-8 locale" >&2
}

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
}

case "${1:-}" in
run)
    install_missing
    cmake --preset dev
    cmake --build --preset dev
    # A scratch copy: a scan writes a converted copy beside a file with bare line feeds, and
    # samples/ stays as it is.
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/quillon-samples.XXXXXX")
    cp samples/quil3430.26? "$scratch"/
    echo "Scanning the sample set copied to $scratch"
    exec ./build/dev/src/app/quillon "$scratch/quil3430.26o"
    ;;
test)
    install_missing
    ensure_comma_locale
    scripts/check-layers.sh
    scripts/check-format.sh
    cmake --workflow --preset dev
    cmake --workflow --preset asan
    cmake --preset fuzz
    cmake --build --preset fuzz
    scripts/fuzz-smoke.sh 10
    cmake --workflow --preset package
    ;;
*)
    echo "usage: scripts/quillon.sh run|test" >&2
    exit 2
    ;;
esac
