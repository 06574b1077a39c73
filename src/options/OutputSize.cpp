#include "options/OutputSize.h"

#include <cmath>
#include <limits>

namespace vellumo::options {
namespace {

// Drops the fraction. Values outside the 32-bit range (absurd factors, a zero-sized
// source) saturate instead of being undefined; NaN becomes 0 so the pipeline rejects it.
int32_t Truncate(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kMax = static_cast<double>(std::numeric_limits<int32_t>::max());
    constexpr double kMin = static_cast<double>(std::numeric_limits<int32_t>::min());
    if (value >= kMax) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= kMin) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(std::trunc(value));
}

std::optional<PageSize> SizeByRule(int32_t sourceWidth, int32_t sourceHeight,
                                   const OutputPhotoFormat& record, Reporter& reporter) {
    const double ws = sourceWidth;
    const double hs = sourceHeight;
    switch (record.nOuputSizeType) {
        case kSizeOriginal:
            return PageSize{sourceWidth, sourceHeight};
        case kSizeCustom:
            switch (record.nKeepAspectRatio) {
                case kKeepNone:
                    return PageSize{record.nOutputWidth, record.nOutputHeight};
                case kKeepWithWidth:
                    return PageSize{record.nOutputWidth, Truncate(hs / ws * record.nOutputWidth)};
                case kKeepWithHeight:
                    return PageSize{Truncate(ws / hs * record.nOutputHeight), record.nOutputHeight};
                case kKeepFit:
                    // The side that meets the box first is the box's; the other follows.
                    if (ws * record.nOutputHeight >= hs * record.nOutputWidth) {
                        return PageSize{record.nOutputWidth,
                                        Truncate(hs / ws * record.nOutputWidth)};
                    }
                    return PageSize{Truncate(ws / hs * record.nOutputHeight), record.nOutputHeight};
                default:
                    reporter.Report("unknown error nKeepAspectRatio", "error");
                    return std::nullopt;
            }
        case kSizeStretch:
            return PageSize{Truncate(ws * record.dStretchHorizontal),
                            Truncate(hs * record.dStretchVertical)};
        default:
            reporter.Report("unknown error m_outputPhotoFormat.nOuputSizeType", "error");
            return std::nullopt;
    }
}

}  // namespace

std::optional<PageSize> ComputeOutputSize(int32_t sourceWidth, int32_t sourceHeight,
                                          const OutputPhotoFormat& record, Reporter& reporter) {
    const auto size = SizeByRule(sourceWidth, sourceHeight, record, reporter);
    if (size && record.bShrinkOnly && size->width >= sourceWidth && size->height >= sourceHeight) {
        return PageSize{sourceWidth, sourceHeight};
    }
    return size;
}

bool StoreOutputSize(int32_t sourceWidth, int32_t sourceHeight, OutputPhotoFormat& record,
                     Reporter& reporter) {
    const auto size = ComputeOutputSize(sourceWidth, sourceHeight, record, reporter);
    if (!size) {
        return false;
    }
    record.nOutputWidth = size->width;
    record.nOutputHeight = size->height;
    return true;
}

}  // namespace vellumo::options
