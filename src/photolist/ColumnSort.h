#pragma once
// Sorting the list by a column heading: "File name" (column 0) by file name and
// "Total Frames" (column 2) by modification time text. Keys compare byte by byte, with
// no locale: upper case before lower case, "10.jpg" before "9.jpg", empty first.

#include "photolist/PhotoList.h"

namespace vellumo::photolist {

inline constexpr int kFileNameColumn = 0;
inline constexpr int kModifiedColumn = 2;

bool FileNameAscending(const PhotoEntry& a, const PhotoEntry& b);
bool FileNameDescending(const PhotoEntry& a, const PhotoEntry& b);
bool ModifiedAscending(const PhotoEntry& a, const PhotoEntry& b);
bool ModifiedDescending(const PhotoEntry& a, const PhotoEntry& b);

// Sorts for a click on heading `column`: each click on a sortable column alternates
// ascending and descending through that column's direction flag; other columns leave
// the order alone. Returns whether the list was sorted.
bool SortByColumn(PhotoList& list, int column);

}  // namespace vellumo::photolist
