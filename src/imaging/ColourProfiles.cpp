#include "imaging/ColourProfiles.h"

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace vellumo::imaging {
namespace {

struct ProfileCloser {
    void operator()(void* p) const { cmsCloseProfile(p); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

struct CurveFree {
    void operator()(cmsToneCurve* c) const { cmsFreeToneCurve(c); }
};
using Curve = std::unique_ptr<cmsToneCurve, CurveFree>;

Profile OpenProfile(std::span<const uint8_t> icc) {
    if (icc.empty() || icc.size() > 0xFFFFFFFFu) {
        return nullptr;
    }
    return Profile(cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size())));
}

IccProfile SaveProfile(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    if (cmsSaveProfileToMem(profile, nullptr, &size) == FALSE || size == 0) {
        return {};
    }
    IccProfile bytes(size);
    if (cmsSaveProfileToMem(profile, bytes.data(), &size) == FALSE) {
        return {};
    }
    bytes.resize(size);
    return bytes;
}

void SetDescription(cmsHPROFILE profile, const std::string& text) {
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    if (mlu == nullptr) {
        return;
    }
    cmsMLUsetASCII(mlu, "en", "US", text.c_str());
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
}

// The IEC 61966-2-1 curve as LittleCMS's parametric type 4.
Curve SrgbCurve() {
    const cmsFloat64Number p[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    return Curve(cmsBuildParametricToneCurve(nullptr, 4, p));
}

// What a profile of ours is compared with to call it sRGB.
struct SrgbReference {
    cmsCIEXYZ colorants[3];
    Curve curve;
};

const SrgbReference& Reference() {
    static const SrgbReference reference = [] {
        SrgbReference r{};
        Profile srgb(cmsCreate_sRGBProfile());
        const cmsTagSignature tags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                         cmsSigBlueColorantTag};
        for (int i = 0; i < 3; ++i) {
            if (srgb) {
                if (const auto* xyz =
                        static_cast<const cmsCIEXYZ*>(cmsReadTag(srgb.get(), tags[i]))) {
                    r.colorants[i] = *xyz;
                }
            }
        }
        r.curve = SrgbCurve();
        return r;
    }();
    return reference;
}

// Colorants within this of sRGB's (XYZ, D50) and curves within this of its curve (0 to 1
// scale, about 1/255) look the same on an 8-bit page.
constexpr double kColorantTolerance = 0.003;
constexpr double kCurveTolerance = 0.004;

bool NearSrgb(cmsHPROFILE profile) {
    if (cmsGetColorSpace(profile) != cmsSigRgbData || cmsIsMatrixShaper(profile) == FALSE) {
        return false;
    }
    const SrgbReference& ref = Reference();
    const cmsTagSignature colorants[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                          cmsSigBlueColorantTag};
    const cmsTagSignature curves[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    for (int i = 0; i < 3; ++i) {
        const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, colorants[i]));
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(profile, curves[i]));
        if (xyz == nullptr || curve == nullptr || ref.curve == nullptr) {
            return false;
        }
        const cmsCIEXYZ& want = ref.colorants[i];
        if (std::abs(xyz->X - want.X) > kColorantTolerance ||
            std::abs(xyz->Y - want.Y) > kColorantTolerance ||
            std::abs(xyz->Z - want.Z) > kColorantTolerance) {
            return false;
        }
        for (int step = 0; step <= 32; ++step) {
            const float v = static_cast<float>(step) / 32.0f;
            if (std::abs(cmsEvalToneCurveFloat(curve, v) -
                         cmsEvalToneCurveFloat(ref.curve.get(), v)) > kCurveTolerance) {
                return false;
            }
        }
    }
    return true;
}

cmsUInt32Number InputFormat(PixelLayout layout, cmsColorSpaceSignature space) {
    const bool gray = space == cmsSigGrayData;
    switch (layout) {
        case PixelLayout::Rgb8:
            // A gray profile reads the first of the three equal channels.
            return gray ? (COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | BYTES_SH(1) | EXTRA_SH(2))
                        : TYPE_RGB_8;
        case PixelLayout::Rgbx16:
            return gray ? (COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | BYTES_SH(2) | EXTRA_SH(3))
                        : (TYPE_RGB_16 | EXTRA_SH(1));
        case PixelLayout::Cmyk8:
            return TYPE_CMYK_8;
        case PixelLayout::InvertedCmyk8:
            return TYPE_CMYK_8_REV;
    }
    return 0;
}

