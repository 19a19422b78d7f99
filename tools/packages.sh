# Debian packages the project needs to build, test and run; sourced by test.sh and run.sh.
# clang and libclang-rt-14-dev (its libFuzzer and sanitizer runtimes) build the fuzz targets;
# libcurl carries the cameras' device service, cpp-httplib serves it in the simulator.
VANMOOR_PACKAGES=(build-essential cmake libgtest-dev libgmock-dev libssl-dev nlohmann-json3-dev
                  libpugixml-dev libcurl4-openssl-dev libcpp-httplib-dev qt6-base-dev iproute2
                  util-linux xvfb xauth clang libclang-rt-14-dev)

install_missing_packages() {
    local missing=() package
    for package in "${VANMOOR_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ "${#missing[@]}" -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -q
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
    else
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
}
