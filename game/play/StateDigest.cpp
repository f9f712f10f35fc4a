#include "play/StateDigest.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "Random.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObj.h"
#include "play/Game.h"
#include "ships/Ship.h"

namespace {

bool IsShip(const char* type) {
    for (const char* ship : {"Ship", "MerchantShip", "RamBoat", "MineLayer"})
        if (std::strcmp(type, ship) == 0) return true;
    return false;
}

}  // namespace

void Fnv1a::Add(const void* bytes, size_t count) {
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < count; ++i) {
        hash_ ^= p[i];
        hash_ *= 1099511628211ull;
    }
}

void Fnv1a::AddText(const char* text) {
    // The terminator too, so that "ab"+"c" and "a"+"bc" differ.
    Add(text, std::strlen(text) + 1);
}

uint64_t ComputeStateDigest(const Game* game) {
    Fnv1a h;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj* o = *it;
        const char* type = o->GetType();
        h.AddText(type);
        h.AddInt(o->state.Number());
        if (o->renderable) {
            h.AddFloat(o->renderable->position.x);
            h.AddFloat(o->renderable->position.y);
        }
        h.AddFloat(o->velocity.x);
        h.AddFloat(o->velocity.y);
        h.AddFloat(o->difficulty);
        // Only while it runs, so that games without the safe respawn sum up as before.
        if (o->InGrace()) h.AddFloat(o->graceTime);
        if (IsShip(type)) {
            const Ship* ship = static_cast<const Ship*>(o);
            h.AddFloat(ship->health);
            h.AddInt(ship->gold);
        }
    }
    if (game) {
        h.AddInt(game->level);
        h.AddInt(game->phase);
        h.AddInt(static_cast<int32_t>(game->seaMode));
        if (game->safeRespawn) h.AddInt(1);
    }
    h.AddInt(RandState());
    return h.Value();
}

std::string FormatDigest(uint64_t digest) {
    char text[32];
    std::snprintf(text, sizeof text, "digest %016" PRIx64, digest);
    return text;
}
