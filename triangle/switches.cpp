#include "switches.h"

#include <cstdlib>
#include <string>

namespace tri {

namespace {

constexpr double kDefaultMinAngle = 20.0;
constexpr double kLargestMinAngle = 60.0;

bool is_angle_char(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

// Reads the angle that may follow q at text[position]; advances position past it.
bool read_angle(const char* text, std::size_t& position, double& angle) {
    std::string digits;
    bool has_digit = false;
    int points = 0;
    while (is_angle_char(text[position])) {
        has_digit = has_digit || text[position] != '.';
        points += text[position] == '.' ? 1 : 0;
        digits.push_back(text[position]);
        ++position;
    }
    if (digits.empty()) {
        angle = kDefaultMinAngle;
        return true;
    }
    if (!has_digit || points > 1)
        return false;
    angle = std::strtod(digits.c_str(), nullptr);
    return angle <= kLargestMinAngle;
}

}  // namespace

bool parse_switches(const char* text, Switches& switches) {
    if (text == nullptr)
        return false;
    switches = Switches();
    std::size_t position = 0;
    while (text[position] != '\0') {
        const char c = text[position++];
        switch (c) {
            case 'z':
                switches.zero_based = true;
                break;
            case 'p':
                switches.planar_graph = true;
                break;
            case 'Q':
                switches.quiet = true;
                break;
            case 'q':
                switches.quality = true;
                if (!read_angle(text, position, switches.min_angle))
                    return false;
                break;
            default:
                return false;
        }
    }
    return true;
}

}  // namespace tri
