#include "engine/core/TBXML.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace kt {
namespace {

constexpr std::string_view kCommentStart = "!--";
constexpr std::string_view kCommentEnd = "-->";
constexpr std::string_view kCDataStart = "![CDATA[";
constexpr std::string_view kCDataEnd = "]]>";

// Byte classes, so that every scanning loop costs one table lookup per byte.
enum : unsigned {
    kSpace = 1,
    kEquals = 2,
    // '>', '<', quotes and zero: inside a tag each needs a closer look.
    kTagSpecial = 4,
    // Any '/' ends an element name; elsewhere only the "/>" of an empty element ends a token.
    kSlash = 8,
    kEmptyEnd = 16,
    // Quotes, '<' and zero: where the scan of a quoted value stops.
    kQuoteSpecial = 32,
};

constexpr std::array<std::uint8_t, 256> kClasses = [] {
    std::array<std::uint8_t, 256> table{};
    const auto mark = [&table](std::string_view bytes, unsigned classes) {
        for (const char c : bytes)
            table[static_cast<unsigned char>(c)] |= static_cast<std::uint8_t>(classes);
    };
    mark(" \t\n\r", kSpace);
    mark("=", kEquals);
    mark(std::string_view("><\"'\0", 5), kTagSpecial);
    mark("/", kSlash | kEmptyEnd);
    mark(std::string_view("\"'<\0", 4), kQuoteSpecial);
    return table;
}();

bool is(char c, unsigned classes) {
    return (kClasses[static_cast<unsigned char>(c)] & classes) != 0;
}

// The zero after the buffer ends every search for a class that holds zero.
char* skipUntil(char* p, unsigned classes) {
    while (!is(*p, classes))
        ++p;
    return p;
}

char* skipSpaces(char* p) {
    while (is(*p, kSpace))
        ++p;
    return p;
}

// Most gaps inside a tag are empty, which one comparison with the byte that usually follows settles.
char* skipSpacesBefore(char* p, char usual) {
    return *p == usual ? p : skipSpaces(p);
}

// The first byte is compared inline, which settles almost every test without a call.
bool startsWith(const char* at, const char* end, std::string_view prefix) {
    return static_cast<std::size_t>(end - at) >= prefix.size() && at[0] == prefix[0] &&
           std::memcmp(at, prefix.data(), prefix.size()) == 0;
}

char* findIn(char* from, char* end, std::string_view sequence) {
    const std::string_view range(from, static_cast<std::size_t>(end - from));
    const std::size_t at = range.find(sequence);
    return at == std::string_view::npos ? nullptr : from + at;
}

char* findIn(char* from, char* end, char c) {
    return static_cast<char*>(std::memchr(from, c, static_cast<std::size_t>(end - from)));
}

constexpr std::array<std::pair<std::string_view, char>, 5> kNamedEntities{
    {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}}};
constexpr char32_t kLastCodePoint = 0x10FFFF;

