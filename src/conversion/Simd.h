#pragma once

// Whether the scans of the hot paths use SSE2 (every x86-64 has it), 16 bytes a step; the
// scalar code serves elsewhere, and with the build option TARNWICK_SIMD off, so that the whole
// suite can check both ways.
#if defined(__SSE2__) && !defined(TARNWICK_NO_SIMD)
#define TARNWICK_SSE2 1
#include <emmintrin.h>
#else
#define TARNWICK_SSE2 0
#endif
