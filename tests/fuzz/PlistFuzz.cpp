// libFuzzer target: property lists read from arbitrary bytes, written back and read again (run by
// tools/fuzz.sh).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/core/KTPlist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto value = kt::KTPlist::fromXML(text)) kt::KTPlist::fromXML(value->toXML());
    return 0;
}
