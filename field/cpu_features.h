/*
 * cpu_features.h - what the processor running the code offers beyond the
 * SSE2 that every build assumes.
 */
#ifndef GEOHARM_CPU_FEATURES_H
#define GEOHARM_CPU_FEATURES_H

namespace geoharm {

/*
 * cpuHasAvx2 - true when the processor has AVX2 and the operating system
 * saves the 256-bit registers across context switches (both are needed
 * before any 256-bit instruction may run).
 */
bool cpuHasAvx2();

}  // namespace geoharm

#endif
