#include "tools/content/fonts/FontRoles.h"

namespace Content {
namespace {

constexpr const char* kMono = "DejaVuSansMono.ttf";
constexpr const char* kSans = "DejaVuSans.ttf";
constexpr const char* kSansBold = "DejaVuSans-Bold.ttf";
constexpr const char* kSerifBold = "DejaVuSerif-Bold.ttf";

} // namespace

const std::vector<FontRole>& FontRoles::All()
{
    static const std::vector<FontRole> roles = {
        {"statistics", kMono, 14.0f, {0.85f, 0.95f, 0.85f, 1.0f}, true},
        {"caption", kSansBold, 22.0f, {1.0f, 0.97f, 0.88f, 1.0f}},
        {"body", kSans, 18.0f, {1.0f, 1.0f, 1.0f, 1.0f}},
        {"heading", kSansBold, 20.0f, {1.0f, 0.9f, 0.6f, 1.0f}},
        {"highlight", kSansBold, 20.0f, {1.0f, 0.7f, 0.3f, 1.0f}},
        {"hover", kSans, 20.0f, {0.85f, 0.95f, 1.0f, 1.0f}},
        {"hud", kSansBold, 26.0f, {1.0f, 0.96f, 0.8f, 1.0f}},
        {"menu_normal", kSerifBold, 30.0f, {0.96f, 0.91f, 0.78f, 1.0f}},
        {"menu_hover", kSerifBold, 30.0f, {1.0f, 0.84f, 0.4f, 1.0f}},
        {"menu_pressed", kSerifBold, 30.0f, {0.82f, 0.56f, 0.26f, 1.0f}},
        {"points", kSansBold, 22.0f, {1.0f, 0.9f, 0.35f, 1.0f}},
    };
    return roles;
}

} // namespace Content
