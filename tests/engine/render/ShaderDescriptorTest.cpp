#include "engine/render/ShaderDescriptor.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "tests/support/TestEnvironment.h"
#include "tools/formats/ByteWriter.h"
#include "tools/formats/ShaderFileWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

using namespace KeystrelEngine;
using namespace Formats;
using namespace TestSupport;

namespace {

class ShaderDescriptorTest : public ::testing::Test
{
protected:
    // Writes bytes as name below the data folder and reads the description.
    ShaderDescriptor Load(const std::string& name, const Bytes& bytes)
    {
        std::string path = name;
        std::replace(path.begin(), path.end(), '\\', '/');
        WriteFile(BaseFolder() + "/Data/" + path, bytes);
        m_log.m_history.clear();
        return ShaderDescriptor::LoadFromFile(name, &m_log, &m_files);
    }

    // The text of the Error that loading raises, which must be the one error line logged.
    std::string LoadError(const std::string& name, const Bytes& bytes)
    {
        try {
            Load(name, bytes);
        } catch (const FileError&) {
            ADD_FAILURE() << "the file's own error left the reader";
        } catch (const FatalError&) {
            ADD_FAILURE() << "a fatal error for a damaged file";
        } catch (const Error& error) {
            EXPECT_EQ(m_log.m_history.size(), 1u);
            if (!m_log.m_history.empty()) {
                EXPECT_EQ(m_log.m_history[0].kind, MessageManager::KindError);
                EXPECT_NE(m_log.m_history[0].text.find("Error: " + error.GetText()), std::string::npos);
            }
            return error.GetText();
        }
        ADD_FAILURE() << "loaded";
        return {};
    }

    static ShaderFile TwoStages()
    {
        ShaderFile file;
        file.flags = 1;
        file.material = {0.5f, 0.25f, 1, 1, 0.1f, 0.2f, 0.3f, 0.4f, 1, 0, 0, 1, 0, 1, 0, 0.5f};
        file.power = 12.0f;
        file.extraValue = 77;
        file.sourceBlend = 4;
        file.destinationBlend = 5;
        const ShaderFileStage grid{.flags = 3,
                                   .mode = 1,
                                   .frameCount = 8,
                                   .frameRate = 12.5f,
                                   .columns = 4,
                                   .rows = 2,
                                   .texture = "Fire.TGA",
                                   .opacity = "fire_alpha.tga",
                                   .matrix = {2.0f, 3.0f, 0.25f, 0.5f}};
        ShaderFileStage framed;
        framed.mode = 2;
        framed.frameCount = 12;
        framed.frameRate = 24.0f;
        framed.texture = "textures\\fire00.tga";
        file.stages = {grid, framed};
        return file;
    }

    MessageManager m_log{"", "Test", "", false, false};
    FileManager m_files{&m_log, "", "Data"};
};

void ExpectColor(const Color& color, float r, float g, float b, float a)
{
    EXPECT_EQ(color.r, r);
    EXPECT_EQ(color.g, g);
    EXPECT_EQ(color.b, b);
    EXPECT_EQ(color.a, a);
}

// One stage entry assembled byte by byte as the file lays it out, without the test writer.
Bytes HandAssembledStage(std::uint32_t mode)
{
    Bytes entry;
    PutLE32(entry, 0);    // flags
    PutLE32(entry, mode); // animation mode
    if (mode != 0) {
        PutLE32(entry, 6);   // frame count
        PutF32(entry, 5.0f); // frame rate
    }
    if (mode == 1) {
        PutLE32(entry, 3); // columns
        PutLE32(entry, 2); // rows
    }
    Append(entry, {4, 'a', '.', 'b', 0}); // texture name
    Append(entry, {1, 0});                // no opacity name
    PutLE32(entry, 1);                    // address U
    PutLE32(entry, 0);                    // address V
    for (float value : {0.5f, 0.75f, 0.125f, 0.0625f})
        PutF32(entry, value);
    return entry;
}

} // namespace

