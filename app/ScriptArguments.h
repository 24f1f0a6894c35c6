#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace moonbrook {

// The words after a script command's name, read in order by the command's parser. The first problem is kept
// and every later read answers a neutral value, so a parser reads straight on and its caller reports.
class ScriptArguments {
public:
    explicit ScriptArguments(std::string_view text) : text_(text) {}

    // `what` names the argument in the error message.
    float number(std::string_view what);
    std::uint64_t count(std::string_view what);
    std::string word(std::string_view what);
    std::optional<std::string> optionalWord();
    // Everything left on the line, inner spaces included.
    std::string rest(std::string_view what);

    void fail(std::string message);
    // Words left over are an error too.
    void finish();
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

private:
    std::optional<std::string_view> nextWord();
    std::string_view required(std::string_view what);

    std::string_view text_;
    std::string error_;
};

}  // namespace moonbrook
