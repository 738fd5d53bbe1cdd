#!/usr/bin/env bash
# The packages for host developers, checked the way a host's developer uses
# them: builds the installed pieces in Release, makes the qzkiro and
# qzkiro-dev .deb packages, checks that apt could install them here, unpacks
# both into a staging root (what dpkg -i would put under /usr), checks the
# library's exported symbols, and builds and runs the example host against
# that root only. Also builds the API reference (warnings are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=$(nproc)
build=build/release

cmake --preset release >/dev/null
cmake --build --preset release -j "$JOBS" --target qzkiro_condivisa qzkiro_refhost kiro kiro-sandbox
cmake --build --preset release --target docs

rm -rf "$build/pacchetti" "$build/radice"
(cd "$build" && cpack -G DEB -B pacchetti | grep -E "^CPack: - package: " || true)
shopt -s nullglob
debs=("$build"/pacchetti/*.deb)
if ((${#debs[@]} != 2)); then
  echo "Attesi due pacchetti, trovati: ${debs[*]:-nessuno}" >&2
  exit 1
fi
for deb in "${debs[@]}"; do
  echo "$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version): Depends: $(dpkg-deb -f "$deb" Depends)"
done
# Every dependency must be satisfiable from this machine's archive.
apt-get install --simulate -q "$(realpath "$build"/pacchetti/qzkiro_*.deb)" \
  "$(realpath "$build"/pacchetti/qzkiro-dev_*.deb)" >"$build/pacchetti/simulazione.txt"

for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$build/radice"; done
libreria=$(find "$build/radice/usr/lib" -name libqzkiro.so.1 -print -quit)
[ -n "$libreria" ] || { echo "libqzkiro.so.1 assente dal pacchetto qzkiro" >&2; exit 1; }
python3 tests/installazione/simboli_pubblici.py "$libreria" "$build/radice/usr/include"
examples/host-minimo/esegui.sh "$PWD/$build/radice/usr" "$PWD/$build/host-minimo"

# The pkg-config file, the way a build without CMake uses it.
pc="$build/radice/usr/lib/pkgconfig"
printf '#include <qzkiro/Plugin.h>\n#include <iostream>\nint main() { qzkiro::Plugin p; std::cout << p.Versione() << "\\n"; }\n' |
  g++ -x c++ - -o "$build/versione-pc" $(PKG_CONFIG_PATH="$pc" pkg-config --cflags --libs qzkiro)
versione=$(LD_LIBRARY_PATH="$(dirname "$libreria")" "$build/versione-pc")
echo "Versione letta dalla libreria installata (pkg-config): $versione"
[ -n "$versione" ]
