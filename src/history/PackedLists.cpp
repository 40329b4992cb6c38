#include "history/PackedLists.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kov {

namespace {

// Writes into room made beforehand: a report's objects are packed on the
// storing thread, which every report waits for.
class Writer {
public:
    Writer(std::string& text, std::size_t most) : text_(text) {
        text_.resize(most);
        at_ = text_.data();
    }
    ~Writer() { text_.resize(static_cast<std::size_t>(at_ - text_.data())); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Put(char c) { *at_++ = c; }

    template <typename Number>
    void Put(Number value) {
        at_ = std::to_chars(at_, at_ + std::numeric_limits<Number>::digits10 + 2, value).ptr;
    }

private:
    std::string& text_;
    char* at_;
};

constexpr std::size_t IdWidth = std::numeric_limits<std::int64_t>::digits10 + 2;
constexpr std::size_t CountWidth = std::numeric_limits<std::int32_t>::digits10 + 2;

class Cursor {
public:
    explicit Cursor(std::string_view text) : at_(text.data()), end_(text.data() + text.size()) {}

    bool AtEnd() const { return at_ == end_; }

    bool Take(char wanted) {
        if (at_ == end_ || *at_ != wanted) return false;
        ++at_;
        return true;
    }

    // A whole number that fits, and nothing else: no sign but minus, no
    // fraction, no exponent (those stop the number short of its comma).
    template <typename Number>
    bool Take(Number& value) {
        const auto [next, error] = std::from_chars(at_, end_, value);
        at_ = next;
        return error == std::errc();
    }

private:
    const char* at_;
    const char* end_;
};

// "[" element ("," element)* "]" or "[]", each element read by `take`.
template <typename TakeElement>
bool UnpackList(std::string_view text, TakeElement take) {
    Cursor cursor(text);
    if (!cursor.Take('[')) return false;
    if (cursor.Take(']')) return cursor.AtEnd();
    do {
        if (!take(cursor)) return false;
    } while (cursor.Take(','));
    return cursor.Take(']') && cursor.AtEnd();
}

}  // namespace

void PackObjects(const std::vector<PackedObject>& objects, std::string& text) {
    Writer out(text, 2 + objects.size() * (IdWidth + 2 * CountWidth + 5));
    out.Put('[');
    for (std::size_t o = 0; o < objects.size(); ++o) {
        if (o > 0) out.Put(',');
        out.Put('[');
        out.Put(objects[o].Id);
        out.Put(',');
        out.Put(objects[o].GetPages);
        out.Put(',');
        out.Put(objects[o].SyncReadIOs);
        out.Put(']');
    }
    out.Put(']');
}

bool UnpackObjects(std::string_view text, std::vector<PackedObject>& objects) {
    objects.clear();
    return UnpackList(text, [&objects](Cursor& cursor) {
        PackedObject& object = objects.emplace_back();
        return cursor.Take('[') && cursor.Take(object.Id) && cursor.Take(',') && cursor.Take(object.GetPages) &&
               cursor.Take(',') && cursor.Take(object.SyncReadIOs) && cursor.Take(']');
    });
}

void PackIds(const std::vector<std::int64_t>& ids, std::string& text) {
    Writer out(text, 2 + ids.size() * (IdWidth + 1));
    out.Put('[');
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i > 0) out.Put(',');
        out.Put(ids[i]);
    }
    out.Put(']');
}

bool UnpackIds(std::string_view text, std::vector<std::int64_t>& ids) {
    ids.clear();
    return UnpackList(text, [&ids](Cursor& cursor) { return cursor.Take(ids.emplace_back()); });
}

std::int32_t CountFromRate(double perSecond, std::int32_t seconds) {
    const double count = std::nearbyint(perSecond * seconds);
    if (seconds <= 0 || !(std::fabs(count) <= std::numeric_limits<std::int32_t>::max())) return 0;
    return static_cast<std::int32_t>(count);
}

}  // namespace kov
