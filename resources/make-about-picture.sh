#!/bin/sh
# Renders about.svg into the 121 x 121 JPEG that the About box shows.
# Needs librsvg2-bin (rsvg-convert), netpbm (pngtopnm) and
# libjpeg-turbo-progs (cjpeg).
set -e
cd "$(dirname "$0")"
rsvg-convert -w 121 -h 121 about.svg | pngtopnm | cjpeg -quality 92 -optimize > about.jpg
