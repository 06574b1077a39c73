#pragma once
// The nearest colour-table entry for many colours, with the same answer as
// CIndexedBitmap::NearestEntry (squared distance, ties to the lowest index) at a fraction
// of its cost. Colour space is cut into 64 x 64 x 64 cells; for each cell the entries
// that can be nearest to some colour in it are listed once, on first use: an entry whose
// smallest possible distance to the cell exceeds the largest distance of the best entry
// can never win, nor tie. A search then looks at the cell's few candidates, in index
// order, instead of the whole table.

#include <array>
#include <cstdint>
#include <vector>

namespace vellumo::dib {

class PaletteSearch {
  public:
    // `table` holds `count` entries of 4 bytes (blue, green, red, reserved); it is copied.
    PaletteSearch(const uint8_t* table, uint32_t count);

    uint8_t Nearest(uint8_t blue, uint8_t green, uint8_t red);

  private:
    static constexpr int kCellsPerAxis = 64;
    static constexpr int kCellSide = 256 / kCellsPerAxis;
    static constexpr int kCells = kCellsPerAxis * kCellsPerAxis * kCellsPerAxis;

    void BuildCell(int cell);

    std::vector<std::array<int32_t, 3>> entries_;  // blue, green, red
    // Candidates of each cell: a range of candidates_, or none built yet.
    std::vector<uint32_t> begin_;
    std::vector<uint32_t> end_;
    std::vector<uint8_t> built_;
    std::vector<uint8_t> candidates_;
};

}  // namespace vellumo::dib