TEST_F(ShaderDescriptorTest, BuiltDescriptionsBlendForAnOpacityNameAndKnowTheAlphaMarker)
{
    const ShaderDescriptor opaque("Wood.BMP", "");
    EXPECT_EQ(opaque.m_flags, 0u);
    ASSERT_EQ(opaque.m_stageCount, 1u);
    EXPECT_EQ(opaque.m_stages[0].m_textureName, "wood.bmp");
    EXPECT_EQ(opaque.m_stages[0].m_frameCount, 0u); // no animation
    EXPECT_EQ(ShaderDescriptor("", "mask.tga").m_stageCount, 0u);

    const ShaderDescriptor marker("logo.tga", "32bit");
    EXPECT_EQ(marker.m_flags, ShaderDescriptor::kAlphaBlend);
    EXPECT_EQ(marker.m_sourceBlend, 4u);
    EXPECT_EQ(marker.m_destinationBlend, 5u);
    EXPECT_EQ(marker.m_stages[0].m_opacityName, "");
    EXPECT_EQ(marker.m_stages[0].m_flags, ShaderStage::kMipMap); // the description's flags
    EXPECT_EQ(ShaderDescriptor("logo.tga", "logo_32bit").m_stages[0].m_opacityName, "logo_32bit");

    const ShaderDescriptor font = ShaderDescriptor::FromTexture("font.tga", 16, 16, "");
    EXPECT_EQ(font.m_flags, 0u);
    EXPECT_EQ(font.m_stages[0].m_animationMode, ShaderStage::kAnimationGrid);
    EXPECT_EQ(font.m_stages[0].m_frameCount, 256u);
    EXPECT_EQ(font.m_stages[0].m_flags, 0u);

    const ShaderDescriptor logo = ShaderDescriptor::FromTexture("logo.tga", 1, 1, "logo_32bit");
    EXPECT_EQ(logo.m_flags, ShaderDescriptor::kAlphaBlend);
    EXPECT_EQ(logo.m_destinationBlend, 5u);
    EXPECT_EQ(logo.m_stages[0].m_animationMode, ShaderStage::kAnimationNone);
    EXPECT_EQ(logo.m_stages[0].m_opacityName, "");

    ShaderDescriptor::s_mipMapBuiltDescriptions = true;
    const ShaderDescriptor mipMapped = ShaderDescriptor::FromTextureSingleFrame("sky.jpg", "sky_a.jpg");
    ShaderDescriptor::s_mipMapBuiltDescriptions = false;
    EXPECT_EQ(mipMapped.m_stages[0].m_flags, ShaderStage::kMipMap);
    EXPECT_EQ(mipMapped.m_stages[0].m_opacityName, "sky_a.jpg");
}

TEST_F(ShaderDescriptorTest, ReadsTheDescriptionAndEachStageAfterTheOneBefore)
{
    const ShaderDescriptor description = Load("effects\\fire.srf", BuildShaderFile(TwoStages()));
    EXPECT_EQ(description.m_flags, 1u);
    ExpectColor(description.m_diffuse, 0.5f, 0.25f, 1, 1);
    ExpectColor(description.m_ambient, 0.1f, 0.2f, 0.3f, 0.4f);
    ExpectColor(description.m_specular, 1, 0, 0, 1);
    ExpectColor(description.m_emissive, 0, 1, 0, 0.5f);
    EXPECT_EQ(description.m_power, 12.0f);
    EXPECT_EQ(description.m_extraValue, 77u);
    EXPECT_EQ(description.m_sourceBlend, 4u);
    EXPECT_EQ(description.m_destinationBlend, 5u);
    ASSERT_EQ(description.m_stageCount, 2u);
    EXPECT_EQ(description.m_stages[0].m_flags, 3u);
    EXPECT_EQ(description.m_stages[0].m_opacityName, "effects\\fire_alpha.tga");
    EXPECT_EQ(description.m_stages[0].m_scaleV, 3.0f);

    const ShaderStage& framed = description.m_stages[1];
    EXPECT_EQ(framed.m_animationMode, ShaderStage::kAnimationTextureFrames);
    EXPECT_EQ(framed.m_frameCount, 12u);
    EXPECT_EQ(framed.m_frameRate, 24.0f);
    EXPECT_EQ(framed.m_textureName, "textures\\fire00.tga"); // a name with a folder stays as it is
    EXPECT_EQ(framed.m_opacityName, "");
    EXPECT_TRUE(m_log.m_history.empty());
}

