#!/usr/bin/env bash
# Makes sure $WINEPREFIX exists. A new prefix gets the Marlett font, which Wine
# draws caption buttons with and some Wine packages leave out; with
# --unmanaged its windows are not handed to a window manager, so under Xvfb
# (which has none) a closing window does not wait 2 s for a confirmation.
set -u
unmanaged=false
[ "${1:-}" = --unmanaged ] && unmanaged=true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  printf '== creating Wine prefix %s\n' "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  if $unmanaged; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
  wineserver -w || true
fi
fonts=$WINEPREFIX/drive_c/windows/Fonts
for f in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
  if [ -f "$f" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp "$f" "$fonts/"
  fi
done
exit 0
