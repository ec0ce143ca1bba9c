#include "io/obj_line_check.h"

#include <cmath>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "io/one_line_text.h"

namespace {

const long long kIntMax = 2147483647;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The blank-separated words of a line after its keyword, into words (reused, so that
// a million lines cost no allocations).
void Words(std::string_view line, std::size_t from, std::vector<std::string_view>& words) {
    words.clear();
    std::size_t i = from;
    const std::size_t n = line.size();
    while (true) {
        while (i < n && IsBlank(line[i])) ++i;
        if (i == n)
            return;
        std::size_t end = i;
        while (end < n && !IsBlank(line[end])) ++end;
        words.push_back(line.substr(i, end - i));
        i = end;
    }
}

// A decimal number as the library reads it, with no other characters.
bool IsNumber(std::string_view word) {
    std::size_t i = 0, n = word.size();
    if (i < n && (word[i] == '+' || word[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < n && IsDigit(word[i]); ++i) ++digits;
    if (i < n && word[i] == '.')
        for (++i; i < n && IsDigit(word[i]); ++i) ++digits;
    if (digits == 0)
        return false;
    if (i < n && (word[i] == 'e' || word[i] == 'E')) {
        ++i;
        if (i < n && (word[i] == '+' || word[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        for (; i < n && IsDigit(word[i]); ++i) ++exponentDigits;
        // The library gives up on exponents of ten digits.
        if (exponentDigits == 0 || exponentDigits > 9)
            return false;
    }
    return i == n;
}

// A whole number with an optional sign; its value, saturated beyond the int
// range so that the caller can name it.
bool WholeNumber(std::string_view word, long long& value) {
    std::size_t i = word.empty() || (word[0] != '+' && word[0] != '-') ? 0 : 1;
    if (i == word.size())
        return false;
    value = 0;
    for (; i < word.size(); ++i) {
        if (!IsDigit(word[i]))
            return false;
        if (value <= kIntMax)
            value = value * 10 + (word[i] - '0');
    }
    if (word[0] == '-')
        value = -value;
    return true;
}

class LineCheck {
public:
    // False with problem for a bad line.
    bool Line(std::string_view line, std::string& problem) {
        std::size_t at = 0;
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at == line.size())
            return true;
        std::size_t end = at;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        if (end == line.size())
            return true;  // a keyword alone: the library reads nothing from it
        const std::string_view keyword = line.substr(at, end - at);
        Words(line, end, words);
        if (keyword == "v")
            return Vertex(words, problem);
        if (keyword == "vw")
            return Weights(words, problem);
        if (keyword == "f" && words.size() >= 3) {
            facts.faceDegrees.push_back(static_cast<std::uint32_t>(words.size()));
            facts.faceSmoothing.push_back(smoothing);
        }
        if (keyword == "f" || keyword == "l" || keyword == "p")
            return Corners(words, keyword == "f", problem);
        if (keyword == "s" && !words.empty())
            Smoothing(words[0]);
        return true;
    }

    ObjLineFacts facts;
    long long line = 0;  // the number of the line being checked

private:
    bool Vertex(const std::vector<std::string_view>& words, std::string& problem) {
        if (words.size() < 3) {
            problem = "a vertex needs three coordinates";
            return false;
        }
        for (std::string_view word : words)
            if (!IsNumber(word)) {
                problem = "\"" + OneLine(std::string(word), 40) + "\" is not a number";
                return false;
            }
        ++vertices;
        return true;
    }

    bool Weights(const std::vector<std::string_view>& words, std::string& problem) {
        long long whole = 0;
        if (words.empty() || !WholeNumber(words[0], whole) || std::llabs(whole) > kIntMax ||
            words.size() % 2 != 1) {
            problem = "a vertex weight needs a vertex index then joint and weight pairs";
            return false;
        }
        for (std::size_t i = 1; i < words.size(); i += 2)
            if (!WholeNumber(words[i], whole) || whole < 0 || whole > kIntMax ||
                !IsNumber(words[i + 1])) {
                problem = "bad joint and weight \"" +
                          OneLine(std::string(words[i]) + " " + std::string(words[i + 1]), 40) +
                          "\"";
                return false;
            }
        return true;
    }

    bool Corners(const std::vector<std::string_view>& words, bool face, std::string& problem) {
        for (std::string_view word : words) {
            std::size_t slash = word.find('/');
            long long index = 0;
            bool ok = WholeNumber(word.substr(0, slash), index) && index != 0;
            if (ok && face && (index > vertices || index < -vertices)) {
                problem = "vertex index " + std::string(word.substr(0, slash)) + " but there are " +
                          std::to_string(vertices) + " vertices before it";
                return false;
            }
            ok = ok && std::llabs(index) <= kIntMax;
            while (ok && slash != std::string::npos) {
                std::size_t next = word.find('/', slash + 1);
                std::string_view part = word.substr(
                    slash + 1, next == std::string::npos ? std::string::npos : next - slash - 1);
                // Texture index may be empty ("1//3"); none may be 0 or too long.
                ok = (part.empty() && next != std::string::npos) ||
                     (WholeNumber(part, index) && index != 0 && std::llabs(index) <= kIntMax);
                slash = next;
            }
            if (!ok) {
                problem = "bad corner \"" + OneLine(std::string(word), 40) + "\"";
                return false;
            }
        }
        return true;
    }

    // The group of "s word": an optional sign and digits, of any length, as the library
    // reads the start of the word; "off" and anything else none.
    void Smoothing(std::string_view word) {
        if (word.compare(0, 3, "off") == 0) {
            smoothing = 0;
            return;
        }
        std::size_t i = word[0] == '+' || word[0] == '-' ? 1 : 0;
        const bool negative = word[0] == '-';
        unsigned remainder = 0;  // of the number by 32
        std::size_t significant = 0;
        bool zero = true, wide = false;
        for (; i < word.size() && IsDigit(word[i]); ++i) {
            const unsigned digit = static_cast<unsigned>(word[i] - '0');
            remainder = (remainder * 10 + digit) % 32;
            zero = zero && digit == 0;
            significant += !zero;
            // 4294967295 has ten digits: more, or ten above it, is past 32 bits.
            wide = wide || significant > 10 ||
                   (significant == 10 && word.compare(i + 1 - 10, 10, "4294967295") > 0);
        }
        if (zero || negative) {
            smoothing = 0;
            return;
        }
        smoothing = std::uint32_t(1) << ((remainder + 31) % 32);
        if (wide && facts.wideGroupLine == 0)
            facts.wideGroupLine = line;
    }

    long long vertices = 0;
    std::uint32_t smoothing = 0;  // the bits of the current "s" group
    std::vector<std::string_view> words;
};

}  // namespace

bool CheckObjLines(const std::string& text, ObjLineFacts& facts, std::string& problem) {
    LineCheck check;
    long long number = 0;
    std::size_t at = 0;
    const std::string_view all(text);
    while (at < all.size()) {
        std::size_t end = at;
        while (end < all.size() && all[end] != '\r' && all[end] != '\n') ++end;
        ++number;
        // The library reads a line as a C string: a zero byte ends it.
        std::string_view line = all.substr(at, end - at);
        line = line.substr(0, line.find('\0'));
        check.line = number;
        if (!check.Line(line, problem)) {
            problem = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
        at = end + (all.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    facts = std::move(check.facts);
    return true;
}
