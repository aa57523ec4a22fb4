/* empty_library.c - stands for libmx.so, libmex.so and libmat.so, whose routines the old-glibc host itself provides. */
