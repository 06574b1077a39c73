// LoadBmp and SaveBmp: the holder's file operations, each through a temporary codec.

#include "dib/BmpCodec.h"
#include "dib/BmpTexts.h"
#include "dib/FileStream.h"

namespace vellumo::dib {

bool CIndexedBitmap::LoadBmp(const std::filesystem::path& fileName) {
    FileStream file(fileName, "rb");
    if (!file.IsOpen()) {
        return false;
    }
    CBmpCodec codec;
    codec.TakeOver(this);
    if (codec.DecodeStream(file)) {
        TakeOver(&codec);
        return true;
    }
    SetLastError(codec.lastError);
    return false;
}

bool CIndexedBitmap::SaveBmp(const std::filesystem::path& fileName) {
    // Checked before the file is opened, so an existing file is not truncated for nothing.
    if (!HasImage()) {
        SetLastError(texts::kNoImage);
        return false;
    }
    FileStream file(fileName, "wb");
    if (!file.IsOpen()) {
        return false;
    }
    CBmpCodec codec;
    codec.Borrow(*this);
    bool ok = codec.EncodeStream(file);
    // Buffered bytes reach the disk on flush and close; a full disk shows up there.
    if (ok && !file.Flush()) {
        codec.SetLastError(texts::kWriteFailed);
        ok = false;
    }
    const bool closed = file.Close();
    if (ok && !closed) {
        codec.SetLastError(texts::kWriteFailed);
        ok = false;
    }
    if (!ok) {
        SetLastError(codec.lastError);
    }
    return ok;
}

}  // namespace vellumo::dib
