#pragma once
// What a conversion run did, as the engine reports it when the run ends.

#include <string>
#include <vector>

namespace vellumo::ui {

struct RunSummary {
    int pageTotal = 0;                     // entries of the run
    int pagesWritten = 0;                  // pages that reached an output file
    int photosFailed = 0;                  // entries that ended early or whose page was not written
    bool stopped = false;                  // Stop was asked for before the last entry
    bool outputFailed = false;             // the output could not be put in place at the end
    std::vector<std::string> outputFiles;  // files the run wrote, in order
};

}  // namespace vellumo::ui
