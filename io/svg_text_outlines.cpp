#include "io/svg_text_outlines.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "io/text_advance.h"
#include "io/text_shape.h"

namespace {

typedef rapidxml_ns::xml_node<char> Node;
typedef rapidxml_ns::xml_attribute<char> Attribute;

std::string Value(const Node* node, const char* localName) {
    for (const Attribute* a = node->first_attribute(); a; a = a->next_attribute())
        if (std::string(a->local_name(), a->local_name_size()) == localName)
            return std::string(a->value(), a->value_size());
    return std::string();
}

// The value of a property from its attribute or from the style attribute.
std::string Property(const Node* node, const char* name) {
    std::string style = Value(node, "style");
    std::size_t at = style.find(std::string(name) + ":");
    if (at != std::string::npos) {
        std::size_t start = at + std::string(name).size() + 1;
        return style.substr(start, style.find(';', start) - start);
    }
    return Value(node, name);
}

// The first number in text, or fallback.
double Number(const std::string& text, double fallback) {
    const char* begin = text.c_str();
    char* end = nullptr;
    double value = std::strtod(begin, &end);
    return end == begin ? fallback : value;
}

std::string Family(const std::string& fonts) {
    std::string first = fonts.substr(0, fonts.find(','));
    std::size_t a = first.find_first_not_of(" \t'\"");
    std::size_t b = first.find_last_not_of(" \t'\"");
    return a == std::string::npos ? "DejaVu Sans" : first.substr(a, b - a + 1);
}

// Where a piece of text starts: absolute x and y where given, then moved by dx
// and dy.
struct PenMove {
    double x = std::nan(""), y = std::nan(""), dx = 0.0, dy = 0.0;
};

// A piece of character data with the font and the move in force where it starts.
struct TextRun {
    std::string text;
    std::string family;
    double size;
    PenMove move;
};

void AddMove(const Node* node, PenMove& move) {
    double x = Number(Value(node, "x"), std::nan(""));
    double y = Number(Value(node, "y"), std::nan(""));
    if (!std::isnan(x)) {
        move.x = x;
        move.dx = 0.0;
    }
    if (!std::isnan(y)) {
        move.y = y;
        move.dy = 0.0;
    }
    move.dx += Number(Value(node, "dx"), 0.0);
    move.dy += Number(Value(node, "dy"), 0.0);
}

// The character data under node in document order; a tspan's font and position
// apply from its first character on.
void CollectRuns(const Node* node, const std::string& family, double size, PenMove& move,
                 std::vector<TextRun>& runs) {
    for (const Node* child = node->first_node(); child; child = child->next_sibling()) {
        if (child->type() == rapidxml_ns::node_data || child->type() == rapidxml_ns::node_cdata) {
            runs.push_back({std::string(child->value(), child->value_size()), family, size, move});
            move = PenMove();
        } else if (child->type() == rapidxml_ns::node_element) {
            std::string fonts = Property(child, "font-family");
            AddMove(child, move);
            CollectRuns(child, fonts.empty() ? family : Family(fonts),
                        Number(Property(child, "font-size"), size), move, runs);
        }
    }
}

// White space as SVG lays it out by default: no line breaks, tabs as spaces, runs of
// spaces as one, none at the start or the end of the whole text.
void CollapseWhiteSpace(std::vector<TextRun>& runs) {
    bool afterSpace = true;
    for (TextRun& run : runs) {
        std::string kept;
        for (char c : run.text) {
            if (c == '\n' || c == '\r')
                continue;
            if (c == '\t')
                c = ' ';
            if (c == ' ' && afterSpace)
                continue;
            afterSpace = c == ' ';
            kept += c;
        }
        run.text = kept;
    }
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        std::size_t end = run->text.find_last_not_of(' ');
        run->text.erase(end == std::string::npos ? 0 : end + 1);
        if (end != std::string::npos)
            break;
    }
}

void AppendPoint(std::string& d, const Point3& p, double scale, double x, double y) {
    char number[32];
    auto r = std::to_chars(number, number + sizeof number, x + scale * p.x);
    d.append(number, r.ptr);
    d += ',';
    r = std::to_chars(number, number + sizeof number, y - scale * p.y);
    d.append(number, r.ptr);
    d += ' ';
}

std::string PathData(const std::vector<Spline3D>& splines, double scale, double x, double y) {
    std::string d;
    for (const Spline3D& s : splines) {
        d += "M ";
        AppendPoint(d, s.knots[0].knot, scale, x, y);
        int n = s.KnotCount();
        for (int i = 1; i <= n; ++i) {
            const SplineKnot& from = s.knots[i - 1];
            const SplineKnot& to = s.knots[i % n];
            d += "C ";
            AppendPoint(d, from.outVec, scale, x, y);
            AppendPoint(d, to.inVec, scale, x, y);
            AppendPoint(d, to.knot, scale, x, y);
        }
        d += "Z ";
    }
    return d;
}

void Walk(rapidxml_ns::xml_document<char>& document, Node* node,
          std::vector<std::string>& problems) {
    for (Node* child = node->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml_ns::node_element)
            continue;
        std::string name(child->local_name(), child->local_name_size());
        if (name == "defs" || name == "symbol")
            continue;
        if (name != "text") {
            Walk(document, child, problems);
            continue;
        }
        std::string fonts = Property(child, "font-family");
        PenMove move;
        AddMove(child, move);
        std::vector<TextRun> runs;
        CollectRuns(child, Family(fonts), Number(Property(child, "font-size"), 16.0), move, runs);
        CollapseWhiteSpace(runs);
        double penX = 0.0, penY = 0.0;
        std::string d, error, all;
        bool missingFont = false;
        for (const TextRun& run : runs) {
            if (!std::isnan(run.move.x))
                penX = run.move.x;
            if (!std::isnan(run.move.y))
                penY = run.move.y;
            penX += run.move.dx;
            penY += run.move.dy;
            all += run.text;
            if (run.text.empty())
                continue;
            std::vector<Spline3D> splines;
            double scale = run.size / 100.0;
            // Spaces alone draw nothing but still move the pen.
            if (TextShape(run.text, run.family, splines, error))
                d += PathData(splines, scale, penX, penY);
            else if (error.find("draws no outline") == std::string::npos)
                missingFont = true;
            if (missingFont)
                break;
            penX += scale * TextAdvance(run.text, run.family);
        }
        if (missingFont || d.empty()) {
            problems.push_back(missingFont ? error : "the text \"" + all + "\" draws no outline");
            continue;
        }
        std::string transform = Value(child, "transform");
        child->remove_all_nodes();
        child->remove_all_attributes();
        child->qname("path", 4);
        auto add = [&](const char* key, const std::string& value) {
            const char* text = document.allocate_string(value.c_str(), value.size() + 1);
            Attribute* a = document.allocate_attribute(key, text, std::strlen(key), value.size());
            a->namespace_uri("", 0);
            child->append_attribute(a);
        };
        add("d", d);
        if (!transform.empty())
            add("transform", transform);
    }
}

}  // namespace

void OutlineSvgTexts(rapidxml_ns::xml_document<char>& document, rapidxml_ns::xml_node<char>* root,
                     std::vector<std::string>& problems) {
    Walk(document, root, problems);
}
