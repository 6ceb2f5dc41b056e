// The menus' data read back as the game reads it: every model of the shared resource lists' menu, in-game and
// level-complete steps and every map marker loads through the model manager with its ".srf" and textures and
// without a word in the log; the unfolding rule's frame counts; the widget texture grids; the placement rule
// against the layout table and the layout's constraints; the map's markers inside the map's frame, on the
// valley's path, and their state frames apart.
#include "tests/tools/content/MenuArt.h"
#include "tests/engine/render/ParticleFixture.h"
#include "tests/tools/content/MapFile.h"
#include "tools/content/Layout.h"
#include "tools/content/menus/MapArt.h"
#include "tools/content/menus/MenuPictures.h"
#include "tools/content/menus/ValleyPicture.h"
#include "tools/content/world/LevelGenerator.h"

#include "engine/render/Image.h"
#include "engine/render/Shader.h"
#include "engine/render/ShaderUser.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <tuple>

using namespace Content;
using KeystrelEngine::Model;
using KeystrelEngine::ShaderStage;

namespace {

// The model lists as the shared resource lists load them; a trailing '*' marks the load flag 0x20.
const std::vector<std::string> kMenuModels{
    "background\\text_area",
    "small_window\\window*",
    "small_window\\window_area",
    "small_window\\edit*",
    "small_window\\button_0",
    "small_window\\button_1",
    "big_window\\window*",
    "big_window\\window_area",
    "big_window\\button_0",
    "big_window\\button_1",
    "big_window\\button_2",
    "main_menu\\window*",
    "main_menu\\window_area",
    "main_menu\\button_0",
    "main_menu\\button_1",
    "main_menu\\button_2",
    "main_menu\\button_3",
    "main_menu\\button_4",
    "main_menu\\button_5",
    "main_menu\\button_6",
    "start_game\\window*",
    "start_game\\window_area",
    "start_game\\button_0",
    "start_game\\button_1",
    "options\\fullscreen_check_box",
    "options\\resolution_button_left",
    "options\\resolution_button_right",
    "options\\resolution_text*",
    "options\\resolution_text_area",
    "options\\slider_music",
    "options\\slider_sound",
    "profiles\\button_0",
    "profiles\\button_1",
    "profiles\\button_2",
    "profiles\\button_3",
    "profiles\\scroll",
    "profiles\\text*",
    "game_logic_menu\\relax_check_box",
    "game_logic_menu\\fullscreen_check_box",
    "game_logic_menu\\slider_music",
    "game_logic_menu\\slider_sound",
    "controls\\button_arrow_up*",
    "controls\\button_arrow_down*",
    "controls\\button_arrow_left*",
    "controls\\button_arrow_right*",
    "controls\\button_main_menu",
    "controls\\button_main_menu_selection_area",
    "controls\\button_main_menu_text_area",
    "controls\\button_big*",
    "controls\\button_big_selection_area",
    "controls\\button_big_text_area",
    "controls\\button_small*",
    "controls\\button_small_selection_area",
    "controls\\button_small_text_area",
    "controls\\button_game_logic_mode*",
    "controls\\button_game_logic_mode_selection_area",
    "controls\\button_game_logic_mode_text_area",
    "controls\\button_game_logic_minimize*",
    "controls\\button_game_logic_minimize_selection_area",
    "controls\\button_game_logic_minimize_text_area",
    "controls\\button_game_logic_maximize*",
    "controls\\button_game_logic_maximize_selection_area",
    "controls\\button_game_logic_maximize_text_area",
    "controls\\button_game_logic_close*",
    "controls\\button_game_logic_close_selection_area",
    "controls\\button_game_logic_close_text_area",
    "controls\\upgrade*",
    "controls\\check_box*",
    "controls\\scroll_h*",
    "controls\\scroll_h_toddler*",
    "controls\\scroll_h_toddler_min",
    "controls\\scroll_h_toddler_max",
    "controls\\scroll_h_button_increase",
    "controls\\scroll_h_button_decrease",
    "controls\\scroll_v*",
    "controls\\scroll_v_toddler*",
    "controls\\scroll_v_toddler_min",
    "controls\\scroll_v_toddler_max",
    "controls\\scroll_v_button_increase",
    "controls\\scroll_v_button_decrease",
};
const std::vector<std::string> kInGameModels{
    "game_logic\\background",
    "game_logic\\menu_button",
    "game_logic\\level_name_text_area",
    "game_logic\\level_name",
    "game_logic\\level_name_title_text_area",
    "game_logic\\score_text_area",
    "game_logic\\score",
    "game_logic\\score_title_text_area",
    "game_logic\\mode_button",
    "game_logic\\minimize_button",
    "game_logic\\maximize_window_button",
    "game_logic\\maximize_fullscreen_button",
    "game_logic\\close_button",
    "game_logic\\mana_background",
    "game_logic\\mana*",
    "game_logic\\mana_text_area",
    "game_logic\\energy_background",
    "game_logic\\energy*",
    "game_logic\\energy_text_area",
};
const std::vector<std::string> kLevelCompleteModels{
    "level_complete\\frame*", "level_complete\\upgrade",        "level_complete\\mana_background*",
    "level_complete\\mana*",  "level_complete\\mana_text_area",
};
const std::vector<std::string> kMarkers{"start", "finish", "check_point", "path", "path_check_point"};

constexpr int kStages = 3;

std::string Bare(const std::string& listed)
{
    return listed.back() == '*' ? listed.substr(0, listed.size() - 1) : listed;
}

std::string Folder(const std::string& name)
{
    return name.substr(0, name.find('\\'));
}

std::string Leaf(const std::string& name)
{
    return name.substr(name.rfind('\\') + 1);
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

enum class Role
{
    Unfolding, // frames and shared base models: 16 frames, folded at 0, open at the last
    Control,   // a control's own button or check box: 2 frames or more, open in each
    Upgrade,   // the upgrade pictures: 2 per stage
    Still,     // one frame
};

Role RoleOf(const std::string& name)
{
    const std::string folder = Folder(name), leaf = Leaf(name);
    static const std::vector<std::string> bases{"button_main_menu",
                                                "button_big",
                                                "button_small",
                                                "button_game_logic_mode",
                                                "button_game_logic_minimize",
                                                "button_game_logic_maximize",
                                                "button_game_logic_close",
                                                "check_box"};
    if (name == "controls\\upgrade")
        return Role::Upgrade;
    if (folder == "controls")
        return std::find(bases.begin(), bases.end(), leaf) != bases.end() ? Role::Unfolding : Role::Still;
    if (leaf == "window" || leaf == "frame" || leaf == "level_name" || leaf == "score" ||
        (EndsWith(leaf, "_background") && name != "game_logic\\background"))
        return Role::Unfolding;
    if (leaf.find("button") != std::string::npos || EndsWith(leaf, "check_box"))
        return Role::Control;
    return Role::Still;
}

struct Box
{
    float left, bottom, right, top;
};

Box BoxOf(const KeystrelEngine::BoundingBox& box)
{
    return {box.m_localMin.x, box.m_localMin.y, box.m_localMax.x, box.m_localMax.y};
}

void ExpectBoxIs(const Box& box, const LayoutRect& rect, const std::string& name)
{
    EXPECT_NEAR(box.left, rect.left, 1e-3f) << name;
    EXPECT_NEAR(box.bottom, rect.bottom, 1e-3f) << name;
    EXPECT_NEAR(box.right, rect.Right(), 1e-3f) << name;
    EXPECT_NEAR(box.top, rect.Top(), 1e-3f) << name;
}

class MenuArt : public RenderTesting::ParticleFixture
{
protected:
    void SetUp() override
    {
        ParticleFixture::SetUp();
        MenuTesting::WriteMenus();
    }

    // Every listed model of a list, loaded with its flag, by its name below the models folder.
    std::map<std::string, Model*> LoadAll(const std::vector<std::string>& listed, const std::string& folder)
    {
        std::map<std::string, Model*> loaded;
        for (const std::string& entry : listed) {
            const std::string name = Bare(entry);
            Model* model = models->LoadModel(folder + name + ".mlf", nullptr, entry.back() == '*' ? 0x20 : 0);
            model->Update(false);
            loaded[name] = model;
        }
        return loaded;
    }

    std::map<std::string, Model*> LoadMenus()
    {
        std::map<std::string, Model*> all;
        for (const std::vector<std::string>* list : {&kMenuModels, &kInGameModels, &kLevelCompleteModels})
            all.merge(LoadAll(*list, "ui\\menus\\models\\"));
        return all;
    }

    static const ShaderStage* Stage(const Model* model)
    {
        const KeystrelEngine::ShaderUser* user = model->GetShaderUser();
        return user->m_stageCount == 0 ? nullptr : &user->m_stages[0];
    }

    static Box OpenBox(const Model* model)
    {
        return BoxOf(model->GetMorphBoxes().empty() ? model->m_boundingBox : model->GetMorphBoxes().back());
    }
};

// The alpha-weighted mean colour of the picture's pixels in [x0, x1) x [y0, y1).
Color MeanColour(const Picture& picture, std::uint32_t x0, std::uint32_t y0, std::uint32_t x1, std::uint32_t y1)
{
    Color sum{0.0f, 0.0f, 0.0f, 0.0f};
    for (std::uint32_t i = 0; i < (x1 - x0) * (y1 - y0); ++i) {
        const Color& p = picture.At(x0 + i % (x1 - x0), y0 + i / (x1 - x0));
        sum = {sum.r + p.a * p.r, sum.g + p.a * p.g, sum.b + p.a * p.b, sum.a + p.a};
    }
    return {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, 1.0f};
}

float ColourDistance(const Color& a, const Color& b)
{
    return std::hypot(a.r - b.r, a.g - b.g, a.b - b.b);
}

void ExpectApart(const std::vector<Color>& colours, float distance, const std::string& what)
{
    for (std::size_t a = 0; a < colours.size(); ++a)
        for (std::size_t b = a + 1; b < colours.size(); ++b)
            EXPECT_GT(ColourDistance(colours[a], colours[b]), distance) << what << " " << a << " / " << b;
}

} // namespace

TEST_F(MenuArt, EveryModelLoadsWithItsSurfaceAndTexturesWithoutComplaint)
{
    EXPECT_EQ(kMenuModels.size(), 80u);
    EXPECT_EQ(kInGameModels.size(), 19u);
    EXPECT_EQ(kLevelCompleteModels.size(), 5u);
    std::map<std::string, Model*> loaded = LoadMenus();
    for (const std::string& marker : kMarkers)
        loaded[marker] = models->LoadModel("ui\\menus\\map\\models\\" + marker + ".mlf", nullptr, 0x20);
    EXPECT_EQ(loaded.size(), 109u);
    for (const auto& [name, model] : loaded) {
        const ShaderStage* stage = Stage(model);
        if (stage) {
            EXPECT_NE(model->GetShaderUser()->GetShader()->GetTexture(0, 0), nullptr) << name;
        }
        // Areas that are only measured carry no texture; everything drawn does.
        const bool area = EndsWith(name, "_area") || EndsWith(name, "_min") || EndsWith(name, "_max") ||
                          EndsWith(name, "_increase") || EndsWith(name, "_decrease") ||
                          name.find("slider_") != std::string::npos || name == "profiles\\scroll" ||
                          name == "level_complete\\upgrade";
        EXPECT_EQ(stage == nullptr, area) << name;
    }
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    EXPECT_TRUE(Warnings().empty()) << Warnings().front();

    // Every picture: power-of-two 24-bit colour with an 8-bit opacity picture of the same size.
    for (const ManifestEntry& entry : MenuTesting::MenuTool().Manifest()) {
        if (!EndsWith(entry.name, ".jpg") || EndsWith(entry.name, "_alpha.jpg"))
            continue;
        KeystrelEngine::Image colour, alpha;
        const std::string stem = entry.name.substr(0, entry.name.size() - 4);
        ASSERT_TRUE(KeystrelEngine::Image::Load(&services.files, "data\\" + entry.name, colour, &services.log));
        ASSERT_TRUE(KeystrelEngine::Image::Load(&services.files, "data\\" + stem + "_alpha.jpg", alpha, &services.log))
            << stem;
        EXPECT_EQ(colour.GetBitsPerPixel(), 24u) << stem;
        EXPECT_EQ(alpha.GetBitsPerPixel(), 8u) << stem;
        EXPECT_EQ(alpha.GetWidth(), colour.GetWidth()) << stem;
        EXPECT_EQ(alpha.GetHeight(), colour.GetHeight()) << stem;
        EXPECT_EQ(colour.GetWidth() & (colour.GetWidth() - 1), 0u) << stem;
        EXPECT_EQ(colour.GetHeight() & (colour.GetHeight() - 1), 0u) << stem;
    }
}

TEST_F(MenuArt, FrameCountsFollowTheUnfoldingRuleAndWidgetsCarryTheirStateGrids)
{
    for (const auto& [name, model] : LoadMenus()) {
        const std::uint32_t frames = model->GetAnimationControl().GetFrameCount();
        const std::vector<KeystrelEngine::BoundingBox>& boxes = model->GetMorphBoxes();
        switch (RoleOf(name)) {
        case Role::Unfolding: {
            ASSERT_EQ(frames, 16u) << name;
            const Box folded = BoxOf(boxes.front()), open = BoxOf(boxes.back());
            EXPECT_LT(folded.top - folded.bottom, 0.1f * (open.top - open.bottom)) << name;
            EXPECT_LT(folded.right - folded.left, 0.2f * (open.right - open.left)) << name;
            break;
        }
        case Role::Control: {
            ASSERT_GE(frames, 2u) << name;
            for (const KeystrelEngine::BoundingBox& box : boxes)
                ExpectBoxIs(BoxOf(box), Layout::Area(name), name);
            // Buttons show 4 state frames, check boxes (and the windowed / full-screen toggles) 8.
            const bool toggles = EndsWith(name, "check_box") || name.find("maximize") != std::string::npos;
            ASSERT_NE(Stage(model), nullptr) << name;
            EXPECT_EQ(Stage(model)->m_animationMode, ShaderStage::kAnimationGrid) << name;
            EXPECT_EQ(Stage(model)->m_frameCount, toggles ? 8u : 4u) << name;
            break;
        }
        case Role::Upgrade:
            EXPECT_EQ(frames, 2u * kStages) << name;
            break;
        case Role::Still:
            EXPECT_EQ(frames, 1u) << name;
            break;
        }
    }
    // The bars empty over at least 16 material frames; the markers have 6.
    for (const std::string bar : {"game_logic\\mana", "game_logic\\energy", "level_complete\\mana"}) {
        const Model* model = models->LoadModel("ui\\menus\\models\\" + bar + ".mlf", nullptr, 0x20);
        EXPECT_EQ(Stage(model)->m_animationMode, ShaderStage::kAnimationGrid) << bar;
        EXPECT_GE(Stage(model)->m_frameCount, 16u) << bar;
        EXPECT_EQ(Stage(model)->m_frameRate, 0.0f) << bar;
    }
    for (const std::string& marker : kMarkers) {
        const Model* model = models->LoadModel("ui\\menus\\map\\models\\" + marker + ".mlf", nullptr, 0x20);
        EXPECT_EQ(model->GetAnimationControl().GetFrameCount(), 1u) << marker;
        EXPECT_EQ(Stage(model)->m_frameCount, 6u) << marker;
        EXPECT_EQ(Stage(model)->m_gridColumns * Stage(model)->m_gridRows, 8u) << marker;
    }
}

TEST_F(MenuArt, ModelsStandAtTheirLayoutRectanglesAndTheLayoutKeepsItsConstraints)
{
    const std::map<std::string, Model*> loaded = LoadMenus();
    std::size_t placed = 0;
    for (const LayoutArea& area : Layout::Areas()) {
        const auto found = loaded.find(area.name);
        if (found == loaded.end())
            continue;
        ExpectBoxIs(OpenBox(found->second), area.rect, area.name);
        ++placed;
    }
    // Every model but the background bands and the quads the scroll widgets scale has a rectangle of its own.
    EXPECT_EQ(placed, loaded.size() - 1 - 8);
    for (const std::string quad : {"scroll_h", "scroll_h_toddler", "scroll_v", "scroll_v_toddler", "button_arrow_up",
                                   "button_arrow_down", "button_arrow_left", "button_arrow_right"})
        ExpectBoxIs(OpenBox(loaded.at("controls\\" + quad)), {0.0f, 0.0f, 1.0f, 1.0f}, quad);

    const auto rect = [](const std::string& name) { return Layout::Area(name); };
    EXPECT_GE(rect("big_window").width, 500.0f);
    EXPECT_GE(rect("small_window").width, 400.0f);
    EXPECT_GE(rect("small_window").height, 180.0f);
    // The big window's body lines (y 250 down to y 23 above its text area) lie between its buttons and the
    // title, its score rows (from y 358 above the frame) under the title; small window lines at y 157 fit.
    EXPECT_GE(rect("big_window").bottom + 23.0f, rect("big_window\\button_0").Top());
    EXPECT_LE(rect("big_window").bottom + 250.0f + 20.0f, rect("title").bottom);
    EXPECT_LE(rect("big_window\\window").bottom + 358.0f + 20.0f, rect("title").bottom);
    EXPECT_GT(rect("small_window").height, 157.0f + 20.0f);
    // The frames that open over a level leave the in-game window's top band and bottom bars in view.
    for (const char* frame : {"big_window", "small_window"}) {
        EXPECT_GE(rect(std::string(frame) + "\\window").bottom, Layout::kBottomBand) << frame;
        EXPECT_LE(rect(std::string(frame) + "\\window").Top(), Layout::kTopBand) << frame;
    }
    for (const char* frame : {"main_menu", "big_window", "small_window", "start_game"}) {
        const LayoutRect window = rect(std::string(frame) + "\\window");
        EXPECT_TRUE(window.Contains(rect(std::string(frame) + "\\window_area"))) << frame;
        EXPECT_TRUE(window.Contains(rect("title"))) << frame;
        EXPECT_LE(rect(std::string(frame) + "\\window_area").Top(), rect("title").bottom) << frame;
    }
    // Each window's own controls lie inside the frame they are shown in.
    const std::vector<std::pair<std::string, std::string>> owners{
        {"main_menu", "main_menu"},        {"big_window", "big_window"},    {"small_window", "small_window"},
        {"start_game", "start_game"},      {"options", "big_window"},       {"profiles", "big_window"},
        {"game_logic_menu", "big_window"}, {"level_complete", "big_window"}};
    for (const LayoutArea& area : Layout::Areas()) {
        for (const auto& [folder, frame] : owners) {
            if (Folder(area.name) == folder) {
                EXPECT_TRUE(rect(frame + "\\window").Contains(area.rect)) << area.name;
            }
        }
        if (Folder(area.name) == "game_logic") {
            const bool bottom = area.name.find("mana") != std::string::npos ||
                                area.name.find("energy") != std::string::npos || EndsWith(area.name, "bottom_band");
            if (bottom) {
                EXPECT_LE(area.rect.Top(), Layout::kBottomBand) << area.name;
            } else {
                EXPECT_GE(area.rect.bottom, Layout::kTopBand) << area.name;
            }
        }
    }
    // A base's text area lies in its selection area, which is the base model's own rectangle.
    for (const char* base : {"button_main_menu", "button_big", "button_small", "button_game_logic_mode",
                             "button_game_logic_minimize", "button_game_logic_maximize", "button_game_logic_close"}) {
        const std::string name = std::string("controls\\") + base;
        EXPECT_TRUE(rect(name + "_selection_area").Contains(rect(name + "_text_area"))) << base;
        ExpectBoxIs(OpenBox(loaded.at(name + "_selection_area")), rect(name), base);
    }
}

TEST_F(MenuArt, EveryControlHasTheSizeOfItsBaseModel)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> users{
        {"button_main_menu", {"main_menu\\button_0", "main_menu\\button_3", "main_menu\\button_6"}},
        {"button_big",
         {"big_window\\button_0", "big_window\\button_2", "small_window\\button_0", "small_window\\button_1"}},
        {"button_small",
         {"start_game\\button_0", "start_game\\button_1", "profiles\\button_0", "profiles\\button_3",
          "game_logic\\menu_button"}},
        {"button_game_logic_mode", {"game_logic\\mode_button"}},
        {"button_game_logic_minimize", {"game_logic\\minimize_button"}},
        {"button_game_logic_maximize",
         {"game_logic\\maximize_window_button", "game_logic\\maximize_fullscreen_button"}},
        {"button_game_logic_close", {"game_logic\\close_button"}},
        {"check_box",
         {"options\\fullscreen_check_box", "game_logic_menu\\fullscreen_check_box",
          "game_logic_menu\\relax_check_box"}},
    };
    for (const auto& [base, controls] : users) {
        const LayoutRect& reference = Layout::Area("controls\\" + base);
        for (const std::string& control : controls) {
            EXPECT_EQ(Layout::Area(control).width, reference.width) << control;
            EXPECT_EQ(Layout::Area(control).height, reference.height) << control;
        }
    }
    // The scroll parts lie in the scroll's own frame, which every slider and the profile scroll fill.
    for (const auto& [direction, controls] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"h",
              {"options\\slider_music", "options\\slider_sound", "game_logic_menu\\slider_music",
               "game_logic_menu\\slider_sound"}},
             {"v", {"profiles\\scroll"}}}) {
        const std::string parts = "controls\\scroll_" + direction;
        const LayoutRect frame{0.0f, 0.0f, Layout::Area(controls[0]).width, Layout::Area(controls[0]).height};
        for (const char* part : {"_toddler_min", "_toddler_max", "_button_increase", "_button_decrease"})
            EXPECT_TRUE(frame.Contains(Layout::Area(parts + part))) << parts << part;
        EXPECT_EQ(Layout::Area(parts + "_toddler_min").width, Layout::Area(parts + "_toddler_max").width);
        for (const std::string& control : controls) {
            EXPECT_EQ(Layout::Area(control).width, frame.width) << control;
            EXPECT_EQ(Layout::Area(control).height, frame.height) << control;
        }
    }
}

