#!/usr/bin/env bash
# Runs the Windows driver test under Wine in an X server of its own, with a
# German user locale. Usage: run_driver.sh WINE DRIVER.exe TALLARO.exe
set -euo pipefail
wine=$1
driver=$2
program=$3
source "$(dirname "$0")/../../e2e/x_session.sh"
start_xvfb
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
# Wine shows the root of the file system as drive Z:.
"$wine" "$driver" "Z:$(realpath "$program" | tr / '\\')"
