#pragma once
// The command line of vellumo-cli, parsed into one value.

#include <optional>
#include <string>
#include <vector>

#include "convert/RunSettings.h"
#include "imaging/TiffWriteOptions.h"
#include "options/CaptionFont.h"
#include "options/OutputPhotoFormat.h"

namespace vellumo::cli {

enum class Mode { Convert, List, Info, Help, Version };

enum class SortOrder { None, Name, NameDesc, Time, TimeDesc };

struct CliOptions {
    Mode mode = Mode::Convert;
    std::vector<std::string> inputs;  // photos (and, with recursive, folders) or --info files
    std::string output;
    bool recursive = false;
    SortOrder sort = SortOrder::None;
    // The options record every new entry copies (size, format, pixel format, quality,
    // rotation, flip).
    options::OutputPhotoFormat record;
    imaging::TiffCompression compression = imaging::TiffCompression::Lzw;
    int tiffJpegQuality = 80;
    std::string captionText;
    std::string captionX = "0";
    std::string captionY = "0";
    options::CaptionFont font;
    options::ColorRef color = 0;
    bool autoOrient = false;
    convert::MetadataSettings metadata;  // --colour, --keep-gps, --strip
    bool overwrite = false;              // answers Yes to the replace question
    bool quiet = false;
    std::string logFile;
    int threads = 0;  // 0: every core
};

struct ParseResult {
    std::optional<CliOptions> options;  // set when the command line is usable
    std::string error;                  // otherwise what is wrong with it
};

// Parses the arguments after the program name. Options may come before, between and
// after the inputs; "--" ends them. Long options take their value as "--opt VALUE" or
// "--opt=VALUE"; short flags may be grouped ("-ry"), and -o takes "-o FILE" or "-oFILE".
ParseResult ParseCommandLine(const std::vector<std::string>& args);

// The output format an output path implies by its extension (.bmp, .jpg/.jpeg, .png,
// .tif/.tiff, any case); TIF for any other name.
int32_t FormatFromOutputPath(const std::string& path);

}  // namespace vellumo::cli
