#include "app/Application.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include "app/BasicScriptCommands.h"
#include "app/BoardScriptCommands.h"
#include "app/ContentFolder.h"
#include "app/FrameDriver.h"
#include "app/ScreenScriptCommands.h"
#include "app/ScreenshotCommand.h"
#include "app/ScriptRunner.h"
#include "app/Words.h"
#include "editor/EditorScene.h"
#include "engine/actions/KTActionsModule.h"
#include "engine/controls/KTBaseMenuScene.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLanguage.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "engine/platform/KTSDLPlatform.h"
#include "engine/platform/KTSDLRenderBackend.h"
#include "engine/render/KTRenderModule.h"
#include "engine/services/KTAudioManager.h"
#include "engine/services/KTAudioModule.h"
#include "engine/services/KTUserManager.h"
#include "game/scenes/GameScene.h"
#include "game/scenes/SplashScene.h"

namespace moonbrook {
namespace {

constexpr kt::CGSize kLogicalScreen{1024, 768};
constexpr unsigned kUsersCountLimit = 9;
constexpr const char* kMenuMusic = "data/music/mischief_In_suburbia.ogg";

void report(std::string_view message) {
    std::cerr << "moonbrook: " << message << '\n';
}

// The language "data/default_locale.txt" names, or for "auto" or without the file the user's environment's;
// "nolocale" shows English. Blanks around the name are dropped, so that a file saved with a final line break
// names its language all the same. A profile's own choice replaces it once the profiles are read.
void loadDefaultLocale(const std::string& contentBase) {
    std::ifstream file(contentBase + "data/default_locale.txt", std::ios::binary);
    std::optional<std::string> setting;
    if (file) setting = std::string(trimmed(std::string(std::istreambuf_iterator<char>(file), {})));
    kt::KTLanguage::setDefaultLanguage(kt::KTLanguage::fromDefaultSetting(
        setting ? &*setting : nullptr, [](const char* name) { return std::getenv(name); }));
    kt::KTLanguage::use(kt::KTLanguage::defaultLanguage());
    const auto locale = kt::KTLocale::currentLocale();
    kt::KTLog("currentLocale = %@", locale ? locale->name() : "(null)");
}

// The start-up steps up to an open window; false, with the reason on stderr, when there is none.
bool startUp(const AppOptions& options, kt::KTDirector& director) {
    kt::KTResourceManager& resources = kt::KTResourceManager::shared();
    resources.setAppDirName("Moonbrook");
    director.openLog();
    resources.setBaseDataPath(contentBasePath(runningProgram(), MOONBROOK_INSTALLED_CONTENT));
    const std::string& contentBase = resources.baseDataPath();
    kt::KTLog("content folder: %@",
              contentBase.empty() ? std::filesystem::current_path().string() : contentBase);

    std::string error;
    std::unique_ptr<kt::KTSDLPlatform> platform = kt::KTSDLPlatform::create(options.headless, error);
    if (!platform) {
        kt::KTLog("SDL_Init failed: %@", error);
        report("cannot open a window: " + error + ". Run with --headless to play without a display.");
        return false;
    }
    kt::KTSDLPlatform& sdl = *platform;
    director.setPlatform(std::move(platform));
    kt::KTInstallAudioModule();
    director.setSize(kLogicalScreen);
    director.setWindowSize(kLogicalScreen);
    kt::KTInstallActionsModule();

    loadDefaultLocale(contentBase);
    resources.setAppName(kt::KTLocalize("Moonbrook"));
    if (std::ifstream(contentBase + "devmode")) {
        kt::KTLog("Development mode enabled");
        director.setDevMode(true);
    }
    director.createWindow();
    if (!director.platform()->hasWindow()) {
        report("cannot create the window; SDL's reason is in " + resources.getUserPath("log.txt"));
        return false;
    }
    std::shared_ptr<kt::KTSDLRenderBackend> backend = kt::KTSDLRenderBackend::create(sdl.window(), error);
    if (!backend) {
        report("cannot draw into the window: " + error);
        return false;
    }
    kt::KTInstallRenderModule(std::move(backend));
    // The profiles are read, and the selected one's volumes and window mode applied, before the first screen.
    kt::KTUserManager::sharedManager().setUsersCountLimit(kUsersCountLimit);
    kt::KTBaseMenuScene::loadCurrentUserSettings();
    if (std::filesystem::is_regular_file(contentBase + kMenuMusic))
        kt::KTAudioManager::shared().playMusic(kMenuMusic);
    return true;
}

// The game scene of the level, the editor, or the menu scene of the file asked for on the command line, or
// the opening pictures that lead to the main menu.
std::shared_ptr<kt::KTScene> firstScene(const AppOptions& options) {
    if (options.levelName) {
        auto game = kt::KTNode::node<GameScene>();
        game->initWithLevel(*options.levelName);
        return game;
    }
    if (options.editLevelName) return EditorScene::sceneWithLevel(*options.editLevelName);
    if (options.sceneFile) return kt::KTNode::nodeFromFile<kt::KTBaseMenuScene>(*options.sceneFile);
    auto splash = kt::KTNode::node<SplashScene>();
    splash->init();
    return splash;
}

bool levelExists(const std::string& levelName) {
    return kt::KTResourceManager::shared().getPath(kt::KTFormat("data/levels/%@.xml", levelName)).has_value();
}

}  // namespace

int runGame(const AppOptions& options, FrameDriver* driver) {
    kt::KTDirector& director = kt::KTDirector::shared();
    const bool started = startUp(options, director);
    const bool knownLevel = !started || !options.levelName || levelExists(*options.levelName);
    const bool knownScene =
        !started || !options.sceneFile || kt::KTResourceManager::shared().getXML(*options.sceneFile);
    if (started && knownLevel && knownScene) {
        installAutomation(options, driver, director);
        if (driver) driver->started();
        director.runWithScene(firstScene(options));
        kt::KTBaseMenuScene::saveCurrentUserSettings();
    }
    director.shutdown();
    if (!started) return kExitNoWindow;
    if (!knownLevel) {
        report("no level named '" + *options.levelName + "' (data/levels/" + *options.levelName + ".xml)");
        return kExitBadUsage;
    }
    if (!knownScene) {
        report("cannot read the scene file '" + *options.sceneFile + "'");
        return kExitBadUsage;
    }
    if (driver && !driver->failure().empty()) {
        report(driver->failure());
        return kExitBadUsage;
    }
    return kExitSuccess;
}

ScriptCommandRegistry scriptCommands() {
    ScriptCommandRegistry commands;
    addBasicScriptCommands(commands);
    addScreenshotCommand(commands);
    addBoardScriptCommands(commands);
    addScreenScriptCommands(commands);
    return commands;
}

void installAutomation(const AppOptions& options, FrameDriver* driver, kt::KTDirector& director) {
    director.setFixedDeltaTime(options.fixedDeltaTime);
    if (options.seed) kt::KTRandom::shared().seed(*options.seed);
    director.setFrameObserver([&director, driver, frames = options.frames] {
        if (driver) driver->afterFrame();
        if (frames && director.frameCount() >= *frames) director.close();
    });
}

int runApplication(const std::vector<std::string>& arguments) {
    const CommandLine commandLine = parseCommandLine(arguments);
    if (!commandLine.error.empty()) {
        report(commandLine.error);
        std::cerr << kUsage << '\n';
        return kExitBadUsage;
    }
    if (commandLine.helpRequested) {
        std::cout << kUsage << '\n';
        return kExitSuccess;
    }
    const AppOptions& options = commandLine.options;
    std::unique_ptr<ScriptRunner> script;
    if (options.scriptPath) {
        std::string error;
        std::optional<Script> parsed = Script::load(*options.scriptPath, scriptCommands(), error);
        if (!parsed) {
            report(error);
            return kExitBadUsage;
        }
        script = std::make_unique<ScriptRunner>(std::move(*parsed), kt::KTDirector::shared());
    }
    return runGame(options, script.get());
}

}  // namespace moonbrook
