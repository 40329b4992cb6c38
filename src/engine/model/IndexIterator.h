#pragma once
// A random-access iterator for the model's containers whose entries are
// stored in blocks rather than one array: it holds the container and an
// index, and reads the entry through the container's operator[].

#include <compare>
#include <cstddef>
#include <iterator>
#include <type_traits>
#include <utility>

namespace kov {

template <typename Owner, typename Value>
class IndexIterator {
public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::remove_const_t<Value>;
    using difference_type = std::ptrdiff_t;
    using pointer = Value*;
    using reference = Value&;

    IndexIterator() = default;
    IndexIterator(Owner* owner, difference_type index) : owner_(owner), index_(index) {}
    // As a vector's iterator becomes its const_iterator.
    operator IndexIterator<const Owner, const Value>() const  // NOLINT: implicit on purpose
        requires(!std::is_const_v<Value>) {
        return {owner_, index_};
    }

    reference operator*() const { return (*owner_)[static_cast<std::size_t>(index_)]; }
    pointer operator->() const { return &**this; }
    reference operator[](difference_type n) const { return *(*this + n); }

    IndexIterator& operator++() { return *this += 1; }
    IndexIterator& operator--() { return *this -= 1; }
    IndexIterator operator++(int) { return std::exchange(*this, *this + 1); }
    IndexIterator operator--(int) { return std::exchange(*this, *this - 1); }
    IndexIterator& operator+=(difference_type n) {
        index_ += n;
        return *this;
    }
    IndexIterator& operator-=(difference_type n) { return *this += -n; }
    friend IndexIterator operator+(IndexIterator it, difference_type n) { return it += n; }
    friend IndexIterator operator+(difference_type n, IndexIterator it) { return it += n; }
    friend IndexIterator operator-(IndexIterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const IndexIterator& a, const IndexIterator& b) { return a.index_ - b.index_; }
    friend bool operator==(const IndexIterator& a, const IndexIterator& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const IndexIterator& a, const IndexIterator& b) { return a.index_ <=> b.index_; }

private:
    Owner* owner_ = nullptr;
    difference_type index_ = 0;
};

}  // namespace kov
