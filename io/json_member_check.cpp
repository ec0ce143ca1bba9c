#include "io/json_member_check.h"

#include <set>
#include <vector>

namespace {

struct Level {
    bool object = false;
    bool expectName = false;  // in an object, after "{" or ","
    std::set<std::string> names;
};

}  // namespace

bool CheckJsonMembers(const std::string& text, std::size_t& offset, std::string& name) {
    std::vector<Level> levels;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '"') {
            std::size_t start = i;
            for (++i; i < text.size() && text[i] != '"'; ++i)
                if (text[i] == '\\')
                    ++i;
            if (!levels.empty() && levels.back().object && levels.back().expectName) {
                Level& level = levels.back();
                level.expectName = false;
                std::string written =
                    text.substr(start + 1, i < text.size() ? i - start - 1 : std::string::npos);
                if (!level.names.insert(written).second) {
                    offset = start;
                    name = written;
                    return false;
                }
            }
            ++i;
            continue;
        }
        if (c == '{' || c == '[') {
            levels.push_back(Level());
            levels.back().object = c == '{';
            levels.back().expectName = c == '{';
        } else if ((c == '}' || c == ']') && !levels.empty()) {
            levels.pop_back();
        } else if (c == ',' && !levels.empty() && levels.back().object) {
            levels.back().expectName = true;
        }
        ++i;
    }
    return true;
}
