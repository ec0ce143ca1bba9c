#!/usr/bin/env bash
# Checks that every C++ file in the repository is formatted by .clang-format; lists
# those that are not and exits 1. Installs Debian's clang-format when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends clang-format >/dev/null
fi

unformatted=()
while IFS= read -r -d '' file; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files -z '*.cpp' '*.h' ':!tests/data/*')
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'not formatted by .clang-format (clang-format -i FILE): %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "format: ${#unformatted[@]} of $(git ls-files '*.cpp' '*.h' ':!tests/data/*' | wc -l) C++ files need formatting"
