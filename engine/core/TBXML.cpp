#include "engine/core/TBXML.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace kt {
namespace {

constexpr std::string_view kCommentStart = "!--";
constexpr std::string_view kCommentEnd = "-->";
constexpr std::string_view kCDataStart = "![CDATA[";
constexpr std::string_view kCDataEnd = "]]>";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool startsWith(const char* at, const char* end, std::string_view prefix) {
    return static_cast<std::size_t>(end - at) >= prefix.size() &&
           std::memcmp(at, prefix.data(), prefix.size()) == 0;
}

char* findIn(char* from, char* end, std::string_view sequence) {
    const std::string_view range(from, static_cast<std::size_t>(end - from));
    const std::size_t at = range.find(sequence);
    return at == std::string_view::npos ? nullptr : from + at;
}

// Removes the CDATA markers from [start, end) by moving the rest down; returns the new end.
char* unwrapCData(char* start, char* end) {
    char* read = start;
    char* write = start;
    while (read < end) {
        if (*read != '<' || !startsWith(read + 1, end, kCDataStart)) {
            *write++ = *read++;
            continue;
        }
        read += 1 + kCDataStart.size();
        char* close = findIn(read, end, kCDataEnd);
        char* contentEnd = close ? close : end;
        std::memmove(write, read, static_cast<std::size_t>(contentEnd - read));
        write += contentEnd - read;
        read = close ? close + kCDataEnd.size() : end;
    }
    return write;
}

bool followsEqualsSign(const char* tagStart, const char* at) {
    while (at > tagStart && isSpace(at[-1]))
        --at;
    return at > tagStart && at[-1] == '=';
}

}  // namespace

