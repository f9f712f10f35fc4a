#include "store/SettingsApplier.h"

#include "KeyMap.h"
#include "Orlop.h"
#include "SoundManager.h"

void SettingsApplier::ApplyKeys(const Settings& settings) {
    KeyMap map;
    map.Rebind(Settings::kDesignedKeys, settings.keys, Settings::kActionCount);
    // A pad's buttons act as the designed keys whatever keys the player chose.
    map.Set(VK_GAMEPAD_DPAD_LEFT, 'A');
    map.Set(VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, 'A');
    map.Set(VK_GAMEPAD_DPAD_RIGHT, 'D');
    map.Set(VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, 'D');
    map.Set(VK_GAMEPAD_X, Settings::kDesignedKeys[Settings::kRepair]);
    map.Set(VK_GAMEPAD_Y, Settings::kDesignedKeys[Settings::kSea]);
    map.Set(VK_GAMEPAD_MENU, Settings::kDesignedKeys[Settings::kPause]);
    orlop.SetKeyMap(map);
}

void SettingsApplier::ApplySound(const Settings& settings) {
    const float full = static_cast<float>(Settings::kMaxVolume);
    soundManager.SetVolumes(static_cast<float>(settings.musicVolume) / full,
                            static_cast<float>(settings.effectsVolume) / full);
}
