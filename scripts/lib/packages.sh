# Sourced by the scripts that need Debian packages: install_missing_packages
# PACKAGE... installs those that are not installed yet, as root, saying so in
# one line under the script's name; without root it says so and fails.

install_missing_packages() {
    local who package missing=()
    who=$(basename "$0")
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "$who: installing ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "$who: run as root to install packages" >&2
        return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
}
