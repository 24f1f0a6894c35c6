#include "game/board/CandyRequest.h"

#include <string>
#include <utility>

#include "engine/actions/KTActionManager.h"
#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTNode.h"

namespace moonbrook {
namespace {

// Writes a text into a shared string when it is started. It holds the string, which therefore outlives a
// request that is dropped while the change is pending.
class SetSharedString final : public kt::KTActionInstant {
public:
    SetSharedString(std::shared_ptr<kt::KTStringDataSource> target, std::string text)
        : target_(std::move(target)), text_(std::move(text)) {}

protected:
    void execute() override { target_->setString(text_); }

private:
    std::shared_ptr<kt::KTStringDataSource> target_;
    std::string text_;
};

}  // namespace

CandyRequest::CandyRequest(char16_t type, int count)
    : type_(type),
      count_(count),
      countString_(std::make_shared<kt::KTStringDataSource>(kt::KTFormat("%i", count))) {}

void CandyRequest::decCount() {
    if (count_ > 0) --count_;
    // The action manager runs actions on nodes; a node of its own carries this one, so that the change
    // does not depend on the character still being shown.
    const auto carrier = kt::KTNode::node();
    kt::KTActionManager::shared().runAction(
        kt::KTSequence::actions(
            {kt::KTWait::waitFor(kCountShowDelay),
             std::make_shared<SetSharedString>(countString_, kt::KTFormat("%i", count_))}),
        *carrier);
}

}  // namespace moonbrook
