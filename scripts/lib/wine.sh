# Sourced by the scripts. Prepares the project's private Wine prefix under the
# Windows build folder. The prefix is made once (wineboot takes a few seconds)
# and reused; tests never rely on what an earlier run left in it.

orv_wine_env() {
    local build_dir=$1
    export WINEPREFIX="$build_dir/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

orv_wine_prefix() {
    local build_dir=$1
    orv_wine_env "$build_dir"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}

orv_wine_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
}
