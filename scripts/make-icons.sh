#!/usr/bin/env bash
# Draws the game's icons from its own art: the first frame of the ripe corn
# sprite, in its colour and in the game's font (bold, as the display draws
# it), on a black tile like the game's window. Writes icons/cornfield-N.png
# for every size desktops look for; the results are committed, so this runs
# only when the picture changes. Needs ImageMagick.
#
#   scripts/make-icons.sh [SPRITE]        (default: sprites/corn/yellow.txt)
set -euo pipefail
cd "$(dirname "$0")/.."
sprite=${1:-sprites/corn/yellow.txt}
sizes=(16 22 24 32 48 64 128 256)
font=$PWD/vq-font.ttf
magick=convert
command -v magick >/dev/null 2>&1 && magick=magick
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

mapfile -t lines < <(sed 's/\r$//' "$sprite")
width=${lines[1]}
height=${lines[2]}
case "${lines[4]}" in
    black) colour='#000000' ;; red) colour='#ff0000' ;; green) colour='#00ff00' ;;
    yellow) colour='#ffff00' ;; blue) colour='#0000ff' ;; magenta) colour='#ff00ff' ;;
    cyan) colour='#00ffff' ;; *) colour='#ffffff' ;;
esac

# The frame as the game draws it, eight times larger: cells of 12.8 x 32
# pixels, glyphs of 25 pixels with their baseline 25 pixels below the cell's
# top. Small icons get heavier strokes so the picture survives shrinking.
scale=8
draw_art() {
    local stroke=$1 out=$2 row col ch
    local -a args=()
    for ((row = 0; row < height; row++)); do
        local text=${lines[$((5 + row))]}
        for ((col = 0; col < width; col++)); do
            ch=${text:col:1}
            [ "$ch" = " " ] && continue
            [ "$ch" = "\\" ] && ch='\\'
            args+=(-annotate "+$((col * 128 * scale / 10))+$((row * 32 * scale + 25 * scale))" "$ch")
        done
    done
    "$magick" -size "$((width * 128 * scale / 10 + 32 * scale))x$((height * 32 * scale + 16 * scale))" xc:none \
        -font "$font" -pointsize $((25 * scale)) -fill "$colour" -stroke "$colour" -strokewidth "$stroke" \
        "${args[@]}" -trim +repage "$out"
}

for size in "${sizes[@]}"; do
    stroke=$((scale * 7 / 10))
    [ "$size" -le 32 ] && stroke=$((scale * 3))
    [ "$size" -le 48 ] && [ "$size" -gt 32 ] && stroke=$((scale * 3 / 2))
    art=$scratch/art-$stroke.png
    [ -e "$art" ] || draw_art "$stroke" "$art"
    inner=$((size * 13 / 16))
    radius=$((size / 5))
    "$magick" -size "${size}x${size}" xc:none -fill black \
        -draw "roundrectangle 0,0 $((size - 1)),$((size - 1)) $radius,$radius" \
        \( "$art" -resize "${inner}x${inner}" \) -gravity center -composite \
        -strip -define png:exclude-chunks=date,time "icons/cornfield-$size.png"
done
echo "make-icons: icons/cornfield-{$(IFS=,; echo "${sizes[*]}")}.png from $sprite"
