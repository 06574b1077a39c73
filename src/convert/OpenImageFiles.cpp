#include "convert/OpenImageFiles.h"

#include "base/Utf8Path.h"

namespace vellumo::convert {

imaging::ImageFile OpenImageFiles::Take(const std::string& path, int32_t frame) {
    {
        std::lock_guard lock(mutex_);
        auto best = idle_.end();
        for (auto it = idle_.begin(); it != idle_.end(); ++it) {
            if (it->path != path) {
                continue;
            }
            // A decoder that continues from an earlier frame does the least work; any
            // other of the same path still saves reading the file's structure again.
            const bool before = it->frame <= frame;
            const bool bestBefore = best != idle_.end() && best->frame <= frame;
            if (best == idle_.end() || (before && (!bestBefore || it->frame > best->frame))) {
                best = it;
            }
        }
        if (best != idle_.end()) {
            imaging::ImageFile file = std::move(best->file);
            idle_.erase(best);
            return file;
        }
    }
    return imaging::ImageFile::Open(base::PathFromUtf8(path));  // outside the lock: slow
}

void OpenImageFiles::Give(const std::string& path, int32_t frame, imaging::ImageFile file) {
    if (!file.IsValid()) {
        return;
    }
    std::list<Idle> closing;  // closed after the lock is released
    std::lock_guard lock(mutex_);
    idle_.push_front({path, frame, std::move(file)});
    while (idle_.size() > capacity_) {
        closing.splice(closing.begin(), idle_, std::prev(idle_.end()));
    }
}

void OpenImageFiles::CloseAll() {
    std::list<Idle> closing;
    std::lock_guard lock(mutex_);
    closing.swap(idle_);
}

}  // namespace vellumo::convert
