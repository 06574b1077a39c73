#include "convert/IndexedOutput.h"

#include <system_error>
#include <vector>

#include "convert/Messages.h"
#include "convert/PlatformFiles.h"
#include "dib/IndexedBitmap.h"
#include "dib/OctreePalette.h"

namespace vellumo::convert {

namespace fs = std::filesystem;

namespace {

// A temporary BMP that no other page or run can share: in the system's temporary folder,
// or beside the output when that folder takes no file.
std::optional<TemporaryFile> MakeTemporaryBmp(ui::Toolkit& toolkit, const fs::path& outputFolder) {
    std::error_code ec;
    const fs::path systemTemp = fs::temp_directory_path(ec);
    std::string error;
    if (!ec) {
        if (auto made = TemporaryFile::Create(systemTemp, "BMP.TMP", error)) {
            return made;
        }
    }
    toolkit.MessageBox(text::TrUtf8(text::kCannotGetTempName), text::TrUtf8(text::kError),
                       ui::MessageStyle::Error);
    return TemporaryFile::Create(outputFolder, "BMP.TMP", error);
}

bool Reduce(const fs::path& temporary, const fs::path& target, int bits, int paletteSize) {
    dib::CIndexedBitmap image;
    if (!image.LoadBmp(temporary)) {
        return false;
    }
    dib::COctreePalette octree(static_cast<uint32_t>(paletteSize), 8);
    octree.AddImage(image);
    // Entries the tree leaves unwritten still take part in the nearest-colour search, so
    // the table starts out defined.
    std::vector<dib::RGBQUAD> table(static_cast<size_t>(paletteSize));
    octree.FillPalette(table.data());
    if (!image.ReduceDepth(static_cast<uint32_t>(bits), true, table.data(), 0)) {
        return false;
    }
    return image.SaveBmp(target);
}

}  // namespace

bool WriteIndexedBmp(ui::Toolkit& toolkit, OutputEncoders& writers, const imaging::PageBitmap& page,
                     const fs::path& target, const fs::path& outputFolder,
                     const std::string& outputName, int bits, int paletteSize) {
    // The temporary goes away with this object, killed or not.
    const auto temporary = MakeTemporaryBmp(toolkit, outputFolder);
    bool written = false;
    if (temporary && writers.SaveBmp24(page, imaging::WriteTarget(temporary->descriptor())).ok) {
        written = Reduce(temporary->AccessPath(), target, bits, paletteSize);
    }
    // Any step that failed leaves the page unwritten, and the user is told so.
    if (!written) {
        toolkit.MessageBox(text::TrUtf8(text::kFailedToSave), outputName, ui::MessageStyle::Error);
    }
    return written;
}

}  // namespace vellumo::convert
