#pragma once
// The manifest of the shared test corpora (MANIFEST.tsv: suite, path, format, bytes,
// expect, ...) and what the tests expect of its files.

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

}  // namespace vellumo::test
