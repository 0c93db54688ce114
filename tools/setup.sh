# Shared by ./run and ./test: install the Debian packages the suite needs when
# any is missing, then configure and build into build/ (incremental).
# Sourced, not run: it defines functions and uses `set -e` from its caller.

packages=(g++ cmake pkg-config libsdl2-dev libfreetype-dev fonts-liberation libpng-dev
          libgtest-dev libbenchmark-dev xvfb xdotool x11-apps libx11-dev python3
          desktop-file-utils clang libclang-rt-14-dev)

install_missing_packages() {
    local missing=() p
    for p in "${packages[@]}" "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            as_root=(sudo)
        else
            echo "Missing packages: ${missing[*]}" >&2
            echo "Run as root: apt-get update && apt-get install -y ${missing[*]}" >&2
            exit 1
        fi
    fi
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}

# build [CMAKE OPTIONS...]: configure build/ once, then build everything.
build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build build -j "$(nproc)"
}
