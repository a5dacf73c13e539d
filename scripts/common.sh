# What the scripts share; each sources it: `source "$(dirname "$0")/common.sh"`.
# root: the project's folder, which the scripts run from.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# Configures a CMake preset once what it needs is there: the table libraries that
# scripts/table-libs.sh builds for the preset's system, into the folder the preset points at.
configure() {
    local preset=$1
    shift
    local system=linux
    [[ $preset == windows || $preset == web ]] && system=$preset
    scripts/table-libs.sh "$system" >/dev/null
    cmake --preset "$preset" "$@"
}
