#pragma once
// Corps and regiments are deleted by moving the last record into the hole, so an index held
// across an operation that can delete (a dialog's corps, the computer's marching corps, a
// transfer's target) may come to name another record. Holders register here and are told of
// every deletion: the deleted index, and which index (if any) now lives in its place.

#include <algorithm>
#include <vector>

namespace vezer {

enum class RecordKind { Corps, Regiment };

class IndexWatcher {
public:
    virtual ~IndexWatcher() = default;
    // Record `removed` of `side` is gone; when `movedFrom` > 0, the record that was at
    // `movedFrom` (the side's last) is now at `removed`.
    virtual void RecordRemoved(RecordKind kind, int side, int removed, int movedFrom) = 0;
};

class IndexWatchList {
public:
    void Add(IndexWatcher* watcher) { watchers_.push_back(watcher); }
    void Remove(IndexWatcher* watcher) {
        watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), watcher), watchers_.end());
    }
    void Notify(RecordKind kind, int side, int removed, int movedFrom) const {
        // A watcher may unregister another while it is told; tell the ones registered now.
        std::vector<IndexWatcher*> now = watchers_;
        for (IndexWatcher* w : now)
            if (std::find(watchers_.begin(), watchers_.end(), w) != watchers_.end())
                w->RecordRemoved(kind, side, removed, movedFrom);
    }
    std::size_t Size() const { return watchers_.size(); }

private:
    std::vector<IndexWatcher*> watchers_;
};

// An index that follows its record through deletions: 0 once the record is gone.
class HeldIndex : public IndexWatcher {
public:
    HeldIndex(IndexWatchList& list, RecordKind kind, int side, int index)
        : list_(list), kind_(kind), side_(side), index_(index) {
        list_.Add(this);
    }
    ~HeldIndex() override { list_.Remove(this); }
    HeldIndex(const HeldIndex&) = delete;
    HeldIndex& operator=(const HeldIndex&) = delete;

    int get() const { return index_; }
    int side() const { return side_; }
    bool gone() const { return index_ == 0; }

    void RecordRemoved(RecordKind kind, int side, int removed, int movedFrom) override {
        if (kind != kind_ || side != side_ || index_ == 0) return;
        if (index_ == removed) index_ = 0;
        else if (movedFrom > 0 && index_ == movedFrom) index_ = removed;
    }

private:
    IndexWatchList& list_;
    RecordKind kind_;
    int side_;
    int index_;
};

} // namespace vezer
