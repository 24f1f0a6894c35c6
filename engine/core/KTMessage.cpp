#include "engine/core/KTMessage.h"

#include <vector>

#include "engine/core/KTContentLog.h"
#include "engine/core/KTControllerManager.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTObject.h"

namespace kt {
namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

KTMessage::KTMessage(const std::string& definition, std::string file)
    : definition_(definition), file_(std::move(file)) {
    const std::vector<std::string> words = split(definition, ' ');
    std::string call = words[0];
    if (words.size() >= 2) {
        controllerName_ = words[0];
        call = words[1];
    }
    const std::vector<std::string> pieces = split(call, ':');
    if (pieces.size() == 1) {
        name_ = pieces[0];
    } else {
        name_ = pieces[0] + ":";
        argument_ = pieces[1];
    }
}

void KTMessage::runAt(KTObject* defaultTarget) const {
    KTObject* target = defaultTarget;
    if (!controllerName_.empty()) {
        if (KTObjectRef controller = KTControllerManager::shared().getControllerByName(controllerName_)) {
            target = controller.get();
        }
    }
    KTLog("KTMessage %@ name: %@ runAt: %@ (controller_name = %@) selectorName: %@", description(), name_,
          target ? target->className() : std::string("(null)"), controllerName_, name_);
    if (!target) return;
    if (!target->respondsTo(name_)) {
        KTLogContentProblem("handler \"" + definition_ + "\" names no operation of " + target->className(),
                            file_);
        return;
    }
    if (argument_) {
        KTLog(" performing selector with arg: %@", *argument_);
        target->perform(name_, *argument_);
    } else {
        KTLog(" performing selector without arg");
        target->perform(name_);
    }
}

}  // namespace kt
