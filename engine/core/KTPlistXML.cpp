// Reading and writing KTPlist values as XML property lists through libplist.
#include <fcntl.h>
#include <plist/plist.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>

#include "engine/core/KTContentLog.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTPlist.h"

namespace kt {
namespace {

// Property-list dates count seconds from 2001-01-01.
constexpr std::chrono::seconds kReferenceDateOffset{978307200};
// libplist frees nested containers recursively; deeper input is refused before it reaches the library.
constexpr int kMaxNesting = 256;

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

bool nestsTooDeep(std::string_view xml) {
    int depth = 0;
    for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
        std::string_view tag = xml.substr(at + 1);
        const bool closing = tag.starts_with('/');
        if (closing) tag.remove_prefix(1);
        if (!tag.starts_with("array") && !tag.starts_with("dict")) continue;
        const std::size_t tagEnd = xml.find('>', at);
        if (tagEnd == std::string_view::npos) break;
        if (xml[tagEnd - 1] == '/') continue;
        depth += closing ? -1 : 1;
        if (depth > kMaxNesting) return true;
    }
    return false;
}

KTPlist valueOf(plist_t node);

KTPlist arrayOf(plist_t node) {
    KTPlist::Array items;
    const std::uint32_t count = plist_array_get_size(node);
    items.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        items.push_back(valueOf(plist_array_get_item(node, i)));
    return KTPlist(std::move(items));
}

KTPlist dictionaryOf(plist_t node) {
    KTPlist::Dictionary entries;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    while (true) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iterator, &key, &item);
        if (!item) {
            std::free(key);
            break;
        }
        entries.emplace_back(key ? key : "", valueOf(item));
        std::free(key);
    }
    std::free(iterator);
    return KTPlist(std::move(entries));
}

KTPlist valueOf(plist_t node) {
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            std::uint8_t flag = 0;
            plist_get_bool_val(node, &flag);
            return KTPlist(flag != 0);
        }
        case PLIST_UINT: {
            std::uint64_t number = 0;
            plist_get_uint_val(node, &number);
            return KTPlist(static_cast<std::int64_t>(number));
        }
        case PLIST_REAL: {
            double number = 0;
            plist_get_real_val(node, &number);
            return KTPlist(number);
        }
        case PLIST_STRING: {
            std::uint64_t length = 0;
            const char* text = plist_get_string_ptr(node, &length);
            return KTPlist(std::string(text ? text : "", text ? length : 0));
        }
        case PLIST_DATE: {
            std::int32_t seconds = 0;
            std::int32_t microseconds = 0;
            plist_get_date_val(node, &seconds, &microseconds);
            return KTPlist(KTPlist::Date(std::chrono::seconds(seconds) + kReferenceDateOffset));
        }
        case PLIST_DATA: {
            std::uint64_t length = 0;
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(plist_get_data_ptr(node, &length));
            return KTPlist(bytes ? KTPlist::Data(bytes, bytes + length) : KTPlist::Data());
        }
        case PLIST_ARRAY:
            return arrayOf(node);
        case PLIST_DICT:
            return dictionaryOf(node);
        default:
            return KTPlist();
    }
}

std::int32_t referenceSeconds(KTPlist::Date date) {
    const std::int64_t seconds = (date.time_since_epoch() - kReferenceDateOffset).count();
    constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(seconds, kLow, kHigh));
}

plist_t nodeOf(const KTPlist& value) {
    switch (value.type()) {
        case KTPlist::Type::string:
            return plist_new_string(value.stringValue().c_str());
        case KTPlist::Type::integer:
            return plist_new_uint(static_cast<std::uint64_t>(value.intValue()));
        case KTPlist::Type::real:
            return plist_new_real(value.realValue());
        case KTPlist::Type::boolean:
            return plist_new_bool(value.boolValue() ? 1 : 0);
        case KTPlist::Type::date:
            return plist_new_date(referenceSeconds(*value.dateValue()), 0);
        case KTPlist::Type::data: {
            const KTPlist::Data& bytes = value.dataValue();
            return plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
        case KTPlist::Type::array: {
            plist_t items = plist_new_array();
            for (const KTPlist& item : value.arrayValue()) {
                if (plist_t node = nodeOf(item)) plist_array_append_item(items, node);
            }
            return items;
        }
        case KTPlist::Type::dictionary: {
            plist_t entries = plist_new_dict();
            for (const auto& [key, item] : value.dictionaryValue()) {
                if (plist_t node = nodeOf(item)) plist_dict_set_item(entries, key.c_str(), node);
            }
            return entries;
        }
        case KTPlist::Type::none:
            break;
    }
    return nullptr;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string content(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    while (filled < content.size()) {
        const ssize_t got = ::read(fd, content.data() + filled, content.size() - filled);
        if (got <= 0) break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
    content.resize(filled);
    return content;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (put <= 0) return false;
        written += static_cast<std::size_t>(put);
    }
    return true;
}

// The rename itself reaches the disk only when the folder is flushed too.
void flushFolderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool replaceFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    flushFolderOf(path);
    return true;
}

}  // namespace

std::optional<KTPlist> KTPlist::fromXML(std::string_view xml) {
    if (xml.empty() || xml.size() > std::numeric_limits<std::uint32_t>::max() || nestsTooDeep(xml)) {
        return std::nullopt;
    }
    plist_t parsed = nullptr;
    plist_from_xml(xml.data(), static_cast<std::uint32_t>(xml.size()), &parsed);
    const PlistPtr root(parsed);
    if (!root) return std::nullopt;
    return valueOf(root.get());
}

std::string KTPlist::toXML() const {
    const PlistPtr root(nodeOf(*this));
    if (!root) return {};
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(root.get(), &xml, &length);
    std::string text(xml ? xml : "", xml ? length : 0);
    plist_to_xml_free(xml);
    return text;
}

std::optional<KTPlist> KTPlist::readFile(const std::string& path) {
    const std::optional<std::string> content = readWholeFile(path);
    if (!content) return std::nullopt;
    std::optional<KTPlist> value = fromXML(*content);
    if (!value) KTLogContentProblem("damaged property list", path);
    return value;
}

bool KTPlist::writeFile(const std::string& path) const {
    const std::string xml = toXML();
    if (xml.empty()) return false;
    if (replaceFileAtomically(path, xml)) return true;
    KTLog("could not write property list: %@", path);
    return false;
}

}  // namespace kt
