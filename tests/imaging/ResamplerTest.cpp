// The bicubic resampler against a plain double-precision evaluation of the same
// filter, and the properties any correct resampler has.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "imaging/Resampler.h"

namespace vellumo::imaging {
namespace {

struct Image {
    int32_t width = 0, height = 0, channels = 3;
    std::vector<uint8_t> bytes;

    Image(int32_t w, int32_t h, int32_t c) : width(w), height(h), channels(c) {
        bytes.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * static_cast<size_t>(c));
    }
    size_t stride() const { return static_cast<size_t>(width) * static_cast<size_t>(channels); }
    uint8_t* at(int32_t x, int32_t y) { return bytes.data() + y * stride() + x * channels; }
    const uint8_t* at(int32_t x, int32_t y) const {
        return bytes.data() + y * stride() + x * channels;
    }
    SourcePixels source() const {
        return {bytes.data(), width, height, stride(),
                channels == 3 ? SourceLayout::Rgb : SourceLayout::RgbaPremultiplied};
    }
    TargetPixels target() { return {bytes.data(), width, height, stride()}; }
};

// Smooth gradients plus noise: edges and flat areas like a photo, and fine detail
// that a wrong filter would alias.
Image PhotoLike(int32_t w, int32_t h, int32_t channels, uint32_t seed) {
    Image img(w, h, channels);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-40, 40);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = img.at(x, y);
            const int base[3] = {x * 255 / std::max(1, w - 1), y * 255 / std::max(1, h - 1),
                                 ((x / 7 + y / 5) % 2) * 200};
            const int alpha = channels == 4 ? (x * 7 + y * 3) % 256 : 255;
            for (int c = 0; c < 3; ++c) {
                const int v = std::clamp(base[c] + noise(rng), 0, 255);
                p[c] = static_cast<uint8_t>(v * alpha / 255);  // premultiplied
            }
            if (channels == 4) {
                p[3] = static_cast<uint8_t>(alpha);
            }
        }
    }
    return img;
}

// ---- the reference: the filter evaluated directly, in double, pixel by pixel ----

double Keys(double x) {
    x = std::fabs(x);
    if (x < 1) {
        return 1.5 * x * x * x - 2.5 * x * x + 1;
    }
    if (x < 2) {
        return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
    }
    return 0;
}

// Weights of every source sample for output position o, edges extended.
std::vector<double> ReferenceWeights(int32_t src, int32_t dst, int32_t o) {
    const double ratio = static_cast<double>(src) / dst;
    const double support = std::max(1.0, ratio);
    const double centre = (o + 0.5) * ratio;
    std::vector<double> w(static_cast<size_t>(src), 0.0);
    double sum = 0;
    for (int64_t i = static_cast<int64_t>(centre - 3 * support) - 2;
         i <= static_cast<int64_t>(centre + 3 * support) + 2; ++i) {
        const double k = Keys((i + 0.5 - centre) / support);
        w[static_cast<size_t>(std::clamp<int64_t>(i, 0, src - 1))] += k;
        sum += k;
    }
    for (double& v : w) {
        v /= sum;
    }
    return w;
}

// Draws `src` into a dw x dh copy of `background` the way the resampler should.
Image Reference(const Image& src, int32_t dw, int32_t dh, const Image& background) {
    Image out = background;
    for (int32_t oy = 0; oy < dh; ++oy) {
        const std::vector<double> wy = ReferenceWeights(src.height, dh, oy);
        for (int32_t ox = 0; ox < dw; ++ox) {
            const std::vector<double> wx = ReferenceWeights(src.width, dw, ox);
            double acc[4] = {0, 0, 0, 0};
            for (int32_t y = 0; y < src.height; ++y) {
                if (wy[static_cast<size_t>(y)] == 0) {
                    continue;
                }
                for (int32_t x = 0; x < src.width; ++x) {
                    const double w = wy[static_cast<size_t>(y)] * wx[static_cast<size_t>(x)];
                    for (int c = 0; c < src.channels; ++c) {
                        acc[c] += w * src.at(x, y)[c];
                    }
                }
            }
            uint8_t* d = out.at(ox, oy);
            const double alpha = src.channels == 4 ? std::clamp(acc[3], 0.0, 255.0) : 255.0;
            for (int c = 0; c < 3; ++c) {
                const double colour = std::clamp(acc[c], 0.0, alpha);
                const double v = colour + d[c] * (255.0 - alpha) / 255.0;
                d[c] = static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
            }
        }
    }
    return out;
}

