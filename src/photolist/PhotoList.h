#pragma once
// The ordered list of photo entries; the order is the page order of the output.

#include <cstdint>
#include <functional>
#include <vector>

#include "photolist/PhotoEntry.h"

namespace vellumo::photolist {

class PhotoList {
  public:
    using Less = std::function<bool(const PhotoEntry&, const PhotoEntry&)>;

    // Adds a copy at the end; photoCount grows by one.
    void append(const PhotoEntry& entry);
    // Removes the entry at `index`; an index at or past the end changes nothing.
    void eraseAt(int32_t index);
    // Exchanges the entries at k and k + 1; out-of-range indexes change nothing.
    void swapWithNext(int32_t k);
    // Destroys all entries and releases the storage.
    void clear();
    // Reorders the entries with `less`; entries with equal keys keep their order.
    void sort(const Less& less);

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    PhotoEntry& operator[](size_t i) { return entries_[i]; }
    const PhotoEntry& operator[](size_t i) const { return entries_[i]; }
    std::vector<PhotoEntry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<PhotoEntry>::const_iterator end() const { return entries_.end(); }
    std::vector<PhotoEntry>::iterator begin() { return entries_.begin(); }
    std::vector<PhotoEntry>::iterator end() { return entries_.end(); }

    // The count every list command tests; equals size() after every operation above.
    int32_t photoCount = 0;
    // Next direction of the two sortable columns: false sorts ascending next.
    bool fileNameSortToggle = false;
    bool modifiedSortToggle = false;

  private:
    std::vector<PhotoEntry> entries_;
};

}  // namespace vellumo::photolist
