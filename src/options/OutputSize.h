#pragma once
// The output size rule: the page size of a frame under an options record.

#include <cstdint>
#include <optional>

#include "options/OutputPhotoFormat.h"
#include "options/Reporter.h"

namespace vellumo::options {

struct PageSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const PageSize&, const PageSize&) = default;
};

// Page size of a `sourceWidth` x `sourceHeight` frame under `record`. Ratios are formed
// first and then multiplied; fractions are dropped, never rounded. With bShrinkOnly, a
// size that shrinks the photo on neither side gives the photo's own size. An unknown size rule
// or keep-aspect code is reported ("unknown error ...", caption "error") and gives no size.
std::optional<PageSize> ComputeOutputSize(int32_t sourceWidth, int32_t sourceHeight,
                                          const OutputPhotoFormat& record, Reporter& reporter);

// Computes the size and stores it in the record's nOutputWidth / nOutputHeight; after an
// unknown code the stored size stays as it was. Returns whether a size was stored.
bool StoreOutputSize(int32_t sourceWidth, int32_t sourceHeight, OutputPhotoFormat& record,
                     Reporter& reporter);

}  // namespace vellumo::options
