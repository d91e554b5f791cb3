#!/bin/bash
# setup.sh's installs while another process holds the package manager's lock:
#
#   package_lock_test.sh <setup.sh> free       nothing holds it: no wait
#   package_lock_test.sh <setup.sh> released   held, then let go once the
#                                              script says that it waits
#   package_lock_test.sh <setup.sh> held       held past the limit: a clear
#                                              stop, nothing installed
#
# The script's functions run with stand-ins for apt-get, dpkg-query and sudo
# on the PATH, and a lock file of the test's own in place of dpkg's, held
# with flock as dpkg holds its own with fcntl: both show in /proc/locks.
set -euo pipefail
SETUP=$1
CASE=$2

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
LOCK=$WORK/lock
RECORD=$WORK/apt-get.calls
OUT=$WORK/out
touch "$LOCK"
mkdir "$WORK/bin"
# Each apt-get call is recorded with whether the lock was free when it ran.
cat >"$WORK/bin/apt-get" <<END
#!/bin/bash
if flock -n "$LOCK" true; then state=free; else state=held; fi
echo "\$* (\$state)" >>"$RECORD"
END
printf '#!/bin/bash\nexit 1\n' >"$WORK/bin/dpkg-query"
printf '#!/bin/bash\nexec "$@"\n' >"$WORK/bin/sudo"
chmod +x "$WORK/bin/"*

fail() {
    echo "FAIL ($CASE): $*" >&2
    echo "--- output:" >&2
    cat "$OUT" >&2 || true
    echo "--- apt-get calls:" >&2
    cat "$RECORD" >&2 || true
    exit 1
}

# Installs two packages with the script's own function, in the background,
# without the test's hold on the lock: its output in OUT.
install() {
    PATH="$WORK/bin:$PATH" TESSALY_APT_LOCKS="$WORK/none $LOCK" TESSALY_APT_WAIT=$1 \
        bash -c 'source "$1" && install_packages pkg-one pkg-two' _ "$SETUP" >"$OUT" 2>&1 9>&- &
    INSTALL=$!
}

# Waits up to a minute for a line of the output.
await_output() {
    for _ in $(seq 600); do
        grep -q "$1" "$OUT" && return 0
        sleep 0.1
    done
    return 1
}

expect_installed() {
    local want
    want=$(printf '%s\n' "-o DPkg::Lock::Timeout=$1 update -qq (free)" \
        "-o DPkg::Lock::Timeout=$1 install -y -qq pkg-one pkg-two (free)")
    [ "$(cat "$RECORD" 2>/dev/null)" = "$want" ] || fail "apt-get was not run as expected"
}

WAITING="Another process is using the package manager: waiting up to"
case "$CASE" in
free)
    install 300
    wait "$INSTALL" || fail "the install failed"
    grep -q "$WAITING" "$OUT" && fail "it said it waits for a lock nobody holds"
    expect_installed 300
    ;;
released)
    exec 9>"$LOCK"
    flock 9
    install 300
    await_output "$WAITING 300 s" || fail "it did not say that it waits"
    [ -e "$RECORD" ] && fail "apt-get ran while the lock was held"
    exec 9>&-
    wait "$INSTALL" || fail "the install failed once the lock was free"
    grep -q "The package manager is free after [0-9]* s: going on." "$OUT" ||
        fail "it did not say that it goes on"
    expect_installed 300
    ;;
held)
    exec 9>"$LOCK"
    flock 9
    install 1
    status=0
    wait "$INSTALL" || status=$?
    [ "$status" -eq 1 ] || fail "status $status, not 1"
    grep -q "^The package manager is still in use after 1 s; run .* again once the other process is done.$" "$OUT" ||
        fail "no clear message at the limit"
    [ -e "$RECORD" ] && fail "apt-get ran while the lock was held"
    ;;
*)
    echo "usage: $0 <setup.sh> free|released|held" >&2
    exit 2
    ;;
esac
echo "ok ($CASE)"
