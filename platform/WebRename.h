#pragma once

// The page's C library (emscripten's musl) lacks renameat2, which the game uses to
// move a damaged file aside without replacing another. The browser build includes
// this header ahead of every source; platform/WebRename.cpp gives the call.
#include <stdio.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

#ifdef __cplusplus
extern "C" {
#endif
int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags);
#ifdef __cplusplus
}
#endif
