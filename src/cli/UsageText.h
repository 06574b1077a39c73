#pragma once
// The help text of vellumo-cli.

#include <string_view>

namespace vellumo::cli {

inline constexpr std::string_view kUsage = R"(Usage: vellumo-cli [options] INPUT... -o OUTPUT
       vellumo-cli --list [options] INPUT...
       vellumo-cli --info FILE...

Combines photos into one multi-page TIFF (or BMP, JPEG or PNG files), one page per
frame of every input, in the order given.

Inputs:
  INPUT                 image files, in page order; every frame of a multi-frame file
                        (multi-page TIFF, animated GIF) becomes a page
  -r, --recursive       search folder inputs for photos (breadth first; .bmp .jpg .jpeg
                        .gif .tif .tiff .png .exif .ico .emf .wmf .dib in any case)
  --sort ORDER          reorder the pages: name, name-desc, time, time-desc

Page size (default: the photo's own size):
  --width W             W pixels wide, height keeps the aspect ratio
  --height H            H pixels high, width keeps the aspect ratio
  --size WxH            exactly W by H pixels
  --stretch H[,V]       the photo's size times H (and V, default H)
  --rotate ANGLE        turn clockwise by 0, 90, 180 or 270 degrees
  --flip MODE           none, horizontal (h) or vertical (v), after turning
  --auto-orient         turn each photo upright from its EXIF orientation first

Output:
  -o, --output OUTPUT   the output file; BMP, JPEG and PNG outputs of several pages
                        are numbered (album-1.jpg, album-2.jpg, ...)
  --format FORMAT       tif, bmp, jpg or png (default: from OUTPUT's extension, else tif)
  --compression C       TIFF compression: lzw (default), none, deflate, packbits, jpeg
  --quality Q           JPEG quality 1-100 (default 80), also for --compression jpeg
  --bmp-bits N          BMP colour depth: 24 (default), or 1, 4, 8 with a palette
  -y, --overwrite       replace an existing OUTPUT without asking

Colour and metadata:
  --colour MODE         srgb (default): convert each photo from its ICC profile to sRGB;
                        keep: leave the pixels as decoded and embed the photo's profile
  --keep-gps            also copy where each photo was taken (GPS), left out by default
  --strip               write no metadata (camera data, page names, profile) beyond
                        the file's structure and the resolution

Caption:
  --caption TEXT        draw TEXT on every page
  --caption-pos X,Y     its top-left corner in pixels of the page before it is
                        turned (default 0,0)
  --font SPEC           "FAMILY[,SIZE][,bold][,italic]", SIZE in pixels (default 13)
  --color #RRGGBB       text colour (default black)

Other:
  --log FILE            append the activity log to FILE
  --threads N           worker threads, 0 for every core (default)
  -q, --quiet           no progress and no summary; messages are still shown
  --list                print the pages INPUT... would give (file, frame, photo size,
                        page size) and write nothing; -o is not needed
  --info FILE...        show format, frames, sizes, resolutions and pixel hashes
  -h, --help            show this help
  --version             show the version

Without -y, an existing OUTPUT is replaced only after you agree on the terminal; when
nobody can answer, it is left alone. A run stopped with Ctrl-C keeps the pages written.

Exit status: 0 every page written, 1 some photos failed (the output holds the others),
2 usage error or nothing written.
)";

}  // namespace vellumo::cli
