# Shared by ./run and ./test: install what is missing, then configure and build.
# Sourced, not run: it defines functions only.

TALVINO_PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libsqlite3-dev sqlite3 libicu-dev libfreetype-dev \
libgtest-dev libgmock-dev googletest libbenchmark-dev fonts-wine fonts-dejavu-core libgl-dev libxcb1-dev clang-format \
dpkg-dev fakeroot file lintian desktop-file-utils appstream man-db gzip xvfb python3-xlib qt6-wayland weston \
at-spi2-core dbus-daemon dbus-bin"

talvino_install() {
    local missing=()
    for p in $TALVINO_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local cmd="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        sh -c "$cmd"
    elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        sudo sh -c "$cmd"
    else
        echo "Cannot install packages: not root and no password-less sudo. Run as root:" >&2
        echo "  $cmd" >&2
        exit 1
    fi
}

# talvino_build DIR BUILD_TYPE [cmake options...]
talvino_build() {
    local dir=$1 type=$2
    shift 2
    cmake -S "$TALVINO_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}
