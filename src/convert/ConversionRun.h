#pragma once
// The conversion run: one pass over a snapshot of the photo list on a worker thread,
// writing one output file (or numbered files for single-image formats). The front end
// owns one ConversionRun for its whole life and routes its Convert/Stop button to
// Convert(); everything the user must see goes through the toolkit passed in, as
// events, ending with RunFinished once the output is closed.

#include <memory>
#include <string>
#include <vector>

#include "convert/RunSettings.h"
#include "photolist/PhotoList.h"
#include "ui/RunSummary.h"
#include "ui/Toolkit.h"

namespace vellumo::convert {

// What a Convert command did.
enum class StartResult {
    Started,        // a worker now runs over the snapshot
    StopRequested,  // a run was active (or starting): it was asked to stop after its photo
    EmptyList,      // nothing to convert; no message (after the log reset and position check)
    Declined,       // the output exists and the user did not answer Yes; nothing changed
    ThreadFailed,   // "can not begin thread!" was shown
};

using ui::RunSummary;

class ConversionRun {
  public:
    explicit ConversionRun(ui::Toolkit& toolkit);
    // Waits for a worker still running or closing its file.
    ~ConversionRun();

    ConversionRun(const ConversionRun&) = delete;
    ConversionRun& operator=(const ConversionRun&) = delete;

    // The Convert command, on the front end's thread. When a run is active or starting it
    // only asks that run to stop. Otherwise: clears the log (LogCleared), checks the
    // caption position against settings.mainRecord (warning and a reset to 0 when out
    // of range), returns EmptyList for an empty list, asks before replacing an existing
    // output (never deletes it: the new file replaces it only when the run ends with a
    // page written), takes a snapshot of the list and starts the worker. RunFinished is
    // reported for a started run only.
    StartResult Convert(const photolist::PhotoList& list, const RunSettings& settings);

    // True from a successful Convert until the worker has closed its output, just before
    // it reports RunFinished.
    bool IsActive() const;
    // Asks the active run to stop after the photo it is on; harmless when idle (a stop
    // asked for before a Convert is forgotten by it). Only sets an atomic flag, so a
    // signal handler may call it.
    void RequestStop();
    // Blocks until the worker (if any) has ended.
    void Wait();
    // The result of the last run (empty before the first one).
    RunSummary Summary() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The command line's entry: Convert, then Wait, and the summary. A run that did not
// start gives a summary with no pages and `started` false.
struct SyncResult {
    StartResult start = StartResult::EmptyList;
    RunSummary summary;
};
SyncResult ConvertAndWait(ui::Toolkit& toolkit, const photolist::PhotoList& list,
                          const RunSettings& settings);

}  // namespace vellumo::convert
