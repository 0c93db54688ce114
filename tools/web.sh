# The browser build, shared by `./run --web` and ./test. Sourced after
# tools/setup.sh: it uses install_missing_packages and `set -e` from its
# caller.
#
#   install_web_build_tools   emscripten (and dpkg-dev, for FreeType's source)
#   install_browser_tools     Chromium and the npm package playwright-core, for the tests
#   build_web                 the programs in WebAssembly (build-web/) and the static
#                             site (build/web/); needs the native build for its pictures

install_web_build_tools() {
    install_missing_packages emscripten dpkg-dev
}

install_browser_tools() {
    install_missing_packages chromium
    command -v npm >/dev/null 2>&1 || install_missing_packages npm
    if [ ! -f web/tests/node_modules/playwright-core/package.json ]; then
        (cd web/tests && npm ci --no-audit --no-fund --loglevel=error)
    fi
}

# The deb-src twins of the machine's Debian package sources, one-line and
# deb822 alike; other vendors' sources are left out.
debian_source_lines() {
    local file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk '$1 == "deb" && /debian/ { $1 = "deb-src"; print }' "$file"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk 'BEGIN { RS = ""; ORS = "\n\n" }
             /URIs:[^\n]*debian/ && /Types:[^\n]*deb/ {
                 sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
    done
}

# FreeType's sources, for building it with emcc: Debian's source package of
# the very version the native build links (with Debian's patches and
# options), so that the browser draws the same glyphs pixel for pixel.
# Fetched once into build-web/freetype-source/ through a private apt state,
# without touching the machine's own package lists.
freetype_source() {
    local version dir=build-web/freetype-source apt=build-web/apt
    version=$(dpkg-query -W -f='${source:Version}' libfreetype6)
    if [ -f "$dir/.debian-version" ] && [ "$(cat "$dir/.debian-version")" = "$version" ]; then
        return 0
    fi
    echo "Fetching the Debian source of FreeType $version"
    rm -rf "$dir" "$apt"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d" "$apt/unpack"
    debian_source_lines > "$apt/sources.list.d/debian-src.sources"
    local options=(-o "Dir::Etc::SourceList=/dev/null"
                   -o "Dir::Etc::SourceParts=$PWD/$apt/sources.list.d"
                   -o "Dir::State::Lists=$PWD/$apt/lists"
                   -o "Dir::Cache=$PWD/$apt/cache"
                   -o "APT::Sandbox::User=$(id -un)")
    apt-get "${options[@]}" -qq update
    if ! (cd "$apt/unpack" && apt-get "${options[@]}" -qq source "freetype=$version" >/dev/null); then
        echo "Debian no longer offers the source of FreeType $version, the version installed here;" >&2
        echo "upgrade it (apt-get install --only-upgrade libfreetype6 libfreetype-dev) and try again." >&2
        exit 1
    fi
    mv "$apt/unpack"/freetype-*/ "$dir"
    echo "$version" > "$dir/.debian-version"
    rm -rf "$apt"
}

build_web() {
    freetype_source
    # Debian's emscripten finds its JavaScript optimizer's parser (acorn)
    # among Debian's node modules.
    export NODE_PATH=/usr/share/nodejs
    emcmake cmake -S web -B build-web -DCMAKE_BUILD_TYPE=Release \
        -DFREETYPE_SOURCE_DIR="$PWD/build-web/freetype-source" \
        -DNATIVE_TOOLS="$PWD/build/bin" -DSITE_DIR="$PWD/build/web" "$@" >/dev/null
    cmake --build build-web -j "$(nproc)"
}
