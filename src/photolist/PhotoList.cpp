#include "photolist/PhotoList.h"

#include <algorithm>

namespace vellumo::photolist {

std::string FileNameOfPath(const std::string& path) {
    if ((path.size() > 3 && path[3] == ':') || (path.size() > 4 && path[4] == ':')) {
        return path;
    }
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

void PhotoList::append(const PhotoEntry& entry) {
    entries_.push_back(entry);
    ++photoCount;
}

void PhotoList::eraseAt(int32_t index) {
    if (index >= 0 && static_cast<size_t>(index) < entries_.size()) {
        entries_.erase(entries_.begin() + index);
    }
    photoCount = static_cast<int32_t>(entries_.size());
}

void PhotoList::swapWithNext(int32_t k) {
    if (k < 0 || static_cast<size_t>(k) + 1 >= entries_.size()) {
        return;
    }
    std::swap(entries_[static_cast<size_t>(k)], entries_[static_cast<size_t>(k) + 1]);
}

void PhotoList::clear() {
    std::vector<PhotoEntry>().swap(entries_);
    photoCount = 0;
}

void PhotoList::sort(const Less& less) {
    std::stable_sort(entries_.begin(), entries_.end(), less);
}

}  // namespace vellumo::photolist
