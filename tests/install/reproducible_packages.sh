#!/usr/bin/env bash
# The packages are the same bytes from any checkout: the packages `make deb` built from this
# checkout (BUILD_DIR/deb) against packages built from scratch from a copy of the same source in
# another, deeper folder, copied and built with umask 077 in another time zone. Compares the
# SHA-256 of the .deb files and of the source package; where they differ, diffoscope (when
# installed) says how. Usage: reproducible_packages.sh SOURCE_DIR BUILD_DIR [JOBS]
set -euo pipefail
source_dir=$(cd "$1" && pwd)
first=$(cd "$2/deb" && pwd)
jobs=${3:-2}
other=$(mktemp -d /tmp/pelmaro-reproducible.XXXXXX)
trap 'rm -rf "$other"' EXIT

# The copy is made as a checkout under umask 077 would be: files and folders for the owner alone.
checkout="$other/another checkout/pelmaro"
(umask 077 && mkdir -p "$checkout" &&
  tar -C "$source_dir" --exclude=./.git --exclude='./build*' --exclude='./obj-*' \
    --exclude=__pycache__ --exclude='*.pyc' -cf - . | tar -C "$checkout" --no-same-permissions -xf -)
(umask 077 && cd "$checkout" && TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 \
  scripts/build-deb "$other/build" "$jobs" >"$other/build-deb.log" 2>&1) ||
  { cat "$other/build-deb.log"; echo "reproducible_packages: the second build failed"; exit 1; }
second="$other/build/deb"

version=$(cd "$source_dir" && dpkg-parsechangelog -S Version)
files=()
for path in "$first"/*_"$version"_*.deb "$first/pelmaro_$version.dsc" \
  "$first/pelmaro_$version.tar.xz"; do
  files+=("$(basename "$path")")
done
differing=0
for name in "${files[@]}"; do
  sums=$(cd "$first" && sha256sum "$name") && other_sums=$(cd "$second" && sha256sum "$name") ||
    { echo "FAIL: $name is missing from one of the builds"; differing=1; continue; }
  if [ "$sums" = "$other_sums" ]; then
    echo "$sums  (the same from both checkouts)"
  else
    echo "FAIL: $name differs: $sums here, $other_sums from the other checkout"
    differing=1
    if command -v diffoscope >/dev/null; then
      diffoscope "$first/$name" "$second/$name" | head -200 || true
    fi
  fi
done
echo "reproducible_packages: ${#files[@]} files compared"
exit "$differing"
