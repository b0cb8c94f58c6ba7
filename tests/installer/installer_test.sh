#!/bin/sh
# installer_test.sh SOURCE_DIR KORVANEL_EXE KORVANEL_SEND_EXE WORK_DIR
#
# Builds the installer from the given programs, then, in the test Wine
# prefix: silent install -> files, autostart value and Add/Remove Programs
# entry present; the installed program starts and takes a POST from the
# installed korvanel-send; silent uninstall -> the program ended, files and
# registry entries gone, the logs in C:\Client_log kept.
# Every wait is bounded; on failure whatever the test installed or started
# is removed again, so that the next run starts clean.
set -u

[ $# -eq 4 ] || { echo "usage: $0 SOURCE_DIR KORVANEL_EXE KORVANEL_SEND_EXE WORK_DIR" >&2; exit 2; }
abs() { (cd "$(dirname "$1")" && echo "$(pwd)/$(basename "$1")"); }
root=$(abs "$1")
korvanel_exe=$(abs "$2")
send_exe=$(abs "$3")
work=$4

"$root/scripts/wine-session" start || { echo "FAIL: no Wine session" >&2; exit 1; }
KORVANEL_ROOT=$root
. "$root/scripts/wine-env"
unset LC_ALL LC_CTYPE LANGUAGE
export LANG=C.UTF-8

rm -rf "$work"
mkdir -p "$work"
# reg.exe is looked up in the current folder first; this one has none.
cd "$work"

install_dir_win='C:\Program Files\Korvanel'
install_dir="$WINEPREFIX/drive_c/Program Files/Korvanel"
run_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Korvanel'
log_dir="$WINEPREFIX/drive_c/Client_log"
program_pid=

failures=0
check() { # DESCRIPTION COMMAND...: one assertion
    what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what" >&2
        failures=$((failures + 1))
    fi
}
fatal() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs a Windows program to its end, at most LIMIT seconds, its output in
# files (never through a pipe: Wine's services would hold it open).
win() { # LIMIT PROGRAM ARGS...
    limit=$1
    shift
    last_out=$(mktemp "$work/wine-XXXXXX")
    timeout -k 5 "$limit" "$root/scripts/wine-run" "$@" </dev/null >"$last_out" 2>"$last_out.err"
    last_status=$?
    return $last_status
}

# wait_for LIMIT COMMAND...: polls every 0.2 s until COMMAND succeeds.
# COMMAND may wait_for in turn, hence the local deadline.
wait_for() {
    local deadline
    deadline=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# "TYPE DATA" of a registry value in the 64-bit view; fails when absent.
reg_value() { # KEY NAME
    win 60 reg query "$1" /v "$2" /reg:64 || return 1
    tr -d '\r' <"$last_out" | sed -n "s/^ *$2 \{4\}\(REG_[A-Z_]*\) \{4\}\(.*\)\$/\1 \2/p" | grep .
}
reg_key_exists() { win 60 reg query "$1" /reg:64; }

# Processes of this Wine prefix whose image is the installed korvanel.exe
# (the Windows path is their argv[0]). Programs run by other tests from the
# build tree are not matched.
installed_korvanel_pids() {
    for p in /proc/[0-9]*; do
        # Processes come and go while we read: a vanished one is skipped.
        { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        argv0=$({ tr '\0' '\n' <"$p/cmdline"; } 2>/dev/null | head -n 1)
        if [ "$(printf '%s' "$argv0" | tr 'A-Z' 'a-z')" = 'c:\program files\korvanel\korvanel.exe' ]; then
            echo "${p#/proc/}"
        fi
    done
}
no_korvanel_running() { [ -z "$(installed_korvanel_pids)" ]; }

# Any IPv4 or IPv6 listener on 8086 on this machine.
port_listening() {
    awk 'tolower($2) ~ /:1f96$/ && $4 == "0A" { found = 1 } END { exit !found }' \
        /proc/net/tcp /proc/net/tcp6 2>/dev/null
}
port_free() { ! port_listening; }

# Leaves the prefix without this test's installation: used before the test
# (a run that was killed) and after a failure.
remove_installation() {
    for pid in $program_pid $(installed_korvanel_pids); do
        kill -9 "$pid" 2>/dev/null
    done
    program_pid=
    rm -rf "$install_dir"
    win 60 reg delete "$uninstall_key" /f /reg:64
    if reg_value "$run_key" Korvanel | grep -qiF "$install_dir_win"; then
        win 60 reg delete "$run_key" /v Korvanel /f /reg:64
    fi
    return 0
}
trap 'status=$?; [ $status -eq 0 ] || remove_installation; exit $status' EXIT
trap 'exit 130' INT TERM

remove_installation

# --- build -------------------------------------------------------------
KORVANEL_EXE=$korvanel_exe KORVANEL_SEND_EXE=$send_exe \
    "$root/installer/make-installer" "$work" "$work/korvanel-setup.exe" ||
    fatal "the installer does not build"

# --- silent install ----------------------------------------------------
win 300 "$work/korvanel-setup.exe" /S
check "silent install exits 0 (was $last_status)" [ "$last_status" -eq 0 ]
[ $failures -eq 0 ] || { cat "$last_out.err" >&2; exit 1; }
check "a silent install starts no program" no_korvanel_running

# The files are the build's programs, stripped as the installer ships them;
# stripping stamps a new time into the header, so the code, data and
# resources are compared.
same_program() { # BUILT INSTALLED
    for section in .text .data .rdata .rsrc; do
        x86_64-w64-mingw32-objcopy -O binary -j $section "$1" "$work/built$section" &&
            x86_64-w64-mingw32-objcopy -O binary -j $section "$2" "$work/installed$section" &&
            cmp -s "$work/built$section" "$work/installed$section" || return 1
    done
    [ -s "$work/built.text" ]
}
check "korvanel.exe installed as built" same_program "$korvanel_exe" "$install_dir/korvanel.exe"
check "korvanel-send.exe installed as built" same_program "$send_exe" "$install_dir/korvanel-send.exe"
check "uninstaller installed" [ -f "$install_dir/uninstall.exe" ]

check "Run value Korvanel is REG_EXPAND_SZ with the full path" \
    [ "$(reg_value "$run_key" Korvanel)" = "REG_EXPAND_SZ $install_dir_win\\korvanel.exe" ]
for pair in "DisplayName=Korvanel" "DisplayVersion=0.1.0" "Publisher=Korvanel team" \
    "UninstallString=\"$install_dir_win\\uninstall.exe\""; do
    name=${pair%%=*}
    check "uninstall entry $name is ${pair#*=}" \
        [ "$(reg_value "$uninstall_key" "$name")" = "REG_SZ ${pair#*=}" ]
done

# --- the installed program runs ----------------------------------------
# Other programs may use 8086 now and then; the program retries its listen,
# but a free port makes for a quick start.
wait_for 120 port_free || echo "note: port 8086 is in use by another program" >&2

# Starts the installed program as the Run value says, the way Windows does
# at logon, and waits until it runs.
start_program() {
    attempt=1
    while :; do
        wine "$install_dir_win\\korvanel.exe" </dev/null >"$work/korvanel.out" 2>"$work/korvanel.err" &
        program_pid=$!
        wait_for 60 running && return 0
        # Wine now and then fails to start a process; try again.
        [ $attempt -lt 3 ] && grep -q "failed to map the shared user data" "$work/korvanel.err" ||
            fatal "korvanel.exe did not start: $(cat "$work/korvanel.err")"
        attempt=$((attempt + 1))
    done
}
running() { [ -n "$(installed_korvanel_pids)" ]; }

# Waits for the program started last to end; its exit status tells a clean
# end (the main dialog closed) from a kill.
check_program_ended_cleanly() {
    ended() {
        [ ! -e "/proc/$program_pid" ] ||
            grep -q '^[0-9]* ([^)]*) Z' "/proc/$program_pid/stat" 2>/dev/null
    }
    if wait_for 30 ended; then
        wait "$program_pid"
        exit_code=$?
        program_pid=
        check "Korvanel ended cleanly (exit $exit_code)" [ "$exit_code" -eq 0 ]
    else
        check "Korvanel ended" false
    fi
}

start_program
check "one Korvanel runs" [ "$(installed_korvanel_pids | wc -l)" -eq 1 ]

# The program logs every document it takes: a 200 counts only with the
# document in this prefix's log, for another program on the port may answer
# until ours has it. Sent again until then.
marker="installer-test-$$-$(date +%s)"
logged() { grep -rqaF "$marker" "$log_dir" 2>/dev/null; }
delivered() {
    win 60 "$install_dir_win\\korvanel-send.exe" --host 127.0.0.1 --port 8086 \
        --title "$marker" --info "from the installed korvanel-send" &&
        wait_for 5 logged
}
check "the installed korvanel-send gets 200 from the installed program" wait_for 90 delivered
[ $failures -eq 0 ] || cat "$last_out" "$last_out.err" >&2

# --- silent install over the running program --------------------------
win 300 "$work/korvanel-setup.exe" /S
check "silent reinstall exits 0 (was $last_status)" [ "$last_status" -eq 0 ]
check "the reinstall closed the running Korvanel" wait_for 30 no_korvanel_running
check_program_ended_cleanly
check "korvanel.exe reinstalled" same_program "$korvanel_exe" "$install_dir/korvanel.exe"
check "Run value kept" \
    [ "$(reg_value "$run_key" Korvanel)" = "REG_EXPAND_SZ $install_dir_win\\korvanel.exe" ]
start_program

# --- silent uninstall --------------------------------------------------
win 120 "$install_dir_win\\uninstall.exe" /S
check "silent uninstall exits 0 (was $last_status)" [ "$last_status" -eq 0 ]
# The uninstaller runs from a copy in the temporary folder; the install
# folder goes last.
dir_gone() { [ ! -e "$install_dir" ]; }
check "install folder removed" wait_for 60 dir_gone
check "no Korvanel process left" wait_for 30 no_korvanel_running

check_program_ended_cleanly

run_value_absent() { ! reg_value "$run_key" Korvanel; }
uninstall_key_absent() { ! reg_key_exists "$uninstall_key"; }
check "Run value removed" run_value_absent
check "uninstall entry removed" uninstall_key_absent
check "C:\\Client_log kept" logged

[ $failures -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "installer test passed"
