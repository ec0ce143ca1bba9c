#include "io/svg_skipped_elements.h"

#include <set>

namespace {

const char* const kSvgNamespace = "http://www.w3.org/2000/svg";

void Count(const rapidxml_ns::xml_node<char>* node, std::map<std::string, int>& skipped) {
    static const std::set<std::string> kDrawnOrSilent = {
        "svg",     "g",    "path",   "rect", "circle", "ellipse", "line",     "polyline",
        "polygon", "defs", "symbol", "use",  "title",  "desc",    "metadata", "style"};
    for (const rapidxml_ns::xml_node<char>* child = node->first_node(); child;
         child = child->next_sibling()) {
        if (child->type() != rapidxml_ns::node_element)
            continue;
        std::string name(child->local_name(), child->local_name_size());
        bool svg =
            std::string(child->namespace_uri(), child->namespace_uri_size()) == kSvgNamespace;
        if (!svg) {
            ++skipped[std::string(child->name(), child->name_size())];
            continue;
        }
        if (name == "defs" || name == "symbol")
            continue;
        if (kDrawnOrSilent.count(name) == 0) {
            ++skipped[name];
            continue;
        }
        Count(child, skipped);
    }
}

}  // namespace

std::map<std::string, int> SkippedSvgElements(const rapidxml_ns::xml_node<char>* root) {
    std::map<std::string, int> skipped;
    Count(root, skipped);
    return skipped;
}
