#pragma once
// Everything a conversion run reads besides the photo list, taken as one value when
// Convert is pressed, so that later edits in the front end cannot race with the worker
// and the worker never asks the front end for anything.

#include <string>

#include "imaging/TiffWriteOptions.h"
#include "options/CaptionFont.h"
#include "options/OutputPhotoFormat.h"

namespace vellumo::convert {

// The caption drawn on every page, as the front end's boxes held it at Convert. An
// empty text draws none. The positions are the boxes' texts, read by ParseBoxInteger.
struct CaptionSettings {
    std::string text;
    std::string positionX = "0";
    std::string positionY = "0";
    options::CaptionFont font;
    options::ColorRef color = 0;
};

// What pages record besides their pixels, and in which colours the pixels are.
enum class ColourMode {
    Srgb,  // converted from the photo's profile to sRGB; the page carries sRGB's profile
    Keep,  // left as decoded; the page carries the photo's profile
};
struct MetadataSettings {
    ColourMode colour = ColourMode::Srgb;
    bool keepGps = false;  // also copy where the photo was taken
    bool strip = false;    // nothing beyond the file's structure and the resolution
};

struct RunSettings {
    // The output file; with BMP, JPG or PNG and more than one page, the pages go to
    // numbered files beside it (album-1.jpg, album-2.jpg, ...; album-01.jpg from ten pages).
    std::string outputFilePath;
    // The front end's current options record (m_outputPhotoFormat); the caption position
    // is checked against its nOutputWidth / nOutputHeight before a run.
    options::OutputPhotoFormat mainRecord;
    CaptionSettings caption;
    // Compression and quality of TIFF pages; the run sets the thread count itself, and
    // BigTIFF when the pages could pass 4 GiB (or when bigTiff is set already).
    imaging::TiffWriteOptions tiff;
    // The pages of the existing TIFF at outputFilePath come first, copied as they are;
    // the new file replaces it only when complete. No replace question is asked.
    bool append = false;
    // Turn each photo upright from its EXIF orientation before the entry's rotate/flip.
    bool autoOrient = false;
    MetadataSettings metadata;
    // The activity log file ("Brindle.log" in the output folder resolved at start-up);
    // empty: lines go to the front end only.
    std::string logFilePath;
    // Threads for the whole run (decoding ahead, scaling, compressing); 0 uses every
    // core. Output is the same for every value.
    int threads = 0;
};

// The threads a run with `settings.threads` uses: that number, or the core count.
int RunThreads(int requested);

}  // namespace vellumo::convert
