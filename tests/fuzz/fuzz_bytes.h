// Reads small numbers from a fuzzer's bytes; past the end every read gives zero,
// so any input decodes to something.
#pragma once

#include <cstddef>
#include <cstdint>

class FuzzBytes {
public:
    FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // A number from 0 to count - 1.
    int Below(int count) { return Byte() % count; }
    bool Bit() { return Byte() & 1; }
    std::uint16_t Word() {
        const int high = Byte();  // read first: operands of | have no fixed order
        return static_cast<std::uint16_t>(high << 8 | Byte());
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};
