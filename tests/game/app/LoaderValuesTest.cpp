// One sweep over the loaders, a row per kind of bad value a file can give: a file of the game's data is refused
// with its loader's error naming it; a file of the player's loads mended, with one warning line and a copy kept
// as ".bad". Bytes or values after the last record (a count smaller than the records) leave one warning. A profile
// that names a level the catalogue does not hold is mended to the first level.
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "engine/render/Image.h"
#include "engine/render/Model.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/ShaderDescriptor.h"
#include "framework/FontList.h"
#include "framework/HighScoresTable.h"
#include "game/app/BackgroundThemes.h"
#include "game/app/MapFile.h"
#include "game/app/Profile.h"
#include "game/play/CameraFile.h"
#include "game/play/GameLogicData.h"
#include "game/play/LevelManager.h"
#include "platform/testing.h"
#include "tests/game/app/AppFixture.h"
#include "tools/formats/BoardFileWriter.h"
#include "tools/formats/FontFileWriter.h"
#include "tools/formats/MapFileWriter.h"
#include "tools/formats/ModelFileWriter.h"
#include "tools/formats/ParticleFileWriter.h"
#include "tools/formats/ProfileFileWriter.h"
#include "tools/formats/ShaderFileWriter.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <limits>

using TestSupport::Bytes;
using TestSupport::ToBytes;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The u32 at the offset set to the value, or with four bytes after the file's end (its length field kept right).
Bytes Patched(Bytes bytes, std::size_t at, std::uint32_t value)
{
    Formats::SetLE32(bytes, at, value);
    return bytes;
}
Bytes WithTail(Bytes bytes)
{
    bytes.insert(bytes.end(), {1, 2, 3, 4});
    return Patched(bytes, 0, static_cast<std::uint32_t>(bytes.size()));
}

