// A short list of mesh indices (a polygon's corners or edges, the edges at a
// vertex) that keeps up to Inline of them inside itself. A large mesh holds
// millions of such lists, nearly all short: a heap block for each would dominate
// the mesh's memory and the time it takes to copy and free it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <vector>

template <int Inline>
class IndexList {
public:
    using value_type = int;
    using size_type = std::size_t;
    using reference = int&;
    using const_reference = const int&;
    using iterator = int*;
    using const_iterator = const int*;

    IndexList() = default;
    explicit IndexList(size_type n, int value = 0) { assign(n, value); }
    IndexList(const IndexList& from) { assign(from.begin(), from.end()); }
    IndexList(IndexList&& from) noexcept { Take(from); }
    IndexList& operator=(const IndexList& from) {
        if (this != &from)
            assign(from.begin(), from.end());
        return *this;
    }
    IndexList& operator=(IndexList&& from) noexcept {
        if (this != &from) {
            Release();
            Take(from);
        }
        return *this;
    }
    IndexList& operator=(const std::vector<int>& from) {
        assign(from.begin(), from.end());
        return *this;
    }
    ~IndexList() { Release(); }

    size_type size() const { return static_cast<size_type>(count); }
    bool empty() const { return count == 0; }
    size_type capacity() const { return static_cast<size_type>(room); }
    int* data() { return OnHeap() ? store.heap : store.local; }
    const int* data() const { return OnHeap() ? store.heap : store.local; }
    iterator begin() { return data(); }
    iterator end() { return data() + count; }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + count; }
    int& operator[](size_type i) { return data()[i]; }
    const int& operator[](size_type i) const { return data()[i]; }
    int& front() { return data()[0]; }
    const int& front() const { return data()[0]; }
    int& back() { return data()[count - 1]; }
    const int& back() const { return data()[count - 1]; }

    void reserve(size_type n) {
        if (n > capacity())
            Grow(n);
    }
    void clear() { count = 0; }
    void push_back(int value) {
        if (size() == capacity())
            Grow(capacity() * 2);
        data()[count++] = value;
    }
    void emplace_back(int value) { push_back(value); }
    void pop_back() { --count; }
    void resize(size_type n, int value = 0) {
        reserve(n);
        for (size_type i = size(); i < n; ++i) data()[i] = value;
        count = static_cast<int>(n);
    }
    void assign(size_type n, int value) {
        clear();
        resize(n, value);
    }
    template <class It, class = typename std::iterator_traits<It>::iterator_category>
    void assign(It first, It last) {
        const size_type n = static_cast<size_type>(std::distance(first, last));
        // A range within this list is no longer than it, so it is never freed here,
        // and it starts at or after data(): the forward copy is safe.
        if (n > capacity()) {
            int* bigger = new int[n];
            if (OnHeap())
                delete[] store.heap;
            store.heap = bigger;
            room = static_cast<int>(n);
        }
        std::copy(first, last, data());
        count = static_cast<int>(n);
    }
    iterator insert(const_iterator pos, int value) {
        const size_type at = static_cast<size_type>(pos - begin());
        if (size() == capacity())
            Grow(capacity() * 2);
        int* start = data() + at;
        std::move_backward(start, end(), end() + 1);
        *start = value;
        ++count;
        return start;
    }
    template <class It, class = typename std::iterator_traits<It>::iterator_category>
    iterator insert(const_iterator pos, It first, It last) {
        const size_type at = static_cast<size_type>(pos - begin());
        // Copied aside first: the range may lie in this list, which may move.
        std::vector<int> values(first, last);
        reserve(size() + values.size());
        int* start = data() + at;
        std::move_backward(start, end(), end() + values.size());
        std::copy(values.begin(), values.end(), start);
        count += static_cast<int>(values.size());
        return start;
    }
    iterator erase(const_iterator pos) { return erase(pos, pos + 1); }
    iterator erase(const_iterator first, const_iterator last) {
        int* from = begin() + (first - begin());
        int* to = begin() + (last - begin());
        std::move(to, end(), from);
        count -= static_cast<int>(to - from);
        return from;
    }
    void swap(IndexList& other) noexcept {
        IndexList held(std::move(other));
        other = std::move(*this);
        *this = std::move(held);
    }

    friend bool operator==(const IndexList& a, const IndexList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator!=(const IndexList& a, const IndexList& b) { return !(a == b); }
    friend bool operator==(const IndexList& a, const std::vector<int>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const std::vector<int>& a, const IndexList& b) { return b == a; }
    friend bool operator!=(const IndexList& a, const std::vector<int>& b) { return !(a == b); }
    friend bool operator!=(const std::vector<int>& a, const IndexList& b) { return !(b == a); }

private:
    static_assert(Inline * sizeof(int) >= sizeof(int*), "the values inside must cover a pointer");

    bool OnHeap() const { return room > Inline; }
    void Grow(size_type n) {
        n = std::max<size_type>(n, 2 * Inline);
        int* bigger = new int[n];
        std::copy(begin(), end(), bigger);
        if (OnHeap())
            delete[] store.heap;
        store.heap = bigger;
        room = static_cast<int>(n);
    }
    void Release() {
        if (OnHeap())
            delete[] store.heap;
        room = Inline;
        count = 0;
    }
    // Takes from's values, leaving it empty; this list must hold no heap block.
    void Take(IndexList& from) {
        count = from.count;
        if (from.OnHeap()) {
            store.heap = from.store.heap;
            room = from.room;
            from.room = Inline;
        } else {
            std::memcpy(store.local, from.store.local, sizeof(store.local));
        }
        from.count = 0;
    }

    int count = 0;
    int room = Inline;  // more than Inline once the values live on the heap
    union Store {
        int local[Inline];
        int* heap;
    } store{};
};
