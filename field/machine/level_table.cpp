/*
 * level_table.cpp - the routines of one level as a table (routine_table.h),
 * built once per level like the routines themselves.
 */
#include "machine/level_functions.h"
#include "machine/routine_table.h"

namespace geoharm {

namespace GEOHARM_LEVEL {

extern const Routines ROUTINES;
const Routines ROUTINES = {SimdLevel::GEOHARM_LEVEL_ID, SimdLevel::GEOHARM_LEVEL_ID, pointSums, pointGradient,
                           accelerationLanes, gradientLanes, modelOnePoint, modelManyPoints};

}  // namespace GEOHARM_LEVEL

}  // namespace geoharm
