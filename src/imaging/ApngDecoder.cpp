#include "imaging/ApngDecoder.h"

#include <cstring>
#include <new>

#include "imaging/PngDecoder.h"

namespace vellumo::imaging {
namespace {

class ApngDecoder final : public Decoder {
  public:
    ApngDecoder(std::vector<uint8_t> bytes, ApngIndex index, double dpiX)
        : bytes_(std::move(bytes)), index_(std::move(index)), dpiX_(dpiX) {}

    std::string FormatName() const override { return "PNG"; }
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        return {{FrameDimension::Time, static_cast<uint32_t>(index_.frames.size())}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        if (dimension != FrameDimension::Time || index < 0 ||
            static_cast<size_t>(index) >= index_.frames.size()) {
            return false;
        }
        active_ = index;
        return true;
    }
    FrameInfo ActiveFrame() const override {
        return {static_cast<int32_t>(index_.width), static_cast<int32_t>(index_.height), dpiX_};
    }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    bool DrawFrame(const ApngFrame& frame, std::string& error);
    void ClearArea(const ApngFrame& frame);

    std::vector<uint8_t> bytes_;
    ApngIndex index_;
    double dpiX_;
    int32_t active_ = 0;
    // As for GIF: the canvas of the frame drawn last is where the next one starts.
    QImage canvas_;
    QImage saved_;  // what lay under the last frame that restores it afterwards
    int32_t drawn_ = -1;
    int32_t failedAt_ = -1;
    std::string failure_;
};

void ApngDecoder::ClearArea(const ApngFrame& f) {
    for (uint32_t y = f.y; y < f.y + f.height; ++y) {
        std::memset(canvas_.scanLine(static_cast<int>(y)) + size_t{f.x} * 4, 0,
                    size_t{f.width} * 4);
    }
}

bool ApngDecoder::DrawFrame(const ApngFrame& f, std::string& error) {
    const std::vector<uint8_t> png = FramePng(bytes_, index_, f);
    QImage pixels = DecodePngBytes(png, error);
    if (pixels.isNull()) {
        return false;
    }
    pixels.convertTo(QImage::Format_RGBA8888_Premultiplied);
    if (pixels.isNull() || pixels.width() != static_cast<int>(f.width) ||
        pixels.height() != static_cast<int>(f.height)) {
        error = "cannot decode the PNG frame";
        return false;
    }
    for (uint32_t y = 0; y < f.height; ++y) {
        const uint8_t* s = pixels.constScanLine(static_cast<int>(y));
        uint8_t* d = canvas_.scanLine(static_cast<int>(f.y + y)) + size_t{f.x} * 4;
        if (f.blend == ApngBlend::Source) {
            std::memcpy(d, s, size_t{f.width} * 4);
            continue;
        }
        for (uint32_t x = 0; x < f.width; ++x, s += 4, d += 4) {
            const unsigned keep = 255u - s[3];  // premultiplied "over"
            for (int c = 0; c < 4; ++c) {
                d[c] = static_cast<uint8_t>(s[c] + (d[c] * keep + 127u) / 255u);
            }
        }
    }
    return true;
}

QImage ApngDecoder::Decode(QSize, std::string& error) {
    if (failedAt_ >= 0 && active_ >= failedAt_) {
        error = failure_;
        return {};
    }
    if (canvas_.isNull() || drawn_ > active_) {
        canvas_ = QImage(static_cast<int>(index_.width), static_cast<int>(index_.height),
                         QImage::Format_RGBA8888_Premultiplied);
        if (canvas_.isNull()) {
            error = "out of memory for the PNG frame";
            return {};
        }
        canvas_.fill(Qt::transparent);
        saved_ = QImage();
        drawn_ = -1;
    }
    try {
        for (int32_t i = drawn_ + 1; i <= active_; ++i) {
            const ApngFrame& frame = index_.frames[static_cast<size_t>(i)];
            if (i > 0) {
                const ApngFrame& before = index_.frames[static_cast<size_t>(i) - 1];
                if (before.dispose == ApngDispose::Background ||
                    (before.dispose == ApngDispose::Previous && saved_.isNull())) {
                    ClearArea(before);  // the first frame's "previous" is a clear canvas
                } else if (before.dispose == ApngDispose::Previous) {
                    canvas_ = saved_;
                }
            }
            saved_ = QImage();
            if (frame.dispose == ApngDispose::Previous && i > 0) {
                saved_ = canvas_.copy();
                if (saved_.isNull()) {
                    throw std::bad_alloc();
                }
            }
            if (!DrawFrame(frame, error)) {
                failedAt_ = i;
                failure_ = error;
                canvas_ = QImage();
                return {};
            }
            drawn_ = i;
        }
    } catch (const std::bad_alloc&) {
        canvas_ = QImage();
        error = "out of memory for the PNG frame";
        return {};
    }
    return canvas_;
}

}  // namespace

std::unique_ptr<Decoder> OpenApng(std::vector<uint8_t> bytes, ApngIndex index, double dpiX) {
    return std::make_unique<ApngDecoder>(std::move(bytes), std::move(index), dpiX);
}

}  // namespace vellumo::imaging
