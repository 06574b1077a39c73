#pragma once
// Windows metafiles turned into SVG documents by maintained libraries: EMF by
// libemf2svg (EmfSvg.cpp), WMF by libwmf's SVG player (WmfSvg.cpp). Each returns an
// empty document with `error` set when the library refuses the file. No Qt here: libwmf's
// headers define macros that clash with Qt's.

#include <cstdint>
#include <span>
#include <string>

namespace vellumo::imaging {

std::string EmfToSvg(std::span<const uint8_t> emf, std::string& error);

struct DrawingSize {
    int width = 0;
    int height = 0;
};

// `size` receives the drawing's size at 96 dpi as libwmf measures it.
std::string WmfToSvg(std::span<const uint8_t> wmf, DrawingSize& size, std::string& error);

}  // namespace vellumo::imaging
