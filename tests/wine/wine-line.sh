# Sourced by the scripts that run Wine: select_wine_line takes the line that
# NUMVERA_WINE_LINE names. 8, the default, is the host's Wine 8 (Debian 12);
# 10 is Wine 10 from Debian 13, in its own tree (make-wine10-root), reached
# through the wrappers of wine10-bin put first on PATH. It sets
# wine_line_suffix, "" or "10", for the line's own prefix folders, and
# wine_line_enter, the command that runs a Unix command where that line's
# Wine runs. It says in one line why a line cannot run here and returns 77
# (1 where NUMVERA_REQUIRE_WINE10 is set).

# Runs a Windows test program and ends with its status, or with 1 when it
# ended before its tests did. A program that stops in the middle (a crash,
# ExitProcess inside a test, a stack overflow) may still end with 0;
# GoogleTest keeps the file TEST_PREMATURE_EXIT_FILE from the start of its
# run to its normal end, so a file left behind is a failure. Programs that
# are not GoogleTest's never make it. /tmp is the same on both lines.
run_counting_early_ends() {
    local left status=0
    left=$(mktemp -u /tmp/numvera-early-end.XXXXXXXX)
    TEST_PREMATURE_EXIT_FILE="Z:${left//\//\\}" "$@" || status=$?
    if [ -e "$left" ]; then
        rm -f "$left"
        echo "wine: the test program stopped before its tests had ended (status $status); counted as failed" >&2
        return 1
    fi
    return $status
}

select_wine_line() {
    local here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    case "${NUMVERA_WINE_LINE:-8}" in
        8)
            wine_line_suffix=
            wine_line_enter=()
            ;;
        10)
            "$here/in-wine10" --check || return
            wine_line_suffix=10
            wine_line_enter=("$here/in-wine10")
            export PATH="$here/wine10-bin:$PATH"
            ;;
        *)
            echo "NUMVERA_WINE_LINE is 8 or 10, not ${NUMVERA_WINE_LINE}" >&2
            return 1
            ;;
    esac
}
