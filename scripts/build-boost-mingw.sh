#!/bin/sh
# Builds the compiled Boost libraries we use (serialization, filesystem, system) for one
# MinGW-w64 target from Debian's Boost source package, with the headers of the native
# Boost package. Debian ships no MinGW build of Boost; this script stands in for one.
#
# usage: build-boost-mingw.sh TRIPLET PREFIX
#   TRIPLET  i686-w64-mingw32 or x86_64-w64-mingw32
#   PREFIX   where the result goes: PREFIX/include/boost (a link to the native headers)
#            and PREFIX/lib/libboost_{serialization,filesystem,system}.a
# environment: CXX and AR (default TRIPLET-g++-posix and TRIPLET-ar); BOOST_MINGW_JOBS
#   (default 2) compilers at once.
#
# A finished PREFIX is reused as long as the headers' package version, the compiler, the
# flags and this script are unchanged, so a second call costs nothing. The source package
# is kept in PREFIX/source and fetched again only when the header package's version moves.
# Needs: libboost-dev, libboost-{serialization,filesystem,system}-dev, the MinGW-w64 -posix
# compilers, xz-utils, patch, and root for apt when the source package is not yet cached.
set -eu

if [ $# -ne 2 ]; then
  echo "usage: $0 TRIPLET PREFIX" >&2
  exit 2
fi
triplet=$1
prefix=$2
cxx=${CXX:-$triplet-g++-posix}
ar=${AR:-$triplet-ar}
jobs=${BOOST_MINGW_JOBS:-2}
libraries="serialization filesystem system"

say() { echo "build-boost-mingw: $*"; }
die() { echo "build-boost-mingw: $*" >&2; exit 1; }

# The headers decide which source to build: the package that owns them names it.
headers=/usr/include/boost/version.hpp
[ -f "$headers" ] || die "no Boost headers in /usr/include/boost (install libboost-dev)"
header_package=$(dpkg-query -S "$headers" | sed 's/:.*//;q')
source_package=$(dpkg-query -W -f='${source:Package}' "$header_package")
source_version=$(dpkg-query -W -f='${source:Version}' "$header_package")
upstream_version=${source_version#*:}
upstream_version=${upstream_version%-*}

command -v "$cxx" >/dev/null || die "no compiler $cxx"
flags="-std=c++17 -O2 -DNDEBUG -ftemplate-depth-255"
script_sum=$(sha256sum "$0" | cut -d' ' -f1)
stamp_text="$source_package $source_version
$("$cxx" --version | head -n 1)
$flags
$script_sum"

mkdir -p "$prefix"
exec 9>"$prefix/.lock"
flock 9
if [ -f "$prefix/stamp" ] && [ "$(cat "$prefix/stamp")" = "$stamp_text" ]; then
  say "$triplet: up to date in $prefix"
  exit 0
fi
rm -f "$prefix/stamp"

# --- the source package -------------------------------------------------------------

# Adds "deb-src" twins of the enabled "deb" entries of this release, so that apt can
# fetch source packages from the same archive, suites and components as binary ones.
add_deb_src_entries() {
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || die "cannot tell the release's code name from /etc/os-release"
  stanzas=$(mktemp)
  lines=$(mktemp)
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # deb822 stanzas: keep every field but Types and Enabled, and only suites of this release.
    awk -v codename="$codename" '
      BEGIN { RS = ""; FS = "\n" }
      {
        types = ""; suites = ""; enabled = "yes"; body = ""
        for (i = 1; i <= NF; i++) {
          line = $i
          if (line ~ /^[ \t]*#/) continue
          if (line ~ /^Types:/) { types = line " "; continue }
          if (line ~ /^Enabled:/) { enabled = tolower(line); sub(/^enabled:[ \t]*/, "", enabled); continue }
          if (line ~ /^Suites:/) suites = line
          body = body line "\n"
        }
        if (types !~ /[ \t]deb[ \t]/ || enabled == "no") next
        n = split(suites, s, /[ \t]+/)
        for (j = 2; j <= n; j++)
          if (s[j] == codename || index(s[j], codename "-") == 1) { printf "Types: deb-src\n%s\n", body; next }
      }' "$file" >>"$stanzas"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    # One-line entries: "deb [options] URI SUITE COMPONENTS..." becomes "deb-src ...".
    awk -v codename="$codename" '
      $1 == "deb" {
        suite = ($2 ~ /^\[/) ? "" : $3
        for (i = 2; i <= NF; i++) if ($i ~ /\]$/) { suite = $(i + 2); break }
        if (suite == codename || index(suite, codename "-") == 1) { $1 = "deb-src"; print }
      }' "$file" >>"$lines"
  done
  [ -s "$stanzas" ] || [ -s "$lines" ] || die "no deb entry for $codename to add a deb-src entry beside"
  [ -s "$stanzas" ] && cp "$stanzas" /etc/apt/sources.list.d/debian-deb-src.sources
  [ -s "$lines" ] && cp "$lines" /etc/apt/sources.list.d/debian-deb-src.list
  rm -f "$stanzas" "$lines"
  say "added deb-src entries for $codename"
}

has_deb_src_entries() {
  grep -qsE '^[[:space:]]*Types:.*deb-src' /etc/apt/sources.list.d/*.sources ||
    grep -qsE '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list
}

source_dir=$prefix/source
orig_tarball=$source_dir/${source_package}_${upstream_version}.orig.tar.xz
debian_tarball=$source_dir/${source_package}_${source_version#*:}.debian.tar.xz

fetch_source() {
  [ "$(id -u)" = 0 ] || die "fetching $source_package's source needs root (apt-get); run this script once as root"
  # Two builds configured at once share apt's lists; one fetch at a time.
  exec 8>"${TMPDIR:-/tmp}/build-boost-mingw.apt.lock"
  flock 8
  if ! apt-cache showsrc --only-source "$source_package" 2>/dev/null | grep -qx "Version: $source_version"; then
    has_deb_src_entries || add_deb_src_entries
    say "apt-get update"
    apt-get update -qq
  fi
  rm -rf "$source_dir"
  mkdir -p "$source_dir"
  say "fetching $source_package $source_version"
  (cd "$source_dir" && apt-get source -qq --download-only -o APT::Sandbox::User=root \
    "$source_package=$source_version")
  flock -u 8
}

[ -f "$orig_tarball" ] && [ -f "$debian_tarball" ] || fetch_source
[ -f "$orig_tarball" ] && [ -f "$debian_tarball" ] ||
  die "apt-get source did not leave $orig_tarball and $debian_tarball"

# Only the compiled parts are unpacked (the headers come from the native package), with
# those of Debian's patches that change them.
work=$prefix/work
rm -rf "$work"
mkdir -p "$work/src" "$work/obj"
tar -xJf "$debian_tarball" -C "$work" debian/patches
wanted=""
for library in $libraries; do
  wanted="$wanted */libs/$library/src/* */libs/$library/build/*"
done
patches=""
while read -r patch_name _; do
  case $patch_name in ''|'#'*) continue ;; esac
  patch_file=$work/debian/patches/$patch_name
  targets=$(sed -n 's/^+++ [^/]*\/\([^[:space:]]*\).*/\1/p' "$patch_file")
  for library in $libraries; do
    if printf '%s\n' "$targets" | grep -q "^libs/$library/src/"; then
      patches="$patches $patch_name"
      # Files outside the folders unpacked anyway must be asked for by name.
      for target in $(printf '%s\n' "$targets" | grep -vE "^libs/($(echo $libraries | tr ' ' '|'))/(src|build)/"); do
        wanted="$wanted */$target"
      done
      break
    fi
  done
done <"$work/debian/patches/series"
# shellcheck disable=SC2086  # the patterns are meant to be split
tar -xJf "$orig_tarball" -C "$work/src" --strip-components=1 --wildcards $wanted
for patch_name in $patches; do
  say "applying Debian's $patch_name"
  patch -d "$work/src" -p1 -s <"$work/debian/patches/$patch_name"
done

# --- compiling ----------------------------------------------------------------------

mkdir -p "$prefix/include" "$prefix/lib"
ln -sfn /usr/include/boost "$prefix/include/boost"

# The source list of a library, read from its build file so that it follows the version.
jam_sources() {
  awk '
    /^SOURCES[[:space:]]*=/ { on = 1; sub(/^SOURCES[[:space:]]*=/, "") }
    on { for (i = 1; i <= NF; i++) { if ($i ~ /;/) exit; print $i } }' "$work/src/libs/$1/build/Jamfile.v2"
}

# Per-library defines, as Boost's own build gives them to a static library on Windows.
library_flags() {
  case $1 in
    filesystem) echo "-DBOOST_FILESYSTEM_SOURCE -DBOOST_FILESYSTEM_STATIC_LINK=1 -DBOOST_FILESYSTEM_HAS_BCRYPT -I$work/src/libs/filesystem/src" ;;
    system) echo "-DBOOST_SYSTEM_STATIC_LINK=1" ;;
    *) echo "" ;;
  esac
}

: >"$work/commands"
for library in $libraries; do
  mkdir -p "$work/obj/$library"
  for name in $(jam_sources "$library"); do
    printf "%s %s %s -isystem '%s' -c '%s' -o '%s'\\n" "$cxx" "$flags" "$(library_flags "$library")" "$prefix/include" \
      "$work/src/libs/$library/src/$name.cpp" "$work/obj/$library/$name.o" >>"$work/commands"
  done
done
say "$triplet: compiling $(wc -l <"$work/commands") files with $jobs jobs"
tr '\n' '\0' <"$work/commands" | xargs -0 -P "$jobs" -n 1 sh -c 'eval "$0"' ||
  die "$triplet: compiling failed"

for library in $libraries; do
  rm -f "$prefix/lib/libboost_$library.a"
  "$ar" rcs "$prefix/lib/libboost_$library.a" "$work/obj/$library"/*.o
done
rm -rf "$work"
printf '%s\n' "$stamp_text" >"$prefix/stamp"
say "$triplet: built $libraries in $prefix"
