// HALVO_WIDE_VECTORS: pixel loops built for 256-bit vectors where the processor has them.
#pragma once

// The same operations on each lane, so the same results as the plain build. gcc only: clang's
// function multi-versioning needs more than this attribute.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define HALVO_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define HALVO_WIDE_VECTORS
#endif
