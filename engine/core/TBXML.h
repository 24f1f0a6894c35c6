#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kt {

struct TBXMLAttribute {
    char* name = nullptr;
    char* value = nullptr;
    TBXMLAttribute* next = nullptr;
};

struct TBXMLElement {
    char* name = nullptr;
    // Trimmed text after the start tag; none once the element has child elements.
    char* text = nullptr;
    TBXMLAttribute* firstAttribute = nullptr;
    TBXMLElement* parentElement = nullptr;
    TBXMLElement* firstChild = nullptr;
    // Last child so far, for appending while parsing.
    TBXMLElement* currentChild = nullptr;
    TBXMLElement* nextSibling = nullptr;
    TBXMLElement* previousSibling = nullptr;
};

// A small non-validating XML reader for the data files. The whole file sits in one zero-terminated buffer
// that the parser cuts in place, so names, values and texts point into it; element and attribute records
// come from zero-filled blocks of 100. Comments, declarations and processing instructions are skipped,
// CDATA markers are unwrapped, entities pass through undecoded. It never reports an error: damaged markup
// gives whatever partial tree the parse reaches, and damaged() tells whether the document was complete.
class TBXML {
public:
    static constexpr std::size_t kRecordsPerBlock = 100;
    // Elements nested deeper than this are parsed but kept out of the tree, which bounds the recursion of
    // everything that walks it.
    static constexpr int kMaxDepth = 256;

    explicit TBXML(std::string_view data);
    // Records point into each other and into the buffer, so a document stays where it was made.
    TBXML(const TBXML&) = delete;
    TBXML& operator=(const TBXML&) = delete;

    // Reads and parses the whole file; none when it cannot be read.
    static std::unique_ptr<TBXML> fromFile(const std::string& path);

    const TBXMLElement* rootXMLElement() const { return root_; }
    // True when the document has no root, ends inside markup, or leaves elements open.
    bool damaged() const { return damaged_; }
    std::size_t bytesLength() const { return length_; }

    static std::string_view elementName(const TBXMLElement* element);
    static std::string_view textForElement(const TBXMLElement* element);
    static std::string_view attributeName(const TBXMLAttribute* attribute);
    static std::string_view attributeValue(const TBXMLAttribute* attribute);
    // The first attribute of that name, compared byte for byte.
    static std::optional<std::string_view> valueOfAttributeNamed(std::string_view name,
                                                                 const TBXMLElement* element);
    static const TBXMLElement* childElementNamed(std::string_view name, const TBXMLElement* parent);
    static const TBXMLElement* nextSiblingNamed(std::string_view name, const TBXMLElement* from);

private:
    template <typename Record>
    class RecordPool {
    public:
        Record* take();

    private:
        std::vector<std::unique_ptr<Record[]>> blocks_;
        std::size_t used_ = kRecordsPerBlock;
    };

    TBXML() = default;
    void allocate(std::size_t length);
    void parse();
    char* find(char* from, char c) const;
    char* find(char* from, std::string_view sequence) const;
    char* findTagEnd(char* from);
    char* skipQuotedValue(char* quote);
    void closeElement();
    // Both answer where parsing goes on.
    char* openElement(char* tag, char* tagEnd, bool endsAtNextTag);
    char* readText(TBXMLElement& element, char* start);
    void readAttributes(TBXMLElement& element, char* from, char* to);
    void appendAttribute(TBXMLElement& element, TBXMLAttribute*& last, char* name, char* value);

    std::unique_ptr<char[]> bytes_;
    std::size_t length_ = 0;
    RecordPool<TBXMLElement> elements_;
    RecordPool<TBXMLAttribute> attributes_;
    TBXMLElement* root_ = nullptr;
    TBXMLElement* current_ = nullptr;
    int depth_ = 0;
    bool damaged_ = true;
    // A failed search for a closing quote means no later search for that quote can succeed either.
    bool noMoreDoubleQuotes_ = false;
    bool noMoreSingleQuotes_ = false;
    // The start of a tag whose '<' was already overwritten by a cut.
    char* pendingTag_ = nullptr;
};

}  // namespace kt
