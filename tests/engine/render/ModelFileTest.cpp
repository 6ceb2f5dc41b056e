// Reading ".mlf" files: one fixture per vertex kind assembled byte by byte (independent of the test writer),
// models from the writer, and damaged files of every kind.
#include "engine/foundation/Error.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/Skeleton.h"
#include "tests/engine/render/ModelFixture.h"
#include "tools/formats/ByteWriter.h"

using KeystrelEngine::Error;
using KeystrelEngine::FileError;
using KeystrelEngine::Model;
using KeystrelEngine::Vector3;
using RenderTesting::ModelFixture;
using RenderTesting::VertexAt;
using TestSupport::Bytes;
using Formats::ModelFile;

namespace {

// clang-format off
// Little-endian floats, four bytes each.
#define F_0 0x00, 0x00, 0x00, 0x00
#define F_HALF 0x00, 0x00, 0x00, 0x3F
#define F_1 0x00, 0x00, 0x80, 0x3F
#define F_2 0x00, 0x00, 0x00, 0x40
#define F_4 0x00, 0x00, 0x80, 0x40
#define F_MINUS_1 0x00, 0x00, 0x80, 0xBF
#define HEADER(...) __VA_ARGS__, 'K', 'E', 'M', 'L', 'F', 0xC9, 0x00, 0x00, 0x00

// One triangle, static, as a list: u, v, normal, position per vertex.
const Bytes kStaticFixture = {
    HEADER(0x97, 0x00, 0x00, 0x00),
    0x09, 0x00, 0x00, 0x00,                         // flags: static, list
    0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, // 3 indices, 3 vertices
    0x00, 0x00, 0x01, 0x00, 0x02, 0x00,             // indices
    F_0, F_0, F_0, F_0, F_1, F_0, F_0, F_0,         // u 0, v 0, normal (0, 0, 1), position (0, 0, 0)
    F_1, F_0, F_0, F_0, F_1, F_1, F_0, F_0,         // u 1, v 0, position (1, 0, 0)
    F_0, F_1, F_0, F_0, F_1, F_0, F_2, F_0,         // u 0, v 1, position (0, 2, 0)
    F_0, F_0, F_0, F_1, F_2, F_0,                   // box (0, 0, 0) - (1, 2, 0)
};

// The same triangle in two frames, the second twice as large.
const Bytes kMorphFixture = {
    HEADER(0x17, 0x01, 0x00, 0x00),
    0x0A, 0x00, 0x00, 0x00,                         // flags: morph, list
    0x02, 0x00, 0x00, 0x00, F_1,                    // 2 frames at 1 frame a second
    0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, // 3 indices, 3 vertices
    0x00, 0x00, 0x01, 0x00, 0x02, 0x00,             // indices
    F_0, F_0, F_0, F_0, F_1, F_0, F_0, F_0,         // frame 0
    F_1, F_0, F_0, F_0, F_1, F_1, F_0, F_0,
    F_0, F_1, F_0, F_0, F_1, F_0, F_2, F_0,
    F_0, F_0, F_0, F_0, F_1, F_0, F_0, F_0,         // frame 1
    F_1, F_0, F_0, F_0, F_1, F_2, F_0, F_0,
    F_0, F_1, F_0, F_0, F_1, F_0, F_4, F_0,
    F_0, F_0, F_0, F_1, F_2, F_0,                   // box of frame 0
    F_0, F_0, F_0, F_2, F_4, F_0,                   // box of frame 1
};

// One bone named "b" with one identity key, and the triangle skinned to it.
const Bytes kSkeletalFixture = {
    HEADER(0x00, 0x01, 0x00, 0x00),
    0x0C, 0x00, 0x00, 0x00,                           // flags: skeletal, list
    0x01, 0x00, 0x00, 0x00, F_0,                      // 1 frame, speed 0
    0x01, 0x00,                                       // 1 bone
    0x00, 0x01, 'b',                                  // bounds byte 0, name "b"
    F_MINUS_1, F_MINUS_1, F_MINUS_1, F_1, F_1, F_1,   // bone box
    0x07, 0x00, 0x09, 0x00,                           // bone values 7 and 9
    F_0, F_0, F_0, F_0, F_0, F_0, F_1, F_1, F_1, F_1, // key: translation, rotation, scale
    0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,   // 3 indices, 3 vertices
    0x00, 0x00, 0x01, 0x00, 0x02, 0x00,               // indices
    // u, v, 1 weight: bone 0, weight, normal, position
    F_0, F_0, 0x01, 0x00, 0x00, 0x00, F_1, F_0, F_0, F_1, F_0, F_0, F_0,
    F_1, F_0, 0x01, 0x00, 0x00, 0x00, F_1, F_0, F_0, F_1, F_1, F_0, F_0,
    F_0, F_1, 0x01, 0x00, 0x00, 0x00, F_HALF, F_0, F_0, F_1, F_0, F_2, F_0,
    F_0, F_0, F_0, F_1, F_2, F_0,                     // box
};
// clang-format on

class ModelFileTest : public ModelFixture
{
protected:
    std::unique_ptr<Model> LoadBytes(const Bytes& bytes, std::uint32_t extraFlags = 0)
    {
        RenderTesting::WriteDataFile("fixture.mlf", bytes);
        RenderTesting::WriteDataFile("fixture.srf", Formats::BuildShaderFile({}));
        return Load("fixture.mlf", extraFlags);
    }

