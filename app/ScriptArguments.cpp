#include "app/ScriptArguments.h"

#include "app/NumberParsing.h"
#include "app/Words.h"

namespace moonbrook {

std::optional<std::string_view> ScriptArguments::nextWord() {
    const auto [word, rest] = splitFirstWord(text_);
    text_ = rest;
    if (word.empty()) return std::nullopt;
    return word;
}

std::string_view ScriptArguments::required(std::string_view what) {
    if (!ok()) return {};
    const std::optional<std::string_view> word = nextWord();
    if (!word) fail("missing " + std::string(what));
    return word.value_or(std::string_view{});
}

float ScriptArguments::number(std::string_view what) {
    const std::string_view word = required(what);
    if (!ok()) return 0;
    const std::optional<float> value = parseNumber<float>(word);
    if (!value) fail(std::string(what) + " must be a number, not '" + std::string(word) + "'");
    return value.value_or(0);
}

std::uint64_t ScriptArguments::count(std::string_view what) {
    const std::string_view word = required(what);
    if (!ok()) return 0;
    const std::optional<std::uint64_t> value = parseNumber<std::uint64_t>(word);
    if (!value) fail(std::string(what) + " must be a whole number, not '" + std::string(word) + "'");
    return value.value_or(0);
}

std::string ScriptArguments::word(std::string_view what) {
    return std::string(required(what));
}

std::optional<std::string> ScriptArguments::optionalWord() {
    if (!ok()) return std::nullopt;
    const std::optional<std::string_view> word = nextWord();
    if (!word) return std::nullopt;
    return std::string(*word);
}

std::string ScriptArguments::rest(std::string_view what) {
    if (!ok()) return {};
    const std::string rest(trimmed(text_));
    text_ = {};
    if (rest.empty()) fail("missing " + std::string(what));
    return rest;
}

void ScriptArguments::fail(std::string message) {
    if (ok()) error_ = std::move(message);
}

void ScriptArguments::finish() {
    if (!ok()) return;
    if (const std::optional<std::string_view> extra = nextWord()) {
        fail("unexpected argument '" + std::string(*extra) + "'");
    }
}

}  // namespace moonbrook