// Two cells on a 4 x 4 grid, the second at (place, place) with its position's x given.
Bytes BoardBytes(float x, std::uint32_t place = 1, std::uint32_t version = 103)
{
    Formats::BoardFile file{4, 4, {{}, {0, 0, 0, place, place, {x, 0.0f, 0.0f}}}};
    return Formats::BuildBoardFile(file, version);
}
Bytes FontBytes(float width, float u = 0.5f)
{
    return Formats::BuildFontFile({{u'A', 0.0f, 0.0f, 0.5f, 0.5f, 0.5f}, {u'B', u, 0.0f, 0.5f, 0.5f, width}});
}
// A triangle whose second vertex lies at x.
Bytes ModelBytes(float x)
{
    Formats::ModelFile model;
    model.indices = {0, 1, 2};
    model.vertices = {{}, {.position = {x, 0.0f, 0.0f}}, {.position = {0.0f, 1.0f, 0.0f}}};
    model.boxes = {{{0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 0.0f}}};
    return Formats::BuildModelFile(model);
}
Bytes ParticleBytes(float red)
{
    Formats::ParticleFile system;
    system.colour[2][0] = red;
    return Formats::BuildParticleFile(system);
}
Bytes ShaderBytes(float red)
{
    Formats::ShaderFile description;
    description.material[0] = red;
    return Formats::BuildShaderFile(description);
}
// A BMP of 24 bits a pixel whose width is 0.
Bytes EmptyPicture()
{
    Bytes bytes(54, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    bytes[28] = 24;
    return bytes;
}
// The environment "sweep" with one model: the count and each flag on a line of its own.
Bytes EnvironmentBytes(const std::string& count, const std::string& lit)
{
    return ToBytes(count + "\ntree\n" + lit + "\n0\n1\n");
}
Bytes ProfileNaming(std::uint32_t currentLevel, std::uint32_t bestStage, std::vector<Formats::ProfileResult> results)
{
    return Formats::BuildProfileFile({.name = u"Ada",
                                      .currentLevel = currentLevel,
                                      .bestStage = bestStage,
                                      .results = std::move(results),
                                      .extra = Bytes(12, 1)});
}
Bytes MapBytes(float x)
{
    Formats::MapFileRecord second;
    second.matrix[3] = x;
    return Formats::BuildMapFile({{}, second});
}
Bytes ProfileBytes(float music)
{
    return Formats::BuildProfileFile({.name = u"Ada", .results = {}, .musicVolume = music, .extra = Bytes(12, 1)});
}
Bytes FontListBytes(const std::string& opacityAndSize)
{
    return ToBytes("1\n0\nui\\fonts\\body.fnt\nui\\fonts\\body.jpg\n" + opacityAndSize + "\n0.5\n1\n0\n0\n");
}

// Each loader takes the file where it reads it and gives back the row's value as loaded.
class LoaderValuesTest : public AppTesting::AppFixture
{
public:
    static void Data(const std::string& name, const Bytes& bytes) { AppTesting::ReplaceDataFile(name, bytes); }
    // A file of the player's: written without an older copy beside it, and remembered for the copy's check.
    void Player(const std::string& name, const Bytes& bytes)
    {
        m_player = userFolder + name;
        TestSupport::WriteFile(m_player, bytes);
        std::filesystem::remove(m_player + ".bad");
    }

    // The level "sweep" read from its board and its environment.
    std::unique_ptr<Wispfold::GameLogicData> Level(const Bytes& board, const Bytes& environment)
    {
        Data("data\\boards\\sweep.blf", board);
        Data("data\\environments\\sweep\\environment.ini", environment);
        m_level.boardName = m_level.environmentName = "sweep";
        auto data = std::make_unique<Wispfold::GameLogicData>(KeeperServices(), nullptr, &m_level);
        data->Load();
        return data;
    }
    float Board(const Bytes& bytes)
    {
        return Level(bytes, ToBytes("0\n"))->GetLevelData().cellRecords.back().position[0];
    }
    // The first entry's lit flag; -1 without an entry.
    float Environment(const Bytes& bytes)
    {
        Data("data\\environments\\sweep\\models\\tree.mlf", ModelBytes(1.0f));
        Data("data\\environments\\sweep\\models\\tree.srf", ShaderBytes(1.0f));
        const auto entries = Level(BoardBytes(2.0f), bytes)->GetEnvironmentEntries();
        return entries.empty() ? -1.0f : entries[0].lit;
    }
    float Model(const Bytes& bytes)
    {
        Data("data\\models\\sweep.mlf", bytes);
        Data("data\\models\\sweep.srf", ShaderBytes(1.0f));
        const std::unique_ptr<KeystrelEngine::Model> model(
            engine->m_models->LoadModelUnmanaged("models\\sweep.mlf", 0));
        return model->m_boundingBox.m_localMax.x;
    }
    float Particles(const Bytes& bytes)
    {
        Data("data\\particles\\sweep.psf", bytes);
        Data("data\\particles\\sweep.srf", ShaderBytes(1.0f));
        const std::unique_ptr<KeystrelEngine::ParticleSystem> system(
            engine->m_particleSystems->LoadParticleSystem("particles\\sweep.psf", nullptr));
        return system->GetParameters().colour[2].r;
    }
    float Shader(const Bytes& bytes)
    {
        Data("data\\models\\sweep.srf", bytes);
        return KeystrelEngine::ShaderDescriptor::LoadFromFile("models\\sweep.srf", engine->m_log.get(),
                                                              engine->m_files.get())
            .m_diffuse.r;
    }
    // A picture that cannot be read logs why and is not made.
    float Picture(const Bytes& bytes)
    {
        Data("data\\sweep.bmp", bytes);
        KeystrelEngine::Image image;
        if (!KeystrelEngine::Image::Load(engine->m_files.get(), "data\\sweep.bmp", image, engine->m_log.get()))
            throw KeystrelEngine::Error("not made");
        return static_cast<float>(image.GetWidth());
    }
    float Themes(const Bytes& bytes)
    {
        Data(Wispfold::BackgroundThemes::kPath, bytes);
        return static_cast<float>(Wispfold::BackgroundThemes(*engine->m_files).GetThemes().size());
    }
    float Camera(const Bytes& bytes)
    {
        Data("data\\boards\\sweep_camera.ini", bytes);
        return Wispfold::CameraFile::Read(*engine->m_files, *engine->m_log, "data\\boards\\sweep_camera.ini")
            .obliqueDistance;
    }
    float Catalogue(const Bytes& list, const Bytes& boardSettings)
    {
        Data("data\\levels\\stages_info.ini", ToBytes("1\n"));
        Data("data\\levels\\stage0.ini", list);
        Data("data\\boards\\sweep.ini", boardSettings);
        return Wispfold::LevelManager(engine->m_log.get(), engine->m_files.get()).SumStageBoardValues(0);
    }
    float LevelList(const Bytes& bytes) { return Catalogue(bytes, ToBytes("20\n")); }
    float BoardValue(const Bytes& bytes) { return Catalogue(ToBytes("1\nsweep\n4\nsweep\n1.5\n"), bytes); }
    float Font(const Bytes& bytes)
    {
        Data("data\\ui\\fonts\\sweep.fnt", bytes);
        return KeystrelEngine::GUIFont(engine->m_log.get(), engine->m_files.get(), engine->m_models.get(),
                                       engine->m_shaders.get(), engine->m_gui->m_camera, "ui\\fonts\\sweep.fnt", {})
            .GetWidestGlyph();
    }
    float FontList(const Bytes& bytes)
    {
        Data("data\\ui\\fonts\\sweep.ini", bytes);
        return GameFramework::FontList::Read(*engine->m_files, *engine->m_log, "data\\ui\\fonts\\sweep.ini")
            .fonts.size();
    }
    float Map(const Bytes& bytes)
    {
        Data(Wispfold::MapFile::kPath, bytes);
        return Wispfold::MapFile::Read(engine->m_files.get(), engine->m_log.get()).size();
    }
    float Texts(const Bytes& bytes)
    {
        Data("data\\ui\\texts\\en\\sweep.ini", bytes);
        KeystrelEngine::GUITextManager(engine->m_log.get(), engine->m_files.get())
            .LoadTexts("ui\\texts\\en\\sweep.ini");
        return kNaN;
    }
    float HighScores(const Bytes& bytes)
    {
        Player("/high_scores_table.hsf", bytes);
        return GameFramework::HighScoresTable(engine->m_log.get(), engine->m_files.get(), userFolder)
            .GetEntries()
            .size();
    }
    float Profile(const Bytes& bytes)
    {
        Player("/profiles/sweep.prf", bytes);
        return Wispfold::Profile(engine->m_log.get(), engine->m_files.get(), userFolder, std::string("sweep.prf"))
            .m_volumes.music;
    }
    // Read with a catalogue of one level, stage 0's level 0: the sum of the stages and levels the profile names.
    float ProfileLevels(const Bytes& bytes)
    {
        Data("data\\levels\\stages_info.ini", ToBytes("1\n"));
        Data("data\\levels\\stage0.ini", ToBytes("1\nsweep\n4\nsweep\n1.5\n"));
        Data("data\\boards\\sweep.ini", ToBytes("20\n"));
        const Wispfold::LevelManager catalogue(engine->m_log.get(), engine->m_files.get());
        Player("/profiles/sweep.prf", bytes);
        const Wispfold::Profile profile(engine->m_log.get(), engine->m_files.get(), userFolder,
                                        std::string("sweep.prf"), &catalogue);
        double sum = 0.0;
        for (const auto level : {profile.m_currentLevel, profile.m_bestLevel})
            sum += level.stage + level.level;
        for (const auto& result : profile.m_results)
            sum += result.first + result.second;
        return static_cast<float>(sum);
    }

    std::string m_player; // the player's file the row's load read
    Wispfold::LevelRecord m_level;
};

using T = LoaderValuesTest;
const std::string kWorld = ", outside -10000 to 10000";
const std::string kScale = ", outside 0.0001 to 1000";
const std::string kUnit = ", outside 0 to 1";
const std::string kInt = ", outside -2147483648 to 2147483647";
const std::string kTail = "4 bytes follow the last record";

TEST_F(LoaderValuesTest, DataIsRefusedAndThePlayersFilesAreMendedWithOneWarning)
{
    // The loader, the kind of value, the file, what the refusal or the one warning says, and the value the row is
    // about as loaded; a row without a value is refused.
    const struct
    {
        float (T::*load)(const Bytes&);
        const char* kind;
        Bytes bytes;
        std::string line;
        float value = kNaN;
    } rows[] = {
        {&T::Board, "NaN", BoardBytes(kNaN), "cell 2's position is nan" + kWorld},
        {&T::Board, "3e38", BoardBytes(3e38f), "cell 2's position is 3e+38" + kWorld},
        {&T::Board, "same place", BoardBytes(2.0f, 0), "cell 2 is at an earlier cell's place"},
        {&T::Board, "count smaller", Patched(BoardBytes(2.0f), 21, 1), "66 bytes follow the last", 0.0f},
        {&T::Board, "trailing bytes", WithTail(BoardBytes(2.0f)), kTail, 2.0f},
        {&T::Board, "version 102", BoardBytes(2.0f, 1, 102),
         "Incorrect \"data\\boards\\sweep.blf\" format version (102), current is 103"},
        {&T::Environment, "flag 12abc", EnvironmentBytes("1", "12abc"),
         "entry 1's lit flag \"12abc\" is no whole number"},
        {&T::Environment, "flag beyond 32 bits", EnvironmentBytes("1", "99999999999"),
         "entry 1's lit flag is 99999999999" + kInt},
        {&T::Environment, "count NaN", EnvironmentBytes("nan", "1"), "the count \"nan\" is no whole number"},
        {&T::Environment, "flag -1", EnvironmentBytes("1", "-1"), "", 1.0f},
        {&T::Environment, "trailing values", EnvironmentBytes("0", "1"), "values follow the last record", -1.0f},
        {&T::Model, "NaN", ModelBytes(kNaN), "vertex 2's position is nan" + kWorld},
        {&T::Model, "20000", ModelBytes(20000.0f), "vertex 2's position is 20000" + kWorld},
        {&T::Model, "sound", ModelBytes(5.0f), "", 1.0f},
        {&T::Particles, "NaN", ParticleBytes(kNaN), "a colour key is nan" + kUnit},
        {&T::Particles, "2", ParticleBytes(2.0f), "a colour key is 2" + kUnit},
        {&T::Particles, "sound", ParticleBytes(0.5f), "", 0.5f},
        {&T::Shader, "NaN", ShaderBytes(kNaN), "the diffuse colour is nan" + kUnit},
        {&T::Shader, "negative", ShaderBytes(-3.0f), "the diffuse colour is -3" + kUnit},
        {&T::Picture, "no width", EmptyPicture(), "Incorrect \"data\\sweep.bmp\" file format"},
        {&T::Themes, "12abc", ToBytes("1\nsky\n12abc 0\n"), "theme 1's kind \"12abc\" is no whole number"},
        {&T::Camera, "NaN", ToBytes("300\n0\n150\n0\nnan\n"), "the oblique distance \"nan\" is no number"},
        {&T::Camera, "1e39", ToBytes("300\n0\n150\n0\n1e39\n"), "the oblique distance is 1e39" + kWorld},
        {&T::Camera, "hexadecimal", ToBytes("300\n0\n150\n0\n0x1p4\n"), "the oblique distance \"0x1p4\" is no number"},
        {&T::Camera, "count smaller", ToBytes("300\n0\n150\n0\n"), "the oblique distance is missing"},
        {&T::Camera, "trailing values", ToBytes("300\n0\n150\n0\n170\n5\n"), "values follow the last", 170.0f},
        {&T::Camera, "NUL", ToBytes("300 0 150 0 17" + std::string(1, '\0') + "0"), "is no number"},
        {&T::LevelList, "0", ToBytes("1\nsweep\n4\nsweep\n0\n"), "factor of entry 1 (\"sweep\") is 0" + kScale},
        {&T::LevelList, "count 12abc", ToBytes("12abc\nsweep\n4\nsweep\n1\n"),
         "the count \"12abc\" is no whole number"},
        {&T::LevelList, "count smaller", ToBytes("1\nsweep\n4\nsweep\n1\nsweep\n3\nsweep\n1\n"),
         "\"data\\levels\\stage0.ini\": values follow the last record", 20.0f},
        {&T::BoardValue, "negative", ToBytes("-3\n"), "the board value is -3, outside 0 to 10000"},
        {&T::BoardValue, "beyond 32 bits", ToBytes("4000000000\n"),
         "the board value is 4000000000, outside 0 to 10000"},
        {&T::BoardValue, "0 (no mana, no energy needed)", ToBytes("0\n"), "", 0.0f},
        {&T::Font, "NaN", FontBytes(kNaN), "glyph 2's width is nan" + kScale},
        {&T::Font, "negative", FontBytes(-869604.0f), "glyph 2's width is -869604" + kScale},
        {&T::Font, "texture coordinate", FontBytes(0.75f, 1968.0f), "glyph 2's rectangle is 1968" + kUnit},
        {&T::Font, "rectangle beyond the texture", FontBytes(0.75f, 0.75f),
         "glyph 2's rectangle's far edge is 1.25" + kUnit},
        {&T::Font, "count smaller", Patched(FontBytes(0.75f), 13, 0), "44 bytes follow the last", 0.0f},
        {&T::FontList, "NaN", FontListBytes("alpha.jpg\nnan"), "font 0's size \"nan\" is no number"},
        {&T::FontList, "0", FontListBytes("alpha.jpg\n0"), "font 0's size is 0" + kScale},
        {&T::FontList, "no number", FontListBytes("alpha.jpg\n14pt"), "font 0's size \"14pt\" is no number"},
        {&T::FontList, "empty opacity", FontListBytes("\n14"), "font 0's spacing factor is 0" + kScale},
        {&T::Map, "NaN", MapBytes(kNaN), "the matrix of record 2 is nan" + kWorld},
        {&T::Map, "count smaller", Patched(MapBytes(5.0f), 13, 0), "136 bytes follow the last", 0.0f},
        {&T::Texts, "NUL", ToBytes(std::string("[KEY]\r\nA\0B\r\n", 12)), "the text of \"KEY\" holds a control"},
        {&T::HighScores, "trailing bytes",
         WithTail(Formats::GameFile("GFHSF", 100, {1, 0, 0, 0, 1, 0, 0, 0, 2, 'A', 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0})),
         kTail, 1.0f},
        {&T::Profile, "NaN", ProfileBytes(kNaN), "the music volume is nan, outside 0 to 1; 1 is used", 1.0f},
        {&T::Profile, "negative", ProfileBytes(-8.0f), "the music volume is -8", 1.0f},
        {&T::Profile, "0", ProfileBytes(0.0f), "", 0.0f},
        {&T::Profile, "trailing bytes", WithTail(ProfileBytes(0.25f)), kTail, 0.25f},
        {&T::ProfileLevels, "result's stage", ProfileNaming(0, 0, {{3221225473u, 0, 2.5f}}),
         "the level of a result is stage 3221225473, level 0, not in the catalogue; the first level is used", 0.0f},
        {&T::ProfileLevels, "current level", ProfileNaming(1, 0, {}),
         "the current level is stage 0, level 1, not in the catalogue", 0.0f},
        {&T::ProfileLevels, "best stage", ProfileNaming(0, 7, {}), "the best level is stage 7, level 0", 0.0f},
        {&T::ProfileLevels, "held", ProfileNaming(0, 0, {{0, 0, 2.5f}}), "", 0.0f},
    };
    const auto isWarning = [](const auto& record) {
        return record.kind != KeystrelEngine::MessageManager::KindMessage;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind + (": " + row.line));
        m_player.clear();
        engine->m_log->ClearHistory();
        std::string text; // the refusal or the warnings
        float value = kNaN;
        bool refused = false;
        try {
            value = (this->*row.load)(row.bytes);
        } catch (const KeystrelEngine::Error& error) {
            text = error.GetText();
            refused = true;
        }
        const auto& history = engine->m_log->m_history;
        for (const auto& record : history)
            text += record.text;
        const auto warnings = std::ranges::count_if(history, isWarning);
        EXPECT_NE(text.find(row.line), std::string::npos) << text;
        EXPECT_EQ(refused, std::isnan(row.value));
        if (refused)
            continue;
        EXPECT_FLOAT_EQ(value, row.value);
        EXPECT_EQ(warnings, row.line.empty() ? 0 : 1);
        if (!m_player.empty() && warnings == 1) {
            EXPECT_EQ(TestSupport::ReadFile(m_player + ".bad"), row.bytes);
            // The mended records were saved in the file's place: read again, they need no mend.
            engine->m_log->ClearHistory();
            EXPECT_FLOAT_EQ((this->*row.load)(TestSupport::ReadFile(m_player)), row.value);
            EXPECT_EQ(std::ranges::count_if(history, isWarning), 0);
            // Without room for the copy the file stays as it is, and the values are mended all the same.
            PlatformTesting::SetFileFault(PlatformTesting::FileFault::Create, ".bad", ENOSPC);
            engine->m_log->ClearHistory();
            const float mended = (this->*row.load)(row.bytes);
            PlatformTesting::SetFileFault(PlatformTesting::FileFault::Create, "", 0);
            EXPECT_FLOAT_EQ(mended, row.value);
            EXPECT_EQ(TestSupport::ReadFile(m_player), row.bytes);
            EXPECT_FALSE(TestSupport::FileExists(m_player + ".bad"));
            ASSERT_EQ(std::ranges::count_if(history, isWarning), 1);
            EXPECT_NE(std::ranges::find_if(history, isWarning)->text.find("; failed to keep the file as"),
                      std::string::npos);
        }
    }
}

} // namespace
