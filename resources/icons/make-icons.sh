#!/usr/bin/env bash
# Draws the toolbar pictures (32x32 PNG) with ImageMagick. Run from this folder
# after changing a drawing; the PNG files are kept in the tree.
set -euo pipefail
cd "$(dirname "$0")"

draw() {
    local name=$1
    shift
    convert -size 32x32 xc:none -strokewidth 1 "$@" -define png:exclude-chunks=date,time "$name.png"
}

# A calendar page: blue binding strip, white sheet, grey day grid.
page='fill white stroke #34495e rectangle 3,5 28,28 fill #2e86c1 stroke #1b4f72 rectangle 3,5 28,11
      stroke #1b4f72 line 9,3 9,8 line 22,3 22,8'
grid='stroke #aab7b8 line 3,17 28,17 line 3,22 28,22 line 9,11 9,28 line 15,11 15,28 line 21,11 21,28'

draw add-reservation -draw "$page" -draw "$grid" \
    -draw "fill #27ae60 stroke #1e8449 circle 23,23 23,16" \
    -draw "stroke white stroke-width 2.5 line 23,19 23,27 line 19,23 27,23"

draw calendar -draw "$page" -draw "$grid" \
    -draw "fill #e74c3c stroke none rectangle 16,18 20,21"

draw advanced-calendar \
    -draw "fill white stroke #34495e rectangle 2,4 29,28" \
    -draw "stroke #aab7b8 line 8,4 8,28 line 2,10 29,10 line 2,16 29,16 line 2,22 29,22" \
    -draw "fill #2e86c1 stroke none rectangle 10,6 20,8 fill #e67e22 rectangle 14,12 27,14
           fill #27ae60 rectangle 9,18 17,20 fill #8e44ad rectangle 19,24 26,26"

draw customers \
    -draw "fill #5d6d7e stroke #34495e circle 20,10 20,5 path 'M 11,28 C 11,17 29,17 29,28 Z'" \
    -draw "fill #2e86c1 stroke #1b4f72 circle 11,12 11,7 path 'M 2,29 C 2,18 20,18 20,29 Z'"

draw reports \
    -draw "fill white stroke #34495e path 'M 6,2 L 21,2 L 27,8 L 27,30 L 6,30 Z'" \
    -draw "fill #d6eaf8 stroke #34495e path 'M 21,2 L 21,8 L 27,8'" \
    -draw "stroke #5d6d7e line 10,12 23,12 line 10,16 23,16 line 10,20 19,20" \
    -draw "fill #27ae60 stroke none rectangle 10,24 12,27 fill #e67e22 rectangle 14,22 16,27
           fill #2e86c1 rectangle 18,20 20,27"

draw find \
    -draw "stroke #5d6d7e stroke-width 5 stroke-linecap round line 20,20 28,28" \
    -draw "fill #d6eaf8 stroke #34495e stroke-width 2.5 circle 13,13 13,4" \
    -draw "fill none stroke white stroke-width 1.5 path 'M 8,12 C 8,9 10,8 12,8'"

draw web-bookings \
    -draw "fill #aed6f1 stroke #1b4f72 stroke-width 1.5 circle 16,16 16,3" \
    -draw "fill none stroke #1b4f72 ellipse 16,16 6,13 0,360 line 3,16 29,16
           path 'M 5,10 C 12,12 20,12 27,10' path 'M 5,22 C 12,20 20,20 27,22'" \
    -draw "fill #27ae60 stroke #1e8449 path 'M 9,7 C 12,5 15,8 13,11 C 11,13 9,12 8,10 Z'
           path 'M 18,17 C 22,16 25,19 23,23 C 21,26 18,24 18,21 Z'"
