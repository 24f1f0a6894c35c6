#include "app/ScreenshotCommand.h"

#include <stb/stb_image_write.h>

#include <memory>
#include <optional>
#include <string>

#include "engine/render/KTRender.h"
#include "engine/render/KTRenderBackend.h"

namespace moonbrook {
namespace {

// What the frame's capture left for the command to report.
struct CaptureResult {
    bool requested = false;
    bool done = false;
    std::optional<std::string> problem;
};

void writePng(const std::string& path, const kt::KTFrameImage& frame, CaptureResult& result) {
    result.done = true;
    if (frame.rgba.empty()) {
        result.problem = "screenshot: the frame could not be read";
    } else if (stbi_write_png(path.c_str(), frame.width, frame.height, 4, frame.rgba.data(),
                              frame.width * 4) == 0) {
        result.problem = "cannot write '" + path + "'";
    }
}

ScriptAction screenshot(ScriptArguments& arguments) {
    return [path = arguments.rest("file name"),
            result = std::make_shared<CaptureResult>()](ScriptContext& context) {
        if (result->done) return result->problem ? context.fail(*result->problem) : ScriptStatus::finished;
        if (!result->requested) {
            const auto render = std::dynamic_pointer_cast<kt::KTRender>(context.director().renderer());
            if (!render) return context.fail("screenshot: nothing is drawn");
            render->backend()->captureNextFrame(
                [path, result](const kt::KTFrameImage& frame) { writePng(path, frame, *result); });
            result->requested = true;
        }
        return ScriptStatus::waiting;
    };
}

}  // namespace

void addScreenshotCommand(ScriptCommandRegistry& commands) {
    commands.add("screenshot", screenshot);
}

}  // namespace moonbrook
