#!/usr/bin/env bash
# Installs what building, running and testing kvr needs on a Debian 12 machine:
# compilers and libraries, the X server and clients the tests drive, the open
# data packages the dictionaries are generated from, Chinese fonts and the
# locales kvr runs under. Safe to run again: it only does what is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  # build
  build-essential cmake g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libjpeg62-turbo-dev libxtst-dev
  libbz2-dev
  clang-format  # tools/format.sh: the layout tools/test.sh checks
  libfreetype-dev  # the image generator renders the bar's labels from the WenQuanYi font
  # X server, clients and font tools for the tests and the font set
  xvfb xfonts-base x11-utils x11-xserver-utils xfonts-utils xterm tk xauth
  # a GTK 3 client for the end-to-end tests: zenity's entry, through GTK's
  # XIM input module (in libgtk-3-0; libgtk-3-bin keeps the module cache)
  zenity libgtk-3-bin
  imagemagick python3  # the demo (tools/demo.py): screenshot, driver
  x11-common  # /usr/share/X11/rgb.txt, the colour database
  fonts-wqy-microhei fonts-wqy-zenhei
  locales
  procps  # ps: the programs find running copies and other input methods with it
  # open data the dictionaries are generated from
  rime-essay rime-prelude rime-data-pinyin-simp rime-data-luna-pinyin
  rime-data-terra-pinyin rime-data-wubi rime-data-stroke
  opencc libopencc1.1 unicode-data fortunes-zh
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Locales: kvr picks its UI language and encodings from these.
LOCALES=(
  "zh_CN.GBK GBK"
  "zh_CN.GB18030 GB18030"
  "zh_CN GB2312"
  "zh_CN.UTF-8 UTF-8"
  "zh_TW BIG5"
  "en_US.UTF-8 UTF-8"
)
need_gen=0
for l in "${LOCALES[@]}"; do
  if ! grep -qxF "$l" /etc/locale.gen 2>/dev/null; then
    echo "$l" | $SUDO tee -a /etc/locale.gen >/dev/null
    need_gen=1
  fi
done
have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')
for want in zh_cn.gbk zh_cn.gb18030 zh_cn zh_cn.utf8 zh_tw en_us.utf8; do
  grep -qx "$want" <<<"$have" || need_gen=1
done
if [ $need_gen -eq 1 ]; then
  $SUDO locale-gen >/dev/null
fi
echo "setup: done"
