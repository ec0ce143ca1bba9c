#include "polyshp.h"

#include <utility>

// numPts/pts and numLines/lines mirror the storage so that callers can read the
// records directly, as they do with the host's own containers.

void PolyLine::Sync() {
    numPts = static_cast<int>(storage.size());
    pts = storage.empty() ? nullptr : storage.data();
}

PolyLine::PolyLine(const PolyLine& from) : flags(from.flags), storage(from.storage) {
    Sync();
}

PolyLine& PolyLine::operator=(const PolyLine& from) {
    if (this != &from) {
        storage = from.storage;
        flags = from.flags;
        Sync();
    }
    return *this;
}

PolyLine::PolyLine(PolyLine&& from) noexcept : flags(from.flags), storage(std::move(from.storage)) {
    Sync();
    from.storage.clear();
    from.Sync();
}

PolyLine& PolyLine::operator=(PolyLine&& from) noexcept {
    if (this != &from) {
        storage = std::move(from.storage);
        flags = from.flags;
        Sync();
        from.storage.clear();
        from.Sync();
    }
    return *this;
}

void PolyLine::Init() {
    storage.clear();
    flags = 0;
    Sync();
}

void PolyLine::SetNumPts(int n) {
    storage.resize(n < 0 ? 0 : static_cast<size_t>(n));
    Sync();
}

void PolyLine::Append(const PolyPt& p) {
    storage.push_back(p);
    Sync();
}

void PolyLine::Insert(int where, const PolyPt& p) {
    if (where < 0 || where > numPts)
        return;
    storage.insert(storage.begin() + where, p);
    Sync();
}

void PolyLine::Delete(int where) {
    if (where < 0 || where >= numPts)
        return;
    storage.erase(storage.begin() + where);
    Sync();
}

void PolyShape::Sync() {
    numLines = static_cast<int>(storage.size());
    lines = storage.empty() ? nullptr : storage.data();
}

PolyShape::PolyShape(const PolyShape& from) : storage(from.storage) {
    Sync();
}

PolyShape& PolyShape::operator=(const PolyShape& from) {
    if (this != &from) {
        storage = from.storage;
        Sync();
    }
    return *this;
}

PolyShape::PolyShape(PolyShape&& from) noexcept : storage(std::move(from.storage)) {
    Sync();
    from.storage.clear();
    from.Sync();
}

PolyShape& PolyShape::operator=(PolyShape&& from) noexcept {
    if (this != &from) {
        storage = std::move(from.storage);
        Sync();
        from.storage.clear();
        from.Sync();
    }
    return *this;
}

void PolyShape::Init() {
    storage.clear();
    Sync();
}

void PolyShape::SetNumLines(int n) {
    storage.resize(n < 0 ? 0 : static_cast<size_t>(n));
    Sync();
}

PolyLine& PolyShape::NewLine() {
    storage.emplace_back();
    Sync();
    return storage.back();
}

void PolyShape::Append(const PolyLine& l) {
    storage.push_back(l);
    Sync();
}
