#!/bin/sh
# The size of the tests beside the program they test, in lines, as tracked by
# git: test C++ (tests/) against program C++ (everything but tests/, fuzz/ and
# bench/), and the test scripts (shell, Python, CMake parts under tests/) apart.
set -eu
cd "$(dirname "$0")/.."
lines() { git ls-files -z -- "$@" | xargs -0 cat 2>/dev/null | wc -l; }
tests=$(lines 'tests/*.cpp' 'tests/*.h')
program=$(git ls-files -z -- '*.cpp' '*.h' ':!tests/' ':!fuzz/' ':!bench/' | xargs -0 cat | wc -l)
scripts=$(lines 'tests/*.sh' 'tests/*.py' 'tests/*.cmake')
awk -v t="$tests" -v p="$program" -v s="$scripts" 'BEGIN {
  printf "test C++     %6d lines\nprogram C++  %6d lines\nratio        %6.2f %%\ntest scripts %6d lines (not in the ratio)\n", t, p, 100 * t / p, s }'