bool Fits(PixelLayout layout, cmsColorSpaceSignature space) {
    switch (layout) {
        case PixelLayout::Rgb8:
        case PixelLayout::Rgbx16:
            return space == cmsSigRgbData || space == cmsSigGrayData;
        case PixelLayout::Cmyk8:
        case PixelLayout::InvertedCmyk8:
            return space == cmsSigCmykData;
    }
    return false;
}

}  // namespace

struct SrgbTransform::MatrixShaper {
    // Steps of the linear-light scale the sRGB encoding table has: fine enough that the
    // steepest part of the curve (near black, 12.92) moves less than a tenth of a level.
    static constexpr int kSteps = 1 << 15;

    float linear[3][256];        // a source sample of each channel in linear light
    float matrix[3][3];          // source linear RGB to sRGB linear RGB
    uint8_t encode[kSteps + 1];  // sRGB linear light (scaled by kSteps) to an sRGB byte
};

namespace {

// Tables for an RGB matrix/curve profile; null for any other kind. Relative colorimetric
// between two matrix/curve profiles is their colorant matrices (adapted to D50 in the
// profile) and curves; black-point compensation changes nothing, as both blacks are zero.
std::unique_ptr<SrgbTransform::MatrixShaper> MakeMatrixShaper(cmsHPROFILE source) {
    if (cmsGetColorSpace(source) != cmsSigRgbData || cmsIsMatrixShaper(source) == FALSE) {
        return nullptr;
    }
    const cmsTagSignature colorantTags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                             cmsSigBlueColorantTag};
    const cmsTagSignature curveTags[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    auto tables = std::make_unique<SrgbTransform::MatrixShaper>();
    double from[3][3], to[3][3];  // columns: the colorants of the source and of sRGB
    const SrgbReference& srgb = Reference();
    for (int c = 0; c < 3; ++c) {
        const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(source, colorantTags[c]));
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(source, curveTags[c]));
        if (xyz == nullptr || curve == nullptr) {
            return nullptr;
        }
        from[0][c] = xyz->X, from[1][c] = xyz->Y, from[2][c] = xyz->Z;
        const cmsCIEXYZ& own = srgb.colorants[c];
        to[0][c] = own.X, to[1][c] = own.Y, to[2][c] = own.Z;
        for (int v = 0; v < 256; ++v) {
            tables->linear[c][v] = cmsEvalToneCurveFloat(curve, static_cast<float>(v) / 255.0f);
            if (!std::isfinite(tables->linear[c][v])) {
                return nullptr;  // LittleCMS copes with such a curve its own way
            }
        }
    }
    // sRGB's matrix inverted by its cofactors, then applied after the source's.
    const auto cofactor = [&](int r, int c) {
        const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
        return to[r1][c1] * to[r2][c2] - to[r1][c2] * to[r2][c1];
    };
    const double determinant =
        to[0][0] * cofactor(0, 0) + to[0][1] * cofactor(0, 1) + to[0][2] * cofactor(0, 2);
    if (std::abs(determinant) < 1e-9) {
        return nullptr;
    }
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) {
                sum +=
                    cofactor(k, r) / determinant * from[k][c];  // inverse[r][k] = cof(k, r) / det
            }
            tables->matrix[r][c] = static_cast<float>(sum);
            if (!std::isfinite(tables->matrix[r][c])) {
                return nullptr;
            }
        }
    }
    for (int i = 0; i <= SrgbTransform::MatrixShaper::kSteps; ++i) {
        const double v = static_cast<double>(i) / SrgbTransform::MatrixShaper::kSteps;
        const double e = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
        tables->encode[i] = static_cast<uint8_t>(std::lround(std::clamp(e, 0.0, 1.0) * 255.0));
    }
    return tables;
}