int digitValue(char c, int base) {
    int value = base;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

// The character of a numeric reference "#233;" or "#xE9;" starting at `at`, and the byte after its ';';
// none for a malformed reference or a code point that is no character (zero, surrogates, too large).
std::optional<std::pair<char32_t, char*>> numericReference(char* at, char* end) {
    const int base = at + 1 < end && at[1] == 'x' ? 16 : 10;
    char* p = at + (base == 16 ? 2 : 1);
    char* const digits = p;
    char32_t code = 0;
    for (; p < end && *p != ';'; ++p) {
        const int digit = digitValue(*p, base);
        if (digit < 0) return std::nullopt;
        code = code * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
        if (code > kLastCodePoint) return std::nullopt;
    }
    if (p == end || p == digits || code == 0 || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    return std::pair{code, p + 1};
}

char* writeUtf8(char32_t code, char* out) {
    const auto byte = [](char32_t bits) { return static_cast<char>(static_cast<unsigned char>(bits)); };
    if (code < 0x80) {
        *out++ = byte(code);
    } else if (code < 0x800) {
        *out++ = byte(0xC0 | (code >> 6));
        *out++ = byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = byte(0xE0 | (code >> 12));
        *out++ = byte(0x80 | ((code >> 6) & 0x3F));
        *out++ = byte(0x80 | (code & 0x3F));
    } else {
        *out++ = byte(0xF0 | (code >> 18));
        *out++ = byte(0x80 | ((code >> 12) & 0x3F));
        *out++ = byte(0x80 | ((code >> 6) & 0x3F));
        *out++ = byte(0x80 | (code & 0x3F));
    }
    return out;
}

// Writes the character of the entity reference whose name starts at `at` (after its '&') and answers the
// byte after the reference; null, with nothing written, when there is no reference the reader knows. A
// character never takes more bytes than its reference, so the text can be decoded where it lies.
char* decodeReference(char* at, char* end, char*& out) {
    if (at == end) return nullptr;
    if (*at == '#') {
        const auto reference = numericReference(at, end);
        if (!reference) return nullptr;
        out = writeUtf8(reference->first, out);
        return reference->second;
    }
    for (const auto& [name, character] : kNamedEntities) {
        if (startsWith(at, end, name)) {
            *out++ = character;
            return at + name.size();
        }
    }
    return nullptr;
}

// Removes the CDATA markers from [start, end) and decodes the entity references outside the CDATA
// sections, moving the rest down; returns the new end. An '&' that starts no known reference stays.
char* unescape(char* start, char* end) {
    char* read = start;
    char* write = start;
    while (read < end) {
        if (*read == '&') {
            if (char* after = decodeReference(read + 1, end, write)) {
                read = after;
                continue;
            }
        } else if (*read == '<' && startsWith(read + 1, end, kCDataStart)) {
            read += 1 + kCDataStart.size();
            char* close = findIn(read, end, kCDataEnd);
            char* contentEnd = close ? close : end;
            std::memmove(write, read, static_cast<std::size_t>(contentEnd - read));
            write += contentEnd - read;
            read = close ? close + kCDataEnd.size() : end;
            continue;
        }
        *write++ = *read++;
    }
    return write;
}

// Whether the last byte before `at` that is not a space is '='; a token that starts at `from` knows from
// `startsAfterEquals` what came before it.
bool followsEqualsSign(const char* from, const char* at, bool startsAfterEquals) {
    while (at > from && is(at[-1], kSpace))
        --at;
    return at > from ? at[-1] == '=' : startsAfterEquals;
}

}  // namespace

template <typename Record>
void TBXML::RecordPool<Record>::startBlock() {
    blockSize_ = std::min(2 * blockSize_, kLargestBlockSize);
    blocks_.push_back(std::make_unique_for_overwrite<Slot[]>(blockSize_));
    next_ = blocks_.back().get();
    blockEnd_ = next_ + blockSize_;
}

TBXML::TBXML(std::string_view data) {
    allocate(data.size());
    if (!data.empty()) std::memcpy(bytes_.get(), data.data(), data.size());
    parse();
}

std::unique_ptr<TBXML> TBXML::fromFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<TBXML> document(new TBXML());
    document->allocate(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    while (filled < document->length_) {
        const ssize_t got = ::read(fd, document->bytes_.get() + filled, document->length_ - filled);
        if (got <= 0) break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
    // A file that shrank while being read is parsed as far as it went.
    document->length_ = filled;
    document->bytes_[filled] = 0;
    document->parse();
    return document;
}

void TBXML::allocate(std::size_t length) {
    bytes_ = std::make_unique_for_overwrite<char[]>(length + 1);
    bytes_[length] = 0;
    length_ = length;
}

void TBXML::parse() {
    end_ = bytes_.get() + length_;
    damaged_ = false;
    for (char* tag = nextTag(bytes_.get()); tag;)
        tag = readMarkup(tag);
    if (!root_ || current_) damaged_ = true;
    current_ = nullptr;
}

char* TBXML::fail() {
    damaged_ = true;
    return nullptr;
}

char* TBXML::nextTag(char* from) const {
    char* open = skipSpaces(from);
    if (*open != '<') open = findIn(open, end_, '<');
    return open ? open + 1 : nullptr;
}

char* TBXML::afterTag(char* tagEnd) const {
    // A tag cut short by the next '<' ends there, and that '<' starts the next tag.
    return *tagEnd == '<' ? tagEnd + 1 : nextTag(tagEnd + 1);
}

char* TBXML::skipPast(char* from, std::string_view closing) {
    char* close = findIn(from, end_, closing);
    return close ? nextTag(close + closing.size()) : fail();
}

char* TBXML::readMarkup(char* tag) {
    if (*tag != '/' && *tag != '?' && *tag != '!') return readElement(tag);
    if (startsWith(tag, end_, kCommentStart)) return skipPast(tag + kCommentStart.size(), kCommentEnd);
    if (startsWith(tag, end_, kCDataStart)) return skipPast(tag + kCDataStart.size(), kCDataEnd);
    char* tagEnd = scanTag(tag, 0, false);
    if (!tagEnd) return fail();
    if (*tag == '/' && current_) {
        current_ = current_->parentElement;
        --depth_;
    }
    return afterTag(tagEnd);
}

// The steps of a start tag are inline, so the compiler folds them into one loop per tag.
inline char* TBXML::readElement(char* tag) {
    TBXMLElement* element = elements_.take();
    element->name = tag;
    char* p = scanTag(tag, kSpace | kSlash, false);
    if (!p) return fail();
    bool afterEquals = false;
    // One space or '/' parts the name from the attributes; the '/' of "/>" stays to end the tag.
    if (is(*p, kSpace) || (*p == '/' && p[1] != '>')) {
        afterEquals = is(*p, kSpace) && p > tag && p[-1] == '=';
        *p++ = 0;
    }
    char* tagEnd = readAttributes(*element, p, afterEquals);
    if (!tagEnd) return fail();
    const char ending = *tagEnd;
    *tagEnd = 0;
    link(element);
    if (ending == '/') return nextTag(tagEnd + 2);
    current_ = element;
    ++depth_;
    return ending == '<' ? tagEnd + 1 : readText(*element, tagEnd + 1);
}

inline void TBXML::link(TBXMLElement* element) {
    if (!root_) root_ = element;
    element->parentElement = current_;
    if (!current_ || depth_ >= kMaxDepth) return;
    if (TBXMLElement* previous = current_->currentChild) {
        previous->nextSibling = element;
        element->previousSibling = previous;
    } else {
        current_->firstChild = element;
    }
    current_->currentChild = element;
    current_->text = nullptr;
}

inline char* TBXML::readAttributes(TBXMLElement& element, char* from, bool startsAfterEquals) {
    TBXMLAttribute** slot = &element.firstAttribute;
    for (char* p = from;;) {
        char* const name = skipSpaces(p);
        p = scanTag(name, kSpace | kEquals | kEmptyEnd, startsAfterEquals);
        if (!p) return nullptr;
        // Nothing before the end of the tag but spaces.
        if (p == name && *p != '=') return p;
        char* const nameEnd = p;
        p = skipSpacesBefore(p, '=');
        startsAfterEquals = false;
        // A name without '=' has no value and is left out.
        if (*p != '=') continue;
        *nameEnd = 0;
        char* value = nullptr;
        p = readValue(skipSpacesBefore(p + 1, '"'), value, startsAfterEquals);
        if (!p) return nullptr;
        TBXMLAttribute* attribute = attributes_.take();
        attribute->name = name;
        attribute->value = value;
        *slot = attribute;
        slot = &attribute->next;
    }
}

inline char* TBXML::readValue(char* from, char*& value, bool& endsWithEquals) {
    char* valueEnd = nullptr;
    char* resume = nullptr;
    bool holdsAngle = false;
    endsWithEquals = false;
    if (*from == '"' || *from == '\'') {
        value = from + 1;
        valueEnd = closingQuote(from, holdsAngle);
        if (valueEnd) {
            resume = valueEnd + 1;
        } else {
            // Without its closing quote the value runs to the end of the tag.
            valueEnd = resume = scanTag(value, kEmptyEnd, false);
            if (!resume) return nullptr;
            holdsAngle = findIn(value, valueEnd, '<') != nullptr;
        }
    } else {
        value = from;
        valueEnd = scanTag(value, kSpace | kEmptyEnd, true);
        if (!valueEnd) return nullptr;
        resume = is(*valueEnd, kSpace) ? valueEnd + 1 : valueEnd;
        holdsAngle = findIn(value, valueEnd, '<') != nullptr;
        endsWithEquals = valueEnd > value && valueEnd[-1] == '=';
    }
    if (holdsAngle || findIn(value, valueEnd, '&')) valueEnd = unescape(value, valueEnd);
    // The end of the tag is cut by the element, which still has to see what ends it.
    if (valueEnd < resume) *valueEnd = 0;
    return resume;
}

inline char* TBXML::scanTag(char* from, unsigned stops, bool startsAfterEquals) {
    char* p = skipUntil(from, stops | kTagSpecial);
    // Most names and values end on a plain space or '='; the rest take a closer look.
    return is(*p, stops & (kSpace | kEquals)) ? p : scanSpecials(from, p, stops, startsAfterEquals);
}

char* TBXML::scanSpecials(char* from, char* p, unsigned stops, bool startsAfterEquals) {
    for (;; p = skipUntil(p + 1, stops | kTagSpecial)) {
        switch (*p) {
            case '>':
                return p;
            case '<':
                if (!startsWith(p + 1, end_, kCDataStart)) return p;
                p = findIn(p + 1 + kCDataStart.size(), end_, kCDataEnd);
                if (!p) return nullptr;
                p += kCDataEnd.size() - 1;
                break;
            case '"':
            case '\'':
                // A quoted stretch after '=' may hold '>' and '<'.
                if (followsEqualsSign(from, p, startsAfterEquals)) {
                    bool holdsAngle = false;
                    if (char* close = closingQuote(p, holdsAngle)) p = close;
                }
                break;
            case '\0':
                if (p == end_) return nullptr;
                break;
            case '/':
                if ((stops & kSlash) || p[1] == '>') return p;
                break;
            default:
                return p;
        }
    }
}

inline char* TBXML::closingQuote(char* quote, bool& holdsAngle) {
    bool& exhausted = *quote == '"' ? noMoreDoubleQuotes_ : noMoreSingleQuotes_;
    if (exhausted) return nullptr;
    for (char* p = quote + 1;; ++p) {
        p = skipUntil(p, kQuoteSpecial);
        if (*p == *quote) return p;
        if (*p == '<') holdsAngle = true;
        if (p == end_) {
            exhausted = true;
            return nullptr;
        }
    }
}

char* TBXML::readText(TBXMLElement& element, char* start) {
    char* first = skipSpaces(start);
    // Usually only layout lies before the next tag.
    if (*first == '<' && !startsWith(first + 1, end_, kCDataStart)) {
        *first = 0;
        element.text = first;
        return first + 1;
    }
    char* stop = first;
    bool holdsCData = false;
    while ((stop = findIn(stop, end_, '<'))) {
        if (!startsWith(stop + 1, end_, kCDataStart)) break;
        char* close = findIn(stop + 1 + kCDataStart.size(), end_, kCDataEnd);
        if (!close) {
            stop = nullptr;
            break;
        }
        holdsCData = true;
        stop = close + kCDataEnd.size();
    }
    char* textEnd = stop ? stop : end_;
    if (holdsCData || findIn(first, textEnd, '&')) textEnd = unescape(first, textEnd);
    while (first < textEnd && is(*first, kSpace))
        ++first;
    while (textEnd > first && is(textEnd[-1], kSpace))
        --textEnd;
    *textEnd = 0;
    element.text = first;
    // Without a following tag the text runs to the end and nothing is left to parse.
    return stop ? stop + 1 : nullptr;
}

std::string_view TBXML::elementName(const TBXMLElement* element) {
    return element && element->name ? element->name : "";
}

std::string_view TBXML::textForElement(const TBXMLElement* element) {
    return element && element->text ? element->text : "";
}

std::string_view TBXML::attributeName(const TBXMLAttribute* attribute) {
    return attribute && attribute->name ? attribute->name : "";
}

std::string_view TBXML::attributeValue(const TBXMLAttribute* attribute) {
    return attribute && attribute->value ? attribute->value : "";
}

std::optional<std::string_view> TBXML::valueOfAttributeNamed(std::string_view name,
                                                             const TBXMLElement* element) {
    if (!element) return std::nullopt;
    for (const TBXMLAttribute* attribute = element->firstAttribute; attribute; attribute = attribute->next) {
        if (attributeName(attribute) == name) return attributeValue(attribute);
    }
    return std::nullopt;
}

const TBXMLElement* TBXML::childElementNamed(std::string_view name, const TBXMLElement* parent) {
    if (!parent) return nullptr;
    for (const TBXMLElement* child = parent->firstChild; child; child = child->nextSibling) {
        if (elementName(child) == name) return child;
    }
    return nullptr;
}

const TBXMLElement* TBXML::nextSiblingNamed(std::string_view name, const TBXMLElement* from) {
    for (const TBXMLElement* sibling = from ? from->nextSibling : nullptr; sibling;
         sibling = sibling->nextSibling) {
        if (elementName(sibling) == name) return sibling;
    }
    return nullptr;
}

}  // namespace kt
