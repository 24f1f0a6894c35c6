#include "engine/core/KTLanguage.h"

#include <algorithm>
#include <cctype>

#include "engine/core/KTContentLog.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTResourceManager.h"

namespace kt {
namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string& defaultSetting() {
    static std::string language(KTLanguage::kEnglish);
    return language;
}

}  // namespace

// A locale name is language[_territory][.codeset][@modifier]; the language is two or three letters.
std::string KTLanguage::fromPosixLocale(std::string_view locale) {
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    if (language.size() < 2 || language.size() > 3 || !std::ranges::all_of(language, isAsciiLetter))
        return std::string(kEnglish);
    std::string code(language);
    std::ranges::transform(code, code.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
    return code;
}

std::string KTLanguage::fromEnvironment(const Environment& variable) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = variable(name);
        if (value && *value) return fromPosixLocale(value);
    }
    return std::string(kEnglish);
}

std::string KTLanguage::fromDefaultSetting(const std::string* setting, const Environment& variable) {
    if (!setting || setting->empty() || *setting == kAuto) return fromEnvironment(variable);
    if (*setting == kNoLocale) return std::string(kEnglish);
    return *setting;
}

bool KTLanguage::isLanguageName(std::string_view language) {
    return !language.empty() && std::ranges::all_of(language, [](char c) {
        return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-';
    });
}

std::string KTLanguage::localeFile(std::string_view language) {
    return KTFormat("data/locales/%@.plist", std::string(language));
}

bool KTLanguage::available(const std::string& language) {
    if (language == kEnglish) return true;
    if (!isLanguageName(language)) {
        KTLogContentProblem("not a language name", language);
        return false;
    }
    return KTResourceManager::shared().getPath(localeFile(language)).has_value();
}

const std::string& KTLanguage::defaultLanguage() {
    return defaultSetting();
}

void KTLanguage::setDefaultLanguage(std::string language) {
    defaultSetting() = std::move(language);
}

std::string KTLanguage::current() {
    const std::shared_ptr<const KTLocale> locale = KTLocale::currentLocale();
    return locale ? locale->name() : std::string(kEnglish);
}

bool KTLanguage::use(const std::string& language) {
    const std::string shown = available(language) ? language : std::string(kEnglish);
    if (shown == current()) return false;
    KTResourceManager::shared().forgetResolvedPaths();
    if (shown != kEnglish) KTLocale::loadLocale(shown, localeFile(shown));
    KTLocale::setLocale(shown);
    return true;
}

}  // namespace kt
