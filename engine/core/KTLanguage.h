#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kt {

// Which language the texts show in. A language is named by its code ("de", "fr") and has its locale file
// "data/locales/<code>.plist". English, the language the texts are written in, shows with no locale current.
class KTLanguage {
public:
    static constexpr std::string_view kEnglish = "en";
    // What the default setting ("data/default_locale.txt") may say besides a language's code.
    static constexpr std::string_view kNoLocale = "nolocale";
    static constexpr std::string_view kAuto = "auto";

    // The value of an environment variable, or null when it is not set.
    using Environment = std::function<const char*(const char*)>;

    // The language of a POSIX locale name: "de_DE.UTF-8", "fr_CA" and "de" name German and French; "C",
    // "POSIX" and names that are no language code give English.
    static std::string fromPosixLocale(std::string_view locale);
    // The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty decides, as for messages.
    static std::string fromEnvironment(const Environment& variable);
    // English for "nolocale"; the environment's language for "auto" or a missing or empty setting; else the
    // setting.
    static std::string fromDefaultSetting(const std::string* setting, const Environment& variable);

    // Letters, digits, '_' and '-' only, since the locale file's name is made from it.
    static bool isLanguageName(std::string_view language);
    static std::string localeFile(std::string_view language);
    // English, or a language whose locale file is found.
    static bool available(const std::string& language);

    // The language a profile without a choice of its own shows; English until set.
    static const std::string& defaultLanguage();
    static void setDefaultLanguage(std::string language);

    // The language shown now: the current locale's name, or English.
    static std::string current();
    // Shows the texts in the language from now on; a language that is not available leaves English, its
    // missing file logged once. Paths resolved for the language shown before are forgotten, so that the
    // localised files of the new one are found. Whether the language shown changed.
    static bool use(const std::string& language);
};

}  // namespace kt
