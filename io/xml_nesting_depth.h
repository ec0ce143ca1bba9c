// How deeply the elements of an XML text nest, found without building a tree.
#pragma once

#include <string>

// The deepest element nesting in text, counted as rapidxml_ns reads it: comments,
// CDATA sections, processing instructions (and the XML declaration) and DOCTYPE
// declarations with their bracketed internal subset are skipped whole, and a '>'
// inside a quoted attribute value does not end its tag. Wherever the scan and the
// parser could disagree the parser has already failed on the text before it, so
// the parser never recurses deeper than the number returned.
int XmlNestingDepth(const std::string& text);
