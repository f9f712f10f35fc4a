#pragma once

#include "store/Settings.h"

// Puts settings into effect in the engine: the keys through the input handler's key map
// (a pad's buttons keep their places), the volumes through the sound manager.
class SettingsApplier {
public:
    static void ApplyKeys(const Settings& settings);
    static void ApplySound(const Settings& settings);
};
