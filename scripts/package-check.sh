#!/usr/bin/env bash
# Checks the .deb packages that `make package` left in BUILD (default:
# build) as a user gets them: lintian on the files, then installed on this
# machine with dpkg (apt-get fetching missing dependencies), the installed
# programs used (versions, a production of the sample quiz compared with the
# build tree's, the editor started from its desktop entry with "Aide"), the
# installed desktop entry, MIME type, metadata and manual validated, and the
# packages removed and purged again. Any failure stops it with a message.
# CI runs it as root after `make test`; elsewhere it uses sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

fail() {
  echo "package-check: $*" >&2
  exit 1
}
step() { echo "== $*"; }

shopt -s nullglob
main_debs=("$build"/tavimor_*.deb)
preview_debs=("$build"/tavimor-preview_*.deb)
shopt -u nullglob
[ "${#main_debs[@]}" -eq 1 ] || fail "expected one $build/tavimor_*.deb, found ${#main_debs[@]} (run make package)"
debs=("${main_debs[@]}" "${preview_debs[@]}")
packages=(tavimor)
[ "${#preview_debs[@]}" -eq 0 ] || packages=(tavimor-preview tavimor)
version=$(dpkg-deb --field "${main_debs[0]}" Version)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in "${packages[@]}"; do
  ! installed "$p" || fail "$p is already installed here; remove it first (this check installs and removes it)"
done

