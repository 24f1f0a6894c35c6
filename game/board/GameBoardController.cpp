#include "game/board/GameBoardController.h"

#include "engine/core/KTControllerManager.h"

namespace moonbrook {

namespace {

constexpr const char* kControllerName = "GameBoardController";

// Wraps a provider accessor as an operation answering the provider, for "dataSource" bindings.
template <typename Source>
kt::KTOperation providerOperation(const std::shared_ptr<Source>& (GameBoardController::*accessor)() const) {
    return [accessor](kt::KTObject& target, const kt::KTArgument&) -> kt::KTObjectRef {
        return (static_cast<GameBoardController&>(target).*accessor)();
    };
}

}  // namespace

const kt::KTClass& GameBoardController::staticClass() {
    static const kt::KTClass& cls =
        kt::KTClass::define<GameBoardController>(kControllerName, kt::KTObject::staticClass())
            .operation("levelName", providerOperation(&GameBoardController::levelName))
            .operation("gameScore", providerOperation(&GameBoardController::gameScore))
            .operation("timeProgress", providerOperation(&GameBoardController::timeProgress))
            .operation("platesCount", providerOperation(&GameBoardController::platesCount))
            .operation("tokensCount", providerOperation(&GameBoardController::tokensCount));
    return cls;
}
KT_REGISTER_CLASS(GameBoardController);

GameBoardController::GameBoardController()
    : levelName_(std::make_shared<kt::KTStringDataSource>()),
      gameScore_(std::make_shared<kt::KTNumberDataSource>()),
      timeProgress_(std::make_shared<kt::KTNumberDataSource>()),
      platesCount_(std::make_shared<kt::KTNumberDataSource>()),
      tokensCount_(std::make_shared<kt::KTNumberDataSource>()) {}

std::shared_ptr<GameBoardController> GameBoardController::shared() {
    return std::dynamic_pointer_cast<GameBoardController>(
        kt::KTControllerManager::shared().getControllerByName(kControllerName));
}

}  // namespace moonbrook
