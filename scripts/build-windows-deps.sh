#!/usr/bin/env bash
# Builds the libraries the Windows editor draws with - zlib, libpng, pixman and
# cairo (Win32 surface and fonts, PNG) - as static MinGW-w64 libraries, from
# Debian's own source packages: those the installed Linux libraries come from,
# in the newest version Debian ships. Prints the install prefix on its last line.
#
# The result is cached under the versions and this script's contents, so a
# second run only reads the package lists (refreshed once a day). Cache root:
# VEXBIT_DEPS_CACHE (default ~/.cache/vexbit). JOBS sets the parallelism
# (default 2).
#
# Sources come through a private apt configuration: the machine's own Debian
# entry with its type switched to source packages, its lists and downloads kept
# in the cache, so the machine's apt state is left as it was.
set -euo pipefail

script="$(readlink -f "$0")"
jobs=${JOBS:-2}
host=x86_64-w64-mingw32
cache_root=${VEXBIT_DEPS_CACHE:-$HOME/.cache/vexbit}

work="$cache_root/mingw-deps-work"
apt_dir="$cache_root/mingw-deps-apt"

# The source packages the installed libraries were built from.
source_of() {
  dpkg-query -W -f '${source:Package}' "$1" 2>/dev/null ||
    { echo "build-windows-deps: $1 is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
}
zlib_pkg="$(source_of zlib1g)"
png_pkg="$(source_of libpng16-16)"
pixman_pkg="$(source_of libpixman-1-0)"
cairo_pkg="$(source_of libcairo2)"

# A private apt configuration: the machine's own Debian entry with its type
# switched to source packages, lists and downloads kept here.
machine_sources=/etc/apt/sources.list.d/debian.sources
if [ ! -f "$machine_sources" ]; then
  echo "build-windows-deps: no $machine_sources to derive the source entry from" >&2
  exit 1
fi
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
sed -E 's/^Types:.*/Types: deb-src/' "$machine_sources" >"$apt_dir/sources.list.d/debian.sources"
: >"$apt_dir/sources.list"
apt_opts=(
  -o "Dir::Etc::sourcelist=$apt_dir/sources.list"
  -o "Dir::Etc::sourceparts=$apt_dir/sources.list.d"
  -o "Dir::State::lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Sandbox::User=root"
  -o "Debug::NoLocking=1"
)
# Refreshed at most daily: a cached build then needs no network at all.
if [ -z "$(find "$apt_dir/lists" -maxdepth 1 -name '*Sources*' -mmin -1440 -print -quit)" ]; then
  apt-get "${apt_opts[@]}" -qq update
fi

# A source package's versions that Debian ships, newest first (security updates included).
versions_of() {
  apt-cache "${apt_opts[@]}" showsrc --only-source "$1" | sed -n 's/^Version: //p' |
    while read -r v; do echo "$v"; done | sort -u | sort_versions
}
sort_versions() {
  local list=() v i j
  while read -r v; do list+=("$v"); done
  for ((i = 0; i < ${#list[@]}; ++i)); do
    for ((j = i + 1; j < ${#list[@]}; ++j)); do
      if dpkg --compare-versions "${list[j]}" gt "${list[i]}"; then
        v="${list[i]}"; list[i]="${list[j]}"; list[j]="$v"
      fi
    done
  done
  printf '%s\n' "${list[@]}"
}
all_versions="$(for p in "$zlib_pkg" "$png_pkg" "$pixman_pkg" "$cairo_pkg"; do echo "$p $(versions_of "$p" | tr '\n' ' ')"; done)"
[ "$(echo "$all_versions" | awk 'NF < 2' | wc -l)" = 0 ] ||
  { echo "build-windows-deps: a source package is missing from the lists:"; echo "$all_versions"; exit 1; } >&2

key="$(printf '%s\n' "$all_versions" "$host" | cat - "$script" | sha256sum | cut -c1-16)"
prefix="$cache_root/mingw-deps-$key"
if [ -f "$prefix/.complete" ]; then
  echo "build-windows-deps: cached in $prefix"
  echo "$prefix"
  exit 0
fi
# Builds of other versions, finished or not, are not needed any more.
find "$cache_root" -mindepth 1 -maxdepth 1 -type d -name 'mingw-deps-*' ! -name mingw-deps-apt -exec rm -rf {} +
mkdir -p "$work" "$prefix"
started=$SECONDS
log="$work/build.log"
# Runs a build step with its output in the log, shown only when the step fails.
quietly() {
  if ! "$@" >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "build-windows-deps: failed: $*" >&2
    exit 1
  fi
}

# Unpacks the newest version of a source package that can be fetched, with
# Debian's changes applied, into $work/<package>; prints the version. Where a
# mirror serves a version's upstream tarball but not Debian's changes to it,
# the upstream sources of the newest such version are used, with a warning.
fetch_source() {
  local pkg=$1 ver dl orig="" orig_ver=""
  for ver in $(versions_of "$pkg"); do
    dl="$work/download/$pkg-$ver"
    mkdir -p "$dl"
    (cd "$dl" && apt-get "${apt_opts[@]}" -qq --download-only source "$pkg=$ver" >/dev/null 2>&1) || true
    if [ -f "$dl/$(dsc_name "$pkg" "$ver")" ] &&
       dpkg-source --no-check -x "$dl/$(dsc_name "$pkg" "$ver")" "$work/$pkg" >/dev/null 2>&1; then
      echo "$ver"
      return
    fi
    rm -rf "$work/$pkg"
    if [ -z "$orig" ]; then
      orig="$(find "$dl" -name "${pkg}_*.orig.tar.*" ! -name '*.asc' -print -quit)"
      orig_ver="$ver"
    fi
  done
  if [ -n "$orig" ]; then
    echo "build-windows-deps: Debian's changes to $pkg could not be fetched; using its upstream sources of $orig_ver" >&2
    mkdir -p "$work/$pkg"
    tar -xf "$orig" -C "$work/$pkg" --strip-components=1
    echo "$orig_ver"
    return
  fi
  echo "build-windows-deps: could not fetch any version of $pkg" >&2
  exit 1
}
dsc_name() { echo "${1}_${2#*:}.dsc"; }

zlib_ver="$(fetch_source "$zlib_pkg")"
png_ver="$(fetch_source "$png_pkg")"
pixman_ver="$(fetch_source "$pixman_pkg")"
cairo_ver="$(fetch_source "$cairo_pkg")"
echo "build-windows-deps: cairo $cairo_ver, pixman $pixman_ver, libpng $png_ver, zlib $zlib_ver"
zlib_src="$work/$zlib_pkg"
png_src="$work/$png_pkg"
pixman_src="$work/$pixman_pkg"
cairo_src="$work/$cairo_pkg"

export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
export PKG_CONFIG_PATH=""
cflags="-O2"

# --- zlib ----------------------------------------------------------------
echo "== zlib $zlib_ver =="
(
  cd "$zlib_src"
  CHOST="$host" CC="$host-gcc-posix" AR="$host-ar" RANLIB="$host-ranlib" CFLAGS="$cflags" \
    quietly ./configure --static --prefix="$prefix"
  quietly make -j"$jobs" libz.a
)
install -D -m644 "$zlib_src/libz.a" "$prefix/lib/libz.a"
install -D -m644 -t "$prefix/include" "$zlib_src/zlib.h" "$zlib_src/zconf.h"
mkdir -p "$PKG_CONFIG_LIBDIR"
cat >"$PKG_CONFIG_LIBDIR/zlib.pc" <<EOF
prefix=$prefix
Name: zlib
Description: zlib compression library
Version: ${zlib_ver#*:}
Libs: -L\${prefix}/lib -lz
Cflags: -I\${prefix}/include
EOF

# --- libpng --------------------------------------------------------------
echo "== libpng $png_ver =="
(
  cd "$png_src"
  CC="$host-gcc-posix" CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" CFLAGS="$cflags" \
    quietly ./configure --host="$host" --prefix="$prefix" --enable-static --disable-shared
  quietly make -j"$jobs"
  quietly make install
)

# --- pixman --------------------------------------------------------------
echo "== pixman $pixman_ver =="
# pixman marks its functions for export from a DLL; linked statically into the
# plug-in module they would be exported from the module.
sed -i "s/libpixman_extra_cargs = \['-DPIXMAN_API=__declspec(dllexport)'\]/libpixman_extra_cargs = []/" \
  "$pixman_src/pixman/meson.build"
if grep -q '__declspec(dllexport)' "$pixman_src/pixman/meson.build"; then
  echo "build-windows-deps: pixman's export marks could not be removed" >&2
  exit 1
fi
cat >"$work/mingw-cross.txt" <<EOF
[binaries]
c = '$host-gcc-posix'
ar = '$host-ar'
strip = '$host-strip'
pkgconfig = 'pkg-config'
windres = '$host-windres'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
quietly meson setup "$work/pixman-build" "$pixman_src" --cross-file "$work/mingw-cross.txt" \
  --prefix "$prefix" --libdir lib --buildtype release --default-library static \
  -Dtests=disabled -Dgtk=disabled -Dlibpng=disabled -Dopenmp=disabled
quietly ninja -C "$work/pixman-build" -j"$jobs" install

# --- cairo ---------------------------------------------------------------
echo "== cairo $cairo_ver =="
(
  cd "$cairo_src"
  # Debian's patches to cairo's build files serve Debian's own build (maintainer
  # mode, exported symbols, perf tools). Keep the shipped generated files
  # current, so make does not try to regenerate them with autotools.
  touch aclocal.m4
  touch configure
  find . -name Makefile.in -exec touch {} +
  touch config.h.in
  # Only the image, Win32 and PNG parts: the editor draws into memory images and
  # hands them to the window itself.
  CC="$host-gcc-posix" CPPFLAGS="-I$prefix/include -DCAIRO_WIN32_STATIC_BUILD" LDFLAGS="-L$prefix/lib" \
    CFLAGS="$cflags" quietly ./configure --host="$host" --prefix="$prefix" --enable-static --disable-shared \
    --enable-win32 --enable-win32-font --enable-png \
    --disable-xlib --disable-xcb --disable-xlib-xrender --disable-ft --disable-fc \
    --disable-quartz --disable-gl --disable-egl --disable-glx --disable-wgl \
    --disable-ps --disable-pdf --disable-svg --disable-script --disable-interpreter \
    --disable-trace --disable-gobject --disable-full-testing --disable-valgrind \
    --disable-symbol-lookup
  # The library alone: its test and tool programs are not needed here.
  quietly make -C src -j"$jobs"
  quietly make -C src install
)

rm -rf "$work"
touch "$prefix/.complete"
echo "build-windows-deps: built in $((SECONDS - started)) s into $prefix"
echo "$prefix"
