#!/usr/bin/env bash
# Runs a command on a fresh virtual X display with a window manager and ends
# with its status. Usage: on_x_display.sh COMMAND [ARGUMENT...]
source "$(dirname "$0")/../person/lib.sh"
start_desktop
"$@"
