#include "dib/PaletteSearch.h"

#include <algorithm>
#include <limits>

namespace vellumo::dib {
namespace {

// Smallest and largest distance along one axis from `value` to any of [low, high].
int32_t Nearer(int32_t value, int32_t low, int32_t high) {
    return value < low ? low - value : value > high ? value - high : 0;
}
int32_t Farther(int32_t value, int32_t low, int32_t high) {
    return std::max(value - low, high - value);
}

}  // namespace

PaletteSearch::PaletteSearch(const uint8_t* table, uint32_t count)
    : begin_(kCells, 0), end_(kCells, 0), built_(kCells, 0) {
    entries_.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = table + 4 * i;
        entries_.push_back({e[0], e[1], e[2]});
    }
}

void PaletteSearch::BuildCell(int cell) {
    constexpr int kMask = kCellsPerAxis - 1;
    const int32_t low[3] = {(cell / (kCellsPerAxis * kCellsPerAxis)) * kCellSide,
                            ((cell / kCellsPerAxis) & kMask) * kCellSide,
                            (cell & kMask) * kCellSide};
    // The best guarantee any one entry gives for every colour of the cell.
    int64_t bound = std::numeric_limits<int64_t>::max();
    for (const auto& e : entries_) {
        int64_t far = 0;
        for (int c = 0; c < 3; ++c) {
            const int64_t d = Farther(e[c], low[c], low[c] + kCellSide - 1);
            far += d * d;
        }
        bound = std::min(bound, far);
    }
    begin_[cell] = static_cast<uint32_t>(candidates_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
        int64_t near = 0;
        for (int c = 0; c < 3; ++c) {
            const int64_t d = Nearer(entries_[i][c], low[c], low[c] + kCellSide - 1);
            near += d * d;
        }
        if (near <= bound) {
            candidates_.push_back(static_cast<uint8_t>(i));
        }
    }
    end_[cell] = static_cast<uint32_t>(candidates_.size());
    built_[cell] = 1;
}

uint8_t PaletteSearch::Nearest(uint8_t blue, uint8_t green, uint8_t red) {
    if (entries_.empty()) {
        return 0;
    }
    const int cell =
        ((blue / kCellSide) * kCellsPerAxis + green / kCellSide) * kCellsPerAxis + red / kCellSide;
    if (built_[cell] == 0) {
        BuildCell(cell);
    }
    int32_t bestDistance = std::numeric_limits<int32_t>::max();
    uint8_t bestIndex = 0;
    for (uint32_t k = begin_[cell]; k < end_[cell]; ++k) {
        const uint8_t i = candidates_[k];
        const auto& e = entries_[i];
        const int32_t db = e[0] - blue;
        const int32_t dg = e[1] - green;
        const int32_t dr = e[2] - red;
        const int32_t distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance) {
            bestDistance = distance;
            bestIndex = i;
        }
    }
    return bestIndex;
}

}  // namespace vellumo::dib
