#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/KTResourceLoaders.h"

namespace kt {

class XMLElement;

// Finds and caches content, and owns the per-user folder where the log and the saved data live.
//
// A resource name such as "data/gfx/back.png" resolves to the first existing file of: base + channel +
// "ldata/<locale>/" + name, base + channel + name, base + "ldata/<locale>/" + name, base + name (plain
// concatenation; the locale parts only while a locale is current). Found paths are cached, so a file
// removed later still resolves. Loaded images, parsed XML files, fonts and samples are cached by resolved
// path and shared; only clearImageCache drops images and atlases.
class KTResourceManager {
public:
    static KTResourceManager& shared();

    const std::string& appName() const { return appName_; }
    void setAppName(std::string name) { appName_ = std::move(name); }
    const std::string& appDirName() const { return appDirName_; }
    void setAppDirName(std::string name) { appDirName_ = std::move(name); }
    const std::string& baseDataPath() const { return baseDataPath_; }
    void setBaseDataPath(std::string path) { baseDataPath_ = std::move(path); }
    const std::optional<std::string>& channelDataPath() const { return channelDataPath_; }
    void setChannelDataPath(std::optional<std::string> path) { channelDataPath_ = std::move(path); }

    // The modules that decode media install their loaders here; without one, that kind of media is absent.
    void setImageLoader(std::shared_ptr<KTImageLoader> loader) { imageLoader_ = std::move(loader); }
    void setFontLoader(KTFontLoader loader) { fontLoader_ = std::move(loader); }
    void setSampleLoader(KTSampleLoader loader) { sampleLoader_ = std::move(loader); }

    // None when no candidate exists; a missing name is logged once.
    std::optional<std::string> getPath(const std::string& name);
    // With translatedPath the name is used as the path itself.
    std::shared_ptr<KTImageData> getImage(const std::string& name, bool translatedPath = false);
    std::shared_ptr<const XMLElement> getXML(const std::string& name, bool translatedPath = false);
    // The current locale may substitute another font file first.
    std::shared_ptr<KTFont> getFont(const std::string& name);
    // A sample keeps the loop flag of its first load.
    std::shared_ptr<KTSample> getSample(const std::string& name, bool loop = false);
    // Puts every frame of the atlas into the image cache under its frame name, which then resolves to
    // itself, so getImage finds frames without files.
    void loadAtlas(const std::string& file);
    const std::vector<std::string>* atlasFrames(const std::string& file) const;
    // One entry of a loading screen's list, by its extension: images, XML files, sounds and atlases.
    void preloadFile(const std::string& name);
    // Drops images and atlases; paths, XML trees, fonts and samples stay.
    void clearImageCache();
    // Drops the resolved paths, so that names resolve anew (for another locale); atlas frames stay found.
    void forgetResolvedPaths();
    // Drops the XML tree and the font read from one file, so that a file written anew is read again.
    void forgetFile(const std::string& name);
    // Drops every cache, loader and data path: a fresh start for tests and tools.
    void reset();

    // $XDG_DATA_HOME (default ~/.local/share) joined with the folder name; created when missing.
    std::string applicationSupportDirectory() const;
    std::string getUserPath(const std::string& fileName) const;
    static std::string osUserName();

private:
    std::optional<std::string> findFile(const std::string& name) const;
    std::optional<std::string> resolve(const std::string& name, bool translatedPath);
    void addAtlasFrames(const std::string& file, const std::string& atlasPath);

    std::string appName_;
    std::string appDirName_;
    std::string baseDataPath_;
    std::optional<std::string> channelDataPath_;
    std::shared_ptr<KTImageLoader> imageLoader_;
    KTFontLoader fontLoader_;
    KTSampleLoader sampleLoader_;
    std::map<std::string, std::shared_ptr<KTImageData>, std::less<>> imageCache_;
    std::map<std::string, std::shared_ptr<const XMLElement>, std::less<>> xmlCache_;
    std::map<std::string, std::shared_ptr<KTFont>, std::less<>> fontCache_;
    std::map<std::string, std::shared_ptr<KTSample>, std::less<>> sampleCache_;
    std::map<std::string, std::string, std::less<>> pathCache_;
    std::map<std::string, std::vector<std::string>, std::less<>> atlasCache_;
};

}  // namespace kt
