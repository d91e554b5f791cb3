#!/bin/bash
# Sets Tessaly up on a Debian 12 machine and runs it.
#
#   ./setup.sh run    install the dependencies, build, and play the golf demo
#   ./setup.sh test   install the dependencies, build, and run every test
#
# Run it as root, or as a user who may use sudo. Without a display, "run"
# plays the demo under Xvfb for a few seconds and saves a screenshot.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

RUN_PACKAGES="build-essential cmake pkg-config libsdl1.2-dev libsdl-image1.2-dev
  libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri libpng-dev libjpeg-dev
  libfreetype-dev fonts-dejavu-core xvfb xauth xdotool x11-utils imagemagick"
TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  clang-format assimp-utils assimp-testmodels glmark2-data openctm-tools"
XVFB_SERVER_ARGS="-screen 0 1024x1024x24 -noreset"
# The locks of dpkg and apt, and how long to wait for another process (the
# machine's own updates, say) to let them go.
APT_LOCKS=${TESSALY_APT_LOCKS:-/var/lib/dpkg/lock-frontend /var/lib/dpkg/lock
  /var/lib/apt/lists/lock /var/cache/apt/archives/lock}
APT_WAIT=${TESSALY_APT_WAIT:-300}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# True while a process holds one of the locks: the kernel lists every held
# lock in /proc/locks by device and inode.
apt_locked() {
    local lock major minor inode
    for lock in $APT_LOCKS; do
        read -r major minor inode < <(stat -L -c '%Hd %Ld %i' "$lock" 2>/dev/null) || continue
        grep -q " $(printf '%02x:%02x:%s' "$major" "$minor" "$inode") " /proc/locks && return 0
    done
    return 1
}

wait_for_package_manager() {
    local waited=0
    apt_locked || return 0
    echo "Another process is using the package manager: waiting up to $APT_WAIT s for it..."
    while apt_locked; do
        if [ "$waited" -ge "$APT_WAIT" ]; then
            echo "The package manager is still in use after $APT_WAIT s; run $0 again once" \
                "the other process is done." >&2
            exit 1
        fi
        sleep 1
        waited=$((waited + 1))
    done
    echo "The package manager is free after $waited s: going on."
}

# apt-get as root once no other process holds the package manager; a process
# that takes dpkg's lock in between is waited for by apt-get itself.
apt_get() {
    wait_for_package_manager
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get -o DPkg::Lock::Timeout="$APT_WAIT" "$@"
}

install_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        apt_get update -qq
        apt_get install -y -qq "${missing[@]}"
    fi
}

build() { # build <dir> <cmake options...>
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$dir" "$@"
    cmake --build "$dir" -j"$(nproc)"
}

play() {
    cd "$ROOT/build/bin"
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        exec ./Tessaly
    fi
    local shot="$ROOT/tessaly-screenshot.png"
    xvfb-run -a -s "$XVFB_SERVER_ARGS" bash -c '
        export SDL_AUDIODRIVER=dummy
        ./Tessaly & pid=$!
        # Waits up to a minute for a condition.
        await() { for _ in $(seq 300); do "$@" && return 0; sleep 0.2; done; return 1; }
        window() {
            win=$(xdotool search --all --onlyvisible --pid $pid --name "^Tessaly$" 2>/dev/null)
            [ -n "$win" ]
        }
        # The board lights the screen below and right of its centre, where the
        # splash is black.
        playing() {
            [ "$(import -window "$win" -crop 70x90+400+352 -format "%[fx:mean>0.2]" info: \
                2>/dev/null)" = 1 ]
        }
        await window || { echo "Tessaly showed no window" >&2; kill $pid; exit 1; }
        xdotool mousemove --window "$win" 5 5 keydown a
        await playing || echo "The demo did not leave its splash" >&2
        xdotool keyup a
        import -window "$win" "$1"
        xdotool keydown Escape
        wait $pid; status=$?
        xdotool keyup Escape
        exit $status' _ "$shot"
    echo "No display here: Tessaly ran under Xvfb; its window is saved in $shot"
}

run_tests() {
    build "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_TESTS=ON
    # The unit tests side by side on one X server, then the programs driven in
    # their windows side by side, each on an X server of its own.
    (cd "$ROOT/build" && xvfb-run -a -s "$XVFB_SERVER_ARGS" \
        ctest --output-on-failure -j"$(nproc)" -LE e2e)
    (cd "$ROOT/build" && ctest --output-on-failure -j"$(nproc)" -L e2e)
    # The unit tests once more with AddressSanitizer and UndefinedBehaviorSanitizer,
    # the GL ones in their window too.
    build "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DTESSALY_SANITIZE=ON
    (cd "$ROOT/build-asan" && xvfb-run -a -s "$XVFB_SERVER_ARGS" \
        ctest --output-on-failure -j"$(nproc)" -LE e2e)
    # Bounded runs of the fuzz targets of the file readers.
    build "$ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_FUZZ=ON \
        -DTESSALY_TESTS=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
    (cd "$ROOT/build-fuzz" && ctest --output-on-failure -j"$(nproc)")
}

main() {
    cd "$ROOT"
    case "${1:-run}" in
    run)
        install_packages $RUN_PACKAGES
        # The tests need packages of their own: the test command builds them.
        build "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_TESTS=OFF
        play
        ;;
    test)
        install_packages $RUN_PACKAGES $TEST_PACKAGES
        run_tests
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
    esac
}

# Sourced (by its tests), the script only defines its functions.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    main "$@"
fi
