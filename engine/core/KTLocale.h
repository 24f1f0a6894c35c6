#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "engine/core/KTFormat.h"

namespace kt {

// The translated texts and font substitutions of one language, read from a property list whose root
// dictionary holds "strings" (source text -> translation) and "fonts" (font file -> font file to use).
// Loaded locales are kept by name; at most one is current.
class KTLocale {
public:
    // Reads the file found for the resource name and registers the locale under the name, replacing an
    // earlier one; a missing or damaged file registers an empty locale.
    static void loadLocale(const std::string& name, const std::string& file);
    // An unknown name leaves no locale current, so every text shows untranslated.
    static void setLocale(const std::string& name);
    static std::shared_ptr<const KTLocale> currentLocale();

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    bool loadFromFile(const std::string& path);

    // Looks the text up with surrounding blanks and line breaks removed; a missing or empty translation
    // gives the text back unchanged.
    std::string translateString(const std::string& text) const;
    // Translates the format, then puts the value in for its placeholder.
    std::string translateString(const std::string& format, const KTFormatArg& value) const;
    std::string substituteFont(const std::string& font) const;

private:
    std::string name_;
    std::map<std::string, std::string, std::less<>> strings_;
    std::map<std::string, std::string, std::less<>> fonts_;
};

// The text in the current language, or the text itself when no locale is current.
std::string KTLocalize(const std::string& text);
// The format in the current language with the value put in for its placeholder.
std::string KTLocalizeFormat(const std::string& format, const KTFormatArg& value);

}  // namespace kt
