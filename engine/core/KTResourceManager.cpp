#include "engine/core/KTResourceManager.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "engine/core/KTContentLog.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTPlist.h"
#include "engine/core/XMLElement.h"

namespace kt {
namespace {

std::string userDataDirectory() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : ".";
    }
    return (std::filesystem::path(home) / ".local" / "share").string();
}

bool isFile(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

template <typename Cache>
typename Cache::mapped_type cached(const Cache& cache, std::string_view key) {
    const auto found = cache.find(key);
    return found == cache.end() ? nullptr : found->second;
}

}  // namespace

KTResourceManager& KTResourceManager::shared() {
    static KTResourceManager manager;
    return manager;
}

// Paths

std::optional<std::string> KTResourceManager::findFile(const std::string& name) const {
    const std::string channel = channelDataPath_.value_or("");
    const std::shared_ptr<const KTLocale> locale = KTLocale::currentLocale();
    const std::string localised = locale ? "ldata/" + locale->name() + "/" + name : name;
    for (const std::string& candidate : {baseDataPath_ + channel + localised, baseDataPath_ + channel + name,
                                         baseDataPath_ + localised, baseDataPath_ + name}) {
        if (isFile(candidate)) return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> KTResourceManager::getPath(const std::string& name) {
    const auto found = pathCache_.find(name);
    if (found != pathCache_.end()) return found->second;
    std::optional<std::string> path = findFile(name);
    if (!path) {
        KTLogContentProblem("file not found", name);
        return std::nullopt;
    }
    pathCache_.emplace(name, *path);
    return path;
}

std::optional<std::string> KTResourceManager::resolve(const std::string& name, bool translatedPath) {
    return translatedPath ? std::optional<std::string>(name) : getPath(name);
}

// Caches

std::shared_ptr<KTImageData> KTResourceManager::getImage(const std::string& name, bool translatedPath) {
    const std::optional<std::string> path = resolve(name, translatedPath);
    if (!path) return nullptr;
    if (auto image = cached(imageCache_, *path)) return image;
    std::shared_ptr<KTImageData> image = imageLoader_ ? imageLoader_->loadImage(*path) : nullptr;
    if (!image) {
        KTLogContentProblem("unreadable image", *path);
        return nullptr;
    }
    imageCache_.emplace(*path, image);
    return image;
}

std::shared_ptr<const XMLElement> KTResourceManager::getXML(const std::string& name, bool translatedPath) {
    const std::optional<std::string> path = resolve(name, translatedPath);
    if (!path) return nullptr;
    if (auto tree = cached(xmlCache_, *path)) return tree;
    std::shared_ptr<const XMLElement> tree = XMLElement::fromFile(*path);
    if (tree) xmlCache_.emplace(*path, tree);
    return tree;
}

std::shared_ptr<KTFont> KTResourceManager::getFont(const std::string& name) {
    const std::shared_ptr<const KTLocale> locale = KTLocale::currentLocale();
    const std::optional<std::string> path = getPath(locale ? locale->substituteFont(name) : name);
    if (!path) return nullptr;
    if (auto font = cached(fontCache_, *path)) return font;
    std::shared_ptr<KTFont> font = fontLoader_ ? fontLoader_(*path) : nullptr;
    if (!font) {
        KTLogContentProblem("unreadable font", *path);
        return nullptr;
    }
    fontCache_.emplace(*path, font);
    return font;
}

std::shared_ptr<KTSample> KTResourceManager::getSample(const std::string& name, bool loop) {
    const std::optional<std::string> path = getPath(name);
    if (!path) return nullptr;
    if (auto sample = cached(sampleCache_, *path)) return sample;
    std::shared_ptr<KTSample> sample = sampleLoader_ ? sampleLoader_(*path, loop) : nullptr;
    if (!sample) {
        KTLogContentProblem("unreadable sound", *path);
        return nullptr;
    }
    sampleCache_.emplace(*path, sample);
    return sample;
}

// Atlases

void KTResourceManager::loadAtlas(const std::string& file) {
    if (atlasCache_.contains(file)) return;
    if (const std::optional<std::string> path = getPath(file)) addAtlasFrames(file, *path);
}

void KTResourceManager::addAtlasFrames(const std::string& file, const std::string& atlasPath) {
    const std::optional<KTPlist> atlas = KTPlist::readFile(atlasPath);
    if (!atlas) return;
    const std::string textureName = (*atlas)["metadata"]["textureFileName"].stringValue();
    const std::string texturePath = (std::filesystem::path(atlasPath).parent_path() / textureName).string();
    const std::shared_ptr<KTImageData> texture = textureName.empty() ? nullptr : getImage(texturePath, true);
    if (!texture) {
        KTLogContentProblem("atlas without its texture", atlasPath);
        return;
    }
    std::vector<std::string> frames;
    for (const auto& [frameName, frame] : (*atlas)["frames"].dictionaryValue()) {
        const CGRect rect{
            {static_cast<float>(frame["x"].realValue()), static_cast<float>(frame["y"].realValue())},
            {static_cast<float>(frame["width"].realValue()),
             static_cast<float>(frame["height"].realValue())}};
        std::shared_ptr<KTImageData> image = imageLoader_->imageOnTexture(*texture, rect);
        if (!image) continue;
        imageCache_[frameName] = std::move(image);
        pathCache_[frameName] = frameName;
        frames.push_back(frameName);
    }
    atlasCache_.emplace(file, std::move(frames));
    const CGSize size = imageLoader_->textureSize(*texture);
    KTLog("atlas loaded: %@", file);
    KTLog("tx sz: %f %f", size.width, size.height);
}

const std::vector<std::string>* KTResourceManager::atlasFrames(const std::string& file) const {
    const auto found = atlasCache_.find(file);
    return found == atlasCache_.end() ? nullptr : &found->second;
}

void KTResourceManager::preloadFile(const std::string& name) {
    if (name.ends_with(".png") || name.ends_with(".jpg")) {
        getImage(name);
    } else if (name.ends_with(".xml")) {
        getXML(name);
    } else if (name.ends_with(".ogg")) {
        getSample(name);
    } else if (name.ends_with(".atlas.plist")) {
        loadAtlas(name);
    }
}

void KTResourceManager::clearImageCache() {
    imageCache_.clear();
    atlasCache_.clear();
}

void KTResourceManager::forgetResolvedPaths() {
    pathCache_.clear();
    for (const auto& [file, frames] : atlasCache_) {
        for (const std::string& frame : frames)
            pathCache_[frame] = frame;
    }
}

void KTResourceManager::forgetFile(const std::string& name) {
    const auto path = pathCache_.find(name);
    const std::string& file = path == pathCache_.end() ? name : path->second;
    xmlCache_.erase(file);
    fontCache_.erase(file);
}

void KTResourceManager::reset() {
    baseDataPath_.clear();
    channelDataPath_.reset();
    imageLoader_.reset();
    fontLoader_ = nullptr;
    sampleLoader_ = nullptr;
    imageCache_.clear();
    xmlCache_.clear();
    fontCache_.clear();
    sampleCache_.clear();
    pathCache_.clear();
    atlasCache_.clear();
}

// Per-user folder

std::string KTResourceManager::applicationSupportDirectory() const {
    const std::string base = userDataDirectory();
    const std::string folder = (std::filesystem::path(base) / appDirName_).string();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    KTLog("appName: %@", appName_);
    KTLog("appDirName: %@", appDirName_);
    KTLog("USER DIR IS: %@", base);
    KTLog("USER DIR WITH APPNAME IS: %@", folder);
    return folder;
}

std::string KTResourceManager::getUserPath(const std::string& fileName) const {
    const std::string path = (std::filesystem::path(applicationSupportDirectory()) / fileName).string();
    KTLog("getUserPath returns %@", path);
    return path;
}

std::string KTResourceManager::osUserName() {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name && *entry->pw_name)
        return entry->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

}  // namespace kt
