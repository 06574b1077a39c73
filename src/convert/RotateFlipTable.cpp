#include "convert/RotateFlipTable.h"

#include <array>

#include "options/OutputPhotoFormat.h"

namespace vellumo::convert {

using imaging::RotateFlipType;

RotateFlipChoice RotateFlipFor(int32_t angle, int32_t flip) {
    // Rows: 0, 90, 180, 270 degrees; columns: no flip, horizontal, vertical. A vertical
    // flip is a horizontal one after a further half turn.
    static constexpr std::array<std::array<RotateFlipType, 3>, 4> kTable = {{
        {RotateFlipType::RotateNoneFlipNone, RotateFlipType::RotateNoneFlipX,
         RotateFlipType::Rotate180FlipX},
        {RotateFlipType::Rotate90FlipNone, RotateFlipType::Rotate90FlipX,
         RotateFlipType::Rotate270FlipX},
        {RotateFlipType::Rotate180FlipNone, RotateFlipType::Rotate180FlipX,
         RotateFlipType::RotateNoneFlipX},
        {RotateFlipType::Rotate270FlipNone, RotateFlipType::Rotate270FlipX,
         RotateFlipType::Rotate90FlipX},
    }};

    RotateFlipChoice choice;
    size_t row = 0;
    switch (angle) {
        case 0:
            row = 0;
            break;
        case 90:
            row = 1;
            break;
        case 180:
            row = 2;
            break;
        case 270:
            row = 3;
            break;
        default:
            choice.angleKnown = false;
            break;
    }
    const bool flipKnown = flip >= options::kFlipNone && flip <= options::kFlipVertical;
    const size_t column = flipKnown ? static_cast<size_t>(flip) : 0;
    choice.type = kTable[row][column];
    return choice;
}

RotateFlipType UprightTypeForExif(int orientation) {
    switch (orientation) {
        case 2:
            return RotateFlipType::RotateNoneFlipX;  // mirrored left-right
        case 3:
            return RotateFlipType::Rotate180FlipNone;  // upside down
        case 4:
            return RotateFlipType::Rotate180FlipX;  // mirrored top-bottom
        case 5:
            return RotateFlipType::Rotate90FlipX;  // transposed
        case 6:
            return RotateFlipType::Rotate90FlipNone;  // needs a clockwise quarter turn
        case 7:
            return RotateFlipType::Rotate270FlipX;  // transversed
        case 8:
            return RotateFlipType::Rotate270FlipNone;  // needs a counter-clockwise turn
        default:
            return RotateFlipType::RotateNoneFlipNone;
    }
}

bool SwapsSides(RotateFlipType type) {
    switch (type) {
        case RotateFlipType::Rotate90FlipNone:
        case RotateFlipType::Rotate270FlipNone:
        case RotateFlipType::Rotate90FlipX:
        case RotateFlipType::Rotate270FlipX:
            return true;
        default:
            return false;
    }
}

}  // namespace vellumo::convert
