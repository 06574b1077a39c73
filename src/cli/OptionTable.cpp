#include "cli/OptionTable.h"

#include <QColor>
#include <algorithm>
#include <array>

#include "cli/CliText.h"
#include "cli/ValueParsers.h"

namespace vellumo::cli {

bool ParseState::Fail(std::string message) {
    if (error.empty()) {
        error = std::move(message);
    }
    return false;
}

bool ParseState::BadValue(const std::string& name, const std::string& value, const char* expected) {
    return Fail(Tr(QT_TRANSLATE_NOOP("vellumo-cli", "invalid value '%1' for %2 (expected %3)"),
                   {value, name, Tr(expected)}));
}

bool ParseState::SetSizeOption(const std::string& name) {
    if (!sizeOptionName.empty() && sizeOptionName != name) {
        return Fail(Tr(QT_TRANSLATE_NOOP(
                           "vellumo-cli",
                           "%1 and %2 cannot be used together (use --size WxH to give both sides)"),
                       {sizeOptionName, name}));
    }
    sizeOptionName = name;
    return true;
}

namespace {

// Sides above this are surely a typing error; the engine refuses pages too large to
// allocate anyway.
constexpr int32_t kMaxSide = 1000000;

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return out;
}

// A value from a short list of words, in any case.
template <typename T, size_t N>
const T* Choose(const std::array<std::pair<const char*, T>, N>& choices, const std::string& value) {
    const std::string lower = Lower(value);
    for (const auto& [word, result] : choices) {
        if (lower == word) {
            return &result;
        }
    }
    return nullptr;
}

constexpr std::array<FormatName, 7> kFormatNames = {{{"tif", options::kFormatTif},
                                                     {"tiff", options::kFormatTif},
                                                     {"pdf", options::kFormatPdf},
                                                     {"bmp", options::kFormatBmp},
                                                     {"jpg", options::kFormatJpg},
                                                     {"jpeg", options::kFormatJpg},
                                                     {"png", options::kFormatPng}}};

bool SetSize(ParseState& s, const std::string& n, const std::string& v, int32_t keep) {
    const auto size = ParseSize(v, kMaxSide);
    if (!size) {
        return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "WxH, for example 1024x768"));
    }
    auto& record = s.options.record;
    record.nOuputSizeType = options::kSizeCustom;
    record.nKeepAspectRatio = keep;
    record.nOutputWidth = size->width;
    record.nOutputHeight = size->height;
    return s.SetSizeOption(n);
}

bool SetSide(ParseState& s, const std::string& n, const std::string& v, int32_t keep) {
    const auto side = ParseWholeNumber(v, 1, kMaxSide);
    if (!side) {
        return s.BadValue(
            n, v, QT_TRANSLATE_NOOP("vellumo-cli", "a whole number of pixels from 1 to 1000000"));
    }
    auto& record = s.options.record;
    record.nOuputSizeType = options::kSizeCustom;
    record.nKeepAspectRatio = keep;
    (keep == options::kKeepWithWidth ? record.nOutputWidth : record.nOutputHeight) = *side;
    return s.SetSizeOption(n);
}

using G = OptionGroup;
using K = ValueKind;

