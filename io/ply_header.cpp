#include "io/ply_header.h"

#include <charconv>
#include <climits>

#include "io/one_line_text.h"

namespace {

// A word of the file in a message: one line, harmless to a terminal.
std::string Quoted(const std::string& word) {
    return OneLine(word, 40);
}

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool ParseCount(const std::string& text, long long& count) {
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, count);
    return result.ec == std::errc() && result.ptr == end && count >= 0 && count <= INT_MAX;
}

}  // namespace

int PlyElement::Find(const std::string& propertyName) const {
    for (std::size_t i = 0; i < properties.size(); ++i)
        if (properties[i].name == propertyName)
            return static_cast<int>(i);
    return -1;
}

bool ParsePlyHeader(const std::string& bytes, PlyHeader& header, std::string& problem) {
    header = PlyHeader();
    std::size_t pos = 0;
    int lineNumber = 0;
    bool haveFormat = false;
    for (;;) {
        if (pos >= bytes.size()) {
            problem = lineNumber == 0 ? "is empty" : "the header has no end_header line";
            return false;
        }
        std::size_t eol = bytes.find('\n', pos);
        std::size_t next = eol == std::string::npos ? bytes.size() : eol + 1;
        std::size_t end = eol == std::string::npos ? bytes.size() : eol;
        if (end > pos && bytes[end - 1] == '\r')
            --end;
        std::string line = bytes.substr(pos, end - pos);
        pos = next;
        ++lineNumber;
        std::string at = "line " + std::to_string(lineNumber) + ": ";

        if (lineNumber == 1) {
            if (line != "ply") {
                problem = "is not a PLY file (the first line is not \"ply\")";
                return false;
            }
            continue;
        }
        std::vector<std::string> words = SplitWords(line);
        if (words.empty())
            continue;
        const std::string& key = words[0];
        if (key == "comment" || key == "obj_info")
            continue;
        // Items without properties would take no room: a huge count would cost
        // time for nothing.
        bool lastElementEmpty = !header.elements.empty() &&
                                header.elements.back().properties.empty() &&
                                header.elements.back().count > 0;
        if ((key == "end_header" || key == "element") && lastElementEmpty) {
            problem =
                at + "element \"" + Quoted(header.elements.back().name) + "\" has no properties";
            return false;
        }
        if (key == "end_header") {
            if (!haveFormat) {
                problem = at + "the header has no format line";
                return false;
            }
            header.dataOffset = pos;
            header.dataLine = lineNumber + 1;
            return true;
        }
        if (key == "format") {
            if (haveFormat || words.size() != 3) {
                problem =
                    at + (haveFormat ? "a second format line" : "expected: format ENCODING 1.0");
                return false;
            }
            if (words[1] == "ascii")
                header.encoding = PlyEncoding::Ascii;
            else if (words[1] == "binary_little_endian")
                header.encoding = PlyEncoding::BinaryLittleEndian;
            else if (words[1] == "binary_big_endian")
                header.encoding = PlyEncoding::BinaryBigEndian;
            else {
                problem = at + "unknown encoding \"" + Quoted(words[1]) + "\"";
                return false;
            }
            if (words[2] != "1.0") {
                problem = at + "unknown format version \"" + Quoted(words[2]) + "\" (1.0 is known)";
                return false;
            }
            haveFormat = true;
            continue;
        }
        if (key == "element") {
            PlyElement element;
            if (words.size() != 3 || !ParseCount(words[2], element.count)) {
                problem = at + "expected: element NAME COUNT, with COUNT from 0 to 2147483647";
                return false;
            }
            element.name = words[1];
            for (const PlyElement& other : header.elements)
                if (other.name == element.name) {
                    problem = at + "a second element \"" + Quoted(element.name) + "\"";
                    return false;
                }
            header.elements.push_back(element);
            continue;
        }
        if (key == "property") {
            if (header.elements.empty()) {
                problem = at + "a property before any element";
                return false;
            }
            PlyProperty property;
            bool ok;
            if (words.size() >= 2 && words[1] == "list") {
                property.isList = true;
                ok = words.size() == 5 && PlyTypeFromName(words[2], property.countType) &&
                     PlyTypeIsInteger(property.countType) &&
                     PlyTypeFromName(words[3], property.type);
                if (ok)
                    property.name = words[4];
            } else {
                ok = words.size() == 3 && PlyTypeFromName(words[1], property.type);
                if (ok)
                    property.name = words[2];
            }
            if (!ok) {
                problem =
                    at + "expected: property TYPE NAME or property list INTEGER-TYPE TYPE NAME";
                return false;
            }
            PlyElement& element = header.elements.back();
            if (element.Find(property.name) >= 0) {
                problem = at + "a second property \"" + Quoted(property.name) + "\" in element \"" +
                          Quoted(element.name) + "\"";
                return false;
            }
            element.properties.push_back(property);
            continue;
        }
        problem = at + "unknown header keyword \"" + Quoted(key) + "\"";
        return false;
    }
}
