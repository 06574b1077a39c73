#include "imaging/PdfWriter.h"

#include <zlib.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vellumo::imaging {
namespace {

// Objects 1 and 2 are the catalogue and the page tree, written last.
constexpr int kCatalog = 1;
constexpr int kPageTree = 2;

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    // Trailing zeros say nothing.
    std::string out(text);
    while (!out.empty() && out.back() == '0') {
        out.pop_back();
    }
    if (!out.empty() && out.back() == '.') {
        out.pop_back();
    }
    return out;
}

// Points (1/72 inch) of `pixels` at `dpi`; a resolution that says nothing counts as 96.
double Points(int32_t pixels, double dpi) {
    return pixels * 72.0 / (dpi > 0 ? dpi : 96.0);
}

uint8_t Paeth(uint8_t a, uint8_t b, uint8_t c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return a;
    }
    return pb <= pc ? b : c;
}

// One row with the PNG Paeth filter (type 4) before it, as the PNG predictors expect.
void PaethRow(const uint8_t* row, const uint8_t* above, size_t bytes, uint8_t* out) {
    out[0] = 4;
    for (size_t i = 0; i < bytes; ++i) {
        const uint8_t a = i >= 3 ? row[i - 3] : 0;
        const uint8_t b = above != nullptr ? above[i] : 0;
        const uint8_t c = (i >= 3 && above != nullptr) ? above[i - 3] : 0;
        out[i + 1] = static_cast<uint8_t>(row[i] - Paeth(a, b, c));
    }
}

struct DeflateEnd {
    void operator()(z_stream* z) const {
        deflateEnd(z);
        delete z;
    }
};

}  // namespace

bool PdfWriter::Open(const std::filesystem::path& path, const std::string& name) {
    name_ = name;
    out_.open(path, std::ios::binary | std::ios::trunc);
    if (!out_) {
        error_ = "Cannot create " + name + ": " + std::strerror(errno);
        return false;
    }
    objectOffsets_.assign(3, 0);
    // The binary comment tells transfer programs the file is not text.
    Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    return CheckStream("the header");
}

int PdfWriter::NewObject() {
    objectOffsets_.push_back(0);
    return static_cast<int>(objectOffsets_.size()) - 1;
}

void PdfWriter::BeginObject(int number) {
    objectOffsets_[static_cast<size_t>(number)] = offset_;
    Write(std::to_string(number) + " 0 obj\n");
}

