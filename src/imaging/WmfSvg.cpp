// clang-format off
#include <libwmf/api.h>
#include <libwmf/svg.h>
// clang-format on

#include <algorithm>
#include <mutex>
#include <vector>

#include "imaging/MetafileRecords.h"
#include "imaging/MetafileSvg.h"

namespace vellumo::imaging {
namespace {

// libwmf's font set-up is process-wide and not safe to run on two threads at once.
std::mutex& WmfMutex() {
    static std::mutex mutex;
    return mutex;
}

struct Api {
    wmfAPI* api = nullptr;
    ~Api() {
        if (api != nullptr) {
            wmf_api_destroy(api);  // frees every buffer libwmf allocated, streams included
        }
    }
};

// libwmf writes the metafile's 8-bit text as it is, under an XML declaration that
// implies UTF-8; as Latin-1 turned into UTF-8 the document is well-formed.
std::string Latin1ToUtf8(const char* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

std::string WmfToSvg(std::span<const uint8_t> wmf, DrawingSize& size, std::string& error) {
    error = "the WMF drawing is damaged or unsupported";
    if (!WmfRecordsFit(wmf)) {
        return {};
    }
    const std::lock_guard lock(WmfMutex());
    std::vector<unsigned char> contents(wmf.begin(), wmf.end());
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    Api holder;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR;
    if (wmf_api_create(&holder.api, flags, &options) != wmf_E_None) {
        return {};
    }
    wmfAPI* api = holder.api;
    wmfD_Rect bbox{};
    if (wmf_mem_open(api, contents.data(), static_cast<long>(contents.size())) != wmf_E_None ||
        wmf_scan(api, 0, &bbox) != wmf_E_None) {
        return {};
    }
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(api, &width, &height, 96, 96) != wmf_E_None || width == 0 || height == 0) {
        return {};
    }
    wmf_svg_t* device = WMF_SVG_GetData(api);
    device->out = wmf_stream_create(api, nullptr);  // into memory
    device->bbox = bbox;
    device->width = width;
    device->height = height;
    device->flags |= WMF_SVG_INLINE_IMAGES;
    if (device->out == nullptr || wmf_play(api, 0, &bbox) != wmf_E_None) {
        return {};
    }
    char* text = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api, device->out, &text, &length);
    device->out = nullptr;
    if (text == nullptr || length == 0) {
        return {};
    }
    error.clear();
    size.width = static_cast<int>(std::min(width, 1u << 30));
    size.height = static_cast<int>(std::min(height, 1u << 30));
    return Latin1ToUtf8(text, length);
}

}  // namespace vellumo::imaging
