# Sourced at the top of the source tree by the scripts that make or check the
# release packages, once the Windows tree is built: the release's names and
# paths, say and fail for their "package:" lines, and pack_release.
# shellcheck disable=SC2034 # the variables are the callers'
source build/windows/release.env  # product, version, package_name, texts
# The time the programs' PE headers carry: the commit's, unless the caller
# set SOURCE_DATE_EPOCH.
SOURCE_DATE_EPOCH=$(cat build/windows/source-date-epoch)
export SOURCE_DATE_EPOCH
packages="$PWD/build/windows/package"
name=$package_name
zip="$packages/$name.zip"
msi="$packages/$name.msi"
# Where the release publishes the installer, for the winget manifests.
installer_url=${NUMVERA_INSTALLER_URL:-https://example.com/binarok/$name.msi}

say() { echo "package: $*" >&2; }
fail() { echo "package: $*" >&2; exit 1; }

# Packs the programs of build/windows and the texts into the release
# packages in the folder $1: the zip, the installer, SHA256SUMS and the
# winget manifests, in place of those of an earlier run. With a certificate
# the programs are signed before they are packed, and the installer after.
# Each step runs only when the one before it worked, as this may run where
# set -e does not hold.
pack_release() (
    out=$1 text_files=()
    programs=$(mktemp -d)
    trap 'rm -rf "$programs"' EXIT
    signing() { [ -z "${NUMVERA_SIGN_PFX:-}" ] || packaging/sign "$product" "$@"; }
    for text in $texts; do text_files+=("build/windows/package-text/$text"); done
    mkdir -p "$out" &&
        rm -rf "$out/$name.zip" "$out/$name.msi" "$out/SHA256SUMS" "$out/winget" &&
        cp build/windows/Numvera.exe build/windows/numvera-drive.exe "$programs/" &&
        signing "$programs/Numvera.exe" "$programs/numvera-drive.exe" &&
        packaging/make-zip "$out/$name.zip" "$name" "$programs"/* "${text_files[@]}" &&
        packaging/make-msi "$out/$name.msi" "$product" "$version" "$programs" build/windows/package-text res/Numvera.ico &&
        signing "$out/$name.msi" &&
        # The programs under their place in the zip: unpacked beside it,
        # sha256sum -c --ignore-missing checks them too.
        (cd "$out" && sha256sum "$name.zip" "$name.msi" &&
            cd "$programs" && sha256sum Numvera.exe numvera-drive.exe | sed "s|  |  $name/|") >"$out/SHA256SUMS" &&
        packaging/winget_manifests.py "$out/$name.msi" "$out/winget" "$installer_url"
)
