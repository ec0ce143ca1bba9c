// Tab: the host's ordered table. Reading outside it raises the host's
// out-of-range error.
#pragma once

#include <stdexcept>
#include <vector>

// The host's out-of-range error of a table read.
class TabOutOfRangeException : public std::out_of_range {
public:
    TabOutOfRangeException()
        : std::out_of_range("Invalid index passed into a Max SDK Tab::operator[]") {}
};

template <class T>
class Tab {
public:
    int Count() const { return static_cast<int>(items.size()); }
    void SetCount(int n) { items.resize(n < 0 ? 0 : static_cast<size_t>(n)); }
    void ZeroCount() { items.clear(); }
    void Resize(int n) { items.reserve(n < 0 ? 0 : static_cast<size_t>(n)); }
    // Appends n items read from p; returns the index of the first.
    int Append(int n, const T* p) {
        int at = Count();
        for (int i = 0; i < n; ++i) items.push_back(p[i]);
        return at;
    }
    // Inserts n items read from p before index at; returns at.
    int Insert(int at, int n, const T* p) {
        if (at < 0 || at > Count())
            throw TabOutOfRangeException();
        items.insert(items.begin() + at, p, p + n);
        return at;
    }
    // Removes num items from start on; returns the new count.
    int Delete(int start, int num) {
        if (start < 0 || num < 0 || start + num > Count())
            throw TabOutOfRangeException();
        items.erase(items.begin() + start, items.begin() + start + num);
        return Count();
    }
    T& operator[](int i) {
        if (i < 0 || i >= Count())
            throw TabOutOfRangeException();
        return items[static_cast<size_t>(i)];
    }
    const T& operator[](int i) const {
        if (i < 0 || i >= Count())
            throw TabOutOfRangeException();
        return items[static_cast<size_t>(i)];
    }
    T* Addr(int i) { return &(*this)[i]; }

private:
    std::vector<T> items;
};
