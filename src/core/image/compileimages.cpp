#include "core/image/compileimages.h"

#include <filesystem>
#include <system_error>

#include "core/app/paths.h"
#include "core/image/compilestop.h"

CompiledImages Compile_Images(const ProjectFiles& files, const MessageSink& sink)
{
    CompiledImages images;
    ProjectDocuments docs(files);
    try {
        images.plain = Compile_Plain_Image(docs, sink);
        images.banked = Compile_Banked_Image(docs);
        images.deviceType = images.banked.deviceType;
        images.ok = true;
    } catch (const CompileStopped& stop) {
        images.ok = false;
        if (sink)
            sink({CompileMessage::Kind::Error, stop.message});
    }
    return images;
}

WriteResult writeImageFiles(std::string_view projectDir, const CompiledImages& images)
{
    if (!images.ok)
        return {false, "The images were not compiled"};
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
    for (const auto& output : outputs) {
        const WriteResult result = writeFileAtomic(joinPath(binDir, output.name), output.content);
        if (!result.ok)
            return {false, "The image file could not be written: " + result.error};
    }
    return {};
}

bool compileAndWriteImages(std::string_view projectDir, const MessageSink& sink, int* deviceType,
                           CompiledImages* compiled)
{
    CompiledImages images = Compile_Images(Set_Files(projectDir), sink);
    bool written = false;
    if (images.ok) {
        const WriteResult result = writeImageFiles(projectDir, images);
        written = result.ok;
        if (!result.ok && sink)
            sink({CompileMessage::Kind::Error, result.error});
    }
    if (deviceType)
        *deviceType = images.deviceType;
    if (compiled)
        *compiled = std::move(images);
    return written;
}
