# Sourced by the steps that run Windows programs under Wine: a Wine prefix of its own
# (removed at the end), the German locale and Berlin's time zone, an X server, and only
# then the Wine server and Wine's services. Wine's desktop process, which wineboot starts,
# picks the display driver for every later window: started without a reachable X server it
# takes the null driver, and later windows never show. Set DISPLAY beforehand to use an X
# server of the caller's; otherwise one of its own starts here.

# Wine takes its language from the locale: German dates and texts need it generated.
if ! locale -a 2> /dev/null | grep -qx 'de_DE.utf8'; then
    echo "wine-session: generating the locale de_DE.UTF-8"
    wine_sudo=()
    [[ $(id -u) -eq 0 ]] || wine_sudo=(sudo)
    "${wine_sudo[@]}" sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    "${wine_sudo[@]}" locale-gen > /dev/null
fi

wine_prefix_root="$(mktemp -d)"
export WINEPREFIX="$wine_prefix_root/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=de_DE.UTF-8 TZ=Europe/Berlin
wine_xvfb=""
if [[ -z "${DISPLAY:-}" ]]; then
    exec {wine_display_fd}<> <(:)
    # -noreset: a bare Xvfb resets when its last client leaves, and a program that connects
    # meanwhile finds no display.
    Xvfb -displayfd "$wine_display_fd" -nolisten tcp -noreset > /dev/null 2>&1 &
    wine_xvfb=$!
    read -r -t 30 wine_display <&"$wine_display_fd"
    export DISPLAY=":$wine_display"
fi
if ! xdpyinfo > /dev/null 2>&1; then
    echo "wine-session: the X server $DISPLAY does not answer" >&2
    exit 1
fi
wine_session_end() {
    wineserver -k 2> /dev/null || true
    [[ -z "$wine_xvfb" ]] || kill "$wine_xvfb" 2> /dev/null || true
    rm -rf "$wine_prefix_root"
}
trap wine_session_end EXIT
# Services that Wine starts inside a test would keep its output pipe open and ctest
# waiting: start them, and one server for every process, before the first program.
mkdir -p "$WINEPREFIX"
wineserver -p 300 < /dev/null > /dev/null 2>&1
wineboot --init < /dev/null > /dev/null 2>&1