TEST_F(ShaderDescriptorTest, StageEntriesAreAsLongAsTheirAnimationModeNeeds)
{
    // 8 bytes of flags and mode, 5 + 2 bytes of names, 24 bytes of addressing and texture matrix; a grid adds
    // frames, rate, columns and rows, the framed modes add frames and rate.
    const std::uint32_t expectedLength[] = {39, 55, 47, 47, 47};
    for (std::uint32_t mode = 0; mode <= 4; ++mode) {
        Bytes file;
        PutLE32(file, 0);
        Append(file, {'K', 'E', 'S', 'R', 'F'});
        PutLE32(file, 211);
        PutLE32(file, 0);
        for (int i = 0; i < 17; ++i)
            PutF32(file, 1.0f); // material and power
        for (int i = 0; i < 3; ++i)
            PutLE32(file, 0); // extra value and blend factors
        PutLE32(file, 1);
        ASSERT_EQ(file.size(), 101u);
        const Bytes entry = HandAssembledStage(mode);
        EXPECT_EQ(entry.size(), expectedLength[mode]);
        Append(file, entry);
        SetLE32(file, 0, static_cast<std::uint32_t>(file.size()));

        const ShaderDescriptor description = Load("fx\\a.srf", file);
        ASSERT_EQ(description.m_stageCount, 1u);
        const ShaderStage& stage = description.m_stages[0];
        EXPECT_EQ(stage.m_animationMode, mode);
        EXPECT_EQ(stage.m_frameCount, mode == 0 ? 0u : 6u);
        EXPECT_EQ(stage.m_frameRate, mode == 0 ? 0.0f : 5.0f);
        EXPECT_EQ(stage.m_gridColumns, mode == 1 ? 3u : 1u);
        EXPECT_EQ(stage.m_gridRows, mode == 1 ? 2u : 1u);
        EXPECT_EQ(stage.m_textureName, "fx\\a.b");
        EXPECT_EQ(stage.m_addressU, 1u);
        EXPECT_EQ(stage.m_scaleU, 0.5f);
        EXPECT_EQ(stage.m_offsetV, 0.0625f);
    }
}

TEST_F(ShaderDescriptorTest, TextureNamesWithoutFolderLieNextToTheDescription)
{
    ShaderFile file;
    file.stages.resize(2);
    file.stages[0].texture = "Bark.JPG";
    file.stages[1].texture = "Textures\\Bark.jpg";
    file.stages[1].opacity = "Bark_Mask.jpg";
    const ShaderDescriptor tree = Load("Models\\Tree.srf", BuildShaderFile(file));
    EXPECT_EQ(tree.m_stages[0].m_textureName, "models\\bark.jpg");
    EXPECT_EQ(tree.m_stages[0].m_opacityName, ""); // no name, no folder
    EXPECT_EQ(tree.m_stages[1].m_textureName, "textures\\bark.jpg");
    EXPECT_EQ(tree.m_stages[1].m_opacityName, "models\\bark_mask.jpg");

    const ShaderDescriptor top = Load("tree.srf", BuildShaderFile(file));
    EXPECT_EQ(top.m_stages[0].m_textureName, "\\bark.jpg");

    // A description opened by an absolute Linux name finds its textures in its own folder.
    const std::string absolute = BaseFolder() + "/Elsewhere/Tree.srf";
    WriteFile(absolute, BuildShaderFile(file));
    const ShaderDescriptor outside = ShaderDescriptor::LoadFromFile(absolute, &m_log, &m_files);
    EXPECT_EQ(outside.m_stages[0].m_textureName, ToLower(BaseFolder() + "/elsewhere\\bark.jpg"));
    EXPECT_EQ(outside.m_stages[1].m_textureName, "textures\\bark.jpg");

    // The reader does not know the alpha marker: it is an opacity file name like any other.
    file.stages[0].opacity = "32bit";
    EXPECT_EQ(Load("models\\tree.srf", BuildShaderFile(file)).m_stages[0].m_opacityName, "models\\32bit");

    file.stages.clear();
    EXPECT_EQ(Load("models\\tree.srf", BuildShaderFile(file)).m_stageCount, 0u);
}