    // The text of the plain Error that loading raises; fails when it raises anything else or nothing.
    std::string LoadError(const Bytes& bytes)
    {
        try {
            LoadBytes(bytes);
        } catch (const FileError& error) {
            ADD_FAILURE() << "a FileError escaped: " << error.GetText();
            return error.GetText();
        } catch (const Error& error) {
            return error.GetText();
        }
        ADD_FAILURE() << "the model loaded";
        return {};
    }

    static void ExpectBox(const KeystrelEngine::BoundingBox& box, const Vector3& minimum, const Vector3& maximum)
    {
        EXPECT_EQ(box.m_worldMin.x, minimum.x);
        EXPECT_EQ(box.m_worldMin.y, minimum.y);
        EXPECT_EQ(box.m_worldMin.z, minimum.z);
        EXPECT_EQ(box.m_worldMax.x, maximum.x);
        EXPECT_EQ(box.m_worldMax.y, maximum.y);
        EXPECT_EQ(box.m_worldMax.z, maximum.z);
    }

    const std::string kFormatText = "Incorrect \"fixture.mlf\" file format";
};

TEST_F(ModelFileTest, StaticFixtureLoadsItsVerticesInBufferOrder)
{
    ASSERT_EQ(kStaticFixture.size(), 0x97u);
    const auto model = LoadBytes(kStaticFixture);
    EXPECT_EQ(model->m_flags, 0x09u);
    EXPECT_EQ(model->GetName(), "fixture.mlf");
    EXPECT_FALSE(model->IsStrip());
    EXPECT_EQ(model->GetPrimitiveCount(), 1u);
    EXPECT_EQ(model->GetIndexBuffer()->GetIndex(2), 2u);
    ASSERT_EQ(model->GetVertexBuffer()->GetVertexCount(), 3u);
    EXPECT_EQ(VertexAt(*model->GetVertexBuffer(), 2), (std::array<float, 8>{0, 2, 0, 0, 0, 1, 0, 1}));
    EXPECT_EQ(VertexAt(*model->GetVertexBuffer(), 1), (std::array<float, 8>{1, 0, 0, 0, 0, 1, 1, 0}));
    ExpectBox(model->m_boundingBox, {0, 0, 0}, {1, 2, 0});
    EXPECT_EQ(model->GetAnimationControl().GetFrameCount(), 1u);
    EXPECT_EQ(model->GetAnimationControl().m_speed, 0.0f);
    EXPECT_EQ(model->m_camera, cameras->GetDefaultCamera());
}

TEST_F(ModelFileTest, MorphFixtureKeepsItsFramesAndStartsWithTheFirstBox)
{
    ASSERT_EQ(kMorphFixture.size(), 0x117u);
    const auto model = LoadBytes(kMorphFixture);
    EXPECT_EQ(model->GetAnimationControl().GetFrameCount(), 2u);
    EXPECT_EQ(model->GetAnimationControl().m_speed, 1.0f);
    ASSERT_EQ(model->GetMorphVertices().size(), 6u);
    EXPECT_EQ(model->GetMorphVertices()[4].position.x, 2.0f);
    EXPECT_EQ(model->GetMorphVertices()[5].position.y, 4.0f);
    EXPECT_EQ(model->GetMorphVertices()[5].v, 1.0f);
    EXPECT_EQ(model->GetMorphVertices()[3].normal.z, 1.0f);
    ASSERT_EQ(model->GetMorphBoxes().size(), 2u);
    ExpectBox(model->GetMorphBoxes()[1], {0, 0, 0}, {2, 4, 0});
    ExpectBox(model->m_boundingBox, {0, 0, 0}, {1, 2, 0});
    // The vertex buffer holds nothing until the first update.
    EXPECT_EQ(VertexAt(*model->GetVertexBuffer(), 1), (std::array<float, 8>{}));
}

TEST_F(ModelFileTest, SkeletalFixtureReadsBonesKeysAndWeights)
{
    ASSERT_EQ(kSkeletalFixture.size(), 0x100u);
    const auto model = LoadBytes(kSkeletalFixture);
    ASSERT_NE(model->GetSkeleton(), nullptr);
    ASSERT_EQ(model->GetSkeleton()->GetBoneCount(), 1);
    const KeystrelEngine::Bone& bone = model->GetSkeleton()->GetBone(0);
    EXPECT_EQ(bone.m_name, "b");
    EXPECT_EQ(bone.m_firstValue, 7);
    EXPECT_EQ(bone.m_secondValue, 9);
    ExpectBox(bone.m_box, {-1, -1, -1}, {1, 1, 1});
    EXPECT_EQ(model->GetBoneKeys(), (std::vector<float>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1}));
    ASSERT_EQ(model->GetSkinVertices().size(), 3u);
    const KeystrelEngine::SkinVertex& skin = model->GetSkinVertices()[2];
    EXPECT_EQ(skin.weightCount, 1);
    EXPECT_EQ(skin.weights[0].weight, 0.5f);
    EXPECT_EQ(skin.weights[0].position.y, 2.0f);
    EXPECT_EQ(skin.weights[0].normal.z, 1.0f);
    // Only the texture coordinates are in the buffer before the first update.
    EXPECT_EQ(VertexAt(*model->GetVertexBuffer(), 2), (std::array<float, 8>{0, 0, 0, 0, 0, 0, 0, 1}));
}

