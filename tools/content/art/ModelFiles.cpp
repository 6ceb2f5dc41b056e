#include "tools/content/art/ModelFiles.h"

#include <stdexcept>

namespace Content {

Formats::ModelFile ModelFiles::Static(const Mesh& mesh, std::uint32_t flags)
{
    Formats::ModelFile file;
    file.flags = (flags & ~(Model::kMorph | Model::kSkeletal)) | Model::kStatic;
    file.indices = mesh.indices;
    file.vertices = mesh.FileVertices();
    file.boxes = {mesh.Bounds()};
    return file;
}

Formats::ModelFile ModelFiles::Morph(const std::vector<Mesh>& frames, float speed, std::uint32_t flags)
{
    if (frames.empty())
        throw std::invalid_argument("a morph model needs a frame");
    Formats::ModelFile file;
    file.flags = (flags & ~(Model::kStatic | Model::kSkeletal)) | Model::kMorph;
    file.frameCount = static_cast<std::uint32_t>(frames.size());
    file.speed = speed;
    file.indices = frames[0].indices;
    file.vertexCount = static_cast<std::uint32_t>(frames[0].vertices.size());
    for (const Mesh& frame : frames) {
        if (!frame.SameTopology(frames[0]))
            throw std::invalid_argument("the frames of a morph model must share their vertices and triangles");
        const std::vector<Formats::ModelFileVertex> records = frame.FileVertices();
        file.vertices.insert(file.vertices.end(), records.begin(), records.end());
        file.boxes.push_back(frame.Bounds());
    }
    return file;
}

Formats::ModelFile ModelFiles::Morph(int count, float speed, const std::function<Mesh(int)>& frame, std::uint32_t flags)
{
    std::vector<Mesh> frames;
    for (int k = 0; k < count; ++k)
        frames.push_back(frame(k));
    return Morph(frames, speed, flags);
}

} // namespace Content
