// A stack on the heap for the matcher's backtracking state, bounded by a memory budget.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

namespace tintmark::regex {

// Bytes the stacks of one run may hold together (their capacities, not only what is in use).
struct MemoryBudget {
    size_t limit = 0;
    size_t used = 0;
};

// A stack kept in a vector that outlives the run, so that once it has grown a run allocates
// nothing. Pushing and popping work on raw pointers; the vector only provides the storage,
// taken on the first push (a run that pushes nothing does not touch it).
template <class T>
class HeapStack {
public:
    HeapStack(std::vector<T>& store, MemoryBudget& budget) : store_(store), budget_(budget) {}
    // A store that grew large is given back rather than kept for the next run.
    ~HeapStack() {
        if (store_.size() * sizeof(T) > kKeptBytes) std::vector<T>().swap(store_);
    }
    HeapStack(const HeapStack&) = delete;
    HeapStack& operator=(const HeapStack&) = delete;

    bool Full() const { return top_ == cap_; }
    bool Empty() const { return top_ == base_; }
    size_t Size() const { return static_cast<size_t>(top_ - base_); }
    // Only when not Full.
    void Push(const T& item) { *top_++ = item; }
    // Only when not Empty.
    T& Pop() { return *--top_; }

    // Takes the kept storage, or doubles it, within the budget; false when the budget (or
    // memory) is exhausted.
    bool Grow() {
        if (!base_) {
            // A kept store larger than the budget is dropped.
            if (budget_.used + store_.size() * sizeof(T) > budget_.limit) std::vector<T>().swap(store_);
            budget_.used += store_.size() * sizeof(T);
            Attach(0);
            if (!Full()) return true;
        }
        const size_t used = Size();
        const size_t have = store_.size();
        const size_t want = std::max<size_t>(have * 2, 256);
        const size_t room = budget_.limit > budget_.used ? (budget_.limit - budget_.used) / sizeof(T) : 0;
        const size_t grown = std::min(want, have + room);
        if (grown <= have) return false;
        try {
            store_.resize(grown);
        } catch (const std::bad_alloc&) {
            return false;
        }
        budget_.used += (grown - have) * sizeof(T);
        Attach(used);
        return true;
    }

private:
    static constexpr size_t kKeptBytes = 64 * 1024;

    void Attach(size_t used) {
        base_ = store_.data();
        top_ = base_ + used;
        cap_ = base_ + store_.size();
    }

    std::vector<T>& store_;
    MemoryBudget& budget_;
    T* base_ = nullptr;
    T* top_ = nullptr;
    T* cap_ = nullptr;
};

}  // namespace tintmark::regex
