#!/usr/bin/env bash
# Fails, naming the files, when a C++ source differs from the project's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
report="$(mktemp)"
trap 'rm -f "$report"' EXIT
mapfile -d '' files < <(find bench colour fuzz platform prefs settings sim tests tweak \
  \( -name node_modules -prune \) -o \( -name '*.cpp' -o -name '*.h' \) -print0)
if ! clang-format --dry-run --Werror "${files[@]}" 2>"$report"; then
  echo "check-format: these files differ from .clang-format (run clang-format -i on them):" >&2
  grep -o '^[^:]*\.\(cpp\|h\)' "$report" | sort -u >&2
  exit 1
fi
echo "check-format: ${#files[@]} files as .clang-format has them"
