#!/usr/bin/env bash
# The installed program as a desktop sees it: the install tree, the Debian package, the first start,
# opening an archive with the desktop's default handler, a profile shortcut, and the program in a
# real X window driven by keystrokes.
#   desktop_tests.sh CASE BUILD_DIR SOURCE_DIR
# Every case works in a scratch folder with its own HOME and XDG folders, so nothing of the
# machine's user is read or changed.
set -euo pipefail
case_name="$1"
build="$(cd "$2" && pwd)"
source_dir="$(cd "$3" && pwd)"
work="$build/desktop-tests"
root="$work/root" # the install tree (DESTDIR) the cases share
scratch="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$scratch/opened.log" ] && cat "$scratch/opened.log" >&2
  exit 1
}
expect_file() { [ -f "$1" ] || fail "missing $1"; }

# A user of their own: nothing outside the scratch folder.
private_user() {
  export HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/.local/share" XDG_CONFIG_HOME="$scratch/home/.config"
  export XDG_CACHE_HOME="$scratch/home/.cache" XDG_RUNTIME_DIR="$scratch/runtime"
  export XDG_DATA_DIRS="$1/usr/share:/usr/share" PATH="$1/usr/bin:$PATH"
  unset TRICKVAULT_HOME XDG_CURRENT_DESKTOP DESKTOP_SESSION
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

# tkv.ini of a user who has started the program before (tkv writes the whole file, with
# "first run=0" and this version): no first-start windows, and no version check.
started_before() {
  "$1/usr/bin/tkv" config set upgrade "automatic version check at startup" 0 >/dev/null
}

# Waits up to 60 s for a condition (a shell command).
wait_for() {
  for _ in $(seq 600); do eval "$1" && return 0; sleep 0.1; done
  fail "timed out waiting for: $1"
}

start_display() {
  exec 5< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -auth /dev/null 2>/dev/null)
  pids+=($!)
  read -r -t 30 number <&5 || fail "Xvfb did not start"
  export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
}

case "$case_name" in
install_tree)
  rm -rf "$root"
  DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
  ;;

installed_files)
  share="$root/usr/share"
  for f in usr/bin/trickvault usr/bin/tkv usr/share/trickvault/profiles/demo/main.dat \
    usr/share/trickvault/languages/english/index.html usr/share/trickvault/skins/night/splash.jpg \
    usr/share/trickvault/skins/paper/splash.jpg usr/share/trickvault/skins/contrast/splash.jpg \
    usr/share/applications/trickvault.desktop \
    usr/share/mime/packages/trickvault.xml usr/share/metainfo/example.trickvault.Trickvault.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/trickvault.svg \
    usr/share/icons/hicolor/scalable/apps/trickvault-profile.svg \
    usr/share/icons/hicolor/scalable/apps/trickvault-game.svg; do
    expect_file "$root/$f"
  done
  for size in 16 22 24 32 48 64 128 256; do
    png="$share/icons/hicolor/${size}x${size}/apps/trickvault.png"
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "$png is not ${size}x${size}"
  done
  appstreamcli validate --no-net "$share/metainfo/example.trickvault.Trickvault.metainfo.xml"
  desktop-file-validate "$share/applications/trickvault.desktop"
  # The mime package compiles, and names the program's archives by their endings.
  cp -r "$share/mime" "$scratch/mime"
  update-mime-database "$scratch/mime"
  grep -q '^application/x-trickvault-skin:\*\.tkvs$' "$scratch/mime/globs" || fail "no glob for .tkvs"
  grep -q '^application/x-trickvault-profile:\*\.tkvp$' "$scratch/mime/globs" || fail "no glob for .tkvp"
  grep -q '^application/x-trickvault-language:\*\.tkvl$' "$scratch/mime/globs" || fail "no glob for .tkvl"
  ;;

first_start)
  private_user "$root"
  [ "$(tkv profiles)" != "" ] || fail "no profile after the first start"
  tkv profiles | grep -q 'Demo games' || fail "the demo profile is not there"
  expect_file "$XDG_DATA_HOME/trickvault/profiles/demo/main.dat"
  expect_file "$XDG_DATA_HOME/trickvault/languages/english/index.html"
  for skin in night paper contrast; do
    tkv skin contrast "$skin" >/dev/null || fail "the new user's folder has no readable skin $skin"
  done
  # The user's folder is theirs from then on: a deleted demo profile does not come back.
  rm -r "$XDG_DATA_HOME/trickvault/profiles/demo"
  tkv profiles | grep -q 'Demo games' && fail "the demo profile came back"
  true
  ;;

