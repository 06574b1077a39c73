#pragma once
// Turning the command line's inputs into the photo list: files are added in order (one
// entry per frame), folders are searched when asked to, and the list is sorted last.

#include <cstdio>
#include <string>

#include "cli/CliOptions.h"
#include "photolist/PhotoList.h"
#include "ui/Toolkit.h"

namespace vellumo::cli {

struct CollectResult {
    photolist::PhotoList list;
    int inputsFailed = 0;    // inputs that gave no entry (missing, unreadable, not images)
    std::string usageError;  // set when an input cannot be used at all (a folder without -r)
};

// Adds the inputs of `options` with its options record. Engine messages go to
// `toolkit`; inputs that give no photo are named on `err`.
CollectResult CollectPhotos(const CliOptions& options, ui::Toolkit& toolkit, std::FILE* err);

// Applies a --sort order to the list as a click on the column heading would.
void ApplySortOrder(photolist::PhotoList& list, SortOrder order);

}  // namespace vellumo::cli
