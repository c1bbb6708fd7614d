#!/bin/sh
# make demo: installs the sample package unattended into a fresh machine folder under the
# build folder, printing the run, lists the installed programs and the uninstall entries, and
# uninstalls the sample again. Usage: tools/demo.sh BUILD_DIR
set -u
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
case $build in /*) ;; *) build=$root/$build ;; esac
korvane=$build/korvane
machine=$build/demo-machine
sample=$root/examples/sample
uninstall_key='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'

if [ ! -x "$korvane" ]; then
    echo "demo: $korvane is missing; run make first" >&2
    exit 1
fi

step() {
    printf '\n=== %s\n' "$*"
}

rm -rf "$machine"
status=0

step "korvane --machine $machine setup examples/sample --unattended --log -"
"$korvane" --machine "$machine" setup "$sample" --unattended --log -
code=$?
echo "(exit $code)"
[ $code -le 1 ] || status=1

step "korvane programs"
"$korvane" --machine "$machine" programs
echo "(exit $?)"

step "korvane reg export '$uninstall_key'"
"$korvane" --machine "$machine" reg export "$uninstall_key"
echo "(exit $?)"

name=$("$korvane" --machine "$machine" programs 2>/dev/null | head -n 1 | cut -f 1)
if [ -n "$name" ]; then
    step "korvane remove $name --unattended --log -"
    "$korvane" --machine "$machine" remove "$name" --unattended --log -
    code=$?
    echo "(exit $code)"
    [ $code -le 1 ] || status=1
else
    echo "demo: no uninstall entry to remove" >&2
    status=1
fi

step "the machine after the uninstallation: korvane programs"
"$korvane" --machine "$machine" programs
echo "(exit $?)"
exit $status
