#!/bin/sh
# Installs the peer input method the XIM latency benchmark measures kvr
# against: Debian's fcitx5 with the Chinese add-ons (pinyin) and its XIM
# front end. Only the benchmark needs it; the build and the tests do not.
set -e
if command -v fcitx5 >/dev/null 2>&1 && [ -e /usr/lib/x86_64-linux-gnu/fcitx5/libpinyin.so -o -e /usr/share/fcitx5/addon/pinyin.conf ]; then
  exit 0
fi
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends fcitx5 fcitx5-chinese-addons
