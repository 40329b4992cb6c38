#pragma once
// The simulation slots of one object, in attach order, used like a vector:
// size(), operator[], at(), range-for, emplace_back(). Storage grows in
// steps of 4, 8, 16 and 25 slots, each step a new segment taken from the
// BlockPool: slots already filled never move, so a growing object is never
// copied, and an object with no simulations holds nothing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

#include "model/BlockPool.h"
#include "model/IndexIterator.h"

namespace kov {

template <typename T>
class SimSlots {
    // Slots are copied as bytes and never destroyed one by one.
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

    static constexpr int kSegments = 4;
    static constexpr std::size_t kSegmentStart[kSegments + 1] = {0, 4, 8, 16, 25};

public:
    using value_type = T;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = T&;
    using const_reference = const T&;

    using iterator = IndexIterator<SimSlots, T>;
    using const_iterator = IndexIterator<const SimSlots, const T>;

    static constexpr size_type MaxSlots = kSegmentStart[kSegments];

    SimSlots() noexcept = default;
    SimSlots(const SimSlots& other) {
        try {
            reserve(other.size_);
        } catch (...) {
            clear();
            throw;
        }
        for (int s = 0; s < kSegments && kSegmentStart[s] < other.size_; ++s) {
            const size_type used = std::min(other.size_, kSegmentStart[s + 1]) - kSegmentStart[s];
            std::memcpy(static_cast<void*>(segments_[s]), other.segments_[s], used * sizeof(T));
        }
        size_ = other.size_;
    }
    SimSlots(SimSlots&& other) noexcept { swap(other); }
    SimSlots& operator=(const SimSlots& other) {
        if (this != &other) {
            SimSlots copy(other);
            swap(copy);
        }
        return *this;
    }
    SimSlots& operator=(SimSlots&& other) noexcept {
        SimSlots taken(std::move(other));
        swap(taken);
        return *this;
    }
    ~SimSlots() { clear(); }

    void swap(SimSlots& other) noexcept {
        for (int s = 0; s < kSegments; ++s) std::swap(segments_[s], other.segments_[s]);
        std::swap(size_, other.size_);
    }

    size_type size() const { return size_; }
    bool empty() const { return size_ == 0; }
    static constexpr size_type max_size() { return MaxSlots; }
    size_type capacity() const {
        int s = 0;
        while (s < kSegments && segments_[s] != nullptr) ++s;
        return kSegmentStart[s];
    }

    T& operator[](size_type i) { return *Locate(i); }
    const T& operator[](size_type i) const { return *Locate(i); }
    T& at(size_type i) { return *Locate(Checked(i)); }
    const T& at(size_type i) const { return *Locate(Checked(i)); }
    T& front() { return (*this)[0]; }
    const T& front() const { return (*this)[0]; }
    T& back() { return (*this)[size_ - 1]; }
    const T& back() const { return (*this)[size_ - 1]; }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, static_cast<difference_type>(size_)}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, static_cast<difference_type>(size_)}; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

    // A new last slot, made from the arguments (value-initialised without).
    template <typename... Args>
    T& emplace_back(Args&&... args) {
        if (size_ == MaxSlots)
            throw std::length_error("an object holds at most " + std::to_string(MaxSlots) + " simulation slots");
        reserve(size_ + 1);
        T* slot = ::new (static_cast<void*>(Locate(size_))) T(std::forward<Args>(args)...);
        ++size_;
        return *slot;
    }
    void push_back(const T& value) { emplace_back(value); }

    // Storage for `count` slots: the segments up to the one holding the last.
    void reserve(size_type count) {
        if (count > MaxSlots)
            throw std::length_error("an object holds at most " + std::to_string(MaxSlots) + " simulation slots");
        for (int s = 0; s < kSegments && kSegmentStart[s] < count; ++s)
            if (segments_[s] == nullptr)
                segments_[s] = static_cast<T*>(BlockPool::ForThisThread().Allocate(SegmentBytes(s)));
    }

    // Every slot removed and every segment given back.
    void clear() noexcept {
        for (int s = 0; s < kSegments && segments_[s] != nullptr; ++s) {
            BlockPool::Free(segments_[s], SegmentBytes(s));
            segments_[s] = nullptr;
        }
        size_ = 0;
    }

private:
    static constexpr size_type SegmentBytes(int s) { return (kSegmentStart[s + 1] - kSegmentStart[s]) * sizeof(T); }

    T* Locate(size_type i) const {
        const int s = i < kSegmentStart[2] ? static_cast<int>(i >= kSegmentStart[1]) : (i < kSegmentStart[3] ? 2 : 3);
        return segments_[s] + (i - kSegmentStart[s]);
    }
    size_type Checked(size_type i) const {
        if (i >= size_)
            throw std::out_of_range("simulation slot index " + std::to_string(i) + " is not below " +
                                    std::to_string(size_));
        return i;
    }

    T* segments_[kSegments] = {};
    size_type size_ = 0;
};

}  // namespace kov
