#pragma once

#include <memory>
#include <vector>

#include "engine/actions/KTAction.h"

namespace moonbrook {

class Ball;
class Cell;

// Lands a ball (its own, or the target ball) in a cell at the end of a fall or a swap.
class PlaceBallAtCell final : public kt::KTActionInstant {
public:
    static std::shared_ptr<PlaceBallAtCell> actionWithCell(std::shared_ptr<Cell> cell,
                                                           std::shared_ptr<Ball> ball = nullptr);
    PlaceBallAtCell(std::shared_ptr<Cell> cell, std::shared_ptr<Ball> ball);

protected:
    void execute() override;

private:
    std::shared_ptr<Cell> cell_;
    std::shared_ptr<Ball> ball_;
};

// Ends a ball's single fall step into its target cell (run on the ball).
class FinishFallAction final : public kt::KTActionInstant {
public:
    static std::shared_ptr<FinishFallAction> action() { return std::make_shared<FinishFallAction>(); }

protected:
    void execute() override;
};

// Run on a ball that has just landed: the landing effect where it rests.
class ShowLanding final : public kt::KTActionInstant {
public:
    static std::shared_ptr<ShowLanding> action() { return std::make_shared<ShowLanding>(); }

protected:
    void execute() override;
};

// Run on an emitter cell: one ball of its burst has left it.
class DecEmissionAtCell final : public kt::KTActionInstant {
public:
    static std::shared_ptr<DecEmissionAtCell> action() { return std::make_shared<DecEmissionAtCell>(); }

protected:
    void execute() override;
};

// Removes a cell's ball, frees the cell and finalises the removal.
class RemoveBall final : public kt::KTActionInstant {
public:
    static std::shared_ptr<RemoveBall> actionWithCell(std::shared_ptr<Cell> cell) {
        return std::make_shared<RemoveBall>(std::move(cell));
    }
    explicit RemoveBall(std::shared_ptr<Cell> cell) : cell_(std::move(cell)) {}

protected:
    void execute() override;

private:
    std::shared_ptr<Cell> cell_;
};

// Judges a swap again once both balls have landed, and removes what it made.
class FinishSwapActionNew final : public kt::KTActionInstant {
public:
    FinishSwapActionNew(std::vector<std::shared_ptr<Cell>> swapUnlockList, std::shared_ptr<Cell> cellA,
                        std::shared_ptr<Cell> cellB);

protected:
    void execute() override;

private:
    std::shared_ptr<Cell> cellA_;
    std::shared_ptr<Cell> cellB_;
    std::vector<std::shared_ptr<Cell>> swapUnlockList_;
};

}  // namespace moonbrook
