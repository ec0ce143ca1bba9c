#include "io/json_number_check.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool IsJsonNumber(const std::string& s) {
    std::size_t i = 0, n = s.size();
    auto digits = [&] {
        std::size_t start = i;
        while (i < n && IsDigit(s[i])) ++i;
        return i > start;
    };
    if (i < n && s[i] == '-')
        ++i;
    if (i < n && s[i] == '0')
        ++i;
    else if (!digits())
        return false;
    if (i < n && s[i] == '.') {
        ++i;
        if (!digits())
            return false;
    }
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == n;
}

bool IsFiniteDouble(const std::string& s) {
    errno = 0;
    double value = std::strtod(s.c_str(), nullptr);
    return std::isfinite(value) && !(errno == ERANGE && value != 0.0);
}

}  // namespace

bool CheckJsonNumbers(const std::string& text, std::size_t& offset, std::string& number) {
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i)
                if (text[i] == '\\')
                    ++i;
            ++i;
        } else if (c == '-' || IsDigit(c)) {
            std::size_t end = text.find_first_not_of("0123456789+-.eE", i);
            number = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
            if (end == std::string::npos || !IsJsonNumber(number) || !IsFiniteDouble(number)) {
                offset = i;
                return false;
            }
            i = end;
        } else {
            ++i;
        }
    }
    return true;
}
