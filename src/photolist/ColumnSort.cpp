#include "photolist/ColumnSort.h"

namespace vellumo::photolist {

// std::string compares through char_traits<char>, which orders bytes as unsigned
// values: exactly the code-value order the sort wants.
bool FileNameAscending(const PhotoEntry& a, const PhotoEntry& b) {
    return a.fileName < b.fileName;
}
bool FileNameDescending(const PhotoEntry& a, const PhotoEntry& b) {
    return a.fileName > b.fileName;
}
bool ModifiedAscending(const PhotoEntry& a, const PhotoEntry& b) {
    return a.modifiedText < b.modifiedText;
}
bool ModifiedDescending(const PhotoEntry& a, const PhotoEntry& b) {
    return a.modifiedText > b.modifiedText;
}

bool SortByColumn(PhotoList& list, int column) {
    if (column == kFileNameColumn) {
        list.sort(list.fileNameSortToggle ? FileNameDescending : FileNameAscending);
        list.fileNameSortToggle = !list.fileNameSortToggle;
        return true;
    }
    if (column == kModifiedColumn) {
        list.sort(list.modifiedSortToggle ? ModifiedDescending : ModifiedAscending);
        list.modifiedSortToggle = !list.modifiedSortToggle;
        return true;
    }
    return false;
}

}  // namespace vellumo::photolist