void PdfWriter::Write(std::string_view text) {
    Write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void PdfWriter::Write(const uint8_t* data, size_t size) {
    out_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    offset_ += size;
}

bool PdfWriter::CheckStream(const char* what) {
    out_.flush();
    if (out_) {
        return true;
    }
    failed_ = true;
    error_ = "Cannot write " + std::string(what) + " of " + name_ + ": " + std::strerror(errno);
    return false;
}

// The colour space of RGB pictures: their ICC profile, written once for all pages that
// share it, or device RGB without one.
std::string PdfWriter::RgbSpace(std::span<const uint8_t> icc) {
    if (icc.empty()) {
        return "/DeviceRGB";
    }
    std::vector<uint8_t> key(icc.begin(), icc.end());
    auto it = profiles_.find(key);
    if (it == profiles_.end()) {
        const int object = NewObject();
        BeginObject(object);
        Write("<< /N 3 /Alternate /DeviceRGB /Length " + std::to_string(icc.size()) +
              " >>\nstream\n");
        Write(icc.data(), icc.size());
        Write("\nendstream\nendobj\n");
        it = profiles_.emplace(std::move(key), object).first;
    }
    return "[/ICCBased " + std::to_string(it->second) + " 0 R]";
}

bool PdfWriter::AddPage(int imageObject, int32_t width, int32_t height, double dpiX, double dpiY) {
    const std::string w = Number(Points(width, dpiX));
    const std::string h = Number(Points(height, dpiY));
    const std::string content = "q " + w + " 0 0 " + h + " 0 0 cm /Im0 Do Q\n";
    const int contentObject = NewObject();
    BeginObject(contentObject);
    Write("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
          "endstream\nendobj\n");
    const int pageObject = NewObject();
    BeginObject(pageObject);
    Write("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + w + " " + h +
          "] /Resources << /XObject << /Im0 " + std::to_string(imageObject) +
          " 0 R >> >> /Contents " + std::to_string(contentObject) + " 0 R >>\nendobj\n");
    if (!CheckStream("a page")) {
        return false;
    }
    pages_.push_back(pageObject);
    return true;
}

bool PdfWriter::AppendJpeg(const JpegPicture& picture) {
    if (failed_ || !out_.is_open()) {
        return false;
    }
    // Written before the picture's own object begins.
    const std::string space = picture.components == 1 ? "/DeviceGray" : RgbSpace(picture.icc);
    const int imageObject = NewObject();
    BeginObject(imageObject);
    Write("<< /Type /XObject /Subtype /Image /Width " + std::to_string(picture.width) +
          " /Height " + std::to_string(picture.height) + " /ColorSpace " + space +
          " /BitsPerComponent 8 /Filter /DCTDecode /Length " +
          std::to_string(picture.bytes.size()) + " >>\nstream\n");
    Write(picture.bytes.data(), picture.bytes.size());
    Write("\nendstream\nendobj\n");
    return CheckStream("a picture") &&
           AddPage(imageObject, picture.width, picture.height, picture.dpiX, picture.dpiY);
}

bool PdfWriter::WriteFlateImage(const PageBitmap& page, int imageObject) {
    const std::string space = RgbSpace(page.metadata().icc);
    const int lengthObject = NewObject();
    BeginObject(imageObject);
    Write("<< /Type /XObject /Subtype /Image /Width " + std::to_string(page.width()) + " /Height " +
          std::to_string(page.height()) + " /ColorSpace " + space +
          " /BitsPerComponent 8 /Filter /FlateDecode /DecodeParms "
          "<< /Predictor 15 /Colors 3 /BitsPerComponent 8 /Columns " +
          std::to_string(page.width()) + " >> /Length " + std::to_string(lengthObject) +
          " 0 R >>\nstream\n");
    std::unique_ptr<z_stream, DeflateEnd> z(new z_stream{});
    if (deflateInit(z.get(), 6) != Z_OK) {
        error_ = "not enough memory to compress the page";
        return false;
    }
    const size_t rowBytes = page.stride();
    std::vector<uint8_t> filtered(rowBytes + 1);
    std::vector<uint8_t> packed(256 * 1024);
    uint64_t length = 0;
    for (int32_t y = 0; y <= page.height(); ++y) {
        const bool last = y == page.height();
        if (!last) {
            PaethRow(page.row(y), y > 0 ? page.row(y - 1) : nullptr, rowBytes, filtered.data());
            z->next_in = filtered.data();
            z->avail_in = static_cast<uInt>(filtered.size());
        }
        do {
            z->next_out = packed.data();
            z->avail_out = static_cast<uInt>(packed.size());
            if (deflate(z.get(), last ? Z_FINISH : Z_NO_FLUSH) == Z_STREAM_ERROR) {
                error_ = "the page cannot be compressed";
                return false;
            }
            const size_t produced = packed.size() - z->avail_out;
            Write(packed.data(), produced);
            length += produced;
        } while (z->avail_out == 0);
        if (!out_) {
            return CheckStream("a page");
        }
    }
    Write("\nendstream\nendobj\n");
    BeginObject(lengthObject);
    Write(std::to_string(length) + "\nendobj\n");
    return CheckStream("a page");
}

bool PdfWriter::AppendPage(const PageBitmap& page, int jpegQuality) {
    if (failed_ || !out_.is_open()) {
        return false;
    }
    if (page.width() <= 0 || page.height() <= 0) {
        error_ = "the page is empty";
        return false;
    }
    if (jpegQuality <= 0) {
        const int imageObject = NewObject();
        return WriteFlateImage(page, imageObject) &&
               AddPage(imageObject, page.width(), page.height(), page.dpiX(), page.dpiY());
    }
    const QImage view(page.data(), page.width(), page.height(),
                      static_cast<qsizetype>(page.stride()), QImage::Format_RGB888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(jpegQuality);
    if (!writer.write(view)) {
        error_ = "the page cannot be encoded as JPEG: " + writer.errorString().toStdString();
        return false;
    }
    JpegPicture picture;
    picture.bytes = {reinterpret_cast<const uint8_t*>(bytes.constData()),
                     static_cast<size_t>(bytes.size())};
    picture.width = page.width();
    picture.height = page.height();
    picture.dpiX = page.dpiX();
    picture.dpiY = page.dpiY();
    picture.icc = page.metadata().icc;
    return AppendJpeg(picture);
}

bool PdfWriter::Close() {
    if (!out_.is_open()) {
        return true;
    }
    if (!failed_) {
        BeginObject(kPageTree);
        std::string kids;
        for (const int page : pages_) {
            kids += (kids.empty() ? "" : " ") + std::to_string(page) + " 0 R";
        }
        Write("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages_.size()) +
              " >>\nendobj\n");
        BeginObject(kCatalog);
        Write("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
        const uint64_t xref = offset_;
        Write("xref\n0 " + std::to_string(objectOffsets_.size()) + "\n0000000000 65535 f \n");
        for (size_t i = 1; i < objectOffsets_.size(); ++i) {
            char entry[32];
            std::snprintf(entry, sizeof entry, "%010llu 00000 n \n",
                          static_cast<unsigned long long>(objectOffsets_[i]));
            Write(entry);
        }
        Write("trailer\n<< /Size " + std::to_string(objectOffsets_.size()) +
              " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n");
        CheckStream("the end");
    }
    out_.close();
    if (!failed_ && !out_) {
        failed_ = true;
        error_ = "Cannot close " + name_ + ": " + std::strerror(errno);
    }
    return !failed_;
}

}  // namespace vellumo::imaging
