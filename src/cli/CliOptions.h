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
    int threads = 0;                 // 0: every core
    bool formatGiven = false;        // --format chose the format, not OUTPUT's extension
    bool bigTiff = false;            // --bigtiff: BigTIFF whatever the pages' size
    bool append = false;             // --append: the pages go after those of an existing TIFF
    std::vector<std::string> given;  // the long names of the options given, in order
};

struct ParseResult {
    std::optional<CliOptions> options;  // set when the command line is usable
    std::string error;                  // otherwise what is wrong with it
};

// Parses the arguments after the program name. Options may come before, between and
// after the inputs; "--" ends them. Long options take their value as "--opt VALUE" or
// "--opt=VALUE"; short flags may be grouped ("-ry"), and -o takes "-o FILE" or "-oFILE".
ParseResult ParseCommandLine(const std::vector<std::string>& args);

// The output format an output path implies by its extension (.tif/.tiff, .pdf, .bmp,
// .jpg/.jpeg, .png, any case); TIF for a name without extension (and for "-"), nothing
// for an extension that names no output format.
std::optional<int32_t> FormatFromOutputPath(const std::string& path);

// Warnings about options that do nothing for the chosen output format, in the user's
// language, one line each.
std::vector<std::string> OptionWarnings(const CliOptions& options);

}  // namespace vellumo::cli
