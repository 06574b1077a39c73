#pragma once
// Colour management over LittleCMS: what a source's ICC profile is called, whether it
// is sRGB in all but name, and the conversion of decoded pixels to sRGB (relative
// colorimetric, black-point compensation). Pages are sRGB unless a run keeps the
// source's colours. An empty profile means sRGB (or a file that says nothing).
//
// Transforms are cached per profile and are safe to use from several threads at once.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vellumo::imaging {

using IccProfile = std::vector<uint8_t>;

// The sRGB profile pages carry; the same bytes for the whole process.
std::span<const uint8_t> SrgbProfile();

// True for an empty profile and for a matrix/curve RGB profile whose primaries, white
// and tone curves are those of sRGB: pixels in it need no conversion.
bool IsSrgbEquivalent(std::span<const uint8_t> icc);

// True when `icc` can describe RGB pixels (an RGB or gray profile LittleCMS reads).
bool DescribesRgbPixels(std::span<const uint8_t> icc);

// The profile's own description ("Adobe RGB (1998)", ...); "sRGB" for an empty
// profile; "unreadable ICC profile" for bytes LittleCMS cannot parse.
std::string ProfileDescription(std::span<const uint8_t> icc);

// How the PNG cHRM/gAMA chunks and HEIF colour boxes describe a colour space.
struct Chromaticities {
    double whiteX = 0.3127, whiteY = 0.3290;  // D65
    double redX = 0.64, redY = 0.33;
    double greenX = 0.30, greenY = 0.60;
    double blueX = 0.15, blueY = 0.06;
};
enum class ToneCurve { Srgb, Bt709, Gamma };
// An RGB profile for those values; `gamma` is the decoding exponent of ToneCurve::Gamma
// (2.2 for a PNG with gAMA 1/2.2). Empty when LittleCMS refuses the values.
IccProfile MakeRgbProfile(const Chromaticities& primaries, ToneCurve curve, double gamma = 2.2,
                          const std::string& description = {});

enum class PixelLayout {
    Rgb8,           // R, G, B bytes
    Rgbx16,         // R, G, B, unused: 16-bit samples in the machine's order (QImage RGBX64)
    Cmyk8,          // C, M, Y, K bytes, 255 = full ink
    InvertedCmyk8,  // the same with every byte inverted (Adobe CMYK JPEG)
};

// One cached conversion from a source profile to sRGB.
class SrgbTransform {
  public:
    // The transform for pixels of `layout` in `icc`; null when they need none (an
    // sRGB-equivalent profile) or the profile does not fit the pixels (a CMYK profile
    // on RGB data, bytes LittleCMS cannot read): such pixels are taken as sRGB.
    static std::shared_ptr<const SrgbTransform> For(std::span<const uint8_t> icc,
                                                    PixelLayout layout);

    // Tables that convert 8-bit RGB of a matrix/curve profile (most camera and editing
    // spaces: Adobe RGB, Display P3, ProPhoto) several times faster than LittleCMS's
    // general pipeline, to within one level of it.
    struct MatrixShaper;

    explicit SrgbTransform(void* handle);
    explicit SrgbTransform(std::unique_ptr<const MatrixShaper> tables);
    ~SrgbTransform();
    SrgbTransform(const SrgbTransform&) = delete;
    SrgbTransform& operator=(const SrgbTransform&) = delete;

    // Converts `pixels` pixels from `in` to `out` (R, G, B bytes). `in` and `out` may be
    // the same row when their layouts have one size.
    void Row(const uint8_t* in, uint8_t* out, size_t pixels) const;

  private:
    void* handle_ = nullptr;
    std::unique_ptr<const MatrixShaper> tables_;
};

// Converts an image of `layout` (RGB) in place from `icc` to sRGB, rows split
// over up to `threads` threads. Nothing happens when the profile needs no conversion.
void ConvertToSrgb(std::span<const uint8_t> icc, PixelLayout layout, uint8_t* pixels, int32_t width,
                   int32_t height, size_t stride, int threads);

// Converts `in` (of `layout`) to sRGB bytes R, G, B in `out`; false, with `out`
// untouched, when the profile needs no conversion or cannot describe the pixels.
bool ConvertToSrgb(std::span<const uint8_t> icc, PixelLayout layout, const uint8_t* in,
                   size_t inStride, uint8_t* out, size_t outStride, int32_t width, int32_t height,
                   int threads);

}  // namespace vellumo::imaging
