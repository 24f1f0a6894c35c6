#include "engine/core/XMLElement.h"

#include "engine/core/KTContentLog.h"
#include "engine/core/TBXML.h"

namespace kt {

XMLAttributes::XMLAttributes(std::initializer_list<Entry> entries) {
    for (const Entry& entry : entries)
        set(entry.first, entry.second);
}

const std::string* XMLAttributes::find(std::string_view name) const {
    for (const Entry& entry : entries_) {
        if (entry.first == name) return &entry.second;
    }
    return nullptr;
}

void XMLAttributes::set(std::string_view name, std::string value) {
    for (Entry& entry : entries_) {
        if (entry.first == name) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::string(name), std::move(value));
}

XMLElement::XMLElement(const TBXMLElement& underlying) : name_(TBXML::elementName(&underlying)) {
    for (const TBXMLAttribute* attribute = underlying.firstAttribute; attribute;
         attribute = attribute->next) {
        attributes_.set(TBXML::attributeName(attribute), std::string(TBXML::attributeValue(attribute)));
    }
    std::size_t count = 0;
    for (const TBXMLElement* child = underlying.firstChild; child; child = child->nextSibling)
        ++count;
    children_.reserve(count);
    for (const TBXMLElement* child = underlying.firstChild; child; child = child->nextSibling) {
        children_.emplace_back(*child);
    }
}

namespace {

std::shared_ptr<const XMLElement> treeOf(const TBXML& document) {
    if (document.damaged() || !document.rootXMLElement()) return nullptr;
    return std::make_shared<const XMLElement>(*document.rootXMLElement());
}

}  // namespace

std::shared_ptr<const XMLElement> XMLElement::fromFile(const std::string& path) {
    const std::unique_ptr<TBXML> document = TBXML::fromFile(path);
    if (!document) return nullptr;
    auto tree = treeOf(*document);
    if (!tree) KTLogContentProblem("damaged XML file", path);
    return tree;
}

std::shared_ptr<const XMLElement> XMLElement::fromString(std::string_view xml) {
    return treeOf(TBXML(xml));
}

const XMLElement* XMLElement::childNamed(std::string_view name) const {
    for (const XMLElement& child : children_) {
        if (child.name_ == name) return &child;
    }
    return nullptr;
}

}  // namespace kt
