# Read by every bash script that CI runs in the fresh Debian system (through BASH_ENV): the
# command that ends a script under `set -e` is named, with its file and line, on standard error.
# A failure deep in the test command then shows which command failed, and every script's line
# that led to it, innermost first.
set -o errtrace
trap '__failed="(status $?): ${BASH_SOURCE[0]:-bash -c}:$LINENO: $BASH_COMMAND"
[[ $- != *e* ]] || echo "failed $__failed" >&2' ERR
