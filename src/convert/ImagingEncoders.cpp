// The output encoders over the imaging layer's writers.
#include "convert/OutputEncoders.h"
#include "imaging/EncoderLookup.h"
#include "imaging/MultiPageTiffWriter.h"
#include "imaging/PageWriters.h"

namespace vellumo::convert {

namespace {

constexpr std::string_view kNoEncoder = "no encoder for this format is available";

class ImagingTiff : public TiffOutput {
  public:
    bool Open(int descriptor, const std::string& name, const imaging::TiffWriteOptions& options) {
        return writer_.Open(descriptor, name, options);
    }
    bool AppendPage(const imaging::PageBitmap& page) override { return writer_.AppendPage(page); }
    bool CopyPagesFrom(const std::filesystem::path& path) override {
        return writer_.CopyPagesFrom(path);
    }
    bool Close() override { return writer_.Close(); }
    std::string Error() const override { return writer_.Error(); }
    bool HasFailedWrite() const override { return writer_.HasFailedWrite(); }

  private:
    imaging::MultiPageTiffWriter writer_;
};

class ImagingPdf : public PdfOutput {
  public:
    bool Open(const std::filesystem::path& path, const std::string& name) {
        return writer_.Open(path, name);
    }
    bool AppendJpeg(const imaging::JpegPicture& picture) override {
        return writer_.AppendJpeg(picture);
    }
    bool AppendPage(const imaging::PageBitmap& page, int jpegQuality) override {
        return writer_.AppendPage(page, jpegQuality);
    }
    bool Close() override { return writer_.Close(); }
    std::string Error() const override { return writer_.Error(); }
    bool HasFailedWrite() const override { return writer_.HasFailedWrite(); }

  private:
    imaging::PdfWriter writer_;
};

class ImagingEncoders : public OutputEncoders {
  public:
    std::unique_ptr<TiffOutput> OpenTiff(int descriptor, const std::string& name,
                                         const imaging::TiffWriteOptions& options,
                                         std::string& error) override {
        if (imaging::FindEncoder("image/tiff") < 0) {
            error = kNoEncoder;
            return nullptr;
        }
        auto tiff = std::make_unique<ImagingTiff>();
        if (!tiff->Open(descriptor, name, options)) {
            error = tiff->Error();
            return nullptr;
        }
        return tiff;
    }
    imaging::WriteOutcome SaveBmp24(const imaging::PageBitmap& page,
                                    const imaging::WriteTarget& target) override {
        if (imaging::FindEncoder("image/bmp") < 0) {
            return {false, std::string(kNoEncoder)};
        }
        return imaging::SaveBmp24(page, target);
    }
    imaging::WriteOutcome SaveJpeg(const imaging::PageBitmap& page,
                                   const imaging::WriteTarget& target, int quality) override {
        if (imaging::FindEncoder("image/jpeg") < 0) {
            return {false, std::string(kNoEncoder)};
        }
        return imaging::SaveJpeg(page, target, quality);
    }
    imaging::WriteOutcome SavePng(const imaging::PageBitmap& page,
                                  const imaging::WriteTarget& target) override {
        if (imaging::FindEncoder("image/png") < 0) {
            return {false, std::string(kNoEncoder)};
        }
        return imaging::SavePng(page, target);
    }
};

}  // namespace

std::unique_ptr<PdfOutput> OutputEncoders::OpenPdf(const std::filesystem::path& path,
                                                   const std::string& name, std::string& error) {
    auto pdf = std::make_unique<ImagingPdf>();
    if (!pdf->Open(path, name)) {
        error = pdf->Error();
        return nullptr;
    }
    return pdf;
}

std::unique_ptr<OutputEncoders> MakeImagingEncoders() {
    return std::make_unique<ImagingEncoders>();
}

}  // namespace vellumo::convert
