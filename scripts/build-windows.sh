#!/usr/bin/env bash
# Cross-builds the core, ondavia-cli.exe and the core tests for 64-bit
# Windows into build-win/, with Debian's MinGW-w64 and Wine. Everything it
# fetches or makes stays inside build-win/: the Windows builds of GoogleTest
# (from Debian's source package) and libxlsxwriter (from Debian's source
# package, fetched with a private apt list), and the Wine prefix.
#
#   scripts/build-windows.sh [ninja targets...]   (default: ondavia-cli ondavia_core_tests)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT=$ROOT/build-win
DEPS=$OUT/deps
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
JOBS=${JOBS:-2}

PACKAGES=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 googletest cmake ninja-build
          pkg-config dpkg-dev)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

mkdir -p "$OUT" "$DEPS"
export ONDAVIA_WINDOWS_DEPS=$DEPS
export WINEPREFIX=$OUT/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== wine prefix"
  timeout 300 wineboot -i > "$OUT/wineboot.log" 2>&1 || { tail "$OUT/wineboot.log"; exit 1; }
fi

cross_cmake() {  # source build-dir [options...]
  local src=$1 bin=$2
  shift 2
  cmake -S "$src" -B "$bin" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$DEPS" "$@" > "$bin.log" 2>&1 || { tail -n 30 "$bin.log"; exit 1; }
}

if [ ! -f "$DEPS/lib/libgtest.a" ]; then
  echo "== GoogleTest for Windows"
  cross_cmake /usr/src/googletest "$OUT/googletest" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
  cmake --build "$OUT/googletest" -j "$JOBS" --target install > /dev/null
fi

if [ ! -f "$DEPS/lib/libxlsxwriter.a" ]; then
  echo "== libxlsxwriter for Windows"
  APT="$OUT/apt"
  mkdir -p "$APT/lists/partial" "$APT/cache/archives/partial" "$APT/src"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    > "$APT/sources.list"
  APTOPT=(-o Dir::Etc::SourceList="$APT/sources.list" -o Dir::Etc::SourceParts=/nonexistent
          -o Dir::State::Lists="$APT/lists" -o Dir::Cache="$APT/cache" -o Debug::NoLocking=1
          -o APT::Sandbox::User=root)
  apt-get -qq "${APTOPT[@]}" update
  (cd "$APT" && apt-get -qq "${APTOPT[@]}" source --download-only libxlsxwriter)
  rm -rf "$APT/src/xlsx" && mkdir -p "$APT/src/xlsx"
  tar -xzf "$APT"/libxlsxwriter_*.orig.tar.gz -C "$APT/src/xlsx" --strip-components=1
  XLSX=$APT/src/xlsx
  # The library's MinGW build opens files with the narrow C runtime (the ANSI
  # code page); its MSVC build takes UTF-8 names and opens them as UTF-16.
  # The program hands it UTF-8 names, so the MinGW build gets the MSVC path.
  sed -i '/^#ifdef __MINGW32__$/{N;N;/#undef _WIN32\n#endif/d}' "$XLSX/src/packager.c" "$XLSX/src/utility.c"
  sed -i 's/^    if(MSVC)$/    if(WIN32)/' "$XLSX/CMakeLists.txt"
  cross_cmake "$XLSX" "$OUT/xlsxwriter" -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF
  cmake --build "$OUT/xlsxwriter" -j "$JOBS" --target install > /dev/null
  mkdir -p "$DEPS/lib/pkgconfig"
  cat > "$DEPS/lib/pkgconfig/xlsxwriter.pc" <<PC
prefix=$DEPS
Name: xlsxwriter
Description: libxlsxwriter built for Windows
Version: 1.1.4
Cflags: -I\${prefix}/include
Libs: -L\${prefix}/lib -lxlsxwriter -lz
PC
fi

echo "== configure build-win"
PKG_CONFIG_LIBDIR=$DEPS/lib/pkgconfig PKG_CONFIG_SYSROOT_DIR=/ \
cmake -S "$ROOT" -B "$OUT" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$DEPS" -DONDAVIA_WERROR=ON -DONDAVIA_BUILD_GUI=OFF -DONDAVIA_BUILD_BENCH=OFF \
  > "$OUT/configure.log" 2>&1 || { tail -n 30 "$OUT/configure.log"; exit 1; }
echo "== build build-win"
if [ $# -eq 0 ]; then set -- ondavia-cli ondavia_core_tests; fi
ninja -C "$OUT" -j "$JOBS" "$@"
