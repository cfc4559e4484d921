#!/usr/bin/env bash
# Installs the Debian packages that TOMARIO needs for a given task, and only
# those that are missing. Usage: scripts/install-deps.sh build|test|run|bench|fuzz
set -euo pipefail

build_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev libicu-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
)
test_packages=(poppler-utils chromium)
bench_packages=(python3 sqlite3 time)
fuzz_packages=(clang libclang-rt-14-dev)

wanted=("${build_packages[@]}")
case "${1:-build}" in
    build | run) ;;
    test) wanted+=("${test_packages[@]}") ;;
    bench) wanted+=("${bench_packages[@]}") ;;
    fuzz) wanted+=("${fuzz_packages[@]}") ;;
    *) echo "usage: $0 build|test|run|bench|fuzz" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
