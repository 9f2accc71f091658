#!/bin/sh
# Starts the installed workbench from a host folder of the operator's own.
#
# The module keeps its settings in the "modules" folder beside the program that hosts it, and
# the installed one belongs to the package. So each operator gets a host folder: a copy of the
# workbench (the host's folder is where its program file lies), links to the controller library
# and the module, and the operator's own Crd.ini, first copied from the sample. The copy is
# renewed when the package brings a new workbench; the settings stay.
#
# Launches may run at once (a double click, a session restoring its windows): every file is
# prepared under a name of its own and linked or renamed into place, so that none sees another's
# half-made file, and a running workbench's file is never written over.
installed="$(dirname "$(readlink -f "$0")")/../lib/kurvo/host"
# The XDG rules ignore a relative path.
case "${XDG_DATA_HOME:-}" in
    /*) data="$XDG_DATA_HOME" ;;
    *) data="$HOME/.local/share" ;;
esac

# Puts a prepared file in place of `$2`; `$1` is gone either way.
put() {
    mv -f "$1" "$2" || { rm -f "$1"; return 1; }
}

# Puts the prepared file `$1` at `$2` unless another launch has put one there meanwhile; `$1` is
# gone either way.
place() {
    ln "$1" "$2" 2>/dev/null
    rm -f "$1"
}

# Links `$2` to `$1` unless it already is that link.
link() {
    [ "$(readlink "$2")" = "$1" ] && return 0
    made=$(mktemp "$2.XXXXXX") && rm -f "$made" && ln -s "$1" "$made" && put "$made" "$2"
}

prepare() {
    host=$1
    mkdir -p "$host/modules" || return 1
    if ! cmp -s "$installed/kurvo-workbench" "$host/kurvo-workbench"; then
        made=$(mktemp "$host/kurvo-workbench.XXXXXX") || return 1
        if ! { cp "$installed/kurvo-workbench" "$made" && chmod 755 "$made"; }; then
            rm -f "$made"
            return 1
        fi
        # A running workbench finds its modules folder by its own file's path, which a replaced
        # file loses: a copy another launch has put in place meanwhile stays, and only a copy
        # from an older package is replaced.
        if [ -e "$host/kurvo-workbench" ] && ! cmp -s "$made" "$host/kurvo-workbench"; then
            put "$made" "$host/kurvo-workbench" || return 1
        else
            place "$made" "$host/kurvo-workbench"
        fi
        cmp -s "$installed/kurvo-workbench" "$host/kurvo-workbench" || return 1
    fi
    link "$installed/librvAPI.so" "$host/librvAPI.so" || return 1
    link "$installed/modules/libKurvo.so" "$host/modules/libKurvo.so" || return 1
    if [ ! -e "$host/modules/Crd.ini" ] && [ ! -L "$host/modules/Crd.ini" ]; then
        made=$(mktemp "$host/modules/Crd.ini.XXXXXX") || return 1
        # A launch that got there first keeps its file, which its workbench may write already.
        cp "$installed/modules/Crd.ini" "$made" && chmod 644 "$made" \
            && place "$made" "$host/modules/Crd.ini"
        rm -f "$made"
    fi
    [ -e "$host/modules/Crd.ini" ]
}

if prepare "$data/kurvo/host"; then
    exec "$host/kurvo-workbench" "$@"
fi
# Never the package's own folder, whose settings file an upgrade would put back: a folder for
# this run alone.
if scratch=$(mktemp -d "${TMPDIR:-/tmp}/kurvo-host.XXXXXX") && prepare "$scratch"; then
    echo "kurvo-workbench: cannot prepare $data/kurvo/host; the settings of this run are not kept" >&2
    exec "$host/kurvo-workbench" "$@"
fi
echo "kurvo-workbench: cannot prepare a host folder to run in" >&2
exit 1
