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
    # Without a window manager on the test display, Wine waits two seconds
    # for one whenever a captioned window is hidden. Leaving every window of
    # the prefix unmanaged avoids that; it must be in the registry before a
    # program loads the display driver, so it is set here, once per prefix.
    if ! grep -qF '[Software\\Wine\\X11 Driver]' "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wineserver -w
    fi
    orv_wine_fonts
    orv_wine_start
}

# Starts the prefix's server and its system processes before any test runs.
# The first Wine program otherwise starts them itself, and they inherit its
# output: CTest then waits minutes for that test's output to close, long after
# the program ended. The server stays up until orv_wine_stop. A server left
# running by an earlier session is ended first: it would keep the display it
# was started on, which may be gone.
orv_wine_start() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
}

# Debian's Wine looks for its own fonts (Tahoma, Marlett, ...) beside its
# libraries, not in /usr/share/wine/fonts where fonts-wine puts them, so the
# dialog font falls back to another face and the caption buttons, drawn with
# Marlett's symbols, show plain letters ("0", "1", "r"). The prefix's own
# font folder is searched, so the fonts are copied there, once.
orv_wine_fonts() {
    local source=/usr/share/wine/fonts
    local target="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f "$source/marlett.ttf" ] && [ ! -f "$target/marlett.ttf" ]; then
        mkdir -p "$target"
        cp -n "$source"/*.ttf "$target"/
    fi
}

orv_wine_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
}