TEST_F(ModelFileTest, FlagsOfZeroBecomeTheVertexUsageFlagAndReadNoVertices)
{
    ModelFile file;
    file.flags = 0;
    file.indices = {0, 1, 2, 3};
    file.vertexCount = 4;
    file.boxes = {{{1, 1, 1}, {2, 2, 2}}};
    const auto model = LoadNew("empty", file);
    EXPECT_EQ(model->m_flags, Model::kVertexUsage);
    EXPECT_TRUE(model->IsStrip());
    EXPECT_EQ(model->GetPrimitiveCount(), 2u);
    ExpectBox(model->m_boundingBox, {1, 1, 1}, {2, 2, 2});
}

TEST_F(ModelFileTest, ExtraFlagsJoinTheFileFlagsButDoNotChangeWhatIsRead)
{
    // A static model loaded as if skeletal and coloured: read as static, coloured, and never skinned.
    const auto model = LoadNew("quad", RenderTesting::StaticQuad(), Model::kSkeletal | Model::kColours);
    EXPECT_EQ(model->m_flags, 0x1u | 0x8u | 0x40000u | 0x4u | 0x20u);
    EXPECT_EQ(model->GetVertexBuffer()->GetVertexSize(), 36u);
    EXPECT_EQ(VertexAt(*model->GetVertexBuffer(), 2), (std::array<float, 8>{1, 1, 0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(model->GetSkeleton(), nullptr);
    model->Update(false);
    EXPECT_EQ(VertexAt(*model->GetVertexBuffer(), 2), (std::array<float, 8>{1, 1, 0, 0, 0, 1, 1, 1}));
}

TEST_F(ModelFileTest, WrongMagicLengthAndVersionGiveTheirTexts)
{
    const std::string versionText = "Incorrect \"fixture.mlf\" format version, current is 201";
    Bytes magic = kStaticFixture;
    magic[8] = 'G';
    EXPECT_EQ(LoadError(magic), kFormatText);
    Bytes length = kStaticFixture;
    length[0] = 0x96;
    EXPECT_EQ(LoadError(length), kFormatText);
    Bytes version = kStaticFixture;
    version[9] = 200;
    EXPECT_EQ(LoadError(version), versionText);
    EXPECT_EQ(Errors().back(), "\nError: " + versionText + "!\n\n");
    EXPECT_THROW(Load("missing.mlf"), Error);
}

TEST_F(ModelFileTest, InconsistentContentIsAFormatError)
{
    ModelFile outsideIndex = RenderTesting::StaticQuad();
    outsideIndex.indices[4] = 4;
    EXPECT_EQ(LoadError(Formats::BuildModelFile(outsideIndex)), kFormatText);

    ModelFile fiveWeights = RenderTesting::OneBoneSkeleton();
    fiveWeights.skinVertices[1].weights.assign(5, {0, 0.2f, {0, 0, 1}, {1, 0, 0}});
    EXPECT_EQ(LoadError(Formats::BuildModelFile(fiveWeights)), kFormatText);

    ModelFile unknownBone = RenderTesting::OneBoneSkeleton();
    unknownBone.skinVertices[0].weights[0].bone = 1;
    EXPECT_EQ(LoadError(Formats::BuildModelFile(unknownBone)), kFormatText);

    ModelFile noFrames = RenderTesting::TwoFrameMorph();
    noFrames.frameCount = 0;
    noFrames.vertices.clear();
    noFrames.vertexCount = 3;
    noFrames.boxes.clear();
    EXPECT_EQ(LoadError(Formats::BuildModelFile(noFrames)), kFormatText);

    ModelFile manyBareVertices;
    manyBareVertices.flags = 0x8;
    manyBareVertices.vertexCount = 65537;
    manyBareVertices.boxes = {{}};
    EXPECT_EQ(LoadError(Formats::BuildModelFile(manyBareVertices)), kFormatText);
}

// Counts that would size memory beyond what the file holds are refused before anything is allocated.
TEST_F(ModelFileTest, CountsBeyondTheFileAreRefusedBeforeAllocating)
{
    struct Case
    {
        const char* what;
        const Bytes& fixture;
        std::size_t at; // offset of the u32 (or u16) count
        std::uint32_t value;
    };
    const Case cases[] = {
        {"index count", kStaticFixture, 17, 0xFFFFFFFFu},  {"vertex count", kStaticFixture, 21, 0x10000000u},
        {"frame count", kMorphFixture, 17, 0xFFFFFFFFu},   {"morph vertex count", kMorphFixture, 29, 0xFFFFFFFFu},
        {"key frames", kSkeletalFixture, 17, 0x40000000u}, {"skin vertex count", kSkeletalFixture, 106, 0x7FFFFFFFu},
    };
    for (const Case& c : cases) {
        Bytes bytes = c.fixture;
        Formats::SetLE32(bytes, c.at, c.value);
        EXPECT_EQ(LoadError(bytes), kFormatText) << c.what;
    }
    Bytes bones = kSkeletalFixture;
    bones[25] = 0xFF;
    bones[26] = 0xFF;
    EXPECT_EQ(LoadError(bones), kFormatText) << "bone count";

    // Frames without vertices still need their boxes.
    ModelFile frames = RenderTesting::TwoFrameMorph();
    frames.frameCount = 0x7FFFFFFF;
    frames.vertices.clear();
    frames.indices.clear();
    EXPECT_EQ(LoadError(Formats::BuildModelFile(frames)), kFormatText) << "boxes";
}

TEST_F(ModelFileTest, EveryTruncationFailsCleanly)
{
    for (const Bytes* fixture : {&kStaticFixture, &kMorphFixture, &kSkeletalFixture}) {
        for (std::size_t size = 0; size < fixture->size(); ++size) {
            Bytes cut(fixture->begin(), fixture->begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_THROW(LoadBytes(cut), Error) << size;
            if (size >= 4) {
                // With the length field telling the truth, the reader runs out of bytes somewhere inside.
                Formats::SetLE32(cut, 0, static_cast<std::uint32_t>(size));
                EXPECT_THROW(LoadBytes(cut), Error) << size;
            }
        }
    }
}

TEST_F(ModelFileTest, SkeletalModelWithoutKeysLoadsAndKeepsItsBox)
{
    ModelFile file = RenderTesting::OneBoneSkeleton();
    file.frameCount = 0;
    file.keys.clear();
    const auto model = LoadNew("unposed", file);
    EXPECT_TRUE(model->GetBoneKeys().empty());
    model->GetAnimationControl().m_playing = true;
    model->Update(false);
    ExpectBox(model->m_boundingBox, {0, 0, 0}, {1, 1, 0});
}

TEST_F(ModelFileTest, ManyIndicesAreReadFourBytesEach)
{
    ModelFile file = RenderTesting::StaticQuad();
    file.indices.assign(65538, 0);
    file.indices[65537] = 3;
    const auto model = LoadNew("wide", file);
    EXPECT_TRUE(model->GetIndexBuffer()->Has32BitIndices());
    EXPECT_EQ(model->GetIndexBuffer()->GetIndex(65537), 3u);
    EXPECT_EQ(model->GetPrimitiveCount(), 21846u);
}

} // namespace
