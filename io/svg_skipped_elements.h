// The SVG elements a drawing holds that the shape reader does not draw.
#pragma once

#include <map>
#include <rapidxml_ns/rapidxml_ns.hpp>
#include <string>

// How many elements of each name under root the reader passes over: SVG elements
// other than the shapes, containers, uses and descriptions it knows, and elements
// of other namespaces (by qualified name), outside defs and symbol elements.
std::map<std::string, int> SkippedSvgElements(const rapidxml_ns::xml_node<char>* root);