TEST_F(ShaderDescriptorTest, BadFilesRaiseTheReadersErrorWithExactTexts)
{
    const Bytes good = BuildShaderFile(TwoStages());
    Bytes magic = good;
    magic[8] = 'X';
    EXPECT_EQ(LoadError("models\\tree.srf", magic), "Incorrect \"models\\tree.srf\" file format");
    Bytes length = good;
    SetLE32(length, 0, static_cast<std::uint32_t>(good.size() + 1));
    EXPECT_EQ(LoadError("models\\tree.srf", length), "Incorrect \"models\\tree.srf\" file format");
    EXPECT_EQ(LoadError("models\\tree.srf", BuildShaderFile(TwoStages(), 210)),
              "Incorrect \"models\\tree.srf\" format version, current is 211");

    m_log.m_history.clear();
    EXPECT_THROW(ShaderDescriptor::LoadFromFile("models\\missing.srf", &m_log, &m_files), Error);
    ASSERT_EQ(m_log.m_history.size(), 1u);
    EXPECT_NE(m_log.m_history[0].text.find("missing.srf"), std::string::npos);

    // An animation without frames and a grid without cells are damaged files too.
    for (int field = 0; field < 3; ++field) {
        ShaderFile file = TwoStages();
        (field == 0 ? file.stages[1].frameCount : field == 1 ? file.stages[0].columns : file.stages[0].rows) = 0;
        EXPECT_EQ(LoadError("models\\grid.srf", BuildShaderFile(file)), "Incorrect \"models\\grid.srf\" file format");
    }

    // Frame files are numbered with at most four digits, and grids (stage 0) are held to the same count: a grid
    // of 0xFFFFFFFF frames played backwards would run its position up to 2^32.
    for (const std::size_t stage : {0u, 1u}) {
        for (const std::uint32_t count : {10000u, 0xFFFFFFFFu}) {
            ShaderFile frames = TwoStages();
            frames.stages[stage].frameCount = count;
            frames.stages[stage].frameRate = -1.0f;
            EXPECT_EQ(LoadError("models\\many.srf", BuildShaderFile(frames)),
                      "Incorrect \"models\\many.srf\" file format");
        }
    }
    ShaderFile most = TwoStages();
    most.stages[0].frameCount = 9999;
    most.stages[1].frameCount = 9999;
    const ShaderDescriptor loaded = Load("models\\many.srf", BuildShaderFile(most));
    EXPECT_EQ(loaded.m_stages[0].m_frameCount, 9999u);
    EXPECT_EQ(loaded.m_stages[1].m_frameCount, 9999u);
}

TEST_F(ShaderDescriptorTest, AThirdStageIsFatalAndNotLogged)
{
    ShaderFile file = TwoStages();
    file.stages.push_back(file.stages[1]);
    try {
        Load("models\\three.srf", BuildShaderFile(file));
        ADD_FAILURE() << "loaded";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.GetText(), "Shader Stages: buffer is overflowed");
    }
    EXPECT_TRUE(m_log.m_history.empty());

    ShaderDescriptor built("a.tga", "");
    built.AddStage(0, 0, 1, 1, 1, 0.0f, "b.tga", "", 0);
    EXPECT_THROW(built.AddStage(0, 0, 1, 1, 1, 0.0f, "c.tga", "", 0), FatalError);
    EXPECT_EQ(built.m_stageCount, 2u);
}

