#pragma once

#include <memory>
#include <string>

#include "engine/actions/KTAction.h"
#include "engine/core/KTColor.h"
#include "engine/core/KTObject.h"

namespace kt {

class KTMessage;

// Instant actions: each does its work on the node it is started with, at the moment it is started.

class KTShow final : public KTActionInstant {
public:
    static std::shared_ptr<KTShow> action() { return std::make_shared<KTShow>(); }

protected:
    void execute() override;
};

class KTHide final : public KTActionInstant {
public:
    static std::shared_ptr<KTHide> action() { return std::make_shared<KTHide>(); }

protected:
    void execute() override;
};

class KTEnable final : public KTActionInstant {
public:
    static std::shared_ptr<KTEnable> action() { return std::make_shared<KTEnable>(); }

protected:
    void execute() override;
};

class KTDisable final : public KTActionInstant {
public:
    static std::shared_ptr<KTDisable> action() { return std::make_shared<KTDisable>(); }

protected:
    void execute() override;
};

class KTSetColor final : public KTActionInstant {
public:
    explicit KTSetColor(Color color) : color_(color) {}
    static std::shared_ptr<KTSetColor> actionWithTargetColor(Color color) {
        return std::make_shared<KTSetColor>(color);
    }

protected:
    void execute() override;

private:
    Color color_;
};

// Takes the node out of its parent; a node without a parent stays as it is.
class KTRemove final : public KTActionInstant {
public:
    static std::shared_ptr<KTRemove> action() { return std::make_shared<KTRemove>(); }

protected:
    void execute() override;
};

// Plays an effect file at the node's centre.
class KTStartEffect final : public KTActionInstant {
public:
    explicit KTStartEffect(std::string effectFilename) : effectFilename_(std::move(effectFilename)) {}
    static std::shared_ptr<KTStartEffect> actionWithEffectFilename(std::string effectFilename) {
        return std::make_shared<KTStartEffect>(std::move(effectFilename));
    }

protected:
    void execute() override;

private:
    std::string effectFilename_;
};

// Switches the node to a named state.
class KTSetState final : public KTActionInstant {
public:
    explicit KTSetState(std::string stateName) : stateName_(std::move(stateName)) {}
    static std::shared_ptr<KTSetState> actionWithStateName(std::string stateName) {
        return std::make_shared<KTSetState>(std::move(stateName));
    }

protected:
    void execute() override;

private:
    std::string stateName_;
};

// Calls an operation of the node by its registered name ("reset", "setText:"), with the argument when one
// is given; a node without that operation is left alone.
class KTCall final : public KTActionInstant {
public:
    explicit KTCall(std::string selectorName, KTArgument argument = {})
        : selectorName_(std::move(selectorName)), argument_(std::move(argument)) {}
    static std::shared_ptr<KTCall> actionWithSelectorName(std::string selectorName,
                                                          KTArgument argument = {}) {
        return std::make_shared<KTCall>(std::move(selectorName), std::move(argument));
    }

protected:
    void execute() override;

private:
    std::string selectorName_;
    KTArgument argument_;
};

// Queues a handler message in the director; it runs with the next frame's messages. The node is not used.
class KTSendMessage final : public KTActionInstant {
public:
    explicit KTSendMessage(std::shared_ptr<const KTMessage> message) : message_(std::move(message)) {}
    static std::shared_ptr<KTSendMessage> actionWithMessage(std::shared_ptr<const KTMessage> message) {
        return std::make_shared<KTSendMessage>(std::move(message));
    }

protected:
    void execute() override;

private:
    std::shared_ptr<const KTMessage> message_;
};

// Stops every action running on a node: the one given, else the one it is started with.
class KTStopAllActions final : public KTActionInstant {
public:
    explicit KTStopAllActions(std::shared_ptr<KTNode> other = nullptr) : altTarget_(std::move(other)) {}
    static std::shared_ptr<KTStopAllActions> action() { return std::make_shared<KTStopAllActions>(); }
    static std::shared_ptr<KTStopAllActions> actionWithTarget(std::shared_ptr<KTNode> other) {
        return std::make_shared<KTStopAllActions>(std::move(other));
    }

protected:
    void execute() override;

private:
    std::shared_ptr<KTNode> altTarget_;
};

}  // namespace kt
