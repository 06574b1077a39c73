#pragma once
// The manifest of the shared test corpora (MANIFEST.tsv: suite, path, format, bytes,
// expect, ...) and what the tests expect of its files.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace vellumo::test {

struct CorpusFile {
    std::string suite;
    std::string path;    // within the suite's folder
    std::string format;  // "JPEG", "PNG", ...
    std::string expect;  // "valid", "malformed", "questionable", "exotic", "reference"

    std::string name() const { return suite + "/" + path; }
};

// Every row of the manifest in its order; empty when the file cannot be read.
inline std::vector<CorpusFile> ReadCorpusManifest(const std::filesystem::path& manifest) {
    std::vector<CorpusFile> files;
    std::ifstream in(manifest);
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::stringstream row(line);
        CorpusFile f;
        std::string bytes;
        std::getline(row, f.suite, '\t');
        std::getline(row, f.path, '\t');
        std::getline(row, f.format, '\t');
        std::getline(row, bytes, '\t');
        std::getline(row, f.expect, '\t');
        files.push_back(f);
    }
    return files;
}

// Formats every valid file of which must be read and drawn.
inline bool IsOurFormat(const std::string& format) {
    static const std::set<std::string> ours = {"JPEG", "PNG", "GIF", "TIFF", "BMP", "ICO"};
    return ours.count(format) > 0;
}

// Well-formed files refused on purpose: GIFs without any image (no blank page is
// invented) and fax pages whose coding libtiff itself reports as broken.
inline const std::set<std::string>& RefusedByChoice() {
    static const std::set<std::string> refused = {
        "gif-conformance/no-data.gif",
        "gif-conformance/image-zero-width.gif",
        "gif-conformance/image-zero-height.gif",
        "gif-conformance/image-zero-size.gif",
        "libtiff/test-images/testfax3_bug54_1dnoEOL.tif",
        "libtiff/test-images/testfax3_bug_513.tiff",
    };
    return refused;
}

// A valid file of a format we read that is not refused on purpose.
inline bool MustBeDrawn(const CorpusFile& f) {
    return f.expect == "valid" && IsOurFormat(f.format) && RefusedByChoice().count(f.name()) == 0;
}

// A row of the "modern" corpus's own manifest (path, format, bytes, width, height,
// frames, expect, origin, decoder, decode_result, ...): files of the newer formats with
// an independent decoder's result for each.
struct ModernFile {
    std::string path;  // "heif/x.heic": the folder names the format family
    std::string format, expect, decodeResult;
    int width = 0, height = 0, frames = 0;

    std::string family() const { return path.substr(0, path.find('/')); }
};

inline std::vector<ModernFile> ReadModernManifest(const std::filesystem::path& manifest) {
    std::vector<ModernFile> files;
    std::ifstream in(manifest);
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream row(line);
        for (std::string cell; std::getline(row, cell, '\t');) {
            cells.push_back(cell);
        }
        if (cells.size() < 10) {
            continue;
        }
        ModernFile f{cells[0], cells[1], cells[6], cells[9]};
        f.width = std::atoi(cells[3].c_str());
        f.height = std::atoi(cells[4].c_str());
        f.frames = std::atoi(cells[5].c_str());
        files.push_back(f);
    }
    return files;
}

// A valid file of a family we read that the independent decoder read too.
inline bool ModernMustRead(const ModernFile& f) {
    static const std::set<std::string> ours = {"heif", "avif", "jxl", "raw", "jp2", "psd",
                                               "tga",  "webp", "svg", "emf", "wmf", "tiff-float"};
    return f.expect == "valid" && ours.count(f.family()) > 0 &&
           f.decodeResult.find("ok") != std::string::npos;
}

}  // namespace vellumo::test
