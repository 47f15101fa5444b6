# Sourced by scripts/windows.sh and the Windows tests: a wine of the build's own, in
# build-windows/wineprefix, quiet, without the Mono and Gecko installers, in Chinese, with 宋体
# (SimSun) standing for a CJK face Debian installs. The prefix is made on first use.
VANTLE_ROOT="${VANTLE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${WINEPREFIX:-$VANTLE_ROOT/build-windows/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  if [ -w /etc/locale.gen ]; then
    sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null 2>&1 || true
  fi
fi
export LANG=zh_CN.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
  # 宋体 and its Latin name, and the serif for Latin text, stand for faces that are installed.
  cat >"$WINEPREFIX/vantle-fonts.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"SimSun"="AR PL UMing CN"
"宋体"="AR PL UMing CN"
"NSimSun"="AR PL UMing CN"
"Times New Roman"="Liberation Serif"
REG
  wine regedit /S "$WINEPREFIX/vantle-fonts.reg" >/dev/null 2>&1 || true
  wineserver -w || true
fi
