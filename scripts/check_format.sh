#!/usr/bin/env bash
# Fails, naming each file and line, where the C and C++ sources are not laid out as .clang-format
# says, by Debian 12's clang-format 14. `bash scripts/check_format.sh --fix` lays them out.
set -euo pipefail
cd "$(dirname "$0")/.."
# The project's own files, as git lists them in the work tree (installed node modules and
# anything else git ignores are not ours); find where there is no git, as in a source tarball.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- \
    'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tests/*.c' 'bench/*.cpp' 'bench/*.h' \
    'fuzz/*.cpp' 'fuzz/*.h' 'tools/*.c' 'tools/*.cpp' 'tools/*.h' 'scripts/*.c' 'scripts/*.cpp')
else
  mapfile -t sources < <(find src tests bench fuzz tools scripts -path tests/web/node_modules \
    -prune -o \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print | sort)
fi
if [ "${1:-}" = --fix ]; then
  clang-format-14 -i "${sources[@]}"
else
  clang-format-14 --dry-run --Werror "${sources[@]}"
fi
