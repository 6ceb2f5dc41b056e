// One scene light (directional, spot or point) with its colours and attenuation. Every field is open data that
// its owner sets directly; the light manager sends the light to the device once per frame.
#pragma once

#include "Color.h"
#include "Vector3.h"

#include <cstdint>

namespace KeystrelEngine {

class MessageManager;

class Light
{
public:
    enum Type : std::int32_t
    {
        TypeDirectional = 0,
        TypeSpot = 1,
        TypePoint = 2
    };

    // The largest range the device accepts: the square root of the largest float.
    static constexpr float kMaxRange = 1.8446743e19f;

    Light(MessageManager* log, std::uint32_t index) : log(log), index(index) {}
    virtual ~Light() = default;

    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    // Sends the light to the device.
    virtual void Refresh() {}
    // Lighting was switched on after the device lost its lights.
    virtual void OnLightingEnabled() {}

    MessageManager* log;
    std::uint32_t index; // the device light number
    bool enabled = true;
    std::int32_t type = TypePoint;
    Vector3 position{0.0f, 0.0f, 0.0f};
    Vector3 direction{0.0f, 0.0f, -1.0f};
    float range = kMaxRange;
    Color ambient{1.0f, 1.0f, 1.0f, 1.0f};
    Color diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    Color specular{1.0f, 1.0f, 1.0f, 1.0f};
    float attenuation0 = 1.0f; // constant
    float attenuation1 = 0.0f; // linear
    float attenuation2 = 0.0f; // quadratic
    float theta = 0.0f;        // inner cone angle of a spot light, radians
    float phi = 0.0f;          // outer cone angle
};

} // namespace KeystrelEngine