// clang-format off
constexpr OptionRow kRows[] = {
    // ---- Inputs ----
    {"--recursive", 'r', nullptr, G::Inputs, K::None, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "search folder inputs for photos (breadth first)"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.recursive = true;
         return true;
     }},
    {"--sort", 0, "ORDER", G::Inputs, K::Words, "name name-desc time time-desc", kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "reorder the pages: name, name-desc, time, time-desc"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         static constexpr std::array<std::pair<const char*, SortOrder>, 4> kOrders = {{
             {"name", SortOrder::Name}, {"name-desc", SortOrder::NameDesc},
             {"time", SortOrder::Time}, {"time-desc", SortOrder::TimeDesc}}};
         const SortOrder* order = Choose(kOrders, v);
         if (order == nullptr) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "name, name-desc, time or time-desc"));
         }
         s.options.sort = *order;
         return true;
     }},
    // ---- Page size ----
    {"--width", 0, "W", G::PageSize, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "W pixels wide, the height keeps the aspect ratio"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         return SetSide(s, n, v, options::kKeepWithWidth);
     }},
    {"--height", 0, "H", G::PageSize, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "H pixels high, the width keeps the aspect ratio"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         return SetSide(s, n, v, options::kKeepWithHeight);
     }},
    {"--size", 0, "WxH", G::PageSize, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "exactly W by H pixels"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         return SetSize(s, n, v, options::kKeepNone);
     }},
    {"--fit", 0, "WxH", G::PageSize, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "the largest size inside W by H with the photo's aspect ratio"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         return SetSize(s, n, v, options::kKeepFit);
     }},
    {"--stretch", 0, "H[,V]", G::PageSize, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "the photo's size times H (and V, default H)"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         const auto stretch = ParseStretch(v, options::kStretchMin, options::kStretchMax);
         if (!stretch) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "H or H,V, factors from 0.000001 to 1000000"));
         }
         auto& record = s.options.record;
         record.nOuputSizeType = options::kSizeStretch;
         record.dStretchHorizontal = stretch->horizontal;
         record.dStretchVertical = stretch->vertical;
         return s.SetSizeOption(n);
     }},
    {"--shrink-only", 0, nullptr, G::PageSize, K::None, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "a photo the size would not shrink keeps its own size"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.record.bShrinkOnly = true;
         return true;
     }},
    {"--rotate", 0, "ANGLE", G::PageSize, K::Words, "0 90 180 270", kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "turn clockwise by 0, 90, 180 or 270 degrees"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         const auto angle = ParseWholeNumber(v, 0, 270);
         if (!angle || (*angle != 0 && *angle != 90 && *angle != 180 && *angle != 270)) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "0, 90, 180 or 270"));
         }
         s.options.record.nRotateAngel = *angle;
         return true;
     }},
    {"--flip", 0, "MODE", G::PageSize, K::Words, "none horizontal vertical", kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "none, horizontal (h) or vertical (v), after turning"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         static constexpr std::array<std::pair<const char*, int32_t>, 5> kFlips = {{
             {"none", options::kFlipNone}, {"horizontal", options::kFlipHorizontal},
             {"h", options::kFlipHorizontal}, {"vertical", options::kFlipVertical},
             {"v", options::kFlipVertical}}};
         const int32_t* flip = Choose(kFlips, v);
         if (flip == nullptr) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "none, horizontal (h) or vertical (v)"));
         }
         s.options.record.nFlipType = *flip;
         return true;
     }},
    {"--auto-orient", 0, nullptr, G::PageSize, K::None, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "turn each photo upright from its EXIF orientation first"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.autoOrient = true;
         return true;
     }},
    // ---- Output ----
    {"--output", 'o', "OUTPUT", G::Output, K::File, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "the output file, - for standard output; BMP, JPEG and PNG outputs of several "
        "pages are numbered (album-1.jpg, album-2.jpg, ...)"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         if (v.empty()) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "a file path"));
         }
         s.options.output = v;
         return true;
     }},
    {"--format", 0, "FORMAT", G::Output, K::Words, "tif pdf bmp jpg png", kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "tif, pdf, bmp, jpg or png (default: from OUTPUT's extension)"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         const std::string lower = Lower(v);
         for (const FormatName& format : kFormatNames) {
             if (lower == format.name) {
                 s.options.record.nOuptputFormat = format.format;
                 s.options.formatGiven = true;
                 return true;
             }
         }
         return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "tif, pdf, bmp, jpg or png"));
     }},
    {"--compression", 0, "C", G::Output, K::Words, "lzw none deflate packbits jpeg",
     kForTif | kForPdf,
     QT_TRANSLATE_NOOP("vellumo-cli", "TIFF compression: lzw (default), none, deflate, packbits, jpeg; PDF pages: jpeg "
        "(else lossless)"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         using C = imaging::TiffCompression;
         static constexpr std::array<std::pair<const char*, C>, 6> kCompressions = {{
             {"lzw", C::Lzw}, {"none", C::None}, {"deflate", C::Deflate}, {"zip", C::Deflate},
             {"packbits", C::PackBits}, {"jpeg", C::Jpeg}}};
         const C* compression = Choose(kCompressions, v);
         if (compression == nullptr) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "lzw, none, deflate, packbits or jpeg"));
         }
         s.options.compression = *compression;
         return true;
     }},
    {"--quality", 0, "Q", G::Output, K::Text, nullptr, kForJpg | kForTif | kForPdf,
     QT_TRANSLATE_NOOP("vellumo-cli", "JPEG quality 1-100 (default 80), also for --compression jpeg"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         const auto q = ParseWholeNumber(v, options::kQualityMin, options::kQualityMax);
         if (!q) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "a whole number from 1 to 100"));
         }
         s.options.record.nCurrentJpegQuality = *q;
         s.options.tiffJpegQuality = *q;
         return true;
     }},
    {"--bmp-bits", 0, "N", G::Output, K::Words, "1 4 8 24", kForBmp,
     QT_TRANSLATE_NOOP("vellumo-cli", "BMP colour depth: 24 (default), or 1, 4, 8 with a palette"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         static constexpr std::array<std::pair<const char*, int32_t>, 4> kBits = {{
             {"1", 0}, {"4", 1}, {"8", 2}, {"24", 4}}};
         const int32_t* bits = Choose(kBits, v);
         if (bits == nullptr) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "1, 4, 8 or 24"));
         }
         s.options.record.iComboPixelFormat = *bits;
         return true;
     }},
    {"--bigtiff", 0, nullptr, G::Output, K::None, nullptr, kForTif,
     QT_TRANSLATE_NOOP("vellumo-cli", "write a BigTIFF (chosen by itself when the pages could pass 4 GiB)"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.bigTiff = true;
         return true;
     }},
    {"--append", 0, nullptr, G::Output, K::None, nullptr, kForTif,
     QT_TRANSLATE_NOOP("vellumo-cli", "add the pages after those of the existing TIFF OUTPUT"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.append = true;
         return true;
     }},
    {"--overwrite", 'y', nullptr, G::Output, K::None, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "replace an existing OUTPUT without asking"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.overwrite = true;
         return true;
     }},
    // ---- Colour and metadata ----
    {"--colour", 0, "MODE", G::Metadata, K::Words, "srgb keep", kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "srgb (default): convert each photo from its ICC profile to "
        "sRGB; keep: leave the pixels as decoded and embed the photo's profile"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         static constexpr std::array<std::pair<const char*, convert::ColourMode>, 2> kModes = {{
             {"srgb", convert::ColourMode::Srgb}, {"keep", convert::ColourMode::Keep}}};
         const convert::ColourMode* mode = Choose(kModes, v);
         if (mode == nullptr) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "srgb or keep"));
         }
         s.options.metadata.colour = *mode;
         return true;
     }},
    {"--keep-gps", 0, nullptr, G::Metadata, K::None, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "also copy where each photo was taken (GPS), left out by "
        "default"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.metadata.keepGps = true;
         return true;
     }},
    {"--strip", 0, nullptr, G::Metadata, K::None, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "write no metadata (camera data, page names, profile) beyond "
        "the file's structure and the resolution"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.metadata.strip = true;
         return true;
     }},
    // ---- Caption ----
    {"--caption", 0, "TEXT", G::Caption, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "draw TEXT on every page"),
     [](ParseState& s, const std::string&, const std::string& v) {
         s.options.captionText = v;
         return true;
     }},
    {"--caption-pos", 0, "X,Y", G::Caption, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "its top-left corner in pixels of the page before it is turned (default 0,0)"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         const auto position = ParsePosition(v);
         if (!position) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "X,Y in pixels, for example 20,30"));
         }
         s.options.captionX = position->x;
         s.options.captionY = position->y;
         return true;
     }},
    {"--font", 0, "SPEC", G::Caption, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "\"FAMILY[,SIZE][,bold][,italic]\", SIZE in pixels (default 13)"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         const auto font = ParseFont(v, s.options.font);
         if (!font) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "FAMILY[,SIZE][,bold][,italic]"));
         }
         s.options.font = *font;
         return true;
     }},
    {"--color", 0, "COLOUR", G::Caption, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "text colour, #RRGGBB or a name such as red (default black)"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         if (const auto color = ParseColor(v)) {
             s.options.color = *color;
             return true;
         }
         // The colour names Qt knows (the SVG names: "red", "darkslategray", ...).
         const QString name = QString::fromStdString(v);
         if (v.empty() || v.front() == '#' || !QColor::isValidColor(name)) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "#RRGGBB or a colour name"));
         }
         const QColor color(name);
         s.options.color = options::MakeColorRef(static_cast<uint8_t>(color.red()),
                                                 static_cast<uint8_t>(color.green()),
                                                 static_cast<uint8_t>(color.blue()));
         return true;
     }},
    // ---- Other ----
    {"--log", 0, "FILE", G::Other, K::File, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "append the activity log (and every error) to FILE"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         if (v.empty()) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "a file path"));
         }
         s.options.logFile = v;
         return true;
     }},
    {"--threads", 0, "N", G::Other, K::Text, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "worker threads, 0 for every core (default)"),
     [](ParseState& s, const std::string& n, const std::string& v) {
         const auto t = ParseWholeNumber(v, 0, 256);
         if (!t) {
             return s.BadValue(n, v, QT_TRANSLATE_NOOP("vellumo-cli", "a whole number from 0 (every core) to 256"));
         }
         s.options.threads = *t;
         return true;
     }},
    {"--quiet", 'q', nullptr, G::Other, K::None, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "no progress and no summary; messages are still shown"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.quiet = true;
         return true;
     }},
    {"--list", 0, nullptr, G::Other, K::None, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "print the pages INPUT... would give (file, frame, photo size, page size) and "
        "write nothing; -o is not needed"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.mode = Mode::List;
         return true;
     }},
    {"--info", 0, nullptr, G::Other, K::None, nullptr, kForAll,
     QT_TRANSLATE_NOOP("vellumo-cli", "show format, frames, sizes, resolutions and pixel hashes of the FILEs"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.mode = Mode::Info;
         return true;
     }},
    {"--help", 'h', nullptr, G::Other, K::None, nullptr, kForAll, QT_TRANSLATE_NOOP("vellumo-cli", "show this help"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.mode = Mode::Help;
         return true;
     }},
    {"--version", 0, nullptr, G::Other, K::None, nullptr, kForAll, QT_TRANSLATE_NOOP("vellumo-cli", "show the version"),
     [](ParseState& s, const std::string&, const std::string&) {
         s.options.mode = Mode::Version;
         return true;
     }},
};
// clang-format on

}  // namespace

