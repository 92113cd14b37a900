#!/usr/bin/env bash
# Fails, naming each file and line, where the C and C++ sources are not laid out as .clang-format
# says, by Debian 12's clang-format 14. `bash scripts/check_format.sh --fix` lays them out.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(find src tests bench fuzz tools scripts \
  -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort)
if [ "${1:-}" = --fix ]; then
  clang-format-14 -i "${sources[@]}"
else
  clang-format-14 --dry-run --Werror "${sources[@]}"
fi
