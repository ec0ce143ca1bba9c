#include "io/off_reader.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "io/finite_float.h"
#include "io/one_line_text.h"

namespace {

// The non-blank words of one line at a time, comments left out.
class OffLines {
public:
    explicit OffLines(const std::string& bytes) : bytes_(bytes) {}

    // Moves to the next line with a word on it; false at the end of the file.
    bool Next() {
        while (at_ < bytes_.size()) {
            std::size_t end = bytes_.find('\n', at_);
            if (end == std::string::npos)
                end = bytes_.size();
            ++number_;
            begin_ = at_;
            const void* hash = std::memchr(bytes_.data() + at_, '#', end - at_);
            stop_ = hash ? static_cast<std::size_t>(static_cast<const char*>(hash) - bytes_.data())
                         : end;
            at_ = end + 1;
            Skip();
            if (begin_ < stop_)
                return true;
        }
        return false;
    }

    // The next word of the line, or empty when none is left.
    std::string_view Word() {
        Skip();
        std::size_t start = begin_;
        while (begin_ < stop_ && !Blank(bytes_[begin_])) ++begin_;
        return std::string_view(bytes_.data() + start, begin_ - start);
    }

    bool Empty() {
        Skip();
        return begin_ >= stop_;
    }

    long long Number() const { return number_; }

private:
    static bool Blank(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
    }
    void Skip() {
        while (begin_ < stop_ && Blank(bytes_[begin_])) ++begin_;
    }

    const std::string& bytes_;
    std::size_t at_ = 0, begin_ = 0, stop_ = 0;
    long long number_ = 0;
};

template <class T>
bool Parse(std::string_view word, T& value) {
    if (word.empty())
        return false;
    // from_chars takes no leading plus sign.
    if (word[0] == '+' && word.size() > 1 && word[1] != '-')
        word.remove_prefix(1);
    const char* end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

}  // namespace

bool ReadOffMesh(const std::string& path, const std::string& bytes, slitform::Mesh& data,
                 std::vector<std::string>* warnings, std::string& error) {
    data = slitform::Mesh();
    OffLines lines(bytes);
    auto fail = [&](const std::string& problem) {
        error = path + ": line " + std::to_string(lines.Number()) + ": " + problem;
        data = slitform::Mesh();
        return false;
    };
    if (!lines.Next()) {
        error = path + ": is empty";
        return false;
    }
    bool colored = false;
    std::string_view word = lines.Word();
    if (word == "OFF" || word == "COFF") {
        colored = word == "COFF";
        if (lines.Empty() && !lines.Next())
            return fail("the vertex and face counts are missing");
        word = lines.Word();
    } else if (!word.empty() && (word.back() == 'F' || word.back() == 'f')) {
        return fail("\"" + OneLine(std::string(word), 16) +
                    "\" files are not read: only OFF and COFF, with 3D coordinates");
    }
    long long counts[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        // The edge count is often left out.
        if (k == 2 && word.empty())
            break;
        if (!Parse(word, counts[k]) || counts[k] < 0)
            return fail("the counts must be three whole numbers (vertices, faces, edges)");
        if (k < 2)
            word = lines.Word();
    }
    // A vertex takes 6 bytes at least ("0 0 0\n"), a face 8 ("3 0 1 2\n").
    if (counts[0] > static_cast<long long>(bytes.size() / 6) ||
        counts[1] > static_cast<long long>(bytes.size() / 8) ||
        counts[0] > std::numeric_limits<std::int32_t>::max())
        return fail("it says " + std::to_string(counts[0]) + " vertices and " +
                    std::to_string(counts[1]) + " faces, more than its " +
                    std::to_string(bytes.size()) + " bytes can hold");
    const std::int32_t vertexCount = static_cast<std::int32_t>(counts[0]);
    data.positions.reserve(static_cast<std::size_t>(vertexCount));
    if (colored)
        data.colors.reserve(static_cast<std::size_t>(vertexCount));
    bool byteColors = false;
    for (std::int32_t v = 0; v < vertexCount; ++v) {
        if (!lines.Next())
            return fail("the file ends after " + std::to_string(v) + " of " +
                        std::to_string(vertexCount) + " vertices");
        slitform::Vec3 p{};
        for (float& c : p) {
            double value = 0.0;
            if (!Parse(lines.Word(), value))
                return fail("a vertex needs three numbers");
            if (!ToFiniteFloat(value, c))
                return fail("a coordinate is not a finite single-precision number");
        }
        data.positions.push_back(p);
        if (colored) {
            slitform::Vec3 color{};
            for (float& c : color) {
                double value = 0.0;
                if (!Parse(lines.Word(), value) || !(value >= 0.0 && value <= 255.0))
                    return fail("a COFF vertex needs a colour of numbers from 0 to 1 or 0 to 255");
                c = static_cast<float>(value);
                byteColors = byteColors || value > 1.0;
            }
            data.colors.push_back(color);
        }
    }
    if (byteColors)
        for (slitform::Vec3& color : data.colors)
            for (float& c : color) c /= 255.0f;
    long long skipped = 0;
    std::vector<std::int32_t> corners;
    for (long long f = 0; f < counts[1]; ++f) {
        if (!lines.Next())
            return fail("the file ends after " + std::to_string(f) + " of " +
                        std::to_string(counts[1]) + " faces");
        long long degree = 0;
        if (!Parse(lines.Word(), degree) || degree < 0)
            return fail("a face must start with its number of corners");
        corners.clear();
        for (long long k = 0; k < degree; ++k) {
            const std::string_view index = lines.Word();
            long long vertex = 0;
            if (index.empty())
                return fail("the face has fewer vertex numbers than the " + std::to_string(degree) +
                            " it says");
            if (!Parse(index, vertex))
                return fail("a vertex number is not a whole number");
            if (vertex < 0 || vertex >= vertexCount)
                return fail("vertex number " + std::to_string(vertex) + " is out of range (" +
                            std::to_string(vertexCount) + " vertices)");
            corners.push_back(static_cast<std::int32_t>(vertex));
        }
        if (degree < 3) {
            ++skipped;
            continue;
        }
        if (data.corners.size() + corners.size() > std::numeric_limits<std::uint32_t>::max())
            return fail("the faces hold more than 2^32 corners");
        data.AddFace(corners);
    }
    if (skipped > 0 && warnings)
        warnings->push_back(path + ": skipped " + std::to_string(skipped) +
                            " face(s) of fewer than 3 corners");
    return true;
}
