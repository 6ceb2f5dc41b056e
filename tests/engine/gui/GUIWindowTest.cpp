// GUI windows on the recording device: depths by layer bits and layers, attaching and detaching, visibility
// through the tree, the hit test, the text pool and the printing of texts, the three kinds of quad, and the
// destructor.
#include "engine/gui/GUIWindow.h"
#include "engine/render/VertexBuffer.h"
#include "tests/engine/gui/GUIFixture.h"

using GUITesting::Glyph;
using KeystrelEngine::GUIWindow;
using KeystrelEngine::Model;

namespace {

constexpr float kDepthTolerance = 1e-5f;

class GUIWindowTest : public GUITesting::GUIFixture
{
protected:
    void SetUp() override
    {
        GUIFixture::SetUp();
        font = LoadFont(1, {Glyph(u'A', 0.5f), Glyph(u'U', 0.5f)});
        font->m_size = 10.0f;
    }

    // A window with a quad made for a plain description.
    std::unique_ptr<GUIWindow> QuadWindow(std::uint32_t flags, GUIWindow* parent = nullptr)
    {
        return std::make_unique<GUIWindow>(gui, flags, KeystrelEngine::GUIPoint{10, 20},
                                           KeystrelEngine::GUISize{200, 100}, KeystrelEngine::ShaderDescriptor(),
                                           parent, 1.0f, 1.0f);
    }

    std::uint32_t PrintedQuads() const
    {
        std::uint32_t quads = 0;
        for (const auto& instance : fonts->GetInstances())
            quads += instance->GetQuadCount();
        return quads;
    }

