#include "io/xml_nesting_depth.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

class DepthScan {
public:
    explicit DepthScan(const std::string& xml) : text(xml) {}

    int Deepest() {
        while ((at = text.find('<', at)) != std::string::npos) {
            if (StartsWith("<!--"))
                SkipPast(4, "-->");
            else if (StartsWith("<![CDATA["))
                SkipPast(9, "]]>");
            else if (StartsWith("<?"))
                SkipPast(2, "?>");
            else if (StartsWith("<!DOCTYPE") && at + 9 < text.size() && IsXmlSpace(text[at + 9]))
                SkipDoctype();
            else if (StartsWith("<!"))
                SkipPast(2, ">");
            else if (StartsWith("</"))
                CloseTag();
            else
                OpenTag();
        }
        return deepest;
    }

private:
    bool StartsWith(const char* prefix) const {
        return text.compare(at, std::strlen(prefix), prefix) == 0;
    }

    // The end is looked for only after the opening: "<?>" does not close itself.
    void SkipPast(std::size_t opening, const char* end) {
        std::size_t found = text.find(end, at + opening);
        at = found == std::string::npos ? text.size() : found + std::strlen(end);
    }

    // The internal subset in brackets may hold '>' (and brackets nest); quotes
    // do not protect anything here, as the parser does not look at them.
    void SkipDoctype() {
        int brackets = 0;
        for (at += 9; at < text.size(); ++at) {
            char c = text[at];
            if (c == '[')
                ++brackets;
            else if (c == ']' && brackets > 0)
                --brackets;
            else if (c == '>' && brackets == 0)
                break;
        }
        at = std::min(at + 1, text.size());
    }

    void CloseTag() {
        // A stray closing tag is an error to the parser; never let it hide depth.
        depth = std::max(0, depth - 1);
        SkipPast(2, ">");
    }

    void OpenTag() {
        char quote = 0;
        std::size_t j = at + 1;
        for (; j < text.size(); ++j) {
            char c = text[j];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        bool empty = j < text.size() && text[j - 1] == '/';
        if (!empty)
            deepest = std::max(deepest, ++depth);
        at = std::min(j + 1, text.size());
    }

    const std::string& text;
    std::size_t at = 0;
    int depth = 0;
    int deepest = 0;
};

}  // namespace

int XmlNestingDepth(const std::string& text) {
    return DepthScan(text).Deepest();
}
