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
std::optional<fs::path> MakeTemporaryBmp(ui::Toolkit& toolkit, const fs::path& target) {
    std::error_code ec;
    const fs::path systemTemp = fs::temp_directory_path(ec);
    if (!ec) {
        if (auto made = CreateUniqueFile(systemTemp, "BMP", ".TMP")) {
            return made;
        }
    }
    toolkit.MessageBox(text::kCannotGetTempName, text::kError, ui::MessageStyle::Error);
    fs::path folder = target.parent_path();
    return CreateUniqueFile(folder.empty() ? fs::path(".") : folder, ".BMP", ".TMP");
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
                     const fs::path& target, const std::string& outputName, int bits,
                     int paletteSize) {
    const auto temporary = MakeTemporaryBmp(toolkit, target);
    bool written = false;
    if (temporary && writers.SaveBmp24(page, *temporary)) {
        written = Reduce(*temporary, target, bits, paletteSize);
    }
    // Any step that failed leaves the page unwritten, and the user is told so.
    if (!written) {
        toolkit.MessageBox(text::kFailedToSave, outputName, ui::MessageStyle::Error);
    }
    if (temporary && !RemoveFileIfPresent(*temporary)) {
        toolkit.MessageBox(text::kCannotDeleteTemp, text::kWarning, ui::MessageStyle::Warning);
    }
    return written;
}

}  // namespace vellumo::convert
