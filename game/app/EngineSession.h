#pragma once

#include "Orlop.h"

class Platform;

// The engine set up for one run of the program and given back as it was found at the
// end of it, so a later run in the same process (tests do that) starts afresh: the
// pacing, vsync, callbacks, platform, key map and sound levels. Once started, the end
// also clears the objects, lets go of the textures and shuts the engine down.
class EngineSession {
public:
    EngineSession(Platform& platform, bool unpaced, Vsync vsync, Orlop::FrameCallback frame);
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;

    // Opens the window; false when it cannot be.
    bool Start();

private:
    bool wasPaced_;
    bool started_ = false;
};
