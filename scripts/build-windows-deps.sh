#!/usr/bin/env bash
# Builds the libraries the Windows build of the core links, with Debian's
# mingw-w64 cross compiler, from Debian's own source packages:
#   PCRE2 (8-bit, Unicode, JIT), libcurl (Windows' own TLS, HTTP and SMTP only),
#   SQLite (one amalgamated file), GoogleTest (from libgtest-dev's sources),
#   and the header-only CLI11 and cpp-httplib with their CMake package files.
# Everything is installed, static, into one prefix under a cache directory
# outside the checkout, $KORVEL_MINGW_DEPS (default ~/.cache/korvel-mingw).
# A library is rebuilt only when its recipe below changes, so a second run
# costs seconds. A library that fails is named with the reason; the others
# are built anyway and the script ends with status 1.
#   scripts/build-windows-deps.sh [LIBRARY...]   (default: all of them)
set -euo pipefail

cache=${KORVEL_MINGW_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/korvel-mingw}
prefix=$cache/prefix
jobs=${KORVEL_JOBS:-2}
host=x86_64-w64-mingw32
export CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-ar RANLIB=$host-ranlib
# A ccache launcher from the caller would only fill the shared cache with
# objects this directory keeps anyway.
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER

mkdir -p "$prefix" "$cache/stamps" "$cache/logs"
cache=$(cd "$cache" && pwd)
prefix=$cache/prefix

# The cross settings every CMake-built library shares.
cmake_cross=(
    -G Ninja -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64
    -DCMAKE_C_COMPILER=$CC -DCMAKE_CXX_COMPILER=$CXX -DCMAKE_RC_COMPILER=$host-windres
    -DCMAKE_FIND_ROOT_PATH="/usr/$host;$prefix"
    -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF
)