std::shared_ptr<const SrgbTransform> MakeTransform(std::span<const uint8_t> icc,
                                                   PixelLayout layout) {
    const Profile source = OpenProfile(icc);
    if (!source || !Fits(layout, cmsGetColorSpace(source.get()))) {
        return nullptr;
    }
    const bool cmyk = layout == PixelLayout::Cmyk8 || layout == PixelLayout::InvertedCmyk8;
    if (!cmyk && NearSrgb(source.get())) {
        return nullptr;
    }
    if (layout == PixelLayout::Rgb8) {
        if (auto tables = MakeMatrixShaper(source.get())) {
            return std::make_shared<const SrgbTransform>(std::move(tables));
        }
    }
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!srgb) {
        return nullptr;
    }
    // No one-pixel cache: the transform is shared by the threads of a run.
    cmsHTRANSFORM handle = cmsCreateTransform(
        source.get(), InputFormat(layout, cmsGetColorSpace(source.get())), srgb.get(), TYPE_RGB_8,
        INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE);
    if (handle == nullptr) {
        return nullptr;
    }
    return std::make_shared<const SrgbTransform>(handle);
}

// Albums mix few profiles; past this many the cache starts again rather than grow.
constexpr size_t kMaxCachedTransforms = 32;

struct TransformCache {
    std::mutex mutex;
    // Keyed by the layout and the profile's bytes (hashed by the map).
    std::unordered_map<std::string, std::shared_ptr<const SrgbTransform>> transforms;
};

TransformCache& Cache() {
    static TransformCache cache;
    return cache;
}

}  // namespace

std::span<const uint8_t> SrgbProfile() {
    static const IccProfile bytes = [] {
        const Profile srgb(cmsCreate_sRGBProfile());
        if (!srgb) {
            return IccProfile{};
        }
        // Version 4 keeps the tone curves as parameters: about 600 bytes a page instead of
        // the 25 KB of version 2's tables.
        SetDescription(srgb.get(), "sRGB");
        return SaveProfile(srgb.get());
    }();
    return bytes;
}

bool IsSrgbEquivalent(std::span<const uint8_t> icc) {
    if (icc.empty()) {
        return true;
    }
    const Profile profile = OpenProfile(icc);
    return profile && NearSrgb(profile.get());
}

bool DescribesRgbPixels(std::span<const uint8_t> icc) {
    const Profile profile = OpenProfile(icc);
    return profile && Fits(PixelLayout::Rgb8, cmsGetColorSpace(profile.get()));
}

std::string ProfileDescription(std::span<const uint8_t> icc) {
    if (icc.empty()) {
        return "sRGB";
    }
    const Profile profile = OpenProfile(icc);
    if (!profile) {
        return "unreadable ICC profile";
    }
    char text[256] = {};
    const cmsUInt32Number length =
        cmsGetProfileInfoASCII(profile.get(), cmsInfoDescription, "en", "US", text, sizeof text);
    std::string description(text, std::min<size_t>(length, sizeof text));
    description.erase(std::find(description.begin(), description.end(), '\0'), description.end());
    return description.empty() ? std::string("ICC profile without a name") : description;
}

IccProfile MakeRgbProfile(const Chromaticities& c, ToneCurve tone, double gamma,
                          const std::string& description) {
    const cmsCIExyY white{c.whiteX, c.whiteY, 1.0};
    const cmsCIExyYTRIPLE primaries{
        {c.redX, c.redY, 1.0}, {c.greenX, c.greenY, 1.0}, {c.blueX, c.blueY, 1.0}};
    Curve curve;
    switch (tone) {
        case ToneCurve::Srgb:
            curve = SrgbCurve();
            break;
        case ToneCurve::Bt709: {
            const cmsFloat64Number p[5] = {1.0 / 0.45, 1.0 / 1.099, 0.099 / 1.099, 1.0 / 4.5,
                                           0.081};
            curve.reset(cmsBuildParametricToneCurve(nullptr, 4, p));
            break;
        }
        case ToneCurve::Gamma:
            if (!(gamma > 0.1 && gamma < 10.0)) {
                return {};
            }
            curve.reset(cmsBuildGamma(nullptr, gamma));
            break;
    }
    if (!curve) {
        return {};
    }
    cmsToneCurve* curves[3] = {curve.get(), curve.get(), curve.get()};
    const Profile profile(cmsCreateRGBProfile(&white, &primaries, curves));
    if (!profile) {
        return {};
    }
    if (!description.empty()) {
        SetDescription(profile.get(), description);
    }
    return SaveProfile(profile.get());
}

