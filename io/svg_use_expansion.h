// Replacing SVG use elements by copies of what they refer to, before drawing.
#pragma once

#include <rapidxml_ns/rapidxml_ns.hpp>
#include <string>
#include <vector>

// Turns every use element under root (outside defs and symbol elements) that
// refers to an element of the document by "#id" into a g element holding a copy
// of it, moved by the use's x and y after its own transform; a symbol copied
// so becomes a g element (its viewBox is not applied). Uses inside the copies are
// expanded too, up to 16 levels, 100000 copied elements and a nesting of 200
// elements, so that a reference cycle ends. Every use left as it was (no such id,
// too deep, too many) is named in unresolved, with its href.
void ExpandSvgUses(rapidxml_ns::xml_document<char>& document, rapidxml_ns::xml_node<char>* root,
                   std::vector<std::string>& unresolved);
