// A growing text of 16-bit units, as the ISO C expansion builds its
// arguments and replacements: mostly short runs appended at the end, many
// times an expansion. An append is a copy into room already there; the
// library's vector spends several times as much on its general insert.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstring>
#include <memory>

#include "common/wstr.h"

class unit_text {
   public:
    unit_text() = default;
    unit_text(const unit_text&) = delete;
    unit_text& operator=(const unit_text&) = delete;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    wchar* data() { return units_.get(); }
    const wchar* data() const { return units_.get(); }
    wchar& operator[](std::size_t i) {
        assert(i < size_);
        return units_[i];
    }
    wchar operator[](std::size_t i) const {
        assert(i < size_);
        return units_[i];
    }
    wchar& back() { return (*this)[size_ - 1]; }
    wchar back() const { return (*this)[size_ - 1]; }

    void clear() { size_ = 0; }
    void pop_back() {
        assert(size_ != 0);
        --size_;
    }
    void push_back(wchar u) {
        if (size_ == capacity_) grow(1);
        units_[size_++] = u;
    }
    // Appends the units from p up to q.
    void append(const wchar* p, const wchar* q) {
        const auto n = static_cast<std::size_t>(q - p);
        if (capacity_ - size_ < n) grow(n);
        if (n != 0) std::memcpy(units_.get() + size_, p, n * sizeof(wchar));
        size_ += n;
    }
    // Appends n copies of u.
    void append(std::size_t n, wchar u) {
        if (capacity_ - size_ < n) grow(n);
        for (std::size_t i = 0; i < n; ++i) units_[size_ + i] = u;
        size_ += n;
    }
    void assign(const wchar* p, const wchar* q) {
        size_ = 0;
        append(p, q);
    }
    // Puts u before the unit at `at` (at most size()).
    void insert(std::size_t at, wchar u) {
        assert(at <= size_);
        if (size_ == capacity_) grow(1);
        wchar* p = units_.get() + at;
        std::memmove(p + 1, p, (size_ - at) * sizeof(wchar));
        *p = u;
        ++size_;
    }
    // Takes out the unit at `at`.
    void erase(std::size_t at) {
        assert(at < size_);
        wchar* p = units_.get() + at;
        std::memmove(p, p + 1, (size_ - at - 1) * sizeof(wchar));
        --size_;
    }

   private:
    // Room for `more` units past the end, at least doubling.
    void grow(std::size_t more) {
        std::size_t capacity = capacity_ < 32 ? 64 : 2 * capacity_;
        if (capacity - size_ < more) capacity = size_ + more;
        auto units = std::make_unique_for_overwrite<wchar[]>(capacity);
        if (size_ != 0) std::memcpy(units.get(), units_.get(), size_ * sizeof(wchar));
        units_ = std::move(units);
        capacity_ = capacity;
    }

    std::unique_ptr<wchar[]> units_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