TEST_F(MenuArt, TheMapsMarkersLieInsideTheMapFrame)
{
    // The records against the level catalogue are checked with the whole data set (CatalogueAgreementTest).
    const std::vector<MenuTesting::MapRecord> records =
        MenuTesting::ReadMap(std::filesystem::path(TestSupport::BaseFolder()) / "Data/ui/menus/map/map.gmf");
    ASSERT_FALSE(records.empty());

    // Each marker, placed by its matrix, lies inside the map's frame and clear of its buttons.
    std::map<std::uint32_t, Model*> markers;
    const char* names[] = {"start", "finish", "check_point", "path"};
    for (std::uint32_t kind = 0; kind < 4; ++kind)
        markers[kind] =
            models->LoadModel(std::string("ui\\menus\\map\\models\\") + names[kind] + ".mlf", nullptr, 0x20);
    const LayoutRect area = Layout::Area("start_game\\window_area");
    for (const MenuTesting::MapRecord& record : records) {
        ASSERT_LT(record.kind, 4u) << "group " << record.group << " index " << record.index;
        KeystrelEngine::Matrix4 place;
        std::copy(std::begin(record.matrix), std::end(record.matrix), place.m);
        const KeystrelEngine::BoundingBox& box = markers[record.kind]->m_boundingBox;
        const KeystrelEngine::Vector3 low = place.TransformPoint(box.m_localMin),
                                      high = place.TransformPoint(box.m_localMax);
        EXPECT_TRUE(area.Contains({low.x, low.y, high.x - low.x, high.y - low.y}))
            << "group " << record.group << " index " << record.index;
    }
}

