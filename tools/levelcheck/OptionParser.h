#pragma once

#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace moonbrook::levelcheck {

// The whole text as a number; false when it is not one.
template <typename Number>
bool parseNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, failed] = std::from_chars(text.data(), end, value);
    return failed == std::errc() && stop == end;
}

// A tool's command line: options that take a value ("--name value" or "--name=value"), flags ("--name")
// and other words.
template <typename Options>
class OptionParser {
public:
    // Stores the value and answers whether it was acceptable.
    using Setter = std::function<bool(Options&, const std::string&)>;
    using WordTaker = std::function<void(Options&, const std::string&)>;

    OptionParser& value(std::string name, Setter setter) {
        values_.emplace(std::move(name), std::move(setter));
        return *this;
    }
    OptionParser& flag(std::string name, bool Options::*member) {
        flags_.emplace(std::move(name), member);
        return *this;
    }
    // Where the words that are not options go; without it such a word is a mistake.
    OptionParser& words(WordTaker taker) {
        words_ = std::move(taker);
        return *this;
    }

    // The options, or none with the reason in `error`.
    std::optional<Options> parse(const std::vector<std::string>& arguments, std::string& error) const {
        Options options;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const std::string& argument = arguments[i];
            if (const auto flag = flags_.find(argument); flag != flags_.end()) {
                options.*(flag->second) = true;
                continue;
            }
            if (!argument.starts_with("--")) {
                if (!words_) {
                    error = "unexpected argument " + argument;
                    return std::nullopt;
                }
                words_(options, argument);
                continue;
            }
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            const auto option = values_.find(name);
            if (option == values_.end()) {
                error = "unknown option " + name;
                return std::nullopt;
            }
            if (equals == std::string::npos && i + 1 >= arguments.size()) {
                error = name + " needs a value";
                return std::nullopt;
            }
            const std::string value =
                equals == std::string::npos ? arguments[++i] : argument.substr(equals + 1);
            if (!option->second(options, value)) {
                error = "bad value for " + name + ": " + value;
                return std::nullopt;
            }
        }
        return options;
    }

private:
    std::map<std::string, Setter, std::less<>> values_;
    std::map<std::string, bool Options::*, std::less<>> flags_;
    WordTaker words_;
};

}  // namespace moonbrook::levelcheck
