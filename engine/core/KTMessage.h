#pragma once

#include <optional>
#include <string>

namespace kt {

class KTObject;

// A deferred call of an operation by name, built from a handler definition:
// "[controller ]operation[:argument]". With an argument the operation name keeps its trailing colon.
class KTMessage {
public:
    // The file that holds the definition, if any, names it in the report of a missing operation.
    explicit KTMessage(const std::string& definition, std::string file = "(no file)");

    const std::string& controllerName() const { return controllerName_; }
    const std::string& name() const { return name_; }
    const std::optional<std::string>& argument() const { return argument_; }
    const std::string& description() const { return definition_; }

    // Calls the operation on the named controller, or on the default target when no such controller exists.
    // A target without the operation is skipped, and reported once.
    void runAt(KTObject* defaultTarget) const;

private:
    std::string definition_;
    std::string file_;
    std::string controllerName_;
    std::string name_;
    std::optional<std::string> argument_;
};

}  // namespace kt
