#pragma once
// The body of a conversion run, on the worker thread: every entry of the snapshot in list
// order through the pipeline and the save step, pages made ahead on helper threads,
// Stop honoured between photos, outputs put in place at the end.

#include <atomic>

#include "convert/OutputEncoders.h"
#include "convert/RunSettings.h"
#include "photolist/PhotoList.h"
#include "ui/RunSummary.h"
#include "ui/Toolkit.h"

namespace vellumo::convert {

// Runs to the end of the list or until `stop` is set; never throws. Reports progress,
// log lines and messages; the caller reports the run's end.
ui::RunSummary ExecuteRun(ui::Toolkit& toolkit, OutputEncoders& writers,
                          photolist::PhotoList& snapshot, const RunSettings& settings,
                          const std::atomic<bool>& stop);

// Helper threads that make pages ahead for a run of `threads` (from RunThreads): one
// fewer than the threads, at most 3.
int PrefetchHelpersFor(int threads);

}  // namespace vellumo::convert
