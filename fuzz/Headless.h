#pragma once

// The whole program without a window: the fake platform of the tests, GL stubbed
// (GlStub.cpp), no sound, the data from the build and the trace log in scratch space.
#include <string>

#include "FakePlatform.h"
#include "FileResolver.h"
#include "FuzzSupport.h"
#include "app/LogLocation.h"
#include "objects/GOManager.h"

namespace fuzz {

inline void UseBuildData() {
    FileResolver::AddSearchRoot(BRINEGATE_DATA_DIR);
    // Out of the working directory, and kept small: every replay traces each frame.
    ApplyLogLocation(ScratchDir());
    goManager.SetLogLimit(uint64_t{4} << 20);
}

}  // namespace fuzz
