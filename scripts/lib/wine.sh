# Sourced by the scripts that run Wine. select_wine_line takes the line that
# NUMVERA_WINE_LINE names. 8, the default, is the host's Wine 8 (Debian 12);
# 10 is Wine 10 from Debian 13, in its own tree (tests/wine/make-wine10-root),
# reached through the wrappers of tests/wine/wine10-bin put first on PATH. It
# sets wine_line_suffix, "" or "10", for the line's own prefix folders, and
# wine_line_enter, the command that runs a Unix command where that line's
# Wine runs. It says in one line why a line cannot run here and returns 77
# (1 where NUMVERA_REQUIRE_WINE10 is set).

numvera_wine_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine.sh
numvera_wine_tests=$(cd "$(dirname "$numvera_wine_lib")/../../tests/wine" && pwd)

# The environment of every Wine run: no debug output (a WINEDEBUG given as
# $1 instead), no offer to install Mono or Gecko, which the programs never
# need, and no menu entries on the host for what the prefix installs.
# shellcheck disable=SC2120 # the argument is optional
export_wine_environment() {
    export WINEDEBUG="${1:--all}" WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# The Windows form of a Unix path, on the drive Z: that Wine maps to /.
windows_path() { printf 'Z:%s' "$1" | sed 's|/|\\|g'; }

# What a prepared test prefix keeps in its .numvera-prepared: the checksum of
# its preparation, tests/wine/prepare-prefix and the environment above, so
# that a changed one redoes it.
prefix_preparation_stamp() { cat "$numvera_wine_tests/prepare-prefix" "$numvera_wine_lib" | sha1sum; }

# shellcheck disable=SC2034 # the variables are the callers'
select_wine_line() {
    case "${NUMVERA_WINE_LINE:-8}" in
        8)
            wine_line_suffix=
            wine_line_enter=()
            ;;
        10)
            "$numvera_wine_tests/in-wine10" --check || return
            wine_line_suffix=10
            wine_line_enter=("$numvera_wine_tests/in-wine10")
            export PATH="$numvera_wine_tests/wine10-bin:$PATH"
            ;;
        *)
            echo "NUMVERA_WINE_LINE is 8 or 10, not ${NUMVERA_WINE_LINE}" >&2
            return 1
            ;;
    esac
}
