// The EXIF fields we read (orientation, resolution) from hand-built APP1 payloads,
// in both byte orders, and from damaged ones.

#include <gtest/gtest.h>

#include <vector>

#include "imaging/ExifReader.h"

namespace vellumo::imaging {
namespace {

// Builds "Exif\0\0" + a TIFF header + IFD0 with the given entries; rationals are
// stored after the directory.
class ExifBuilder {
  public:
    explicit ExifBuilder(bool bigEndian) : big_(bigEndian) {}

    ExifBuilder& Short(uint16_t tag, uint16_t value) {
        entries_.push_back({tag, 3, value, 0, 0});
        return *this;
    }
    ExifBuilder& Rational(uint16_t tag, uint32_t num, uint32_t den) {
        entries_.push_back({tag, 5, 0, num, den});
        return *this;
    }

    std::vector<uint8_t> Build() const {
        std::vector<uint8_t> t;
        t.insert(t.end(), big_ ? std::initializer_list<uint8_t>{'M', 'M'}
                               : std::initializer_list<uint8_t>{'I', 'I'});
        U16(t, 42);
        U32(t, 8);
        U16(t, static_cast<uint16_t>(entries_.size()));
        uint32_t extra = 8 + 2 + static_cast<uint32_t>(entries_.size()) * 12 + 4;
        std::vector<uint8_t> rationals;
        for (const Entry& e : entries_) {
            U16(t, e.tag);
            U16(t, e.type);
            U32(t, 1);
            if (e.type == 3) {
                U16(t, e.value);
                U16(t, 0);
            } else {
                U32(t, extra);
                U32(rationals, e.num);
                U32(rationals, e.den);
                extra += 8;
            }
        }
        U32(t, 0);  // no next directory
        t.insert(t.end(), rationals.begin(), rationals.end());
        std::vector<uint8_t> app1 = {'E', 'x', 'i', 'f', 0, 0};
        app1.insert(app1.end(), t.begin(), t.end());
        return app1;
    }

  private:
    struct Entry {
        uint16_t tag, type, value;
        uint32_t num, den;
    };
    void U16(std::vector<uint8_t>& b, uint16_t v) const {
        if (big_) {
            b.push_back(static_cast<uint8_t>(v >> 8));
            b.push_back(static_cast<uint8_t>(v));
        } else {
            b.push_back(static_cast<uint8_t>(v));
            b.push_back(static_cast<uint8_t>(v >> 8));
        }
    }
    void U32(std::vector<uint8_t>& b, uint32_t v) const {
        if (big_) {
            U16(b, static_cast<uint16_t>(v >> 16));
            U16(b, static_cast<uint16_t>(v));
        } else {
            U16(b, static_cast<uint16_t>(v));
            U16(b, static_cast<uint16_t>(v >> 16));
        }
    }
    bool big_;
    std::vector<Entry> entries_;
};

constexpr uint16_t kOrientation = 0x0112, kXResolution = 0x011A, kUnit = 0x0128;

TEST(ExifFields, OrientationAndResolutionInBothByteOrders) {
    for (const bool big : {false, true}) {
        const auto app1 = ExifBuilder(big)
                              .Short(kOrientation, 6)
                              .Rational(kXResolution, 300, 1)
                              .Short(kUnit, 2)
                              .Build();
        const ExifFields f = ReadExifFields(app1);
        EXPECT_EQ(f.orientation, 6) << (big ? "MM" : "II");
        ASSERT_TRUE(f.dpiX.has_value());
        EXPECT_DOUBLE_EQ(*f.dpiX, 300.0);
    }
}

TEST(ExifFields, ResolutionUnitsAndUnusableValues) {
    auto dpi = [](uint32_t num, uint32_t den, int unit) {
        ExifBuilder b(false);
        b.Rational(kXResolution, num, den);
        if (unit != 0) {
            b.Short(kUnit, static_cast<uint16_t>(unit));
        }
        return ReadExifFields(b.Build()).dpiX;
    };
    EXPECT_DOUBLE_EQ(dpi(72, 1, 0).value(), 72.0);      // inches when no unit is given
    EXPECT_NEAR(dpi(118, 1, 3).value(), 299.72, 1e-9);  // per centimetre
    EXPECT_DOUBLE_EQ(dpi(1441, 5, 2).value(), 288.2);
    EXPECT_FALSE(dpi(72, 1, 1).has_value());  // no absolute unit
    EXPECT_FALSE(dpi(72, 0, 2).has_value());  // division by zero
    EXPECT_FALSE(dpi(0, 1, 2).has_value());
}

TEST(ExifFields, OrientationOutsideOneToEightIsZero) {
    for (const uint16_t value : {0, 9, 255}) {
        EXPECT_EQ(ReadExifFields(ExifBuilder(true).Short(kOrientation, value).Build()).orientation,
                  0)
            << value;
    }
    EXPECT_EQ(ReadExifFields(ExifBuilder(true).Short(kOrientation, 8).Build()).orientation, 8);
}

TEST(ExifFields, DamagedPayloadsGiveNothingAndReadNothingOutside) {
    const auto good =
        ExifBuilder(false).Short(kOrientation, 3).Rational(kXResolution, 96, 1).Build();
    // Every truncation of a valid payload: never a read past the end (the sanitizers
    // watch), and an orientation only once its value is there.
    for (size_t n = 0; n < good.size(); ++n) {
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
        const ExifFields f = ReadExifFields(cut);
        EXPECT_TRUE(f.orientation == 0 || f.orientation == 3) << n;
        if (n < 6 + 8 + 2 + 10) {  // up to the two bytes of the value
            EXPECT_EQ(f.orientation, 0) << n;
        }
    }
    // Wrong signature, wrong magic number, directory offset far outside.
    std::vector<uint8_t> bad = good;
    bad[0] = 'X';
    EXPECT_EQ(ReadExifFields(bad).orientation, 0);
    bad = good;
    bad[8] = 43;
    EXPECT_EQ(ReadExifFields(bad).orientation, 0);
    bad = good;
    bad[10] = 0xFF;
    bad[11] = 0xFF;
    bad[12] = 0xFF;
    bad[13] = 0x7F;
    EXPECT_EQ(ReadExifFields(bad).orientation, 0);
    // A rational whose offset points past the end.
    bad = good;
    bad.resize(bad.size() - 8);
    EXPECT_FALSE(ReadExifFields(bad).dpiX.has_value());
    EXPECT_EQ(ReadExifFields(bad).orientation, 3);
}

}  // namespace
}  // namespace vellumo::imaging
