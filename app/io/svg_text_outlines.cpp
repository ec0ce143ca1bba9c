#include "app/io/svg_text_outlines.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "app/io/text_shape.h"

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

void Characters(const Node* node, std::string& text) {
    for (const Node* child = node->first_node(); child; child = child->next_sibling()) {
        if (child->type() == rapidxml_ns::node_data || child->type() == rapidxml_ns::node_cdata)
            text.append(child->value(), child->value_size());
        else if (child->type() == rapidxml_ns::node_element)
            Characters(child, text);
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
        std::string text, error;
        Characters(child, text);
        std::vector<Spline3D> splines;
        if (!TextShape(text, Family(Property(child, "font-family")), splines, error)) {
            problems.push_back(error);
            continue;
        }
        double scale = Number(Property(child, "font-size"), 16.0) / 100.0;
        std::string d = PathData(splines, scale, Number(Value(child, "x"), 0.0),
                                 Number(Value(child, "y"), 0.0));
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
