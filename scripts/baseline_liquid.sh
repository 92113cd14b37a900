#!/usr/bin/env bash
# Writes the liquid engine as it stood at COMMIT (the one CMakeLists.txt names: before the
# collision reaction and the faster passes) into OUT/baseline_physics/, its code wrapped in the
# namespace baseline_liquid, so that the benchmarks run the same scenes on the old and the new
# engine side by side.
# Needs the repository's history (a full clone); CMake leaves the comparison out without it.
#   scripts/baseline_liquid.sh SOURCE_DIR OUT_DIR COMMIT
set -euo pipefail
source_dir="$1"
out="$2/baseline_physics"
commit="$3"

if ! files="$(git -C "$source_dir" ls-tree --name-only "$commit" src/physics/ 2>/dev/null)"; then
  echo "baseline_liquid.sh: commit $commit is not in $source_dir's history;" \
    "the comparison of the liquid engines needs a full clone" >&2
  exit 1
fi
mkdir -p "$out"

# Includes and Box2D's forward declarations stay outside the namespace; the rest goes in it,
# from its first line of code on. The engine's own includes point at the copies.
wrap() {
  awk '
    { line[NR] = $0 }
    END {
      opened = 0
      for (i = 1; i <= NR; ++i) {
        text = line[i]
        if (text ~ /^(class|struct) b2[A-Za-z0-9_]*;$/) continue
        if (!opened && text !~ /^(#|\/\/|$)/) {
          for (j = 1; j <= NR; ++j) {
            if (line[j] ~ /^(class|struct) b2[A-Za-z0-9_]*;$/) print line[j]
          }
          print "namespace baseline_liquid {"
          opened = 1
        }
        sub(/#include "physics\//, "#include \"baseline_physics/", text)
        print text
      }
      if (opened) print "}  // namespace baseline_liquid"
    }'
}

for file in $files; do
  git -C "$source_dir" show "$commit:$file" | wrap >"$out/$(basename "$file")"
done
