#pragma once

#include <array>
#include <memory>
#include <vector>

namespace kt {
class KTNode;
class KTPlist;
}  // namespace kt

namespace moonbrook {

class CandyRequest;

// The level's candy requests: totals per ball type, handed out in batches to at most two characters that
// stand in two slots beside the board. The slots never ask for the same type nor show the same character;
// a slot's request and its character come and go together, and a character walking off keeps its slot
// until it has left.
class CandyRequestManager {
public:
    static constexpr int kSlotCount = 2;

    CandyRequestManager();

    // The node where the characters of that slot (0 or 1) stand; it is emptied. Without one the slot's
    // requests still count balls.
    void setCandyRequestorsContainer(std::shared_ptr<kt::KTNode> container, int idx);
    // The level's "reqs" dictionary: ball type letter -> number of balls; anything else asks for nothing.
    void setReqs(const kt::KTPlist& reqs);
    bool reqsExists() const { return reqsExists_; }
    bool haveRequestForType(char16_t type) const;
    bool haveRequestorOf(int character) const;
    bool reqsCollected() const;
    // Balls still wanted: those of the slots' requests and those not handed out yet.
    int ballsRequested() const;
    // Hands out new batches to free slots and lets the characters fidget.
    void update(float dt);
    // Counts a removed ball: the slot whose request took it (also when that completed the batch), else -1.
    int decCandyRequestForType(char16_t type);
    // Drops both slots' requests, characters and containers; the totals left stay.
    void reset();

private:
    struct Slot {
        std::shared_ptr<CandyRequest> request;
        std::shared_ptr<kt::KTNode> container;
        // The character number standing in the slot, -1 for none.
        int character = -1;
        // Seconds since the slot's character last played an idle animation.
        float ranim = 0;
    };
    // Balls of one type not handed out in a batch yet.
    struct Total {
        char16_t type;
        int left;
    };

    void handOutBatches();
    void playIdleAnimations(float dt);
    // The first slot without a request whose container holds no departing character; -1 when none.
    int freeSlot() const;
    int chooseCharacter() const;
    void showCharacter(int idx, const CandyRequest& request) const;
    void sendCharacterAway(int idx) const;
    std::shared_ptr<kt::KTNode> characterIn(int idx) const;

    std::array<Slot, kSlotCount> slots_;
    std::vector<Total> reqs_;
    bool reqsExists_ = false;
};

}  // namespace moonbrook
