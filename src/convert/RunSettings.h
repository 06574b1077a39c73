#pragma once
// Everything a conversion run reads besides the photo list, taken as one value when the
// run starts so that later edits in the front end cannot race with the worker.

#include <string>

#include "options/CaptionFont.h"
#include "options/OutputPhotoFormat.h"

namespace vellumo::convert {

// Compression of TIFF pages; LZW (with the horizontal predictor) unless asked otherwise.
enum class TiffCompression { Lzw, None, Deflate, PackBits, Jpeg };

struct RunSettings {
    // The output file; with BMP, JPG or PNG and more than one page, the pages go to
    // numbered files beside it (album-1.jpg, album-2.jpg, ...; album-01.jpg from ten pages).
    std::string outputFilePath;
    // The front end's current options record (m_outputPhotoFormat); the caption position
    // boxes are checked against its nOutputWidth / nOutputHeight before a run.
    options::OutputPhotoFormat mainRecord;
    // The caption's font and colour (the caption text and position come from the
    // toolkit's boxes, read for each photo).
    options::CaptionFont captionFont;
    options::ColorRef captionColor = 0;
    TiffCompression tiffCompression = TiffCompression::Lzw;
    int tiffJpegQuality = 75;  // 1 to 100, only for TiffCompression::Jpeg
    // Turn each photo upright from its EXIF orientation before the entry's rotate/flip.
    bool autoOrient = false;
    // The activity log file ("Brindle.log" in the output folder resolved at start-up);
    // empty: lines go to the on-screen list only.
    std::string logFilePath;
    // Worker threads for decoding ahead and compressing; 0 uses every core. Output is the
    // same for every value.
    int threads = 0;
};

}  // namespace vellumo::convert
