# Sourced by ./play and ./check: installs the Debian 12 packages the game needs, when missing.

VEZER_PACKAGES=(
    cmake ninja-build g++ pkg-config python3
    libgtest-dev libbenchmark-dev
    libpng-dev nlohmann-json3-dev libasio-dev
    libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libsdl2-image-dev
    gettext clang
    libfreetype-dev fonts-dejavu-core
    libvorbis-dev libogg-dev
)

vezer_install_missing() {
    local missing=()
    for pkg in "${VEZER_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
            echo "These packages are missing and this is not root (no sudo): ${missing[*]}" >&2
            return 1
        fi
    fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}
