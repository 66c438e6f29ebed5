# Sourced by run.sh and test.sh: gives Wine a display and a prepared prefix.
#   - WINEPREFIX lives in the build folder, so every clean build starts clean;
#   - without a DISPLAY a private Xvfb is started (and stopped by wine_session_end);
#   - the prefix runs every program in one virtual desktop named "shell", whose
#     taskbar has a notification area, so the tray icon can be seen and tested;
#   - the font names the program asks for are mapped to installed fonts;
#   - winemenubuilder is off, so shortcuts made in the prefix (the installer
#     tests) write no desktop entries or menus on this machine.
# Needs VELLUMAR_BUILD (the Windows build folder) set by the caller.

export WINEPREFIX="${WINEPREFIX:-$VELLUMAR_BUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}"
VELLUMAR_XVFB_PID=""

wine_session_start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n
    for n in $(seq 91 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    VELLUMAR_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on $DISPLAY" >&2
    return 1
}

wine_session_prepare_prefix() {
    local stamp="$WINEPREFIX/.vellumar-prefix-v4"
    [ -f "$stamp" ] && return 0
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    local reg="$WINEPREFIX/vellumar-setup.reg"
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="shell"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"shell"="1024x768"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"Verdana"="DejaVu Sans Condensed"
"Arial"="Liberation Sans"
"SimSun"="DejaVu Sans Condensed"
"MS Shell Dlg"="Tahoma"
"MS Shell Dlg 2"="Tahoma"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Tahoma"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
"DejaVu Sans Condensed"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
"Verdana"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
"Arial"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
"SimSun"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
"Liberation Sans"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
"Liberation Sans"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
REG
    wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
    wineserver -w
    touch "$stamp"
}

wine_session_begin() {
    wine_session_start_display
    wine_session_prepare_prefix
}

wine_session_end() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$VELLUMAR_XVFB_PID" ]; then
        kill "$VELLUMAR_XVFB_PID" >/dev/null 2>&1 || true
    fi
}