// The map's valley lays its path's sand under every marker's place, and the stages' lands (along their rows of
// markers) stand apart; every marker kind tells reachable, won and locked apart at a glance.
TEST_F(MenuArt, TheValleyRunsItsPathUnderEveryMarkerAndTheMarkersTellTheirStatesApart)
{
    const std::vector<Point> places = MapArt::Places();
    const Picture valley = ValleyPicture::Draw(places);
    for (const Point& place : places) {
        const Point pixel = ValleyPicture::PixelOf(place);
        EXPECT_LT(ColourDistance(valley.At(pixel.x, pixel.y), ValleyPicture::kPath), 0.05f)
            << place.x << " " << place.y;
    }
    std::vector<Color> lands;
    std::size_t first = 0; // the stage's first marker
    for (const StageDesign& stage : LevelGenerator::Stages()) {
        const auto y = static_cast<std::uint32_t>(ValleyPicture::PixelOf({0.0f, places.at(first).y + 30.0f}).y);
        lands.push_back(MeanColour(valley, 100, y, ValleyPicture::kSize - 100, y + 8));
        first += stage.levels.size();
    }
    ExpectApart(lands, 0.1f, "stages");
    for (const MarkerKind kind : {MarkerKind::Start, MarkerKind::Finish, MarkerKind::CheckPoint, MarkerKind::Path,
                                  MarkerKind::PathCheckPoint}) {
        const Picture marker = MenuPictures::Marker(kind);
        std::vector<Color> states; // reachable, won, locked: frames 0, 1 and 4 of the 4 x 2 grid
        for (const std::uint32_t frame : {0u, 1u, 4u})
            states.push_back(MeanColour(marker, 64 * (frame % 4), 64 - 64 * (frame / 4), 64 * (frame % 4) + 64,
                                        128 - 64 * (frame / 4)));
        ExpectApart(states, 0.15f, "marker kind " + std::to_string(static_cast<int>(kind)));
    }
}

