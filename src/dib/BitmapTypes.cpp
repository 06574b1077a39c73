#include "dib/BitmapTypes.h"

#include "dib/Endian.h"

namespace vellumo::dib {

void StoreInfoHeader(const BITMAPINFOHEADER& h, uint8_t* out) {
    StoreLe32(out + 0, h.biSize);
    StoreLe32(out + 4, static_cast<uint32_t>(h.biWidth));
    StoreLe32(out + 8, static_cast<uint32_t>(h.biHeight));
    StoreLe16(out + 12, h.biPlanes);
    StoreLe16(out + 14, h.biBitCount);
    StoreLe32(out + 16, h.biCompression);
    StoreLe32(out + 20, h.biSizeImage);
    StoreLe32(out + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
    StoreLe32(out + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
    StoreLe32(out + 32, h.biClrUsed);
    StoreLe32(out + 36, h.biClrImportant);
}

BITMAPINFOHEADER LoadInfoHeader(const uint8_t* in) {
    BITMAPINFOHEADER h;
    h.biSize = LoadLe32(in + 0);
    h.biWidth = LoadLe32Signed(in + 4);
    h.biHeight = LoadLe32Signed(in + 8);
    h.biPlanes = LoadLe16(in + 12);
    h.biBitCount = LoadLe16(in + 14);
    h.biCompression = LoadLe32(in + 16);
    h.biSizeImage = LoadLe32(in + 20);
    h.biXPelsPerMeter = LoadLe32Signed(in + 24);
    h.biYPelsPerMeter = LoadLe32Signed(in + 28);
    h.biClrUsed = LoadLe32(in + 32);
    h.biClrImportant = LoadLe32(in + 36);
    return h;
}

}  // namespace vellumo::dib
