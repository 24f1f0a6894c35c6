#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kt {

struct TBXMLElement;

// The attributes of one element in document order; a name appears once.
class XMLAttributes {
public:
    using Entry = std::pair<std::string, std::string>;

    XMLAttributes() = default;
    XMLAttributes(std::initializer_list<Entry> entries);

    const std::string* find(std::string_view name) const;
    bool contains(std::string_view name) const { return find(name) != nullptr; }
    // A name already present keeps its place and takes the new value.
    void set(std::string_view name, std::string value);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    std::vector<Entry> entries_;
};

// An owned element tree built from a parsed document: names, attributes and child elements; texts are not
// carried over. Trees read from files are shared and never modified.
class XMLElement {
public:
    XMLElement() = default;
    // The element, its attributes in order (a repeated name keeps the last value) and its children, deeply.
    explicit XMLElement(const TBXMLElement& underlying);

    // None when no file exists at the path or the file is damaged (truncated, no root element).
    static std::shared_ptr<const XMLElement> fromFile(const std::string& path);
    static std::shared_ptr<const XMLElement> fromString(std::string_view xml);

    const std::string& name() const { return name_; }
    const std::vector<XMLElement>& children() const { return children_; }
    const XMLAttributes& attributes() const { return attributes_; }
    const std::string* attribute(std::string_view name) const { return attributes_.find(name); }
    const XMLElement* childNamed(std::string_view name) const;

private:
    std::string name_;
    std::vector<XMLElement> children_;
    XMLAttributes attributes_;
};

}  // namespace kt
