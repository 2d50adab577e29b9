#!/bin/sh
# Two rules about what a source may include; fails when either is broken.
#  1. The core holds the behaviour: no core source includes a header of Qt,
#     mpv, SQLite or hivex; only backends and apps may see those libraries.
#  2. Test code stays out of the programs: no product source includes a
#     test-only header (one under fakes/, testing/ or tests/, or named
#     fake_*, test_support.h or *_test.h, *_test_support.h, *_test_world.h).
#     Product sources are the C and C++ files of every top folder except
#     fakes/, tests/, bench/, fuzz/, scripts/, docs/, sample-book/ and build
#     trees, leaving out test files (*_test.*, *_test_support.*,
#     *_test_world.*, fake_*), benchmarks (*_bench.*) and testing/ folders.
# Usage: check_core_purity.sh [SOURCE_DIR]
top=${1:-.}
cd "$top" || exit 2
status=0

hits=$(grep -rn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/|mpv/|sqlite3|hivex)' \
  common fakes player launcher tools 2>/dev/null)
if [ -n "$hits" ]; then
  echo "Core sources must not include platform headers:"
  echo "$hits"
  status=1
else
  echo "core is pure"
fi

folders=
for dir in */; do
  dir=${dir%/}
  case $dir in fakes | tests | testing | bench | fuzz | scripts | docs | sample-book) continue ;; esac
  [ -f "$dir/CMakeCache.txt" ] && continue  # a build tree inside the sources
  folders="$folders $dir"
done
# shellcheck disable=SC2086  # each folder name is one word
hits=$(find $folders -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.cxx' -o -name '*.h' \
  -o -name '*.hh' -o -name '*.hpp' \) | LC_ALL=C sort |
  grep -v -E '(^|/)(fakes|tests|testing)/|_test(_support|_world)?\.[a-z]+$|_bench\.[a-z]+$|(^|/)fake_[^/]*$' |
  while IFS= read -r file; do
    grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]*/)?((fakes|testing|tests)/[^">]*|fake_[^">/]*|([^">/]*_)?test(_support|_world)?\.(h|hh|hpp))[">]' \
      "$file"
  done)
if [ -n "$hits" ]; then
  echo "Product sources must not include test-only headers:"
  echo "$hits"
  status=1
else
  echo "no product source includes a test-only header"
fi
exit $status
