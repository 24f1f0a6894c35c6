#pragma once

#include "game/board/Ball.h"

// The kinds of ball beyond the ordinary colours, each chosen by its letter.
namespace moonbrook {

// Holds an emptied cell for a moment after its ball was removed, then removes itself so balls fall in.
// Invisible except in debug drawing; never matches, falls or takes clicks.
class Ghost : public Ball {
public:
    KT_CLASS(Ghost)

    void init(const std::shared_ptr<Board>& board, float lifeTime);
    float life() const { return life_; }

    bool matchWith(const Ball&) const override { return false; }
    void update(float dt) override;
    // Only its own drawing: the sprite's picture never shows.
    void visit() override;
    void draw() override;

private:
    float life_ = 0;
};

// The placeholder of an emptied cell, or none.
inline bool isGhost(const Ball* ball) {
    return dynamic_cast<const Ghost*>(ball) != nullptr;
}

// Explodes the pattern of its letter ('f', 'g', 'h') around its cell.
class Bomb : public Ball {
public:
    KT_CLASS(Bomb)
    bool matchWith(const Ball&) const override { return false; }
    bool canDetonate() const override { return !detonated(); }
    void detonate() override;
};

// Fires rockets along its letter's directions ('j' right, 'k' left, 'l' down and up, 'm' both diagonals).
class RocketBall : public Ball {
public:
    KT_CLASS(RocketBall)
    bool matchWith(const Ball&) const override { return false; }
    bool canDetonate() const override { return true; }
    void detonate() override;
};

// Swapped with a ball, removes that ball's colour in a square around itself.
class ColorDestroyer : public Ball {
public:
    KT_CLASS(ColorDestroyer)
    bool matchWith(const Ball&) const override { return false; }
    bool canDetonate() const override { return true; }
    void detonateWith(Ball& partner) override;
};

// Worth points; collected when set off or when it comes to rest on the lower edge of the field.
class Diamond : public Ball {
public:
    KT_CLASS(Diamond)
    bool matchWith(const Ball&) const override { return false; }
    bool canDetonate() const override { return true; }
    void detonate() override;
    void moveEnd() override;
    void annihilate();
};

// Collected only by reaching the lower edge of the field.
class Token : public Ball {
public:
    KT_CLASS(Token)
    bool matchWith(const Ball&) const override { return false; }
    void moveEnd() override;
};

// The wildcard: completes any line of ordinary balls.
class Hameleon : public Ball {
public:
    KT_CLASS(Hameleon)
    bool matchWith(const Ball& other) const override;
};

// Never matches.
class BadBall : public Ball {
public:
    KT_CLASS(BadBall)
    bool matchWith(const Ball&) const override { return false; }
};

}  // namespace moonbrook
