#include <emf2svg.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "imaging/MetafileRecords.h"
#include "imaging/MetafileSvg.h"

// libemf2svg finalises fontconfig (FcFini) after it has looked up the font of a text
// record. In this process Qt holds fontconfig's caches for its own text: finalising
// them under it aborts on fontconfig's own check, or leaves Qt with freed memory.
// Nothing here needs fontconfig finalised, so the call is answered by this no-op,
// which the dynamic linker finds before the library's.
extern "C" void FcFini() {}

namespace vellumo::imaging {

std::string EmfToSvg(std::span<const uint8_t> emf, std::string& error) {
    if (!EmfRecordsFit(emf)) {
        error = "the EMF drawing is damaged or unsupported";
        return {};
    }
    // The library takes a mutable buffer; give it a copy rather than cast away const.
    std::vector<char> contents(emf.begin(), emf.end());
    generatorOptions options{};
    options.nameSpace = nullptr;  // plain <svg> elements, which Qt SVG reads
    options.svgDelimiter = true;
    options.emfplus = true;
    char* out = nullptr;
    size_t length = 0;
    const int ok = emf2svg(contents.data(), contents.size(), &out, &length, &options);
    const std::unique_ptr<char, decltype(&std::free)> owned(out, &std::free);
    if (ok != 1 || out == nullptr || length == 0) {
        error = "the EMF drawing is damaged or unsupported";
        return {};
    }
    return std::string(out, length);
}

}  // namespace vellumo::imaging
