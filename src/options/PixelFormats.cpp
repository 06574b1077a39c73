#include "options/PixelFormats.h"

#include <array>

// The names and descriptions are shown in the options dialog, which translates them
// (context "vellumo-options"). This module uses no Qt: the marker lupdate looks for is
// only a marker here.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace vellumo::options {
namespace {

constexpr std::array<PixelFormatEntry, kPixelFormatCount> kEntries = {{
    {QT_TRANSLATE_NOOP("vellumo-options", "1 bit Indexed"),
     QT_TRANSLATE_NOOP("vellumo-options", "1 bit per pixel, indexed. 2 color."), 1, 2, true},
    {QT_TRANSLATE_NOOP("vellumo-options", "4 bits Indexed"),
     QT_TRANSLATE_NOOP("vellumo-options", "4 bits per pixel, indexed. 16 color."), 4, 16, true},
    {QT_TRANSLATE_NOOP("vellumo-options", "8 bits Indexed"),
     QT_TRANSLATE_NOOP("vellumo-options", "8 bits per pixel, indexed. 256 color."), 8, 256, true},
    {QT_TRANSLATE_NOOP("vellumo-options", "16 bits RGB565"),
     QT_TRANSLATE_NOOP(
         "vellumo-options",
         "16 bits per pixel; 5 bits are used for the red component, 6 bits are used for the green "
         "component, and 5 bits are used for the blue component."),
     16, 0, false},
    {QT_TRANSLATE_NOOP("vellumo-options", "24 bits RGB"),
     QT_TRANSLATE_NOOP(
         "vellumo-options",
         "24 bits per pixel; 8 bits each are used for the red, green, and blue components."),
     24, 0, false},
    {QT_TRANSLATE_NOOP("vellumo-options", "32 bits ARGB"),
     QT_TRANSLATE_NOOP(
         "vellumo-options",
         "32 bits per pixel; 8 bits each are used for the alpha, red, green, and blue components."),
     32, 0, false},
    {QT_TRANSLATE_NOOP("vellumo-options", "32 bits PARGB"),
     QT_TRANSLATE_NOOP(
         "vellumo-options",
         "32 bits per pixel; 8 bits each are used for the alpha, red, green, and blue components. "
         "The red, green, and blue components are premultiplied according to the alpha component."),
     32, 0, false},
    {QT_TRANSLATE_NOOP("vellumo-options", "32 bits RGB"),
     QT_TRANSLATE_NOOP(
         "vellumo-options",
         "32 bits per pixel; 8 bits each are used for the red, green, and blue components. The "
         "remaining 8 bits are not used."),
     32, 0, false},
    {QT_TRANSLATE_NOOP("vellumo-options", "64 bits ARGB"),
     QT_TRANSLATE_NOOP("vellumo-options",
                       "64 bits per pixel; 16 bits each are used for the alpha, red, green, and "
                       "blue components."),
     64, 0, false},
    {QT_TRANSLATE_NOOP("vellumo-options", "64 bits PARGB"),
     QT_TRANSLATE_NOOP(
         "vellumo-options",
         "64 bits per pixel; 16 bits each are used for the alpha, red, green, and blue components. "
         "The red, green, and blue components are premultiplied according to the alpha component."),
     64, 0, false},
}};

}  // namespace

std::span<const PixelFormatEntry> PixelFormatList() {
    return kEntries;
}

int32_t NormalisedPixelFormatIndex(int32_t index) {
    return (index < 0 || index >= kPixelFormatCount) ? kDefaultPixelFormat : index;
}

const PixelFormatEntry& PixelFormatAt(int32_t index) {
    return kEntries[static_cast<size_t>(NormalisedPixelFormatIndex(index))];
}

}  // namespace vellumo::options
