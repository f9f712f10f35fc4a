#pragma once

#include "objects/GameObj.h"
#include "objects/ObjRef.h"

class Water;

// Anything that rides the sea: sits its bottom edge on the mean water line under it,
// tilts with the slope, drifts down steep slopes and ripples the water when moving.
class Floater : public GameObj {
public:
    enum class Phase : int32_t {
        kFlying = 5600,  // tossed up by Throw and falling until it meets the sea
        kRammed = 8374,  // a ram boat afloat after ramming: it floats like a normal one
    };
    static_assert(PhasesClearOfShared({Phase::kFlying, Phase::kRammed}));

    // The floating step; the Update of every floater calls it first.
    void Float(float dt);

    float slope = 0.0f;  // surface slope under the object, from the last height query
    ObjRef<Water> water; // the sea it floats on; set by the creator before the first update

protected:
    // Tossed upwards to either side, 45 to 135 degrees, with separate speeds (300 to
    // 600 pixels per second) for each axis.
    void Throw();
};