template <typename Record>
Record* TBXML::RecordPool<Record>::take() {
    if (used_ == kRecordsPerBlock) {
        blocks_.push_back(std::make_unique<Record[]>(kRecordsPerBlock));
        used_ = 0;
    }
    return &blocks_.back()[used_++];
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

char* TBXML::find(char* from, char c) const {
    char* const end = bytes_.get() + length_;
    if (from >= end) return nullptr;
    return static_cast<char*>(std::memchr(from, c, static_cast<std::size_t>(end - from)));
}

char* TBXML::find(char* from, std::string_view sequence) const {
    char* const end = bytes_.get() + length_;
    return from >= end ? nullptr : findIn(from, end, sequence);
}

void TBXML::parse() {
    char* const end = bytes_.get() + length_;
    damaged_ = false;
    char* cursor = bytes_.get();
    while (true) {
        char* open = pendingTag_ ? pendingTag_ : find(cursor, '<');
        pendingTag_ = nullptr;
        if (!open) break;
        char* tag = open + 1;
        const bool comment = startsWith(tag, end, kCommentStart);
        if (comment || startsWith(tag, end, kCDataStart)) {
            const std::string_view closing = comment ? kCommentEnd : kCDataEnd;
            char* close = find(tag + (comment ? kCommentStart : kCDataStart).size(), closing);
            if (!close) {
                damaged_ = true;
                break;
            }
            cursor = close + closing.size();
            continue;
        }
        char* tagEnd = findTagEnd(tag);
        if (!tagEnd) {
            damaged_ = true;
            break;
        }
        // A tag cut short by the next '<' still ends there, and that '<' starts the next tag.
        const bool endsAtNextTag = *tagEnd == '<';
        if (endsAtNextTag) pendingTag_ = tagEnd;
        *tagEnd = 0;
        cursor = tagEnd + 1;
        if (*tag == '?' || *tag == '!') continue;
        if (*tag == '/') {
            closeElement();
        } else {
            cursor = openElement(tag, tagEnd, endsAtNextTag);
        }
    }
    if (!root_ || current_) damaged_ = true;
    current_ = nullptr;
}

char* TBXML::findTagEnd(char* from) {
    char* const end = bytes_.get() + length_;
    for (char* p = from; p < end; ++p) {
        switch (*p) {
            case '>':
                return p;
            case '<':
                if (!startsWith(p + 1, end, kCDataStart)) return p;
                p = find(p + 1 + kCDataStart.size(), kCDataEnd);
                if (!p) return nullptr;
                p += kCDataEnd.size() - 1;
                break;
            case '"':
            case '\'':
                // A quoted attribute value may hold '>' and '<'.
                if (followsEqualsSign(from, p)) {
                    if (char* close = skipQuotedValue(p)) p = close;
                }
                break;
            default:
                break;
        }
    }
    return nullptr;
}

char* TBXML::skipQuotedValue(char* quote) {
    bool& exhausted = *quote == '"' ? noMoreDoubleQuotes_ : noMoreSingleQuotes_;
    if (exhausted) return nullptr;
    char* close = find(quote + 1, *quote);
    if (!close) exhausted = true;
    return close;
}

void TBXML::closeElement() {
    if (!current_) return;
    current_ = current_->parentElement;
    --depth_;
}

char* TBXML::openElement(char* tag, char* tagEnd, bool endsAtNextTag) {
    TBXMLElement* element = elements_.take();
    const bool empty = !endsAtNextTag && tagEnd > tag && tagEnd[-1] == '/';
    char* const contentEnd = empty ? tagEnd - 1 : tagEnd;
    char* nameEnd = tag;
    while (nameEnd < contentEnd && !isSpace(*nameEnd) && *nameEnd != '/')
        ++nameEnd;
    element->name = tag;
    char* const attributesStart = nameEnd < contentEnd ? nameEnd + 1 : contentEnd;
    *nameEnd = 0;
    readAttributes(*element, attributesStart, contentEnd);

    if (!root_) root_ = element;
    element->parentElement = current_;
    if (current_ && depth_ < kMaxDepth) {
        if (TBXMLElement* previous = current_->currentChild) {
            previous->nextSibling = element;
            element->previousSibling = previous;
        } else {
            current_->firstChild = element;
        }
        current_->currentChild = element;
        current_->text = nullptr;
    }
    if (empty) return tagEnd + 1;
    current_ = element;
    ++depth_;
    return endsAtNextTag ? tagEnd + 1 : readText(*element, tagEnd + 1);
}

char* TBXML::readText(TBXMLElement& element, char* start) {
    char* const end = bytes_.get() + length_;
    char* stop = nullptr;
    bool hasCData = false;
    for (char* scan = start; (stop = find(scan, '<'));) {
        if (!startsWith(stop + 1, end, kCDataStart)) break;
        char* close = find(stop + 1 + kCDataStart.size(), kCDataEnd);
        if (!close) {
            stop = nullptr;
            break;
        }
        hasCData = true;
        scan = close + kCDataEnd.size();
    }
    char* textEnd = stop ? stop : end;
    if (hasCData) textEnd = unwrapCData(start, textEnd);
    char* first = start;
    while (first < textEnd && isSpace(*first))
        ++first;
    while (textEnd > first && isSpace(textEnd[-1]))
        --textEnd;
    *textEnd = 0;
    element.text = first;
    // Without a following tag the text runs to the end and nothing is left to parse.
    if (!stop) return end;
    pendingTag_ = stop;
    return stop;
}

void TBXML::readAttributes(TBXMLElement& element, char* from, char* to) {
    TBXMLAttribute* last = nullptr;
    char* p = from;
    while (p < to) {
        while (p < to && isSpace(*p))
            ++p;
        if (p >= to) break;
        char* const name = p;
        while (p < to && !isSpace(*p) && *p != '=')
            ++p;
        char* const nameEnd = p;
        while (p < to && isSpace(*p))
            ++p;
        // A name without "=" has no value and is left out.
        if (p >= to || *p != '=') continue;
        ++p;
        while (p < to && isSpace(*p))
            ++p;
        char* value = p;
        char* valueEnd;
        if (p < to && (*p == '"' || *p == '\'')) {
            value = p + 1;
            char* close = static_cast<char*>(std::memchr(value, *p, static_cast<std::size_t>(to - value)));
            valueEnd = close ? close : to;
            p = close ? close + 1 : to;
        } else {
            while (p < to && !isSpace(*p))
                ++p;
            valueEnd = p;
        }
        if (std::memchr(value, '<', static_cast<std::size_t>(valueEnd - value))) {
            valueEnd = unwrapCData(value, valueEnd);
        }
        *nameEnd = 0;
        *valueEnd = 0;
        appendAttribute(element, last, name, value);
    }
}

void TBXML::appendAttribute(TBXMLElement& element, TBXMLAttribute*& last, char* name, char* value) {
    TBXMLAttribute* attribute = attributes_.take();
    attribute->name = name;
    attribute->value = value;
    if (last) {
        last->next = attribute;
    } else {
        element.firstAttribute = attribute;
    }
    last = attribute;
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
