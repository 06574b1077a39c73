#pragma once
// The interface every input format's decoder implements. Decoders are made by the
// decoder table (DecoderTable.h) after sniffing the file's first bytes; ImageFile is
// the only caller.

#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/ColourProfiles.h"
#include "imaging/FrameDimension.h"

namespace vellumo::imaging {

struct FrameInfo {
    int32_t width = 0;
    int32_t height = 0;
    double dpiX = 96.0;
};

class Decoder {
  public:
    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    virtual ~Decoder() = default;

    virtual std::string FormatName() const = 0;
    virtual std::vector<FrameDimensionCount> FrameDimensions() const = 0;
    // False (active frame unchanged) for a dimension the file does not list or an
    // index out of range.
    virtual bool SelectFrame(FrameDimension dimension, int32_t index) = 0;
    virtual FrameInfo ActiveFrame() const = 0;
    virtual int ExifOrientation() const { return 0; }
    // The ICC profile of the active frame's decoded pixels; empty when they are sRGB or
    // the file says nothing. Ink (CMYK) pixels are converted by their decoder; the CMYK
    // profile it still reports describes no RGB pixels, so nothing converts them again.
    virtual IccProfile ColourProfile() const { return {}; }

    // Decodes the active frame. A decoder may decode at a reduced scale as long as both
    // sides stay at least `minimum` (an empty `minimum` asks for full size). The result
    // is Format_RGB888 or Format_RGBA8888_Premultiplied, or Format_RGBX64 for an opaque
    // source of more than 8 bits whose profile asks for a conversion (ImageFile converts
    // it before the cut to 8 bits); a null image with `error` set on failure.
    virtual QImage Decode(QSize minimum, std::string& error) = 0;

    // Decodes the active frame, when it is exactly `size`, straight into `rows` (8-bit
    // RGB, `stride` bytes apart): the pixels Decode would give at that size, without a
    // second picture of it in memory. False with `error` empty when this decoder cannot
    // (the caller then decodes), with `error` set when the frame cannot be decoded (the
    // rows may then hold part of it).
    virtual bool DecodeInto(uint8_t* /*rows*/, size_t /*stride*/, QSize /*size*/,
                            std::string& error) {
        error.clear();
        return false;
    }
};

// A file of one picture: one page, always the active frame.
class SingleFrameDecoder : public Decoder {
  public:
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        return {{FrameDimension::Page, 1}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        return dimension == FrameDimension::Page && index == 0;
    }
};

}  // namespace vellumo::imaging