Image Background(int32_t w, int32_t h) {
    Image bg(w, h, 3);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = bg.at(x, y);
            p[0] = static_cast<uint8_t>(255 - x % 50);
            p[1] = static_cast<uint8_t>(200 + y % 40);
            p[2] = 255;
        }
    }
    return bg;
}

struct Diff {
    double mean = 0;
    int max = 0;
};

Diff Compare(const Image& a, const Image& b) {
    Diff d;
    double sum = 0;
    for (size_t i = 0; i < a.bytes.size(); ++i) {
        const int e = std::abs(int{a.bytes[i]} - int{b.bytes[i]});
        sum += e;
        d.max = std::max(d.max, e);
    }
    d.mean = sum / static_cast<double>(a.bytes.size());
    return d;
}

struct Case {
    int32_t sw, sh, dw, dh, channels;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.sw << "x" << c.sh << " to " << c.dw << "x" << c.dh << ", " << c.channels
        << " channels";
}

class AgainstReference : public ::testing::TestWithParam<Case> {};

TEST_P(AgainstReference, MatchesDirectEvaluationInDouble) {
    const Case c = GetParam();
    const Image src = PhotoLike(c.sw, c.sh, c.channels, 7u + static_cast<uint32_t>(c.sw));
    const Image bg = Background(c.dw, c.dh);
    Image page = bg;
    ASSERT_TRUE(DrawBicubic(src.source(), page.target(), {0, 0, c.dw, c.dh}));
    const Diff d = Compare(page, Reference(src, c.dw, c.dh, bg));
    EXPECT_LT(d.mean, 1.0);
    EXPECT_LE(d.max, 1) << "float and double may differ by one step, no more";
}

INSTANTIATE_TEST_SUITE_P(
    Scales, AgainstReference,
    ::testing::Values(Case{97, 61, 23, 17, 3},    // shrink about 4x, kernel widened
                      Case{13, 9, 50, 37, 3},     // enlarge
                      Case{200, 50, 60, 150, 3},  // shrink one axis, enlarge the other
                      Case{300, 3, 7, 1, 3},      // extreme shrink to a single row
                      Case{5, 1, 17, 4, 3},       // one source row, clamped edges
                      Case{64, 48, 64, 20, 3},    // identity on one axis only
                      Case{97, 61, 23, 17, 4},    // premultiplied alpha over a background
                      Case{20, 20, 47, 31, 4}));

TEST(ResamplerProperties, FlatImageStaysFlatAtAnyScale) {
    for (const auto& [sw, sh, dw, dh] :
         {std::array{31, 17, 5, 3}, std::array{3, 2, 64, 40}, std::array{100, 100, 33, 77}}) {
        Image src(sw, sh, 3);
        for (size_t i = 0; i < src.bytes.size(); i += 3) {
            src.bytes[i] = 12;
            src.bytes[i + 1] = 200;
            src.bytes[i + 2] = 255;
        }
        Image page(dw, dh, 3);
        ASSERT_TRUE(DrawBicubic(src.source(), page.target(), {0, 0, dw, dh}));
        for (size_t i = 0; i < page.bytes.size(); i += 3) {
            ASSERT_EQ(page.bytes[i], 12);
            ASSERT_EQ(page.bytes[i + 1], 200);
            ASSERT_EQ(page.bytes[i + 2], 255);
        }
    }
}

TEST(ResamplerProperties, IdentitySizeCopiesExactly) {
    const Image src = PhotoLike(123, 45, 3, 1);
    Image page(123, 45, 3);
    ASSERT_TRUE(DrawBicubic(src.source(), page.target(), {0, 0, 123, 45}));
    EXPECT_EQ(page.bytes, src.bytes);
}

