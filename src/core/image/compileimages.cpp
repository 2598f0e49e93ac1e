#include "core/image/compileimages.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/base/paths.h"
#include "core/image/compilestop.h"

namespace setforge {

CompiledImages compileImages(const ProjectFiles& files, const MessageSink& sink)
{
    ProjectDocuments docs(files);
    return compileImages(docs, sink);
}

CompiledImages compileImages(ProjectDocuments& docs, const MessageSink& sink)
{
    CompiledImages images;
    try {
        images.plain = compilePlainImage(docs, sink);
        images.banked = compileBankedImage(docs);
        images.deviceType = images.banked.deviceType;
        images.ok = true;
    } catch (const CompileStopped& stop) {
        images.ok = false;
        if (sink)
            sink({CompileMessage::Kind::Error, stop.message});
    }
    return images;
}

Result<void> writeImageFiles(std::string_view projectDir, const CompiledImages& images)
{
    if (!images.ok)
        return makeError("The images were not compiled");
    const std::string binDir = joinPath(projectDir, "bin");
    std::error_code ec;
    std::filesystem::create_directories(pathFromUtf8(binDir), ec);
    const auto& bank1 = images.banked.parameters.bytes();
    const auto& bank2 = images.banked.tables.bytes();
    const struct {
        const char* name;
        std::string_view content;
    } outputs[] = {
        {kPlainImageName,
         {reinterpret_cast<const char*>(images.plain.bytes.data()), images.plain.bytes.size()}},
        {kBank1Name, {reinterpret_cast<const char*>(bank1.data()), bank1.size()}},
        {kBank2Name, {reinterpret_cast<const char*>(bank2.data()), bank2.size()}},
    };
    // The device must get the three images of one compile or the set it had: when a later file
    // cannot be written, the ones already replaced get their old bytes back (or go again).
    struct Previous {
        std::string path;
        bool existed = false;
        bool kept = false; // its old bytes are in `content`
        std::string content;
        std::filesystem::file_time_type time;
    };
    std::vector<Previous> replaced;
    for (const auto& output : outputs) {
        Previous previous;
        previous.path = joinPath(binDir, output.name);
        previous.existed = pathExists(previous.path);
        if (previous.existed) {
            Result<std::string> read = readWholeFile(previous.path);
            previous.kept = static_cast<bool>(read);
            if (previous.kept)
                previous.content = std::move(read).value();
        }
        if (previous.kept)
            previous.time = std::filesystem::last_write_time(pathFromUtf8(previous.path), ec);
        const Result<void> result = writeFileAtomic(previous.path, output.content);
        if (!result) {
            for (const Previous& done : replaced) {
                if (done.kept && writeFileAtomic(done.path, done.content))
                    std::filesystem::last_write_time(pathFromUtf8(done.path), done.time, ec);
                else if (!done.existed)
                    std::filesystem::remove(pathFromUtf8(done.path), ec);
            }
            return makeError("The image file could not be written: " + result.error().text);
        }
        replaced.push_back(std::move(previous));
    }
    return {};
}

Result<CompiledImages> compileAndWriteImages(std::string_view projectDir, const MessageSink& sink)
{
    // The compile reports why it stopped only as its last message.
    std::string stopReason;
    CompiledImages images = compileImages(makeProjectFiles(projectDir), [&](const CompileMessage& message) {
        if (message.kind == CompileMessage::Kind::Error)
            stopReason = message.text;
        if (sink)
            sink(message);
    });
    if (!images.ok)
        return makeError(stopReason);
    const Result<void> written = writeImageFiles(projectDir, images);
    if (!written) {
        if (sink)
            sink({CompileMessage::Kind::Error, written.error().text});
        return written.error();
    }
    return images;
}

} // namespace setforge
