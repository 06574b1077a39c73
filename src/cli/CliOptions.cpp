#include "cli/CliOptions.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string_view>

#include "cli/ValueParsers.h"

namespace vellumo::cli {
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

// Which of the mutually exclusive size options was given.
enum class SizeOption { None, Width, Height, Size, Stretch };

class Parser {
  public:
    ParseResult Run(const std::vector<std::string>& args);

  private:
    using ValueHandler = std::function<bool(const std::string& name, const std::string& value)>;
    using FlagHandler = std::function<void()>;

    bool Fail(std::string message) {
        if (error_.empty()) {
            error_ = std::move(message);
        }
        return false;
    }
    bool BadValue(const std::string& name, const std::string& value, const std::string& expected) {
        return Fail("invalid value '" + value + "' for " + name + " (expected " + expected + ")");
    }
    bool SetSizeOption(const std::string& name, SizeOption option);
    void DefineOptions();
    bool LongOption(const std::string& arg, const std::vector<std::string>& args, size_t& i);
    bool ShortOptions(const std::string& arg, const std::vector<std::string>& args, size_t& i);
    bool Finish();

    CliOptions options_;
    std::map<std::string, ValueHandler> valueOptions_;
    std::map<std::string, FlagHandler> flagOptions_;
    SizeOption sizeOption_ = SizeOption::None;
    std::string sizeOptionName_;
    bool formatGiven_ = false;
    std::string error_;
};

bool Parser::SetSizeOption(const std::string& name, SizeOption option) {
    if (sizeOption_ != SizeOption::None && sizeOption_ != option) {
        return Fail(sizeOptionName_ + " and " + name +
                    " cannot be used together (use --size WxH to give both sides)");
    }
    sizeOption_ = option;
    sizeOptionName_ = name;
    return true;
}

void Parser::DefineOptions() {
    auto& record = options_.record;
    flagOptions_["--recursive"] = [this] { options_.recursive = true; };
    flagOptions_["--auto-orient"] = [this] { options_.autoOrient = true; };
    flagOptions_["--keep-gps"] = [this] { options_.metadata.keepGps = true; };
    flagOptions_["--strip"] = [this] { options_.metadata.strip = true; };
    valueOptions_["--colour"] = [this](const std::string& n, const std::string& v) {
        static const std::map<std::string, convert::ColourMode> kModes = {
            {"srgb", convert::ColourMode::Srgb}, {"keep", convert::ColourMode::Keep}};
        const auto it = kModes.find(Lower(v));
        if (it == kModes.end()) {
            return BadValue(n, v, "srgb or keep");
        }
        options_.metadata.colour = it->second;
        return true;
    };
    flagOptions_["--overwrite"] = [this] { options_.overwrite = true; };
    flagOptions_["--quiet"] = [this] { options_.quiet = true; };
    flagOptions_["--help"] = [this] { options_.mode = Mode::Help; };
    flagOptions_["--version"] = [this] { options_.mode = Mode::Version; };
    flagOptions_["--info"] = [this] { options_.mode = Mode::Info; };
    flagOptions_["--list"] = [this] { options_.mode = Mode::List; };

    valueOptions_["--output"] = [this](const std::string&, const std::string& v) {
        options_.output = v;
        return true;
    };
    valueOptions_["--sort"] = [this](const std::string& n, const std::string& v) {
        static const std::map<std::string, SortOrder> kOrders = {
            {"name", SortOrder::Name},
            {"name-desc", SortOrder::NameDesc},
            {"time", SortOrder::Time},
            {"time-desc", SortOrder::TimeDesc}};
        const auto it = kOrders.find(Lower(v));
        if (it == kOrders.end()) {
            return BadValue(n, v, "name, name-desc, time or time-desc");
        }
        options_.sort = it->second;
        return true;
    };
    valueOptions_["--width"] = [this, &record](const std::string& n, const std::string& v) {
        const auto w = ParseWholeNumber(v, 1, kMaxSide);
        if (!w) {
            return BadValue(n, v, "a whole number of pixels from 1 to 1000000");
        }
        record.nOuputSizeType = options::kSizeCustom;
        record.nKeepAspectRatio = options::kKeepWithWidth;
        record.nOutputWidth = *w;
        return SetSizeOption(n, SizeOption::Width);
    };
    valueOptions_["--height"] = [this, &record](const std::string& n, const std::string& v) {
        const auto h = ParseWholeNumber(v, 1, kMaxSide);
        if (!h) {
            return BadValue(n, v, "a whole number of pixels from 1 to 1000000");
        }
        record.nOuputSizeType = options::kSizeCustom;
        record.nKeepAspectRatio = options::kKeepWithHeight;
        record.nOutputHeight = *h;
        return SetSizeOption(n, SizeOption::Height);
    };
    valueOptions_["--size"] = [this, &record](const std::string& n, const std::string& v) {
        const auto size = ParseSize(v, kMaxSide);
        if (!size) {
            return BadValue(n, v, "WxH, for example 1024x768");
        }
        record.nOuputSizeType = options::kSizeCustom;
        record.nKeepAspectRatio = options::kKeepNone;
        record.nOutputWidth = size->width;
        record.nOutputHeight = size->height;
        return SetSizeOption(n, SizeOption::Size);
    };
    valueOptions_["--stretch"] = [this, &record](const std::string& n, const std::string& v) {
        const auto stretch = ParseStretch(v, options::kStretchMin, options::kStretchMax);
        if (!stretch) {
            return BadValue(n, v, "H or H,V, factors from 0.000001 to 1000000");
        }
        record.nOuputSizeType = options::kSizeStretch;
        record.dStretchHorizontal = stretch->horizontal;
        record.dStretchVertical = stretch->vertical;
        return SetSizeOption(n, SizeOption::Stretch);
    };
    valueOptions_["--rotate"] = [this, &record](const std::string& n, const std::string& v) {
        const auto angle = ParseWholeNumber(v, 0, 270);
        if (!angle || (*angle != 0 && *angle != 90 && *angle != 180 && *angle != 270)) {
            return BadValue(n, v, "0, 90, 180 or 270");
        }
        record.nRotateAngel = *angle;
        return true;
    };
    valueOptions_["--flip"] = [this, &record](const std::string& n, const std::string& v) {
        static const std::map<std::string, int32_t> kFlips = {
            {"none", options::kFlipNone},
            {"horizontal", options::kFlipHorizontal},
            {"h", options::kFlipHorizontal},
            {"vertical", options::kFlipVertical},
            {"v", options::kFlipVertical}};
        const auto it = kFlips.find(Lower(v));
        if (it == kFlips.end()) {
            return BadValue(n, v, "none, horizontal (h) or vertical (v)");
        }
        record.nFlipType = it->second;
        return true;
    };
    valueOptions_["--format"] = [this, &record](const std::string& n, const std::string& v) {
        static const std::map<std::string, int32_t> kFormats = {
            {"tif", options::kFormatTif},  {"tiff", options::kFormatTif},
            {"bmp", options::kFormatBmp},  {"jpg", options::kFormatJpg},
            {"jpeg", options::kFormatJpg}, {"png", options::kFormatPng}};
        const auto it = kFormats.find(Lower(v));
        if (it == kFormats.end()) {
            return BadValue(n, v, "tif, bmp, jpg or png");
        }
        record.nOuptputFormat = it->second;
        formatGiven_ = true;
        return true;
    };
    valueOptions_["--quality"] = [this, &record](const std::string& n, const std::string& v) {
        const auto q = ParseWholeNumber(v, options::kQualityMin, options::kQualityMax);
        if (!q) {
            return BadValue(n, v, "a whole number from 1 to 100");
        }
        record.nCurrentJpegQuality = *q;
        options_.tiffJpegQuality = *q;
        return true;
    };
    valueOptions_["--bmp-bits"] = [this, &record](const std::string& n, const std::string& v) {
        static const std::map<std::string, int32_t> kBits = {
            {"1", 0}, {"4", 1}, {"8", 2}, {"24", 4}};
        const auto it = kBits.find(v);
        if (it == kBits.end()) {
            return BadValue(n, v, "1, 4, 8 or 24");
        }
        record.iComboPixelFormat = it->second;
        return true;
    };
    valueOptions_["--compression"] = [this](const std::string& n, const std::string& v) {
        static const std::map<std::string, imaging::TiffCompression> kCompressions = {
            {"lzw", imaging::TiffCompression::Lzw},
            {"none", imaging::TiffCompression::None},
            {"deflate", imaging::TiffCompression::Deflate},
            {"zip", imaging::TiffCompression::Deflate},
            {"packbits", imaging::TiffCompression::PackBits},
            {"jpeg", imaging::TiffCompression::Jpeg}};
        const auto it = kCompressions.find(Lower(v));
        if (it == kCompressions.end()) {
            return BadValue(n, v, "lzw, none, deflate, packbits or jpeg");
        }
        options_.compression = it->second;
        return true;
    };
    valueOptions_["--caption"] = [this](const std::string&, const std::string& v) {
        options_.captionText = v;
        return true;
    };
    valueOptions_["--caption-pos"] = [this](const std::string& n, const std::string& v) {
        const auto position = ParsePosition(v);
        if (!position) {
            return BadValue(n, v, "X,Y in pixels, for example 20,30");
        }
        options_.captionX = position->x;
        options_.captionY = position->y;
        return true;
    };
    valueOptions_["--font"] = [this](const std::string& n, const std::string& v) {
        const auto font = ParseFont(v, options_.font);
        if (!font) {
            return BadValue(n, v, "FAMILY[,SIZE][,bold][,italic]");
        }
        options_.font = *font;
        return true;
    };
    valueOptions_["--color"] = [this](const std::string& n, const std::string& v) {
        const auto color = ParseColor(v);
        if (!color) {
            return BadValue(n, v, "#RRGGBB");
        }
        options_.color = *color;
        return true;
    };
    valueOptions_["--log"] = [this](const std::string& n, const std::string& v) {
        if (v.empty()) {
            return BadValue(n, v, "a file path");
        }
        options_.logFile = v;
        return true;
    };
    valueOptions_["--threads"] = [this](const std::string& n, const std::string& v) {
        const auto t = ParseWholeNumber(v, 0, 256);
        if (!t) {
            return BadValue(n, v, "a whole number from 0 (every core) to 256");
        }
        options_.threads = *t;
        return true;
    };
}

bool Parser::LongOption(const std::string& arg, const std::vector<std::string>& args, size_t& i) {
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (const auto flag = flagOptions_.find(name); flag != flagOptions_.end()) {
        if (equals != std::string::npos) {
            return Fail("option '" + name + "' takes no value");
        }
        flag->second();
        return true;
    }
    const auto option = valueOptions_.find(name);
    if (option == valueOptions_.end()) {
        return Fail("unknown option '" + name + "'");
    }
    if (equals != std::string::npos) {
        return option->second(name, arg.substr(equals + 1));
    }
    if (i + 1 >= args.size()) {
        return Fail("option '" + name + "' needs a value");
    }
    return option->second(name, args[++i]);
}

bool Parser::ShortOptions(const std::string& arg, const std::vector<std::string>& args, size_t& i) {
    static const std::map<char, std::string> kFlags = {
        {'r', "--recursive"}, {'y', "--overwrite"}, {'q', "--quiet"}, {'h', "--help"}};
    for (size_t k = 1; k < arg.size(); ++k) {
        const char c = arg[k];
        if (c == 'o') {
            if (k + 1 < arg.size()) {
                return valueOptions_["--output"]("-o", arg.substr(k + 1));
            }
            if (i + 1 >= args.size()) {
                return Fail("option '-o' needs a value");
            }
            return valueOptions_["--output"]("-o", args[++i]);
        }
        const auto flag = kFlags.find(c);
        if (flag == kFlags.end()) {
            return Fail(std::string("unknown option '-") + c + "'");
        }
        flagOptions_[flag->second]();
    }
    return true;
}

bool Parser::Finish() {
    switch (options_.mode) {
        case Mode::Help:
        case Mode::Version:
            return true;
        case Mode::Info:
            if (options_.inputs.empty()) {
                return Fail("--info needs at least one file");
            }
            return true;
        case Mode::List:
            if (options_.inputs.empty()) {
                return Fail("no input photos given");
            }
            return true;
        case Mode::Convert:
            break;
    }
    if (options_.inputs.empty()) {
        return Fail("no input photos given");
    }
    if (options_.output.empty()) {
        return Fail("no output file given (-o OUTPUT)");
    }
    if (!formatGiven_) {
        options_.record.nOuptputFormat = FormatFromOutputPath(options_.output);
    }
    return true;
}

ParseResult Parser::Run(const std::vector<std::string>& args) {
    DefineOptions();
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size() && error_.empty(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options_.inputs.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg.starts_with("--")) {
            LongOption(arg, args, i);
        } else {
            ShortOptions(arg, args, i);
        }
    }
    if (error_.empty()) {
        Finish();
    }
    ParseResult result;
    if (error_.empty()) {
        result.options = std::move(options_);
    } else {
        result.error = error_;
    }
    return result;
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    return Parser().Run(args);
}

int32_t FormatFromOutputPath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return options::kFormatTif;
    }
    const std::string extension = Lower(path.substr(dot));
    if (extension == ".bmp") {
        return options::kFormatBmp;
    }
    if (extension == ".jpg" || extension == ".jpeg") {
        return options::kFormatJpg;
    }
    if (extension == ".png") {
        return options::kFormatPng;
    }
    return options::kFormatTif;
}

}  // namespace vellumo::cli
