# Compile options every target of the project gets.
#
# The results must be the same IEEE doubles on every build: no contraction
# of a*b+c into a fused multiply-add, no value-changing optimisation, and
# (set by the 32-bit toolchain) SSE2 arithmetic instead of the x87's
# extended precision.
add_compile_options(-ffp-contract=off -fno-fast-math -fno-unsafe-math-optimizations)

# sqrt as the correctly rounded instruction alone: without errno, there is
# no call into the C library's sqrt for negative or NaN arguments (on 32-bit
# x86 that call returns its result through the x87 register st(0)).  The
# values are the same; only errno is no longer set.  After -fno-fast-math,
# which would turn errno back on.
add_compile_options(-fno-math-errno)

add_compile_options(-Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion)
if(GEOHARM_WERROR)
  add_compile_options(-Werror)
endif()