TEST_F(ShaderDescriptorTest, HashSumsTheNamesAndEqualsComparesOnlyWhatTheTexturesDependOn)
{
    EXPECT_EQ(ShaderDescriptor("ab", "").m_hash, 195);
    EXPECT_EQ(ShaderDescriptor("ab", "c").m_hash, 195 + 99);
    ShaderDescriptor accented("", "");
    accented.AddStage(0, 0, 1, 1, 1, 0.0f, "\xE9", "", 0); // a byte above 127 counts negative
    EXPECT_EQ(accented.m_hash, -23);
    accented.m_stages[0].m_textureName = "ab";
    EXPECT_EQ(ShaderDescriptor(accented).m_hash, 195); // copying recomputes
    ShaderDescriptor assigned;
    assigned = accented;
    EXPECT_EQ(assigned.m_hash, 195);
    EXPECT_EQ(accented.GetHash(), 195);

    const ShaderDescriptor base = ShaderDescriptor::FromTexture("fire.tga", 4, 2, "fire_a.tga");
    ShaderDescriptor perUser = base;
    perUser.m_flags &= ~ShaderDescriptor::kAlphaBlend;
    perUser.m_sourceBlend = 2;
    perUser.m_diffuse.r = 0.0f;
    perUser.m_power = 3.0f;
    perUser.m_extraValue = 9;
    ShaderStage& stage = perUser.m_stages[0];
    stage.m_flags = ShaderStage::kMipMap | ShaderStage::kRandomStart;
    stage.m_frameRate = 30.0f;
    stage.m_gridColumns = 8;
    stage.m_frameCount = 3;
    stage.m_animationMode = ShaderStage::kAnimationNone;
    stage.m_addressU = 1;
    stage.m_offsetU = 0.5f;
    stage.m_scaleV = 2.0f;
    EXPECT_TRUE(base.Equals(perUser));
    EXPECT_TRUE(perUser.Equals(base));

    const auto differs = [&](auto change) {
        ShaderDescriptor other = base;
        change(other);
        other.GetHash();
        return !base.Equals(other) && !other.Equals(base);
    };
    EXPECT_TRUE(differs([](ShaderDescriptor& d) { d.m_stages[0].m_opacityName = "fire_b.tga"; }));
    EXPECT_TRUE(differs([](ShaderDescriptor& d) { d.m_stages[0].m_opacityName = "fire_a.tgb"; }));
    EXPECT_TRUE(differs([](ShaderDescriptor& d) { d.m_stages[0].m_textureName = "fire.tga "; }));
    EXPECT_TRUE(differs([](ShaderDescriptor& d) { d.m_flags |= 2; }));
    EXPECT_TRUE(differs([](ShaderDescriptor& d) { d.m_stages[0].m_flags |= ShaderStage::kNoTextures; }));
    EXPECT_TRUE(differs([](ShaderDescriptor& d) { d.AddStage(0, 0, 1, 1, 1, 0.0f, "", "", 0); }));
    EXPECT_TRUE(differs([](ShaderDescriptor& d) { d.m_stages[0].m_animationMode = 2; }));
    // Same names and hash, different texture order: the hash alone does not decide.
    EXPECT_TRUE(
        differs([](ShaderDescriptor& d) { std::swap(d.m_stages[0].m_textureName, d.m_stages[0].m_opacityName); }));

    ShaderDescriptor framed("anim0.jpg", "");
    framed.m_stages[0].m_animationMode = ShaderStage::kAnimationTextureFrames;
    framed.m_stages[0].m_frameCount = 5;
    ShaderDescriptor longer = framed;
    longer.m_stages[0].m_frameCount = 6;
    EXPECT_FALSE(framed.Equals(longer));
    ShaderDescriptor opacityFrames = framed;
    opacityFrames.m_stages[0].m_animationMode = ShaderStage::kAnimationOpacityFrames;
    EXPECT_FALSE(framed.Equals(opacityFrames));
    EXPECT_TRUE(framed.Equals(ShaderDescriptor(framed)));
}

TEST_F(ShaderDescriptorTest, DamagedFilesFailCleanly)
{
    const Bytes good = BuildShaderFile(TwoStages());
    for (std::size_t size = 0; size < good.size(); ++size) {
        const Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(LoadError("models\\cut.srf", truncated).empty()) << size << " bytes";
    }

    // The flips spare the header, so that every damaged file is read past it.
    std::mt19937 random(7);
    int loaded = 0;
    for (int i = 0; i < 3000; ++i) {
        Bytes damaged = good;
        for (int n = 1 + random() % 4; n > 0; --n)
            damaged[13 + random() % (damaged.size() - 13)] = static_cast<std::uint8_t>(random());
        try {
            const ShaderDescriptor description = Load("models\\flip.srf", damaged);
            ++loaded;
            ASSERT_LE(description.m_stageCount, 2u);
            for (std::uint32_t s = 0; s < description.m_stageCount; ++s) {
                const ShaderStage& stage = description.m_stages[s];
                EXPECT_TRUE(stage.m_animationMode == 0 || stage.m_frameCount > 0);
                EXPECT_GT(stage.m_gridColumns * std::uint64_t(stage.m_gridRows), 0u);
            }
        } catch (const FatalError& error) {
            EXPECT_EQ(error.GetText(), "Shader Stages: buffer is overflowed");
        } catch (const Error& error) {
            EXPECT_FALSE(error.GetText().empty());
        }
    }
    EXPECT_GT(loaded, 0);
}