work=$(mktemp -d)
cleanup() {
  local status=$?
  for p in "${packages[@]}"; do
    if dpkg-query -W "$p" >/dev/null 2>&1 && [ "$(dpkg-query -W -f='${Status}' "$p")" != "unknown ok not-installed" ]; then
      $sudo dpkg --purge "$p" >/dev/null 2>&1 || true
    fi
  done
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

step "lintian ${debs[*]}"
# Errors and warnings fail; the informational tags are shown for the record.
lintian --display-info --fail-on error,warning "${debs[@]}"

step "dependencies of ${main_debs[0]}"
dpkg-deb --field "${main_debs[0]}" Depends Recommends
if [ "${#preview_debs[@]}" -eq 1 ]; then
  dpkg-deb --field "${main_debs[0]}" Recommends | grep -q 'tavimor-preview' || fail "tavimor does not recommend tavimor-preview"
fi

step "install"
if ! $sudo dpkg -i "${debs[@]}"; then
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -f -y --no-install-recommends
fi
for p in "${packages[@]}"; do installed "$p" || fail "$p did not install"; done

step "the installed programs"
[ "$(command -v tavimor-cli)" = /usr/bin/tavimor-cli ] || fail "tavimor-cli is not /usr/bin/tavimor-cli"
[ "$(tavimor-cli --version)" = "tavimor-cli $version" ] || fail "tavimor-cli --version: $(tavimor-cli --version)"
[ "$(tavimor --version)" = "tavimor $version" ] || fail "tavimor --version: $(tavimor --version)"
tavimor-cli help produce | grep -q '^Usage: tavimor-cli produce DOC.kwz' || fail "tavimor-cli help produce"
for page in tavimor tavimor-cli; do
  zcat "/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} \"1\"" || fail "no manual page for $page"
done

step "a production of the sample quiz by the installed tavimor-cli"
sample=/usr/share/doc/tavimor/exemples/decouverte.kwz
[ -f "$sample" ] || fail "no $sample"
mkdir -p "$work/installed" "$work/built"
cp "$sample" "$work/installed/"
cp examples/decouverte.kwz "$work/built/"
(cd "$work/installed" && tavimor-cli produce decouverte.kwz --prefs prefs && tavimor-cli exam decouverte.kwz --prefs prefs)
(cd "$work/built" && "$OLDPWD/$build/cli/tavimor-cli" produce decouverte.kwz --prefs prefs >/dev/null &&
  "$OLDPWD/$build/cli/tavimor-cli" exam decouverte.kwz --prefs prefs >/dev/null)
for f in index.html hPages/decouverte.js hPages/kwzStyle.css hPages/KWZ.gif decouverteexm.htm decouvertesol.htm; do
  [ -s "$work/installed/decouverte/$f" ] || fail "the production lacks $f"
done
diff -r "$work/installed/decouverte" "$work/built/decouverte" || fail "the installed program produced another site than the build tree's"
# Without --prefs, the user's preferences folder, even for the superuser who
# could write beside the program.
mkdir -p "$work/default"
cp "$sample" "$work/default/"
(cd "$work/default" && HOME="$work/clihome" XDG_CONFIG_HOME="" tavimor-cli produce decouverte.kwz >/dev/null)
[ -f "$work/clihome/.config/tavimor/Prefs/KWZ.gif" ] || fail "tavimor-cli did not use ~/.config/tavimor/Prefs"

step "desktop entry, icons, MIME type, metadata, manual"
desktop=/usr/share/applications/tavimor.desktop
desktop-file-validate "$desktop"
grep -qx 'Exec=tavimor %f' "$desktop" || fail "Exec of $desktop"
grep -qx 'MimeType=application/x-tavimor;' "$desktop" || fail "MimeType of $desktop"
grep -q '^Name\[fr\]=' "$desktop" && grep -q '^Comment\[fr\]=' "$desktop" || fail "no French name or comment in $desktop"
[ -f /usr/share/icons/hicolor/scalable/apps/tavimor.svg ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  icon=/usr/share/icons/hicolor/${size}x${size}/apps/tavimor.png
  file "$icon" | grep -q "PNG image data, $size x $size," || fail "$icon is not a $size x $size PNG"
done
mime=/usr/share/mime/packages/tavimor.xml
mkdir -p "$work/mime/packages"
cp "$mime" "$work/mime/packages/"
update-mime-database -V "$work/mime" >"$work/mime.log" 2>&1 || fail "update-mime-database: $(cat "$work/mime.log")"
! grep -qiE 'warning|error|invalid' "$work/mime.log" || fail "update-mime-database: $(cat "$work/mime.log")"
grep -qx 'application/x-tavimor:\*\.kwz' "$work/mime/globs" || fail "$mime gives no *.kwz glob"
if command -v update-mime-database >/dev/null && [ -f /usr/share/mime/globs2 ]; then
  grep -q ':application/x-tavimor:\*\.kwz' /usr/share/mime/globs2 || fail "the system MIME database does not know *.kwz"
fi
shopt -s nullglob
metainfo=(/usr/share/metainfo/*.metainfo.xml)
shopt -u nullglob
metainfo=($(grep -l '<launchable type="desktop-id">tavimor.desktop</launchable>' "${metainfo[@]}"))
[ "${#metainfo[@]}" -eq 1 ] || fail "expected one metainfo file launching tavimor.desktop"
appstreamcli validate --no-net "${metainfo[0]}"
[ -f /usr/share/doc/tavimor/manuel/index.html ] || fail "no installed manual"
python3 scripts/check-manual-links.py /usr/share/doc/tavimor/manuel
[ -f /usr/share/doc/tavimor/copyright ] && [ -f /usr/share/doc/tavimor/changelog.gz ] || fail "no copyright or changelog"

step "the editor started from its desktop entry, then \"Aide\" (F1)"
# A user of its own, a fake xdg-open that records what the desktop is asked
# to open, and the Exec line of the installed entry on the sample quiz.
home="$work/home"
mkdir -p "$home/.config/tavimor/Prefs" "$work/bin"
cp "$sample" "$work/quiz.kwz"
cat >"$work/bin/xdg-open" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$1" >>"$work/opened"
SCRIPT
chmod +x "$work/bin/xdg-open"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
command=${exec_line//%f/$work/quiz.kwz}
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" PATH="$work/bin:$PATH" \
  QT_QPA_PLATFORM=xcb WORK="$work" COMMAND="$command" \
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    $COMMAND >"$WORK/editor.log" 2>&1 &
    editor=$!
    # The about box shows first and closes by itself; then the main window,
    # titled after the document, gets the focus (there is no window manager).
    window=""
    for _ in $(seq 1 40); do
      window=$(xdotool search --onlyvisible --name "^quiz.kwz$" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
      sleep 0.5
    done
    [ -n "$window" ] || { echo "no editor window"; kill $editor; exit 1; }
    for _ in $(seq 1 20); do
      xdotool windowfocus --sync "$window" key F1 2>/dev/null || true
      [ -s "$WORK/opened" ] && break
      sleep 0.5
    done
    # "Quitter" (Ctrl+Q): the editor writes its settings as it closes.
    xdotool windowfocus --sync "$window" key ctrl+q 2>/dev/null || true
    for _ in $(seq 1 20); do
      kill -0 $editor 2>/dev/null || break
      sleep 0.5
    done
    if kill -0 $editor 2>/dev/null; then
      echo "the editor did not close at Ctrl+Q"
      kill $editor
      exit 1
    fi
  ' || fail "the editor did not start or stop: $(cat "$work/editor.log" 2>/dev/null)"
[ -s "$work/opened" ] || fail "\"Aide\" asked the desktop to open nothing: $(cat "$work/editor.log")"
[ "$(head -n 1 "$work/opened")" = "file:///usr/share/doc/tavimor/manuel/index.html" ] ||
  fail "\"Aide\" opened $(head -n 1 "$work/opened")"
[ ! -e "$home/.local/share/applications/tavimor.desktop" ] ||
  fail "the installed editor registered the document type a second time, per user"
[ -f "$home/.config/tavimor/tavimor.ini" ] || fail "the editor kept no settings in ~/.config/tavimor"
for left in /usr/bin/Prefs /usr/bin/tavimor.ini; do
  [ ! -e "$left" ] || fail "the installed programs wrote $left"
done

step "remove and purge"
$sudo dpkg --remove "${packages[@]}"
[ ! -e /usr/bin/tavimor ] && [ ! -e /usr/bin/tavimor-cli ] && [ ! -e "$desktop" ] || fail "files left after removal"
# Without configuration files of its own, a removed package is already gone;
# purge whatever dpkg still keeps.
for p in "${packages[@]}"; do
  if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'config-files'; then
    $sudo dpkg --purge "$p"
  fi
done
for p in "${packages[@]}"; do
  [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || echo gone)" != "install ok installed" ] || fail "$p still installed"
done
[ ! -e /usr/share/doc/tavimor ] || fail "/usr/share/doc/tavimor left after purge"
if [ -f /usr/share/mime/globs2 ]; then
  ! grep -q 'application/x-tavimor' /usr/share/mime/globs2 || fail "the MIME database still knows *.kwz"
fi
echo "package-check: all good (${debs[*]})"
