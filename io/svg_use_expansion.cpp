#include "io/svg_use_expansion.h"

#include <algorithm>
#include <map>

namespace {

typedef rapidxml_ns::xml_node<char> Node;
typedef rapidxml_ns::xml_attribute<char> Attribute;

constexpr int kMaxLevels = 16;
constexpr long kMaxCopies = 100000;
// The reader refuses files nesting deeper; copies must not nest deeper either.
constexpr int kMaxDepth = 200;

int SubtreeDepth(const Node* node) {
    int deepest = 0;
    for (const Node* child = node->first_node(); child; child = child->next_sibling())
        if (child->type() == rapidxml_ns::node_element)
            deepest = std::max(deepest, SubtreeDepth(child));
    return deepest + 1;
}

std::string LocalName(const Node* node) {
    return std::string(node->local_name(), node->local_name_size());
}

const Attribute* FindAttribute(const Node* node, const std::string& localName) {
    for (const Attribute* a = node->first_attribute(); a; a = a->next_attribute())
        if (std::string(a->local_name(), a->local_name_size()) == localName)
            return a;
    return nullptr;
}

std::string Value(const Node* node, const std::string& localName) {
    const Attribute* a = FindAttribute(node, localName);
    return a ? std::string(a->value(), a->value_size()) : std::string();
}

void CollectIds(Node* node, std::map<std::string, Node*>& ids) {
    for (Node* child = node->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml_ns::node_element)
            continue;
        std::string id = Value(child, "id");
        if (!id.empty())
            ids.emplace(id, child);
        CollectIds(child, ids);
    }
}

class Expander {
public:
    Expander(rapidxml_ns::xml_document<char>& document, std::vector<std::string>& unresolved)
        : document(document), unresolved(unresolved) {
        CollectIds(&document, ids);
    }

    // level: uses expanded above node; depth: node's depth in the document.
    void Walk(Node* node, int level, int depth) {
        for (Node* child = node->first_node(); child; child = child->next_sibling()) {
            if (child->type() != rapidxml_ns::node_element)
                continue;
            std::string name = LocalName(child);
            if (name == "defs" || name == "symbol")
                continue;
            if (name == "use")
                Expand(child, level, depth + 1);
            else
                Walk(child, level, depth + 1);
        }
    }

private:
    // A copy of source with its names' namespaces, which the pool's own copy drops.
    Node* Copy(const Node* source) {
        ++copies;
        Node* result = document.allocate_node(source->type());
        result->qname(source->name(), source->name_size(), source->local_name());
        result->namespace_uri(source->namespace_uri(), source->namespace_uri_size());
        result->value(source->value(), source->value_size());
        for (const Node* child = source->first_node(); child; child = child->next_sibling())
            result->append_node(Copy(child));
        for (const Attribute* a = source->first_attribute(); a; a = a->next_attribute()) {
            if (std::string(a->local_name(), a->local_name_size()) == "id")
                continue;  // ids stay unique
            Attribute* copy = document.allocate_attribute();
            copy->qname(a->name(), a->name_size(), a->local_name());
            copy->namespace_uri(a->namespace_uri(), a->namespace_uri_size());
            copy->value(a->value(), a->value_size());
            result->append_attribute(copy);
        }
        return result;
    }

    Attribute* NewAttribute(const std::string& name, const std::string& value) {
        const char* text = document.allocate_string(value.c_str(), value.size() + 1);
        const char* named = document.allocate_string(name.c_str(), name.size() + 1);
        Attribute* a = document.allocate_attribute(named, text, name.size(), value.size());
        a->namespace_uri("", 0);
        return a;
    }

    void Expand(Node* use, int level, int depth) {
        std::string href = Value(use, "href");
        auto target = href.size() > 1 && href[0] == '#' ? ids.find(href.substr(1)) : ids.end();
        if (target == ids.end() || level >= kMaxLevels || copies >= kMaxCopies ||
            depth + SubtreeDepth(target->second) > kMaxDepth) {
            unresolved.push_back(href.empty() ? std::string("(no href)") : href);
            return;
        }
        std::string x = Value(use, "x"), y = Value(use, "y");
        std::string transform = Value(use, "transform");
        if (!x.empty() || !y.empty())
            transform += " translate(" + (x.empty() ? "0" : x) + " " + (y.empty() ? "0" : y) + ")";
        use->remove_all_attributes();
        use->qname("g", 1);
        if (!transform.empty())
            use->append_attribute(NewAttribute("transform", transform));
        Node* copy = Copy(target->second);
        if (LocalName(copy) == "symbol") {
            copy->qname("g", 1);
            for (Attribute* a = copy->first_attribute(); a;) {
                Attribute* next = a->next_attribute();
                if (std::string(a->local_name(), a->local_name_size()) == "viewBox")
                    copy->remove_attribute(a);
                a = next;
            }
        }
        use->append_node(copy);
        Walk(use, level + 1, depth);
    }

    rapidxml_ns::xml_document<char>& document;
    std::vector<std::string>& unresolved;
    std::map<std::string, Node*> ids;
    long copies = 0;
};

}  // namespace

void ExpandSvgUses(rapidxml_ns::xml_document<char>& document, rapidxml_ns::xml_node<char>* root,
                   std::vector<std::string>& unresolved) {
    Expander expander(document, unresolved);
    expander.Walk(root, 0, 1);
}