# Unpacks Debian's source package $1 (with Debian's patches applied) into
# the current directory and prints the directory it made. The newest version
# the archive lists is tried first; when the archive no longer holds its files
# (a security update withdrawn from the mirror), the release's own version.
debian_source() {
    local package=$1 release
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    if ! apt-get source -qq "$package" >/dev/null 2>source.log; then
        rm -rf -- ./*/
        if [ -z "$release" ] ||
            ! apt-get source -qq "$package/$release" >/dev/null 2>>source.log; then
            grep -E '^E:' source.log >&2 || cat source.log >&2
            echo "no source package $package (are deb-src lines in the apt sources?)" >&2
            return 1
        fi
    fi
    find . -mindepth 1 -maxdepth 1 -type d | head -n 1
}

build_pcre2() {
    local dir
    dir=$(debian_source pcre2)
    cmake -S "$dir" -B build "${cmake_cross[@]}" \
        -DPCRE2_BUILD_PCRE2_8=ON -DPCRE2_BUILD_PCRE2_16=OFF -DPCRE2_BUILD_PCRE2_32=OFF \
        -DPCRE2_SUPPORT_UNICODE=ON -DPCRE2_SUPPORT_JIT=ON \
        -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF -DPCRE2_SUPPORT_LIBZ=OFF \
        -DPCRE2_SUPPORT_LIBBZ2=OFF -DPCRE2_SUPPORT_LIBEDIT=OFF -DPCRE2_SUPPORT_LIBREADLINE=OFF
    cmake --build build -j "$jobs" --target install
    rm -rf "$prefix/share/doc/pcre2" "$prefix/share/man"
}

# HTTP(S) for the listings and the robots, SMTP(S) for the mail; TLS through
# Schannel, so no OpenSSL. Built with curl's own makefile for GCC and its
# fixed Windows configuration: its CMake build spends most of its time on
# two hundred configure checks whose answers on Windows are known.
build_curl() {
    local dir
    dir=$(debian_source curl)
    local off=(FTP FILE DICT TELNET TFTP POP3 IMAP GOPHER RTSP MQTT SMB LDAP LDAPS)
    mkdir -p "$dir/lib/$host"  # the makefile's object directory
    # Flags through the environment: the makefile adds its own to them.
    CFLAGS=-O2 CPPFLAGS="-DCURL_STATICLIB ${off[*]/#/-DCURL_DISABLE_}" \
        make -C "$dir/lib" -f Makefile.mk -j "$jobs" CROSSPREFIX=$host- CC="$CC" AR="$AR" \
        CFG=-schannel-sspi-ipv6 libcurl.a
    mkdir -p "$prefix/include/curl" "$prefix/lib/cmake/CURL"
    cp "$dir"/include/curl/*.h "$prefix/include/curl/"
    cp "$dir/lib/libcurl.a" "$prefix/lib/"
    local version
    version=$(sed -n 's/^#define LIBCURL_VERSION "\(.*\)"/\1/p' "$dir/include/curl/curlver.h")
    cat >"$prefix/lib/cmake/CURL/CURLConfig.cmake" <<EOF
# libcurl $version, static, TLS through Schannel (build-windows-deps.sh)
if(NOT TARGET CURL::libcurl)
    add_library(CURL::libcurl STATIC IMPORTED)
    set_target_properties(CURL::libcurl PROPERTIES
        IMPORTED_LOCATION "\${CMAKE_CURRENT_LIST_DIR}/../../libcurl.a"
        INTERFACE_INCLUDE_DIRECTORIES "\${CMAKE_CURRENT_LIST_DIR}/../../../include"
        INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
        INTERFACE_LINK_LIBRARIES "ws2_32;crypt32;bcrypt;secur32;advapi32")
endif()
set(CURL_VERSION_STRING $version)
EOF
}

# The source package holds SQLite's source tree; its own makefile joins it
# into the one file sqlite3.c with tclsh and small build-side helpers, which
# the cross compiler then builds on its own, with Debian's feature set.
build_sqlite3() {
    local dir
    dir=$(debian_source sqlite3)
    (cd "$dir" && CC=gcc CFLAGS=-O1 ./configure --disable-tcl --disable-readline >/dev/null &&
        make -j "$jobs" sqlite3.c sqlite3.h)
    $CC -c -O2 -fno-strict-aliasing -DSQLITE_THREADSAFE=1 -DSQLITE_SECURE_DELETE \
        -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS3_PARENTHESIS \
        -DSQLITE_ENABLE_RTREE=1 -DSQLITE_ENABLE_JSON1 -DSQLITE_ENABLE_DBSTAT_VTAB \
        -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_USE_URI=1 -DSQLITE_ENABLE_MATH_FUNCTIONS \
        -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_MAX_SCHEMA_RETRY=25 \
        "$dir/sqlite3.c" -o sqlite3.o
    mkdir -p "$prefix/lib/pkgconfig" "$prefix/include"
    rm -f "$prefix/lib/libsqlite3.a"
    $AR rcs "$prefix/lib/libsqlite3.a" sqlite3.o
    cp "$dir/sqlite3.h" "$prefix/include/"
    cat >"$prefix/lib/pkgconfig/sqlite3.pc" <<EOF
prefix=$prefix
Name: SQLite
Description: SQL database engine (static, mingw-w64)
Version: $(cat "$dir/VERSION")
Libs: -L\${prefix}/lib -lsqlite3
Cflags: -I\${prefix}/include
EOF
}

build_googletest() {
    cmake -S /usr/src/googletest -B build "${cmake_cross[@]}" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
    cmake --build build -j "$jobs" --target install
}

build_cli11() {
    local dir
    dir=$(debian_source cli11)
    cmake -S "$dir" -B build "${cmake_cross[@]}" -DCLI11_BUILD_TESTS=OFF \
        -DCLI11_BUILD_EXAMPLES=OFF -DCLI11_BUILD_DOCS=OFF -DCLI11_SINGLE_FILE=OFF \
        -DCLI11_PRECOMPILED=OFF -DCLI11_INSTALL=ON
    cmake --build build --target install
}

# Header-only: the whole httplib.h (Debian's binary package ships it split
# into a compiled library), without TLS or compression.
build_httplib() {
    local dir
    dir=$(debian_source cpp-httplib)
    cmake -S "$dir" -B build "${cmake_cross[@]}" -DHTTPLIB_COMPILE=OFF \
        -DHTTPLIB_USE_OPENSSL_IF_AVAILABLE=OFF -DHTTPLIB_USE_ZLIB_IF_AVAILABLE=OFF \
        -DHTTPLIB_USE_BROTLI_IF_AVAILABLE=OFF -DHTTPLIB_REQUIRE_OPENSSL=OFF
    cmake --build build --target install
}

# Runs build_$1 in a scratch directory unless the prefix already holds what
# this very recipe built. The stamp is named after the recipe's text.
failed=()
build() {
    local name=$1 recipe stamp work log start
    recipe=$(declare -f "build_$name" | sha1sum | cut -c1-12)
    stamp=$cache/stamps/$name-$recipe
    if [ -e "$stamp" ]; then
        echo "windows-deps: $name present"
        return 0
    fi
    rm -f "$cache/stamps/$name"-*
    work=$(mktemp -d "${TMPDIR:-/tmp}/korvel-mingw-$name.XXXXXX")
    log=$cache/logs/$name.log
    start=$SECONDS
    echo "windows-deps: building $name"
    # Not in an if: a subshell tested by if would ignore set -e inside.
    local status=0
    set +e
    (set -ex && cd "$work" && "build_$name") >"$log" 2>&1
    status=$?
    set -e
    if [ "$status" -eq 0 ]; then
        touch "$stamp"
        echo "windows-deps: $name built in $((SECONDS - start)) s"
    else
        echo "windows-deps: $name could not be built; the end of $log:" >&2
        tail -n 15 "$log" | sed 's/^/    /' >&2
        failed+=("$name")
    fi
    rm -rf -- "$work"
}

for tool in "$CC" "$CXX" cmake ninja tclsh gcc make; do
    if ! command -v "$tool" >/dev/null; then
        echo "windows-deps: $tool is missing (./scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done

all_start=$SECONDS
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(pcre2 curl sqlite3 googletest cli11 httplib)
for name in "${names[@]}"; do
    build "$name"
done
echo "windows-deps: done in $((SECONDS - all_start)) s, prefix $prefix"
if [ ${#failed[@]} -gt 0 ]; then
    echo "windows-deps: not built: ${failed[*]}" >&2
    printf '%s\n' "${failed[@]}" >"$cache/failed"
    exit 1
fi
rm -f "$cache/failed"