std::shared_ptr<const SrgbTransform> SrgbTransform::For(std::span<const uint8_t> icc,
                                                        PixelLayout layout) {
    if (icc.empty()) {
        return nullptr;
    }
    std::string key(1, static_cast<char>('0' + static_cast<int>(layout)));
    key.append(reinterpret_cast<const char*>(icc.data()), icc.size());
    TransformCache& cache = Cache();
    {
        const std::lock_guard lock(cache.mutex);
        if (const auto found = cache.transforms.find(key); found != cache.transforms.end()) {
            return found->second;
        }
    }
    // Made outside the lock: two threads may both make one, and one of them is kept.
    std::shared_ptr<const SrgbTransform> made = MakeTransform(icc, layout);
    const std::lock_guard lock(cache.mutex);
    if (cache.transforms.size() >= kMaxCachedTransforms) {
        cache.transforms.clear();
    }
    return cache.transforms.emplace(std::move(key), std::move(made)).first->second;
}

SrgbTransform::SrgbTransform(void* handle) : handle_(handle) {}

SrgbTransform::SrgbTransform(std::unique_ptr<const MatrixShaper> tables)
    : tables_(std::move(tables)) {}

SrgbTransform::~SrgbTransform() {
    if (handle_ != nullptr) {
        cmsDeleteTransform(handle_);
    }
}

void SrgbTransform::Row(const uint8_t* in, uint8_t* out, size_t pixels) const {
    if (!tables_) {
        cmsDoTransform(handle_, in, out, static_cast<cmsUInt32Number>(pixels));
        return;
    }
    const MatrixShaper& t = *tables_;
    constexpr auto kScale = static_cast<float>(MatrixShaper::kSteps);
    for (size_t i = 0; i < pixels; ++i, in += 3, out += 3) {
        const float r = t.linear[0][in[0]], g = t.linear[1][in[1]], b = t.linear[2][in[2]];
        for (int c = 0; c < 3; ++c) {
            const float v = t.matrix[c][0] * r + t.matrix[c][1] * g + t.matrix[c][2] * b;
            // Written so that a NaN (from a profile's odd curve) lands on 0, in the table.
            const float inRange = v > 0.0f ? std::min(v, 1.0f) : 0.0f;
            out[c] = t.encode[static_cast<int>(inRange * kScale + 0.5f)];
        }
    }
}

void ConvertToSrgb(std::span<const uint8_t> icc, PixelLayout layout, uint8_t* pixels, int32_t width,
                   int32_t height, size_t stride, int threads) {
    ConvertToSrgb(icc, layout, pixels, stride, pixels, stride, width, height, threads);
}

bool ConvertToSrgb(std::span<const uint8_t> icc, PixelLayout layout, const uint8_t* in,
                   size_t inStride, uint8_t* out, size_t outStride, int32_t width, int32_t height,
                   int threads) {
    const std::shared_ptr<const SrgbTransform> transform = SrgbTransform::For(icc, layout);
    if (!transform || width <= 0 || height <= 0) {
        return false;
    }
    const auto convertRows = [&](int32_t first, int32_t end) {
        for (int32_t y = first; y < end; ++y) {
            transform->Row(in + inStride * static_cast<size_t>(y),
                           out + outStride * static_cast<size_t>(y), static_cast<size_t>(width));
        }
    };
    // Small images are not worth a thread.
    const int parts = std::clamp(std::min(threads, height / 64), 1, 16);
    std::vector<std::thread> helpers;
    const int32_t band = (height + parts - 1) / parts;
    for (int part = 1; part < parts; ++part) {
        const int32_t first = band * part;
        try {
            helpers.emplace_back(convertRows, first, std::min(height, first + band));
        } catch (const std::system_error&) {
            convertRows(first, std::min(height, first + band));  // no thread: do it here
        }
    }
    convertRows(0, std::min(height, band));
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return true;
}

}  // namespace vellumo::imaging
