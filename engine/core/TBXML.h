#pragma once

#include <cstddef>
#include <memory>
#include <new>
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
// come from blocks that double in size as the document needs more. Comments, declarations and
// processing instructions are skipped, CDATA markers are unwrapped, and in values and texts outside CDATA
// the references &amp; &lt; &gt; &quot; &apos; and &#N; / &#xN; are decoded (UTF-8); any other '&' stays as
// written. It never reports an error: damaged markup gives whatever partial tree the parse reaches, and
// damaged() tells whether the document was complete.
class TBXML {
public:
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
        // A record is made when taken, so a block is written once rather than cleared first.
        Record* take() {
            if (next_ == blockEnd_) startBlock();
            return new (next_++) Record();
        }

    private:
        struct alignas(Record) Slot {
            std::byte bytes[sizeof(Record)];
        };
        static constexpr std::size_t kFirstBlockSize = 64;
        static constexpr std::size_t kLargestBlockSize = 4096;

        void startBlock();

        std::vector<std::unique_ptr<Slot[]>> blocks_;
        // Doubled as each block starts, up to the largest size.
        std::size_t blockSize_ = kFirstBlockSize / 2;
        Slot* next_ = nullptr;
        Slot* blockEnd_ = nullptr;
    };

    TBXML() = default;
    void allocate(std::size_t length);
    void parse();
    // The markup readers take the text just after a '<' and answer where the next tag starts (the text
    // after its '<'), or null when parsing stops.
    char* readMarkup(char* tag);
    char* readElement(char* tag);
    // Reads name=value pairs and answers the end of the tag: its '>', the '/' of "/>", or the '<' of the
    // next tag that cuts it short; null when the tag never ends. A name without '=' is left out.
    char* readAttributes(TBXMLElement& element, char* from, bool startsAfterEquals);
    // Cuts the value that starts at `from` and answers where the attributes go on.
    char* readValue(char* from, char*& value, bool& endsWithEquals);
    // Keeps the trimmed text up to the next tag and answers as the markup readers do.
    char* readText(TBXMLElement& element, char* start);
    char* nextTag(char* from) const;
    char* afterTag(char* tagEnd) const;
    char* skipPast(char* from, std::string_view closing);
    // Scans part of a tag up to a byte of the `stops` classes, a '>', or a '<' that starts no CDATA; null
    // when the buffer ends first. A quote after '=' opens a quoted stretch that runs to its match, and a
    // CDATA section is stepped over whole: both belong to the part being scanned. `startsAfterEquals`
    // tells whether the last byte before `from` that is not a space is '='.
    char* scanTag(char* from, unsigned stops, bool startsAfterEquals);
    char* scanSpecials(char* from, char* at, unsigned stops, bool startsAfterEquals);
    char* closingQuote(char* quote, bool& holdsAngle);
    char* fail();
    void link(TBXMLElement* element);

    std::unique_ptr<char[]> bytes_;
    std::size_t length_ = 0;
    // The zero after the last byte; the scanning loops stop on it.
    char* end_ = nullptr;
    RecordPool<TBXMLElement> elements_;
    RecordPool<TBXMLAttribute> attributes_;
    TBXMLElement* root_ = nullptr;
    TBXMLElement* current_ = nullptr;
    int depth_ = 0;
    bool damaged_ = true;
    // A failed search for a closing quote means no later search for that quote can succeed either.
    bool noMoreDoubleQuotes_ = false;
    bool noMoreSingleQuotes_ = false;
};

}  // namespace kt