// Every window's controls (as the windows pick them) keep apart and well below the title; controls whose
// heights overlap stand in one row (or one spans the other); same-size neighbours in a row or column stand at
// one pitch; together they stand in the middle of their frame. Left out: the relax window, whose YES and NO are
// the big frame's button_1 and button_0, beside the lone buttons' middle place.
TEST(MenuLayout, EveryWindowsControlsKeepApartEvenlyInTheMiddleOfTheirFrame)
{
    constexpr float kMinimumGap = 6.0f;
    const auto middle = [](const LayoutRect& r, bool across) {
        return across ? r.left + 0.5f * r.width : r.bottom + 0.5f * r.height;
    };
    // Each window: its own folder's controls (but the frame's parts and what lies inside another control) and
    // the frame buttons it picks; the lone buttons of the big and the small frame stand for themselves.
    for (const auto& [folder, frame, buttons] :
         std::vector<std::tuple<std::string, std::string, std::string>>{{"main_menu", "main_menu", ""},
                                                                        {"small_window", "small_window", ""},
                                                                        {"", "small_window", "1"},
                                                                        {"", "big_window", "0"},
                                                                        {"level_complete", "big_window", "0"},
                                                                        {"profiles", "big_window", ""},
                                                                        {"game_logic_menu", "big_window", "12"},
                                                                        {"options", "big_window", "012"},
                                                                        {"start_game", "start_game", ""}}) {
        std::vector<std::string> names;
        for (const char button : buttons)
            names.push_back(frame + "\\button_" + button);
        const auto own = [&folder](const LayoutArea& area) {
            return !folder.empty() && area.name != folder && Folder(area.name) == folder &&
                   area.name.find("\\window") == std::string::npos;
        };
        for (const LayoutArea& area : Layout::Areas()) {
            if (own(area) && std::none_of(Layout::Areas().begin(), Layout::Areas().end(), [&](const LayoutArea& other) {
                    return &other != &area && own(other) && other.rect.Contains(area.rect);
                }))
                names.push_back(area.name);
        }
        SCOPED_TRACE(names.back());
        float left = 800.0f, right = 0.0f, top = 0.0f;
        std::map<std::tuple<float, float, bool, float>, std::set<float>> lines; // size, direction, place across
        for (std::size_t a = 0; a < names.size(); ++a) {
            const LayoutRect& p = Layout::Area(names[a]);
            std::tie(left, right, top) =
                std::make_tuple(std::min(left, p.left), std::max(right, p.Right()), std::max(top, p.Top()));
            for (const bool across : {true, false})
                lines[{p.width, p.height, across, middle(p, !across)}].insert(across ? p.left : p.bottom);
            for (std::size_t b = a + 1; b < names.size(); ++b) {
                const LayoutRect& q = Layout::Area(names[b]);
                const float dx = std::max(p.left, q.left) - std::min(p.Right(), q.Right());
                const float dy = std::max(p.bottom, q.bottom) - std::min(p.Top(), q.Top());
                EXPECT_GE(std::max(dx, dy), kMinimumGap) << names[a] << " / " << names[b];
                const bool spans = (p.bottom - q.bottom) * (p.Top() - q.Top()) <= 0.0f;
                EXPECT_TRUE(dy >= 0.0f || spans || middle(p, false) == middle(q, false))
                    << names[a] << " / " << names[b];
            }
        }
        for (const auto& [line, starts] : lines)
            for (auto at = starts.begin(); starts.size() > 2 && std::next(at, 2) != starts.end(); ++at)
                EXPECT_EQ(*std::next(at, 2) - *std::next(at), *std::next(at) - *at);
        EXPECT_GE(Layout::Area("title").bottom - top, 2.0f * kMinimumGap);
        EXPECT_NEAR(0.5f * (left + right), middle(Layout::Area(frame + "\\window"), true), 0.5f);
    }
}
