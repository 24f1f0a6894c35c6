// libFuzzer target: the XML reader and the owned element tree on arbitrary bytes (run by tools/fuzz.sh).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/core/TBXML.h"
#include "engine/core/XMLElement.h"

namespace {

// Touches every name, text and value reachable from the element, so the sanitizers see each pointer used.
std::size_t visit(const kt::TBXMLElement* element) {
    std::size_t bytes = 0;
    for (; element; element = element->nextSibling) {
        bytes += kt::TBXML::elementName(element).size() + kt::TBXML::textForElement(element).size();
        for (const kt::TBXMLAttribute* a = element->firstAttribute; a; a = a->next) {
            bytes += kt::TBXML::attributeName(a).size() + kt::TBXML::attributeValue(a).size();
        }
        bytes += visit(element->firstChild);
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kt::TBXML document(text);
    visit(document.rootXMLElement());
    kt::XMLElement::fromString(text);
    return 0;
}
