#!/bin/sh
# Starts the installed workbench from a host folder of the operator's own.
#
# The module keeps its settings in the "modules" folder beside the program that hosts it, and
# the installed one belongs to the package. So each operator gets a host folder: a copy of the
# workbench (the host's folder is where its program file lies), links to the controller library
# and the module, and the operator's own Crd.ini, first copied from the sample. The copy is
# renewed when the package brings a new workbench; the settings stay.
installed="$(dirname "$(readlink -f "$0")")/../lib/kurvo/host"
host="${XDG_DATA_HOME:-$HOME/.local/share}/kurvo/host"

prepare() {
    mkdir -p "$host/modules" || return 1
    if ! cmp -s "$installed/kurvo-workbench" "$host/kurvo-workbench"; then
        cp "$installed/kurvo-workbench" "$host/kurvo-workbench.new" \
            && mv -f "$host/kurvo-workbench.new" "$host/kurvo-workbench" || return 1
    fi
    ln -sfn "$installed/librvAPI.so" "$host/librvAPI.so" || return 1
    ln -sfn "$installed/modules/libKurvo.so" "$host/modules/libKurvo.so" || return 1
    if [ ! -e "$host/modules/Crd.ini" ] && [ ! -L "$host/modules/Crd.ini" ]; then
        cp "$installed/modules/Crd.ini" "$host/modules/Crd.ini" || return 1
        chmod u+w "$host/modules/Crd.ini"
    fi
}

if prepare; then
    exec "$host/kurvo-workbench" "$@"
fi
echo "kurvo-workbench: cannot prepare $host; the settings cannot be kept" >&2
exec "$installed/kurvo-workbench" "$@"
