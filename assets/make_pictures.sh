#!/usr/bin/env bash
# Regenerates the installer window's pictures and icons.
# Needs ImageMagick 6 (convert), fonts-wqy-microhei and icc-profiles-free.
# The outputs are committed, so the build itself never runs this script.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
pics="$here/pictures"
icons="$here/icon"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
srgb=/usr/share/color/icc/sRGB.icc
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

for f in "$font" "$srgb"; do
    [[ -r $f ]] || { echo "missing $f" >&2; exit 1; }
done
mkdir -p "$pics" "$icons"

# Baseline JFIF, 96 dpi, no timestamps. The first argument says whether the
# sRGB profile is embedded ("icc") or every profile and comment is stripped.
# Reads the drawn picture as MIFF on stdin.
save_jpg() {
    local colour=$1 out=$2 meta
    if [[ $colour == icc ]]; then
        meta=(-strip -profile "$srgb")
    else
        meta=(-strip)
    fi
    convert miff:- "${meta[@]}" +set date:create +set date:modify \
        -type TrueColor -colorspace sRGB -depth 8 \
        -interlace none -sampling-factor 2x2,1x1,1x1 -quality 90 \
        -units PixelsPerInch -density 96 "jpg:$out"
}

# 220x80 button: a Chinese word in white on a field with a light blue frame.
button() {
    local out=$1 field=$2 word=$3
    convert -size 220x80 "xc:$field" \
        -fill none -stroke '#9fdcf5' -strokewidth 3 -draw 'rectangle 1,1 218,78' \
        -font "$font" -pointsize 36 -gravity center \
        -fill white -stroke white -strokewidth 1 -annotate +0+0 "$word" \
        miff:- | save_jpg icc "$pics/$out"
}

# 250x256 logo: a big white "V" on light blue.
logo() {
    convert -size 250x256 'xc:rgb(117,184,238)' \
        -font "$font" -pointsize 210 -gravity center \
        -fill white -stroke white -strokewidth 6 -annotate +0+0 'V' \
        miff:- | save_jpg icc "$pics/$1"
}

# Outline of a flame in a 100x126 box, tip at the top, round belly below;
# scaled to whatever picture it is drawn on.
flame_path='path "M 50,4 C 58,30 88,48 86,84 C 85,108 68,122 50,122 C 31,122 14,108 14,86 C 14,66 26,54 34,40 C 36,56 42,62 48,64 C 44,44 46,22 50,4 Z"'

# 424x534 flame picture, deliberately without a colour profile.
flame() {
    convert -size 424x534 'xc:rgb(22,131,196)' \
        -fill white -stroke none \
        -draw "translate 32,24 scale 3.6,3.8 $flame_path" \
        miff:- | save_jpg plain "$pics/$1"
}

# 27x22 close button: a small white cross on the given blue.
close_button() {
    local out=$1 field=$2
    convert -size 27x22 "xc:$field" \
        -stroke white -strokewidth 1.6 \
        -draw 'line 9.5,6.5 17.5,14.5' -draw 'line 17.5,6.5 9.5,14.5' \
        miff:- | save_jpg icc "$pics/$out"
}

# The program's mark as a 32-bit PNG of the given size: the white flame on a
# rounded blue square, transparent outside the square.
mark_png() {
    local size=$1 out=$2 s r
    s=$(awk -v n="$size" 'BEGIN { printf "%.4f", n / 128 }')
    r=$(( size / 6 ))
    convert -size "${size}x${size}" xc:none \
        -fill 'rgb(22,131,196)' -draw "roundrectangle 0,0 $((size - 1)),$((size - 1)) $r,$r" \
        -fill white -draw "scale $s,$s translate 24,14 scale 0.8,0.8 $flame_path" \
        -define png:exclude-chunks=date,time +set date:create +set date:modify \
        "PNG32:$out"
}

# ICO with one uncompressed 32-bit BGRA entry per size.
icon() {
    local out=$1 size pngs=()
    shift
    for size in "$@"; do
        mark_png "$size" "$tmp/mark$size.png"
        pngs+=("$tmp/mark$size.png")
    done
    convert "${pngs[@]}" -type TrueColorAlpha -compress None "ico:$out"
}

button p1_install.jpg '#1aa0a8' '安装'
button p2_install_hot.jpg '#2cb7bf' '安装'
button p3_finish.jpg '#1aa0a8' '完成'
logo p4_logo2.jpg
flame p5_flame.jpg
close_button p6_close.jpg 'rgb(22,131,196)'
close_button p7_close_hot.jpg 'rgb(64,162,220)'
close_button p8_close_pressed.jpg 'rgb(12,98,150)'
icon "$pics/p9_icon.ico" 48
icon "$icons/program.ico" 16 20 24 32 40 48 64 128
