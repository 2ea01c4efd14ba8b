# Sourced by the Wine scripts: finds the loader and sets up the environment
# for the prefix kept in the state folder given as $1. With LUMO_WINE_BITS=32
# programs run under the 32-bit loader of Debian's wine32 package, in a
# 64-bit prefix made after wine32 was installed (so it has syswow64).
lumo_wine_state=$(mkdir -p "$1" && cd "$1" && pwd)
export WINEPREFIX="$lumo_wine_state/prefix"
export WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them and they would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# lumo_find_loader PACKAGE NAME CANDIDATES...: the first executable candidate,
# else the loader NAME that Debian's PACKAGE installed.
lumo_find_loader() {
  local package=$1 name=$2 c
  shift 2
  for c in "$@"; do
    if [ -n "$c" ] && [ -x "$c" ]; then echo "$c"; return 0; fi
  done
  c=$(dpkg -L "$package" 2>/dev/null | grep -E "/$name\$" | head -n1)
  if [ -n "$c" ] && [ -x "$c" ]; then echo "$c"; return 0; fi
  echo "the $name loader was not found: install Debian's $package package (scripts/install-deps.sh)" >&2
  return 1
}
WINE64=$(lumo_find_loader wine64 wine64 "${LUMO_WINE64:-}" "$(command -v wine64 2>/dev/null)" /usr/lib/wine/wine64) ||
  exit 1
if [ "${LUMO_WINE_BITS:-64}" = 32 ]; then
  WINE=$(lumo_find_loader wine32 wine "${LUMO_WINE32:-}" /usr/lib/wine/wine) || exit 1
else
  WINE=$WINE64
fi
export WINELOADER="$WINE"
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

# Creates the prefix once; concurrent callers wait for the first one.
# The test displays have no window manager, and Wine waits 2 s for one each
# time it hides a window with a caption (every progress dialog of a
# transfer): the test prefixes draw their windows' frames themselves.
# LUMO_WINE_MANAGED=1 (the demo, which may show on the user's desktop)
# leaves the frames to the window manager.
lumo_ensure_prefix() {
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$WINE64" wineboot -i >"$lumo_wine_state/wineboot.log" 2>&1
      if [ "${LUMO_WINE_MANAGED:-0}" != 1 ]; then
        "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$lumo_wine_state/wineboot.log" 2>&1
      fi
      # Every Windows has its Japanese dialog faces, whatever its language;
      # a prefix of another language does not, and draws the texts of
      # dialogs that ask for them as boxes: Debian's IPA faces stand in.
      local face
      for face in "MS UI Gothic=IPAPGothic" "MS PGothic=IPAPGothic" "MS Gothic=IPAGothic"; do
        "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${face%%=*}" /d "${face#*=}" /f \
          >>"$lumo_wine_state/wineboot.log" 2>&1
      done
      "$WINESERVER" -w
    fi
  ) 9>"$lumo_wine_state/prefix.lock"
}

# Starts a private Xvfb on a free display; prints "display pid".
lumo_start_xvfb() {
  local fifo="$lumo_wine_state/displayfd.$$"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  local pid=$!
  local display
  read -r -t 20 display <"$fifo"
  rm -f "$fifo"
  if [ -z "$display" ]; then kill "$pid" 2>/dev/null; echo "Xvfb did not start" >&2; return 1; fi
  echo "$display $pid"
}
