#!/usr/bin/env bash
# Lets a fresh Wine prefix draw the wizard as Windows does, Japanese included: Wine's own Tahoma and sans
# serif faces (Debian package fonts-wine) are installed into the prefix, the dialogs' "MS Sans Serif" is
# drawn with Tahoma, and these faces fall back to IPAGothic (fonts-ipafont-gothic) for glyphs they lack,
# the way Windows links them to its Japanese fonts. Run once after the prefix is created; WINEPREFIX set.
set -eu
WINE64=${WINE64:-/usr/lib/wine/wine64}
FONTS="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$FONTS"
for file in tahoma.ttf tahomabd.ttf; do
    [ -f "/usr/share/wine/fonts/$file" ] && cp -f "/usr/share/wine/fonts/$file" "$FONTS/"
done
"$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "MS Sans Serif" \
    /t REG_SZ /d Tahoma /f >/dev/null 2>&1 || true
# Windows' Japanese interface font, which rich-text controls are given for Japanese texts.
"$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "MS UI Gothic" \
    /t REG_SZ /d IPAGothic /f >/dev/null 2>&1 || true
KEY='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
FALLBACK='ipag.ttf,IPAGothic'
for face in "Tahoma" "Tahoma Bold" "Microsoft Sans Serif" "Arial"; do
    # The current list as reg prints it ("\0" between entries), or nothing when the face has none.
    current=$("$WINE64" reg query "$KEY" /v "$face" 2>/dev/null | sed -n "s/^ *$face *REG_MULTI_SZ *//p" | tr -d '\r')
    case "$current" in
        "$FALLBACK"*) continue ;;
        "") data="$FALLBACK" ;;
        *) data="$FALLBACK\\0$current" ;;
    esac
    "$WINE64" reg add "$KEY" /v "$face" /t REG_MULTI_SZ /d "$data" /f >/dev/null 2>&1 || true
done
