#!/usr/bin/env bash
# installer_test.sh SETUP.exe PREFIX: the installer, silent (/S), in a fresh wine prefix puts
# the program under Program Files with a Start-menu entry and an Add/Remove Programs entry;
# the silent uninstaller then removes exactly what it installed, and leaves the learner's
# %APPDATA%\Vantle and a file the learner added to the program folder as they were.
set -euo pipefail
source "$(dirname "$0")/wine_common.sh"
setup="$1"
export WINEPREFIX="$2"
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantle'
dir="$WINEPREFIX/drive_c/Program Files/Vantle"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vantle.lnk"
value() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v {$1 = $2 = ""; sub(/^ +/, ""); print}'; }

wine "$setup" /S
wineserver -w
[ -f "$dir/Vantle.exe" ] || fail "no Vantle.exe under Program Files"
[ -f "$dir/说明.txt" ] && [ -f "$dir/《My词库》.txt" ] || fail "说明.txt or the own book missing"
[ "$(find "$dir/Study" -type f | wc -l)" -eq 54 ] || fail "Study does not hold the 54 books"
[ "$(find "$dir/Pic" -name '*.jpg' | wc -l)" -eq 20 ] || fail "Pic does not hold 20 pictures"
[ -f "$menu" ] || fail "no Start-menu entry"
[ "$(value DisplayName)" = Vantle ] || fail "DisplayName is '$(value DisplayName)'"
[ "$(value DisplayVersion)" = 3.6.0.0 ] || fail "DisplayVersion is '$(value DisplayVersion)'"
[ -n "$(value Publisher)" ] && [ -n "$(value DisplayIcon)" ] || fail "no Publisher or DisplayIcon"
case "$(value UninstallString)" in *uninstall.exe*) ;; *) fail "no UninstallString" ;; esac

# The learner's data, and a file of the learner's in the program folder.
appdata="$(wine_user_dir)/AppData/Roaming/Vantle"
mkdir -p "$appdata"
echo journal >"$appdata/progress.sqlite3"
echo mine >"$dir/我的笔记.txt"

# The uninstaller copies itself away and runs from there: wait for every wine process.
wine "C:\\Program Files\\Vantle\\uninstall.exe" /S
wineserver -w
[ ! -e "$dir/Vantle.exe" ] && [ ! -e "$dir/Study" ] && [ ! -e "$dir/Pic" ] || fail "program files left"
[ ! -e "$dir/uninstall.exe" ] || fail "the uninstaller is left"
[ ! -e "$menu" ] || fail "the Start-menu entry is left"
[ -z "$(value DisplayName)" ] || fail "the uninstall key is left"
[ "$(cat "$appdata/progress.sqlite3")" = journal ] || fail "%APPDATA%\\Vantle was touched"
[ "$(cat "$dir/我的笔记.txt")" = mine ] || fail "the learner's own file in the program folder went"
echo "installer: installed, registered and uninstalled; the learner's files kept"
