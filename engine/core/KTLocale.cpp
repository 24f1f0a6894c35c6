#include "engine/core/KTLocale.h"

#include "engine/core/KTLog.h"
#include "engine/core/KTPlist.h"
#include "engine/core/KTResourceManager.h"

namespace kt {
namespace {

std::map<std::string, std::shared_ptr<KTLocale>, std::less<>>& registry() {
    static std::map<std::string, std::shared_ptr<KTLocale>, std::less<>> locales;
    return locales;
}

std::shared_ptr<const KTLocale>& current() {
    static std::shared_ptr<const KTLocale> locale;
    return locale;
}

std::map<std::string, std::string, std::less<>> textTable(const KTPlist& dictionary) {
    std::map<std::string, std::string, std::less<>> table;
    for (const auto& [key, value] : dictionary.dictionaryValue())
        table.emplace(key, value.stringValue());
    return table;
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\n\r\f\v";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

void KTLocale::loadLocale(const std::string& name, const std::string& file) {
    auto locale = std::make_shared<KTLocale>();
    locale->setName(name);
    if (const auto path = KTResourceManager::shared().getPath(file)) locale->loadFromFile(*path);
    registry()[name] = std::move(locale);
}

void KTLocale::setLocale(const std::string& name) {
    const auto found = registry().find(name);
    current() = found == registry().end() ? nullptr : found->second;
    std::string names;
    for (const auto& entry : registry())
        names += (names.empty() ? "" : ", ") + entry.first;
    KTLog("setLocale: %@ => %@, locales: %@", name, current() ? current()->name() : "(null)", names);
}

std::shared_ptr<const KTLocale> KTLocale::currentLocale() {
    return current();
}

bool KTLocale::loadFromFile(const std::string& path) {
    const std::optional<KTPlist> file = KTPlist::readFile(path);
    if (!file) return false;
    strings_ = textTable((*file)["strings"]);
    fonts_ = textTable((*file)["fonts"]);
    return true;
}

std::string KTLocale::translateString(const std::string& text) const {
    const auto found = strings_.find(trimmed(text));
    if (found == strings_.end() || found->second.empty()) return text;
    return found->second;
}

std::string KTLocale::translateString(const std::string& format, const KTFormatArg& value) const {
    return KTFormatList(translateString(format), {value});
}

std::string KTLocale::substituteFont(const std::string& font) const {
    const auto found = fonts_.find(font);
    return found == fonts_.end() ? font : found->second;
}

std::string KTLocalize(const std::string& text) {
    const std::shared_ptr<const KTLocale> locale = KTLocale::currentLocale();
    return locale ? locale->translateString(text) : text;
}

std::string KTLocalizeFormat(const std::string& format, const KTFormatArg& value) {
    return KTFormatList(KTLocalize(format), {value});
}

}  // namespace kt
