#pragma once

#include <cstdint>

// The program's one random generator: state = state * 214013 + 2531011 (mod 2^32),
// each draw returns bits 16..30 of the new state (0..32767). Callers divide by
// 32767.0 and rely on that 15-bit range, so the C library's rand() must not be used.
constexpr int kRandMax = 32767;

void SRand(uint32_t seed);
int Rand();
// The generator's whole state (for digests of a run; SRand(RandState()) resumes it).
uint32_t RandState();
