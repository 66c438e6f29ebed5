#!/usr/bin/env bash
# Builds everything and runs every test: formatting and clang-tidy, native unit
# tests of the portable core (under sanitizers), then the Windows-side
# integration tests, the end-to-end tests and the release packages' tests
# through Wine on a virtual display. Every level runs; the run ends with a
# summary of each level's time and result and exits non-zero when any failed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cd "$root"

levels=()
failed=0
# Runs one level: its name, then the command; notes its time and result.
level() {
    local name="$1" start=$SECONDS rc=0
    shift
    echo "== $name"
    "$@" || rc=$?
    local result="passed"
    [ "$rc" -eq 0 ] || { result="FAILED"; failed=1; }
    levels+=("$(printf '%-12s %4d s  %s' "$name" $((SECONDS - start)) "$result")")
}

# What the project owns, in the repository's style; the portable core clean
# under the repository's clang-tidy checks (the native build's compile commands).
check_format() {
    find src tests bench tools -name '*.cpp' -o -name '*.h' | sort |
        xargs clang-format --dry-run -Werror
}
check_tidy() {
    cmake --preset native >/dev/null || return
    local out rc=0
    out="$(find src -name '*.cpp' -not -path '*/win32/*' | sort |
        xargs -P 2 -n 4 clang-tidy -p build/native --quiet --warnings-as-errors='*' 2>&1)" || rc=$?
    grep -v ' generated\.$' <<<"$out" || true
    return "$rc"
}
# (set -e does not hold inside a level, hence the chains.)
native() {
    cmake --preset native >/dev/null && cmake --build --preset native &&
        ctest --preset native -j 2
}
win64_build() {
    cmake --preset win64 >/dev/null && cmake --build --preset win64
}

level format check_format
level native native
level clang-tidy check_tidy
level win64-build win64_build
if [[ "${levels[-1]}" == *FAILED ]]; then
    printf '%s\n' "${levels[@]}"
    exit 1
fi

export VELLUMAR_BUILD="$root/build/win64"
. "$root/scripts/wine-session.sh"
trap wine_session_end EXIT
wine_session_begin
level integration ctest --preset win64 -L integration -j 2
level end-to-end ctest --preset win64 -L end_to_end
level release ctest --preset win64 -L release

echo "== summary"
printf '%s\n' "${levels[@]}"
exit "$failed"
