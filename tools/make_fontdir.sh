#!/usr/bin/env bash
# make_fontdir.sh OUTDIR
# Builds an X core font directory from the WenQuanYi TrueType font, for the
# two font sets kvr draws with. Debian's core fonts have no GBK-0 or BIG5-0
# font, and the font-set patterns name the families "fixed" and "courier", so
# besides what mkfontscale finds we enter the face under those families in
# the Chinese registries (gbk-0, gb2312.1980-0, gb18030-0, big5-0), as are
# all its Unicode faces under their own names. The X
# server renders them through its encoding files. Add OUTDIR to the font path
# with "xset +fp OUTDIR" (tools/run.sh does) or start Xvfb with "-fp".
set -euo pipefail
out=${1:?usage: make_fontdir.sh OUTDIR}
font=""
for f in /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc /usr/share/fonts/truetype/wqy/wqy-microhei.ttc; do
  if [ -f "$f" ]; then font=$f; break; fi
done
if [ -z "$font" ]; then
  echo "make_fontdir: no WenQuanYi font found (install fonts-wqy-zenhei)" >&2
  exit 1
fi
enc=/usr/share/fonts/X11/encodings
mkdir -p "$out"
name=$(basename "$font")
tmp=$(mktemp -d "$out/.fontdir.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
cp "$font" "$tmp/$name"
mkfontscale -e "$enc" -e "$enc/large" "$tmp"
{
  tail -n +2 "$tmp/fonts.scale"
  # Every Unicode face again in the Chinese registries.
  grep -- '-iso10646-1$' "$tmp/fonts.scale" | while read -r file xlfd; do
    for registry in gbk-0 gb2312.1980-0 gb18030-0 big5-0; do
      echo "$file ${xlfd%-iso10646-1}-$registry"
    done
  done
  for registry in gbk-0 gb2312.1980-0 gb18030-0 big5-0; do
    for family in fixed courier; do
      echo "$name -misc-$family-medium-r-normal--0-0-0-0-c-0-$registry"
    done
  done
} | sort -u > "$tmp/lines"
{ wc -l < "$tmp/lines"; cat "$tmp/lines"; } > "$tmp/fonts.scale"
rm "$tmp/lines"
mkfontdir -e "$enc" -e "$enc/large" "$tmp"
for f in "$name" fonts.scale fonts.dir; do mv -f "$tmp/$f" "$out/$f"; done
