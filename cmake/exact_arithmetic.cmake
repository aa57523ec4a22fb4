# Compile options every target of the project gets.
#
# The results must be the same IEEE doubles on every build: no contraction
# of a*b+c into a fused multiply-add, no value-changing optimisation, and
# (set by the 32-bit toolchain) SSE2 arithmetic instead of the x87's
# extended precision.
add_compile_options(-ffp-contract=off -fno-fast-math -fno-unsafe-math-optimizations)

add_compile_options(-Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion)
if(GEOHARM_WERROR)
  add_compile_options(-Werror)
endif()
