#include "ships/Floater.h"

#include "Random.h"

#include <cmath>

#include "Renderable.h"
#include "sea/Water.h"

namespace {

constexpr float kSampleSpacing = 30.0f;
// More samples than any sprite on the sea needs; keeps the count conversion defined.
constexpr float kMaxSamples = 1001.0f;

// Samples of the sea across a body w pixels wide: one per 30 pixels, always odd.
int SampleCount(float w) {
    const float q = w / kSampleSpacing;
    int n = 0;
    if (q >= kMaxSamples) n = static_cast<int>(kMaxSamples);
    else if (q >= 1.0f) n = static_cast<int>(q);
    if (n % 2 == 0) n += 1;
    return n;
}

}  // namespace

void Floater::Float(float dt) {
    BaseStep(dt);
    velocity.x -= 2.0f * velocity.x * dt;
    velocity.y -= 5.0f * velocity.y * dt;
    if (!renderable) return;

    Water* sea = water.Get();
    const Vec2 position = renderable->position;
    // Without a sea the surface is the line y = 0, as outside the strip.
    if (sea) sea->GetHeight(position.x, &slope);
    if (state != Life::kNormal && state != SeaSwitch::kToGhost && state != SeaSwitch::kToLiving &&
        state != Phase::kRammed)
        return;

    const int n = SampleCount(renderable->GetWidth() * renderable->scale.x);
    float sum = 0.0f;
    for (int k = 0; k < n; ++k) {
        const float x = position.x - static_cast<float>((n / 2) * 30) + static_cast<float>(k * 30);
        float unused = slope;  // the tilt follows the slope under the centre only
        if (sea) sum += sea->GetHeight(x, &unused);
    }
    const float mean = sum / static_cast<float>(n);
    float targetY = mean - renderable->scale.y * renderable->GetHeight() * 0.5f;

    const double degrees = std::atan(static_cast<double>(slope)) * 180.0 / M_PI;
    renderable->rotation = static_cast<float>(
        renderable->rotation + (degrees - renderable->rotation) * 0.5 * dt);

    if (std::fabs(velocity.x) > 1.0f && sea) sea->Disturb(velocity.x * dt / 1000.0f, position.x);
    // Moving right, the hull lags behind the swell.
    if (velocity.x > 1.0f) targetY = targetY + (position.y - targetY) * dt;
    if (std::fabs(slope) > 0.1f) velocity.x += slope * 10.0f;

    SetPosition(Vec2(position.x, targetY));
}

void Floater::Throw() {
    const double angle = (Rand() % 91 + 45) * 0.01745329238474369;
    const int upSpeed = Rand() % 301 + 300;
    const int sideSpeed = Rand() % 301 + 300;
    velocity.y = static_cast<float>(-std::sin(angle) * upSpeed);
    velocity.x = static_cast<float>(std::cos(angle) * sideSpeed);
}