deb_package)
  (cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
  deb="$(ls "$work"/package/trickvault_*.deb)"
  depends="$(dpkg-deb -f "$deb" Depends)"
  for package in libqt6widgets6 libqt6gui6 libqt6core6 libcurl4 libzip4 libbz2-1.0 libc6; do
    [[ "$depends" == *"$package"* ]] || fail "Depends lacks $package: $depends"
  done
  unpacked="$scratch/unpacked"
  dpkg -x "$deb" "$unpacked"
  private_user "$unpacked"
  tkv profiles | grep -q 'Demo games' || fail "the packaged tkv finds no demo profile"
  tkv show demo "Age of Empires" | grep -q . || fail "the packaged tkv shows no game"
  # The packaged program starts (off screen) and stays up until it is ended.
  started_before "$unpacked"
  QT_QPA_PLATFORM=offscreen trickvault /profile=demo &
  pids+=($!)
  sleep 3
  kill -0 "${pids[-1]}" || fail "the packaged program ended on its own"
  ;;

open_archive)
  private_user "$root"
  started_before "$root"
  mkdir -p "$XDG_DATA_HOME/applications" "$XDG_DATA_HOME/mime/packages"
  cp "$root/usr/share/mime/packages/trickvault.xml" "$XDG_DATA_HOME/mime/packages/"
  update-mime-database "$XDG_DATA_HOME/mime"
  xdg-mime default trickvault.desktop application/x-trickvault-skin
  [ "$(xdg-mime query default application/x-trickvault-skin)" = "trickvault.desktop" ] || fail "not the default"
  (cd "$source_dir/tests/data/skins" && zip -qr "$scratch/ocean.tkvs" Ocean)
  [ "$(xdg-mime query filetype "$scratch/ocean.tkvs")" = "application/x-trickvault-skin" ] || fail "not a skin archive"
  start_display # the desktop's handler is chosen only where there is a display
  xdg-open "$scratch/ocean.tkvs" >"$scratch/opened.log" 2>&1 &
  pids+=($!)
  # The program unpacks the archive beside the user's skins, then asks whether to delete it: No
  # (Alt+N); then the skin moves among the skins and is chosen.
  wait_for '[ -f "$XDG_DATA_HOME/trickvault/skins/.unpacking-ocean/Ocean/skin.ini" ]'
  xdotool search --sync --onlyvisible --name . >/dev/null
  sleep 1
  xdotool key alt+n
  wait_for '[ -f "$XDG_DATA_HOME/trickvault/skins/Ocean/skin.ini" ]'
  wait_for 'tkv config get skins "skins name" | grep -qx Ocean'
  [ ! -e "$XDG_DATA_HOME/trickvault/skins/.unpacking-ocean" ] || fail "the unpacking folder was left"
  [ -f "$scratch/ocean.tkvs" ] || fail "the archive was deleted"
  ;;

real_window)
  private_user "$root"
  started_before "$root"
  start_display
  # A shortcut for the demo profile, written by the program's own code, started as a desktop does.
  tkv shortcut demo "$scratch/shortcuts" >/dev/null
  shortcut="$(ls "$scratch"/shortcuts/*.desktop)"
  gio launch "$shortcut" &
  pids+=($!)
  window="$(xdotool search --sync --onlyvisible --name 'Demo games' | head -1)"
  [ -n "$window" ] || fail "no main window on the demo profile"
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  xdotool type --delay 50 "Age of Emp"
  xdotool key Return
  xdotool search --sync --onlyvisible --name 'Age of Empires' >/dev/null
  sleep 1
  mkdir -p "$build/screens"
  import -display "$DISPLAY" -window root "$build/screens/RealWindow-xcb.png"
  colours="$(convert "$build/screens/RealWindow-xcb.png" -format '%k' info:)"
  [ "$colours" -gt 16 ] || fail "the screen looks blank ($colours colours)"
  ;;

*)
  fail "unknown case $case_name"
  ;;
esac
echo "ok: $case_name"