TEST(ResamplerProperties, TransparentSourceLeavesThePageColourAndOpaqueCoversIt) {
    Image src(8, 8, 4);  // left half transparent, right half opaque blue
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 4; x < 8; ++x) {
            uint8_t* p = src.at(x, y);
            p[2] = 255;
            p[3] = 255;
        }
    }
    for (const int32_t size : {8, 32}) {  // the exact path and the filtered path
        Image page(size, size, 3);
        std::fill(page.bytes.begin(), page.bytes.end(), 255);
        ASSERT_TRUE(DrawBicubic(src.source(), page.target(), {0, 0, size, size}));
        const uint8_t* left = page.at(0, size / 2);
        const uint8_t* right = page.at(size - 1, size / 2);
        EXPECT_EQ((std::array{left[0], left[1], left[2]}), (std::array<uint8_t, 3>{255, 255, 255}));
        EXPECT_EQ((std::array{right[0], right[1], right[2]}), (std::array<uint8_t, 3>{0, 0, 255}));
    }
}

TEST(ResamplerProperties, TwoThreadsGiveTheSameBytesAsOne) {
    const Image src = PhotoLike(900, 700, 3, 3);
    Image one(613, 401, 3), two(613, 401, 3);
    ASSERT_TRUE(DrawBicubic(src.source(), one.target(), {0, 0, 613, 401}, 1));
    ASSERT_TRUE(DrawBicubic(src.source(), two.target(), {0, 0, 613, 401}, 2));
    EXPECT_EQ(one.bytes, two.bytes);

    const Image alpha = PhotoLike(300, 280, 4, 4);
    Image a1 = Background(517, 333), a2 = Background(517, 333);
    ASSERT_TRUE(DrawBicubic(alpha.source(), a1.target(), {0, 0, 517, 333}, 1));
    ASSERT_TRUE(DrawBicubic(alpha.source(), a2.target(), {0, 0, 517, 333}, 2));
    EXPECT_EQ(a1.bytes, a2.bytes);
}

TEST(ResamplerClipping, PartlyOutsideRectangleDrawsTheSamePixelsAsTheWholeOne) {
    const Image src = PhotoLike(80, 60, 3, 5);
    Image whole(40, 30, 3);
    ASSERT_TRUE(DrawBicubic(src.source(), whole.target(), {0, 0, 40, 30}));

    // The same 40 x 30 drawing placed at (-10, -5) on a 25 x 20 page: the page shows
    // its part from (10, 5) on.
    Image page(25, 20, 3);
    ASSERT_TRUE(DrawBicubic(src.source(), page.target(), {-10, -5, 40, 30}));
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 25; ++x) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(page.at(x, y)[c], whole.at(x + 10, y + 5)[c]) << x << "," << y;
            }
        }
    }
}

TEST(ResamplerClipping, OnlyTheDestinationRectangleChanges) {
    const Image src = PhotoLike(50, 50, 3, 6);
    Image page(60, 40, 3);
    std::fill(page.bytes.begin(), page.bytes.end(), 7);
    ASSERT_TRUE(DrawBicubic(src.source(), page.target(), {10, 5, 30, 20}));
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 60; ++x) {
            const bool inside = x >= 10 && x < 40 && y >= 5 && y < 25;
            if (!inside) {
                ASSERT_EQ(page.at(x, y)[0], 7) << x << "," << y;
            }
        }
    }
    // Entirely off the page: nothing to do, and nothing written.
    const std::vector<uint8_t> before = page.bytes;
    EXPECT_TRUE(DrawBicubic(src.source(), page.target(), {100, 100, 30, 20}));
    EXPECT_EQ(page.bytes, before);
}

TEST(ResamplerClipping, RefusesEmptyInputsWithoutTouchingThePage) {
    const Image src = PhotoLike(10, 10, 3, 8);
    Image page(10, 10, 3);
    const std::vector<uint8_t> before = page.bytes;
    EXPECT_FALSE(DrawBicubic(src.source(), page.target(), {0, 0, 0, 10}));
    EXPECT_FALSE(DrawBicubic(src.source(), page.target(), {0, 0, 10, -3}));
    SourcePixels empty = src.source();
    empty.width = 0;
    EXPECT_FALSE(DrawBicubic(empty, page.target(), {0, 0, 10, 10}));
    SourcePixels shortRows = src.source();
    shortRows.stride = 5;  // less than a row of pixels
    EXPECT_FALSE(DrawBicubic(shortRows, page.target(), {0, 0, 10, 10}));
    EXPECT_EQ(page.bytes, before);
}

}  // namespace
}  // namespace vellumo::imaging
