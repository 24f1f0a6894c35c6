#include "engine/actions/KTInstantActions.h"

#include "engine/core/KTDirector.h"
#include "engine/core/KTMessage.h"
#include "engine/core/KTNode.h"

namespace kt {

void KTShow::execute() {
    if (KTNode* node = target()) node->setVisible(true);
}

void KTHide::execute() {
    if (KTNode* node = target()) node->setVisible(false);
}

void KTEnable::execute() {
    if (KTNode* node = target()) node->setEnabled(true);
}

void KTDisable::execute() {
    if (KTNode* node = target()) node->setEnabled(false);
}

void KTSetColor::execute() {
    if (KTNode* node = target()) node->setColor(color_);
}

void KTRemove::execute() {
    KTNode* node = target();
    if (node && node->parent()) node->parent()->removeChild(node);
}

void KTStartEffect::execute() {
    if (KTNode* node = target()) node->startEffect(effectFilename_);
}

void KTSetState::execute() {
    if (KTNode* node = target()) node->setState(stateName_);
}

void KTCall::execute() {
    if (KTNode* node = target()) node->perform(selectorName_, argument_);
}

void KTSendMessage::execute() {
    if (message_) KTDirector::shared().addMessage(message_);
}

void KTStopAllActions::execute() {
    KTNode* node = altTarget_ ? altTarget_.get() : target();
    if (node) node->stopAllActions();
}

}  // namespace kt
