#!/usr/bin/env bash
# Runs the Windows driver test under Wine in an X server of its own, with a
# German user locale. Usage: run_driver.sh DRIVER.exe TALLARO.exe
set -euo pipefail
driver=$1
program=$2
source "$(dirname "$0")/../../e2e/x_session.sh"
start_xvfb
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
wine "$driver" "$(winepath -w "$program")"
