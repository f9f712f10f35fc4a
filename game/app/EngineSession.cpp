#include "app/EngineSession.h"

#include "KeyMap.h"
#include "SoundManager.h"
#include "TextureManager.h"
#include "objects/GOManager.h"

namespace {

// In the background the game stands still, and silent.
void FocusChanged(bool active) { soundManager.SetMuted(!active); }

}  // namespace

EngineSession::EngineSession(Platform& platform, bool unpaced, Vsync vsync, Orlop::FrameCallback frame)
    : wasPaced_(orlop.paced) {
    if (unpaced) orlop.paced = false;
    orlop.platform = &platform;
    orlop.width = 800.0f;
    orlop.height = 600.0f;
    orlop.bits = 32.0f;
    orlop.title = "Brinegate";
    orlop.windowed = 1;
    orlop.frameCallback = frame;
    orlop.focusCallback = FocusChanged;
    orlop.vsync = vsync;
}

bool EngineSession::Start() {
    started_ = orlop.Init();
    return started_;
}

EngineSession::~EngineSession() {
    if (started_) {
        goManager.Clear();
        // The textures belong to this run's GL context, which ends here: a later run
        // must load its own rather than draw with dead names.
        textureManager.ReleaseAll();
        orlop.Shutdown();
    }
    orlop.paced = wasPaced_;
    orlop.vsync = Vsync::kAuto;
    orlop.focusCallback = nullptr;
    orlop.platform = nullptr;  // the relays die with this call
    orlop.SetKeyMap(KeyMap());
    soundManager.SetMuted(false);
    soundManager.SetVolumes(SoundManager::kStreamVolume, 1.0f);
}
