// The output encoders over the imaging layer's writers.
#include "convert/OutputEncoders.h"
#include "imaging/EncoderLookup.h"
#include "imaging/MultiPageTiffWriter.h"
#include "imaging/PageWriters.h"

namespace vellumo::convert {

namespace {

class ImagingTiff : public TiffOutput {
  public:
    bool Open(const std::filesystem::path& path, const imaging::TiffWriteOptions& options) {
        return writer_.Open(path, options);
    }
    bool AppendPage(const imaging::PageBitmap& page) override { return writer_.AppendPage(page); }
    bool Close() override { return writer_.Close(); }

  private:
    imaging::MultiPageTiffWriter writer_;
};

class ImagingEncoders : public OutputEncoders {
  public:
    std::unique_ptr<TiffOutput> OpenTiff(const std::filesystem::path& path,
                                         const imaging::TiffWriteOptions& options) override {
        if (imaging::FindEncoder("image/tiff") < 0) {
            return nullptr;
        }
        auto tiff = std::make_unique<ImagingTiff>();
        if (!tiff->Open(path, options)) {
            return nullptr;
        }
        return tiff;
    }
    bool SaveBmp24(const imaging::PageBitmap& page, const std::filesystem::path& path) override {
        return imaging::FindEncoder("image/bmp") >= 0 && imaging::SaveBmp24(page, path).ok;
    }
    bool SaveJpeg(const imaging::PageBitmap& page, const std::filesystem::path& path,
                  int quality) override {
        return imaging::FindEncoder("image/jpeg") >= 0 && imaging::SaveJpeg(page, path, quality).ok;
    }
    bool SavePng(const imaging::PageBitmap& page, const std::filesystem::path& path) override {
        return imaging::FindEncoder("image/png") >= 0 && imaging::SavePng(page, path).ok;
    }
};

}  // namespace

std::unique_ptr<OutputEncoders> MakeImagingEncoders() {
    return std::make_unique<ImagingEncoders>();
}

}  // namespace vellumo::convert
