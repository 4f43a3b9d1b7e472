#pragma once
// An ordered list of object references that owns its items: destroying the list destroys every
// item still in it, while Clear only empties it. A list made with owns = false (the selections)
// never destroys anything.
#include <algorithm>
#include <cassert>
#include <cstddef>
#include <vector>

template <class T> class TObjectList {
public:
    explicit TObjectList(bool owns = true) : mOwns(owns) {}
    ~TObjectList() { DestroyAll(); }
    TObjectList(const TObjectList&) = delete;
    TObjectList& operator=(const TObjectList&) = delete;

    int Count() const { return static_cast<int>(mItems.size()); }
    bool Empty() const { return mItems.empty(); }
    T* operator[](int i) const {
        assert(i >= 0 && i < Count());
        return mItems[static_cast<std::size_t>(i)];
    }
    T* First() const { return mItems.empty() ? nullptr : mItems.front(); }
    T* Last() const { return mItems.empty() ? nullptr : mItems.back(); }

    // Appends an item and returns its position.
    int Add(T* item) {
        mItems.push_back(item);
        return Count() - 1;
    }
    void Insert(int i, T* item) { mItems.insert(mItems.begin() + i, item); }
    // Position of the item, or -1.
    int IndexOf(const T* item) const {
        auto it = std::find(mItems.begin(), mItems.end(), item);
        return it == mItems.end() ? -1 : static_cast<int>(it - mItems.begin());
    }
    bool Contains(const T* item) const { return IndexOf(item) >= 0; }
    // Takes the first occurrence out of the list without destroying it; returns its position or -1.
    int Remove(const T* item) {
        int i = IndexOf(item);
        if (i >= 0) mItems.erase(mItems.begin() + i);
        return i;
    }
    // Takes the item at position i out of the list without destroying it.
    T* Extract(int i) {
        T* item = (*this)[i];
        mItems.erase(mItems.begin() + i);
        return item;
    }
    // Empties the list without destroying anything.
    void Clear() { mItems.clear(); }
    // Destroys every item (when the list owns them) and empties the list.
    void DestroyAll() {
        if (mOwns)
            for (T* item : mItems) delete item;
        mItems.clear();
    }
    bool OwnsItems() const { return mOwns; }
    // Exchanges the items of two lists (ownership flags stay with the lists).
    void Swap(TObjectList& other) { mItems.swap(other.mItems); }

    auto begin() const { return mItems.begin(); }
    auto end() const { return mItems.end(); }

private:
    std::vector<T*> mItems;
    bool mOwns;
};