    KeystrelEngine::GUIFont* font = nullptr;
};

TEST_F(GUIWindowTest, DepthsFollowTheLayerBitsAndTheLayersOfTheTree)
{
    const auto plain = QuadWindow(GUIWindow::kShown);
    const auto child = QuadWindow(GUIWindow::kShown, plain.get());
    const auto grandchild = QuadWindow(GUIWindow::kShown, child.get());
    grandchild->SetLayer(3);
    EXPECT_FLOAT_EQ(plain->GetDepth(), -15.0f);
    EXPECT_NEAR(child->GetDepth(), -15.01f, kDepthTolerance);
    EXPECT_NEAR(grandchild->GetDepth(), -15.04f, kDepthTolerance);
    EXPECT_FLOAT_EQ(grandchild->GetQuad()->GetSortDepth(), grandchild->GetDepth());
    // A layer change moves the whole subtree.
    child->SetLayer(2);
    EXPECT_NEAR(grandchild->GetDepth(), -15.05f, kDepthTolerance);

    const float expected[] = {-10.0f, -20.0f, -30.0f, -10.0f};
    const std::uint32_t bits[] = {0x04, 0x08, 0x10, 0x04 | 0x10};
    for (int i = 0; i < 4; ++i) {
        const auto window = QuadWindow(bits[i]);
        EXPECT_FLOAT_EQ(window->GetDepth(), expected[i]) << bits[i];
        EXPECT_FLOAT_EQ(window->GetQuad()->GetSortDepth(), expected[i]) << bits[i];
    }

    // Attaching gives up the layer bits: the depth comes from the new parent.
    const auto layered = QuadWindow(GUIWindow::kShown | 0x10);
    layered->SetParent(plain.get());
    EXPECT_EQ(layered->GetFlags() & GUIWindow::kLayerBits, 0u);
    EXPECT_NEAR(layered->GetDepth(), -15.01f, kDepthTolerance);
    EXPECT_EQ(plain->GetChildren(), (std::vector<GUIWindow*>{child.get(), layered.get()}));
    layered->SetParent(nullptr);
    EXPECT_FLOAT_EQ(layered->GetDepth(), -15.0f);
    EXPECT_EQ(plain->GetChildren(), (std::vector<GUIWindow*>{child.get()}));
}

TEST_F(GUIWindowTest, AddFlagsAndSetVisibleChangeNothingWhenTheBitsAreSetAlready)
{
    const auto window = QuadWindow(0x04);
    EXPECT_FALSE(window->IsVisible());
    EXPECT_FALSE(window->GetQuad()->m_flags & Model::kShown);
    window->AddFlags(0x05);
    EXPECT_EQ(window->GetFlags(), 0x04u);
    EXPECT_FALSE(window->IsVisible());
    window->AddFlags(0x01);
    EXPECT_TRUE(window->IsVisible());
    EXPECT_TRUE(window->GetQuad()->m_flags & Model::kShown);

    // Showing a shown window keeps the depth it has, even one that does not follow its layer bits: a layer bit
    // given while attached leaves the depth as it is when the window is detached.
    const auto parent = QuadWindow(GUIWindow::kShown);
    const auto shown = QuadWindow(GUIWindow::kShown, parent.get());
    shown->AddFlags(0x08);
    shown->SetParent(nullptr);
    shown->SetVisible(true);
    EXPECT_NEAR(shown->GetDepth(), -15.01f, kDepthTolerance);
    shown->SetVisible(false);
    EXPECT_FALSE(shown->IsVisible());
    shown->SetVisible(true);
    EXPECT_FLOAT_EQ(shown->GetDepth(), -20.0f);
}

TEST_F(GUIWindowTest, AHiddenParentHidesItsSubtreeAndShowingItShowsAllAtOnce)
{
    const auto parent = QuadWindow(0);
    const auto child = QuadWindow(GUIWindow::kShown, parent.get());
    const auto grandchild = QuadWindow(GUIWindow::kShown, child.get());
    EXPECT_FALSE(grandchild->IsVisible());
    EXPECT_FALSE(grandchild->Update(100, 70, false, false));
    EXPECT_FALSE(grandchild->IsCursorOver());
    grandchild->AddText(0, 1, u"A", 0, 0, {0, 0}, {1, 1, 1, 1});
    EXPECT_FALSE(grandchild->Draw());
    EXPECT_EQ(grandchild->GetTextCount(), 0u);

    parent->SetVisible(true);
    for (const GUIWindow* window : {parent.get(), child.get(), grandchild.get()}) {
        EXPECT_TRUE(window->IsVisible());
        EXPECT_TRUE(window->GetQuad()->m_flags & Model::kShown);
    }
    // The text of the hidden frame was dropped; nothing is printed now.
    EXPECT_TRUE(grandchild->Draw());
    EXPECT_EQ(PrintedQuads(), 0u);
}

TEST_F(GUIWindowTest, TheHitTestLeavesTheEdgesOutsideAndMayUseAHitArea)
{
    const auto window = QuadWindow(GUIWindow::kShown); // (10, 20) to (210, 120)
    const struct
    {
        float x, y;
    } points[] = {{10, 50}, {11, 50}, {209.9f, 50}, {210, 50}, {100, 20}, {100, 21}, {100, 120}, {100, 119}};
    for (const auto& p : points) {
        EXPECT_TRUE(window->Update(p.x, p.y, false, false));
        EXPECT_EQ(window->IsCursorOver(), p.x > 10 && p.x < 210 && p.y > 20 && p.y < 120) << p.x << ", " << p.y;
    }
    window->m_hasHitArea = true;
    window->m_hitArea = {50, 10, 20, 20}; // (60, 30) to (80, 50)
    window->Update(15, 25, false, false);
    EXPECT_FALSE(window->IsCursorOver());
    window->Update(70, 40, false, false);
    EXPECT_TRUE(window->IsCursorOver());
    window->Update(80, 40, false, false);
    EXPECT_FALSE(window->IsCursorOver());
}

TEST_F(GUIWindowTest, TextsArePooledPrintedOnceAndForgotten)
{
    const auto window = QuadWindow(GUIWindow::kShown);
    window->AddText(0, 1, u"", 0, 0, {0, 0}, {1, 1, 1, 1});
    EXPECT_EQ(window->GetTextCount(), 0u);
    window->AddTextKey(0, 1, "NO_SUCH_KEY", -1, 0, 0, {0, 0}, {1, 1, 1, 1});
    EXPECT_EQ(window->GetTextCount(), 1u);
    window->Draw();
    EXPECT_EQ(PrintedQuads(), 1u) << "a missing key prints UNKNOWN, of which the font knows the U";
    fonts->EndFrame();

    for (int i = 0; i < 20; ++i)
        window->AddText(0, 1, u"A", 0, 0, {0, 0}, {1, 1, 1, 1});
    window->Draw();
    EXPECT_EQ(PrintedQuads(), 20u);
    fonts->EndFrame();
    window->AddText(0, 1, u"A", 0, 0, {0, 0}, {1, 1, 1, 1});
    window->AddText(0, 1, u"AA", 0, 0, {0, 0}, {1, 1, 1, 1});
    window->Draw();
    EXPECT_EQ(window->GetTextPoolSize(), 20u);
    EXPECT_EQ(PrintedQuads(), 3u);
    EXPECT_EQ(window->GetTextCount(), 0u);
}

TEST_F(GUIWindowTest, DrawPrintsEachRecordAlignedWithItsSizeAndLeavesTheFontAsItWas)
{
    texts->SetText("TITLE_2", u"UA");
    const auto window = QuadWindow(GUIWindow::kShown);
    window->AddText(0x04 | 0x20, 1, u"A", 0, 20.0f, {0, 0}, {1, 0, 0, 1});
    window->AddTextKey(0, 1, "title_", 2, 0, 0, {5, 6}, {0, 1, 0, 1});
    window->Draw();
    ASSERT_EQ(fonts->GetInstances().size(), 1u);
    const KeystrelEngine::GUIFont& instance = *fonts->GetInstances()[0];
    ASSERT_EQ(instance.GetQuadCount(), 3u);
    const auto big = Quad(instance, 0);
    EXPECT_FLOAT_EQ(big[1].x, 10.0f);
    EXPECT_FLOAT_EQ(big[1].y, 20.0f);
    EXPECT_FLOAT_EQ(big[0].y - big[1].y, 20.0f) << "the record's size";
    const auto key = Quad(instance, 1);
    EXPECT_FLOAT_EQ(key[1].x, 15.0f);
    EXPECT_FLOAT_EQ(key[1].y, 26.0f);
    EXPECT_FLOAT_EQ(key[0].y - key[1].y, 10.0f) << "the font's own size again";
    EXPECT_FLOAT_EQ(font->m_size, 10.0f);
    KeystrelEngine::Color colour;
    std::uint32_t argb = 0;
    std::memcpy(&argb, instance.GetBatchModel()->GetVertexBuffer()->GetData() + 24, 4);
    KeystrelEngine::VertexBuffer::ColorFromDword(colour, argb);
    EXPECT_EQ(std::vector<float>({colour.r, colour.g, colour.b, colour.a}), std::vector<float>({1, 0, 0, 1}));
}

TEST_F(GUIWindowTest, ARecordWithASizeForAnUnknownFontPrintsNothingAndTheOthersStillPrint)
{
    const auto window = QuadWindow(GUIWindow::kShown);
    window->AddText(0, 7, u"AA", 0, 30.0f, {0, 0}, {1, 1, 1, 1});
    window->AddText(0x01 | 0x02, 7, u"AA", 0, 0, {0, 0}, {1, 1, 1, 1});
    window->AddText(0, 1, u"A", 0, 0, {0, 0}, {1, 1, 1, 1});
    EXPECT_TRUE(window->Draw());
    EXPECT_EQ(PrintedQuads(), 1u);
    EXPECT_FLOAT_EQ(font->m_size, 10.0f);
}

TEST_F(GUIWindowTest, EachFormMakesItsQuadAndDrawPlacesItOnTheRectangle)
{
    const auto made = QuadWindow(GUIWindow::kShown | GUIWindow::kColouredQuad);
    Model* quad = made->GetQuad();
    EXPECT_EQ(quad->m_flags, 0xC31u | Model::kShown);
    const std::array<float, 8> corner0 = RenderTesting::VertexAt(*quad->GetVertexBuffer(), 0);
    const std::array<float, 8> corner3 = RenderTesting::VertexAt(*quad->GetVertexBuffer(), 3);
    EXPECT_EQ(std::vector<float>({corner0[0], corner0[1], corner0[6], corner0[7]}), std::vector<float>({1, 0, 1, 0}));
    EXPECT_EQ(std::vector<float>({corner3[0], corner3[1], corner3[6], corner3[7]}), std::vector<float>({0, 1, 0, 1}));
    EXPECT_TRUE(made->GetQuad()->IsStrip());
    made->SetColour({0.0f, 0.0f, 1.0f, 0.5f});
    const KeystrelEngine::Color colour = made->GetColour();
    EXPECT_NEAR(colour.b, 1.0f, 0.01f);
    EXPECT_NEAR(colour.a, 0.5f, 0.01f);
    EXPECT_EQ(QuadWindow(0)->GetQuad()->m_flags, 0xC11u);
    EXPECT_FLOAT_EQ(QuadWindow(0)->GetColour().r, 1.0f) << "a quad without colours reads white";

    made->m_position = {30, 40};
    const auto child = QuadWindow(GUIWindow::kShown, made.get()); // at (10, 20) in the parent
    child->Draw();
    const KeystrelEngine::BoundingBox& box = child->GetQuad()->m_boundingBox;
    EXPECT_EQ(std::vector<float>({box.m_worldMin.x, box.m_worldMin.y, box.m_worldMax.x, box.m_worldMax.y}),
              std::vector<float>({40, 60, 240, 160}));
    child->m_placeQuad = false;
    child->m_position = {0, 0};
    child->Draw();
    EXPECT_FLOAT_EQ(child->GetQuad()->m_boundingBox.m_worldMin.x, 40.0f);

    // Clones and loaded quads: unlit, no Z test, drawn last at a fixed depth, shown only with the window.
    Model* source = models->LoadModel(WriteModel("ui\\frame", RenderTesting::StaticQuad()), nullptr, 0x40 | 0x200);
    const auto cloned = std::make_unique<GUIWindow>(gui, GUIWindow::kColouredQuad, KeystrelEngine::GUIPoint{0, 0},
                                                    KeystrelEngine::GUISize{50, 50}, source, nullptr);
    const auto loaded =
        std::make_unique<GUIWindow>(gui, GUIWindow::kShown, KeystrelEngine::GUIPoint{0, 0},
                                    KeystrelEngine::GUISize{50, 50}, std::string("ui\\frame.mlf"), nullptr);
    for (const GUIWindow* window : {cloned.get(), loaded.get()}) {
        const std::uint32_t flags = window->GetQuad()->m_flags;
        EXPECT_EQ(flags & (0x40u | 0x80u | 0x200u), 0u);
        EXPECT_EQ(flags & (0x400u | 0x800u), 0xC00u);
        EXPECT_EQ((flags & Model::kShown) != 0, window->IsVisible());
        EXPECT_EQ(window->GetQuad()->m_camera, camera);
    }
    EXPECT_TRUE(cloned->GetQuad()->GetVertexBuffer()->HasColours());
    EXPECT_FALSE(loaded->GetQuad()->GetVertexBuffer()->HasColours());
    const auto bare = Window(GUIWindow::kShown, {0, 0}, {10, 10});
    EXPECT_EQ(bare->GetQuad(), nullptr);
    EXPECT_TRUE(bare->Draw());
}

TEST_F(GUIWindowTest, TheDestructorDetachesTheChildrenAndGivesBackTheQuad)
{
    auto parent = QuadWindow(GUIWindow::kShown);
    const auto plainChild = QuadWindow(GUIWindow::kShown, parent.get());
    const auto layeredChild = QuadWindow(0, parent.get());
    layeredChild->SetVisible(true);
    const auto grandparent = QuadWindow(0);
    parent->SetParent(grandparent.get());
    // A child that got a layer bit after attaching keeps its depth when it loses its parent.
    layeredChild->AddFlags(0x08);
    const float layeredDepth = layeredChild->GetDepth();
    const Model* quad = parent->GetQuad();
    ASSERT_TRUE(Registered(quad));

    parent.reset();
    EXPECT_TRUE(grandparent->GetChildren().empty());
    EXPECT_FALSE(Registered(quad));
    EXPECT_EQ(plainChild->GetParent(), nullptr);
    EXPECT_FLOAT_EQ(plainChild->GetDepth(), -15.0f);
    EXPECT_FLOAT_EQ(plainChild->GetQuad()->GetSortDepth(), -15.0f);
    EXPECT_TRUE(plainChild->IsVisible()) << "no longer under a hidden grandparent";
    EXPECT_FLOAT_EQ(layeredChild->GetDepth(), layeredDepth);
}

} // namespace