std::span<const OptionRow> OptionTable() {
    return kRows;
}

const OptionRow* FindOption(std::string_view longName) {
    for (const OptionRow& row : kRows) {
        if (longName == row.longName) {
            return &row;
        }
    }
    return nullptr;
}

const OptionRow* FindShortOption(char letter) {
    for (const OptionRow& row : kRows) {
        if (row.shortName != 0 && row.shortName == letter) {
            return &row;
        }
    }
    return nullptr;
}

std::string GroupTitle(OptionGroup group) {
    switch (group) {
        case OptionGroup::Inputs:
            return Tr(QT_TRANSLATE_NOOP("vellumo-cli", "Inputs"));
        case OptionGroup::PageSize:
            return Tr(
                QT_TRANSLATE_NOOP("vellumo-cli", "Page size (default: the photo's own size)"));
        case OptionGroup::Output:
            return Tr(QT_TRANSLATE_NOOP("vellumo-cli", "Output"));
        case OptionGroup::Metadata:
            return Tr(QT_TRANSLATE_NOOP("vellumo-cli", "Colour and metadata"));
        case OptionGroup::Caption:
            return Tr(QT_TRANSLATE_NOOP("vellumo-cli", "Caption"));
        case OptionGroup::Other:
            break;
    }
    return Tr(QT_TRANSLATE_NOOP("vellumo-cli", "Other"));
}

std::span<const FormatName> FormatNames() {
    return kFormatNames;
}

std::string FormatList() {
    return "tif, pdf, bmp, jpg, png";
}

}  // namespace vellumo::cli
