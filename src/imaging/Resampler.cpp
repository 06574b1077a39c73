#include "imaging/Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace vellumo::imaging {
namespace {

// Keys' cubic convolution kernel with a = -0.5 (the Catmull-Rom spline).
double CubicKernel(double x) {
    constexpr double a = -0.5;
    x = std::fabs(x);
    if (x < 1.0) {
        return ((a + 2.0) * x - (a + 3.0)) * x * x + 1.0;
    }
    if (x < 2.0) {
        return ((a * x - 5.0 * a) * x + 8.0 * a) * x - 4.0 * a;
    }
    return 0.0;
}

// The filter of one axis for a run of output positions: each position reads `count`
// consecutive source samples from start[o] with weights[o * count ...]. Windows are
// padded with zero weights to one common length so the inner loops have a fixed
// trip count.
struct AxisTaps {
    std::vector<int32_t> start;
    std::vector<float> weights;
    int32_t count = 0;
};

// Taps for output positions [first, first + n) of an axis `dstSize` long drawn from a
// source axis `srcSize` long. Source indices outside the axis are clamped to its edge
// samples, which is the same as extending the edge pixels outwards.
AxisTaps ComputeTaps(int32_t srcSize, int64_t dstSize, int64_t first, int32_t n) {
    const double scale = static_cast<double>(dstSize) / srcSize;
    const double widen = std::max(1.0, 1.0 / scale);  // prefilter when shrinking
    const double radius = 2.0 * widen;

    struct Window {
        int32_t first = 0;
        std::vector<double> w;
    };
    std::vector<Window> windows(static_cast<size_t>(n));
    std::vector<double> folded;
    int32_t count = 1;
    for (int32_t o = 0; o < n; ++o) {
        const double centre = (static_cast<double>(first + o) + 0.5) / scale;
        const int64_t lo = static_cast<int64_t>(std::floor(centre - 0.5 - radius));
        const int64_t hi = static_cast<int64_t>(std::ceil(centre - 0.5 + radius));
        const int32_t cLo = static_cast<int32_t>(std::clamp<int64_t>(lo, 0, srcSize - 1));
        const int32_t cHi = static_cast<int32_t>(std::clamp<int64_t>(hi, 0, srcSize - 1));
        folded.assign(static_cast<size_t>(cHi - cLo + 1), 0.0);
        double sum = 0.0;
        for (int64_t i = lo; i <= hi; ++i) {
            const double w = CubicKernel((static_cast<double>(i) + 0.5 - centre) / widen);
            const int64_t ci = std::clamp<int64_t>(i, 0, srcSize - 1);
            folded[static_cast<size_t>(ci - cLo)] += w;
            sum += w;
        }
        Window& win = windows[static_cast<size_t>(o)];
        if (std::fabs(sum) < 1e-12) {
            // Cannot happen with this kernel, but never divide by zero: nearest sample.
            const int64_t nearest =
                std::clamp<int64_t>(static_cast<int64_t>(centre), 0, srcSize - 1);
            win.first = static_cast<int32_t>(nearest);
            win.w = {1.0};
            continue;
        }
        // Trim exact zeros at both ends (an identity axis ends up with a single tap).
        size_t b = 0, e = folded.size();
        while (b + 1 < e && folded[b] == 0.0) {
            ++b;
        }
        while (e - 1 > b && folded[e - 1] == 0.0) {
            --e;
        }
        win.first = cLo + static_cast<int32_t>(b);
        win.w.assign(folded.begin() + static_cast<ptrdiff_t>(b),
                     folded.begin() + static_cast<ptrdiff_t>(e));
        for (double& w : win.w) {
            w /= sum;
        }
        count = std::max(count, static_cast<int32_t>(win.w.size()));
    }

    AxisTaps taps;
    taps.count = count;
    taps.start.resize(static_cast<size_t>(n));
    taps.weights.assign(static_cast<size_t>(n) * static_cast<size_t>(count), 0.0f);
    for (int32_t o = 0; o < n; ++o) {
        const Window& win = windows[static_cast<size_t>(o)];
        // Shift the window left where it would run past the end of the axis.
        const int32_t start = std::min(win.first, srcSize - count);
        taps.start[static_cast<size_t>(o)] = start;
        float* w = &taps.weights[static_cast<size_t>(o) * static_cast<size_t>(count)];
        for (size_t k = 0; k < win.w.size(); ++k) {
            w[static_cast<size_t>(win.first - start) + k] = static_cast<float>(win.w[k]);
        }
    }
    return taps;
}

// Horizontal pass over one source row into `n` output columns of C float channels.
// The row is first split into one float plane per channel, so that each output
// sample is a dot product over contiguous memory, which the compiler vectorises.
template <int C>
void FilterRow(const uint8_t* src, const AxisTaps& tx, int32_t n, float* planes, int32_t srcWidth,
               float* out) {
    for (int32_t x = 0; x < srcWidth; ++x) {
        for (int c = 0; c < C; ++c) {
            planes[static_cast<size_t>(c) * static_cast<size_t>(srcWidth) +
                   static_cast<size_t>(x)] =
                static_cast<float>(src[static_cast<size_t>(x) * C + c]);
        }
    }
    const int32_t count = tx.count;
    for (int32_t o = 0; o < n; ++o) {
        const size_t start = static_cast<size_t>(tx.start[static_cast<size_t>(o)]);
        const float* w = &tx.weights[static_cast<size_t>(o) * static_cast<size_t>(count)];
        for (int c = 0; c < C; ++c) {
            const float* p =
                planes + static_cast<size_t>(c) * static_cast<size_t>(srcWidth) + start;
            float acc = 0.0f;
            for (int32_t k = 0; k < count; ++k) {
                acc += w[k] * p[k];
            }
            out[static_cast<size_t>(o) * C + static_cast<size_t>(c)] = acc;
        }
    }
}

// Vertical pass: a weighted sum of `count` filtered rows, `len` floats each. The inner
// loop runs along the row so the compiler can vectorise it.
void BlendRows(const float* const* rows, const float* w, int32_t count, size_t len, float* acc) {
    const float w0 = w[0];
    const float* r0 = rows[0];
    for (size_t j = 0; j < len; ++j) {
        acc[j] = w0 * r0[j];
    }
    for (int32_t k = 1; k < count; ++k) {
        const float wk = w[k];
        const float* r = rows[k];
        for (size_t j = 0; j < len; ++j) {
            acc[j] += wk * r[j];
        }
    }
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

void StoreRgb(const float* acc, int32_t n, uint8_t* dst) {
    const size_t len = static_cast<size_t>(n) * 3;
    for (size_t j = 0; j < len; ++j) {
        dst[j] = ToByte(acc[j]);
    }
}

// Premultiplied colour over the existing pixel: out = colour + page * (1 - alpha).
void StoreOver(const float* acc, int32_t n, uint8_t* dst) {
    for (int32_t o = 0; o < n; ++o) {
        const float* s = acc + static_cast<size_t>(o) * 4;
        uint8_t* d = dst + static_cast<size_t>(o) * 3;
        const float alpha = std::clamp(s[3], 0.0f, 255.0f);
        const float keep = (255.0f - alpha) * (1.0f / 255.0f);
        for (int c = 0; c < 3; ++c) {
            const float colour = std::clamp(s[c], 0.0f, alpha);
            d[c] = ToByte(colour + static_cast<float>(d[c]) * keep);
        }
    }
}

// What a band of output rows needs: the taps of both axes and where to write.
struct Job {
    const SourcePixels* source = nullptr;
    const TargetPixels* target = nullptr;
    const AxisTaps* tx = nullptr;
    const AxisTaps* ty = nullptr;
    int32_t channels = 3;
    int32_t columns = 0;   // output columns inside the target
    int32_t targetX = 0;   // first of them, in target coordinates
    int32_t targetY0 = 0;  // target row of output row 0 of ty
};

// The working memory of one band, allocated before any pixel is written.
struct Band {
    int32_t row0 = 0, row1 = 0;  // output rows, as indices into ty
    std::vector<float> ring;     // ty.count filtered source rows
    std::vector<int32_t> ringRow;
    std::vector<float> acc;
    std::vector<const float*> rows;
    std::vector<float> planes;  // one source row split by channel
};

void RunBand(const Job& job, Band& band) {
    const AxisTaps& ty = *job.ty;
    const size_t len = static_cast<size_t>(job.columns) * static_cast<size_t>(job.channels);
    const int32_t slots = ty.count;
    for (int32_t oy = band.row0; oy < band.row1; ++oy) {
        const int32_t start = ty.start[static_cast<size_t>(oy)];
        for (int32_t k = 0; k < slots; ++k) {
            const int32_t srcRow = start + k;
            const size_t slot = static_cast<size_t>(srcRow % slots);
            float* filtered = band.ring.data() + slot * len;
            if (band.ringRow[slot] != srcRow) {
                const uint8_t* src =
                    job.source->data + job.source->stride * static_cast<size_t>(srcRow);
                if (job.channels == 4) {
                    FilterRow<4>(src, *job.tx, job.columns, band.planes.data(), job.source->width,
                                 filtered);
                } else {
                    FilterRow<3>(src, *job.tx, job.columns, band.planes.data(), job.source->width,
                                 filtered);
                }
                band.ringRow[slot] = srcRow;
            }
            band.rows[static_cast<size_t>(k)] = filtered;
        }
        BlendRows(band.rows.data(),
                  &ty.weights[static_cast<size_t>(oy) * static_cast<size_t>(slots)], slots, len,
                  band.acc.data());
        uint8_t* dst = job.target->data +
                       job.target->stride * static_cast<size_t>(job.targetY0 + oy) +
                       static_cast<size_t>(job.targetX) * 3;
        if (job.channels == 4) {
            StoreOver(band.acc.data(), job.columns, dst);
        } else {
            StoreRgb(band.acc.data(), job.columns, dst);
        }
    }
}

// Same size on both axes: every weight would be 1, so copy (or composite) directly.
void CopyExact(const SourcePixels& source, const TargetPixels& target, int32_t sx0, int32_t sy0,
               int32_t tx0, int32_t ty0, int32_t columns, int32_t rowCount) {
    for (int32_t r = 0; r < rowCount; ++r) {
        const uint8_t* s = source.data + source.stride * static_cast<size_t>(sy0 + r);
        uint8_t* d = target.data + target.stride * static_cast<size_t>(ty0 + r) +
                     static_cast<size_t>(tx0) * 3;
        if (source.layout == SourceLayout::Rgb) {
            std::memcpy(d, s + static_cast<size_t>(sx0) * 3, static_cast<size_t>(columns) * 3);
            continue;
        }
        s += static_cast<size_t>(sx0) * 4;
        for (int32_t x = 0; x < columns; ++x, s += 4, d += 3) {
            const unsigned keep = 255u - s[3];
            for (int c = 0; c < 3; ++c) {
                const unsigned colour = std::min<unsigned>(s[c], s[3]);
                d[c] = static_cast<uint8_t>(std::min(255u, colour + (d[c] * keep + 127u) / 255u));
            }
        }
    }
}

// Below a quarter megapixel, starting threads costs more than it saves.
int ChooseThreads(int requested, int64_t outputPixels, int32_t rowCount) {
    const int threads = outputPixels >= (int64_t{1} << 18) ? requested : 1;
    return std::clamp(threads, 1, std::max(1, std::min(rowCount, 16)));
}

bool Draw(const SourcePixels& source, const TargetPixels& target, const Rect& destination,
          int threads) {
    // The part of the destination inside the target, in destination-local coordinates.
    const int64_t dx = destination.x, dy = destination.y;
    const int64_t dw = destination.width, dh = destination.height;
    const int64_t ox0 = std::max<int64_t>(0, -dx);
    const int64_t ox1 = std::min<int64_t>(dw, int64_t{target.width} - dx);
    const int64_t oy0 = std::max<int64_t>(0, -dy);
    const int64_t oy1 = std::min<int64_t>(dh, int64_t{target.height} - dy);
    if (ox1 <= ox0 || oy1 <= oy0) {
        return true;  // nothing of the rectangle falls on the target
    }
    const int32_t columns = static_cast<int32_t>(ox1 - ox0);
    const int32_t rowCount = static_cast<int32_t>(oy1 - oy0);
    const int32_t targetX = static_cast<int32_t>(dx + ox0);
    const int32_t targetY = static_cast<int32_t>(dy + oy0);

    if (dw == source.width && dh == source.height) {
        CopyExact(source, target, static_cast<int32_t>(ox0), static_cast<int32_t>(oy0), targetX,
                  targetY, columns, rowCount);
        return true;
    }

    const AxisTaps tx = ComputeTaps(source.width, dw, ox0, columns);
    const AxisTaps ty = ComputeTaps(source.height, dh, oy0, rowCount);

    Job job;
    job.source = &source;
    job.target = &target;
    job.tx = &tx;
    job.ty = &ty;
    job.channels = source.layout == SourceLayout::Rgb ? 3 : 4;
    job.columns = columns;
    job.targetX = targetX;
    job.targetY0 = targetY;

    const int bandCount = ChooseThreads(threads, int64_t{columns} * rowCount, rowCount);
    const size_t len = static_cast<size_t>(columns) * static_cast<size_t>(job.channels);
    std::vector<Band> bands(static_cast<size_t>(bandCount));
    for (int b = 0; b < bandCount; ++b) {
        Band& band = bands[static_cast<size_t>(b)];
        band.row0 = static_cast<int32_t>(int64_t{rowCount} * b / bandCount);
        band.row1 = static_cast<int32_t>(int64_t{rowCount} * (b + 1) / bandCount);
        band.ring.resize(len * static_cast<size_t>(ty.count));
        band.ringRow.assign(static_cast<size_t>(ty.count), -1);
        band.acc.resize(len);
        band.rows.resize(static_cast<size_t>(ty.count));
        band.planes.resize(static_cast<size_t>(source.width) * static_cast<size_t>(job.channels));
    }

    std::vector<std::thread> helpers;
    size_t inline_from = bands.size();
    for (size_t b = 1; b < bands.size(); ++b) {
        try {
            helpers.emplace_back(RunBand, std::cref(job), std::ref(bands[b]));
        } catch (const std::system_error&) {
            inline_from = b;  // no more threads to be had: the rest runs here
            break;
        }
    }
    RunBand(job, bands[0]);
    for (size_t b = inline_from; b < bands.size(); ++b) {
        RunBand(job, bands[b]);
    }
    for (std::thread& t : helpers) {
        t.join();
    }
    return true;
}

}  // namespace

bool DrawBicubic(const SourcePixels& source, const TargetPixels& target, const Rect& destination,
                 int threads) {
    if (source.data == nullptr || source.width <= 0 || source.height <= 0 ||
        target.data == nullptr || target.width <= 0 || target.height <= 0 ||
        destination.width <= 0 || destination.height <= 0) {
        return false;
    }
    const size_t bytesPerPixel = source.layout == SourceLayout::Rgb ? 3 : 4;
    if (source.stride < static_cast<size_t>(source.width) * bytesPerPixel ||
        target.stride < static_cast<size_t>(target.width) * 3) {
        return false;
    }
    try {
        return Draw(source, target, destination, threads);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace vellumo::imaging
