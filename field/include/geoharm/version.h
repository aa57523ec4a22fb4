/*
 * version.h - the release's version (installed as <geoharm/version.h>).
 *
 * The one place it is written: the build reads it from here for every
 * artefact's name and metadata.  geoharm::version() returns the string of
 * the library actually linked, these macros that of the headers compiled
 * against.
 *
 * The numbers follow semantic versioning: MAJOR changes when a program
 * written for the interface of the last release (C++, C, or the MATLAB
 * and Octave functions) could stop building or working, MINOR when
 * something is added, PATCH otherwise; a result's bits change with none of
 * them.  2.0.0: the installed C++ interface is <geoharm/geoharm.h>
 * (geoharm::acceleration with plain int limits) in place of the field's
 * internal headers; geoharm and geoharm_batch refuse calls they used to
 * read in part (a matrix position, a fourth input).  3.0.0: models of
 * any degree from files and tables in every interface (added); geoharm,
 * geoharm_batch and geoharm_gradient refuse a non-scalar N or M they used
 * to read as its first element, and geoharm_model's C(1,1) is 1, the
 * central term, so that its struct is a model like geoharm_load's.
 */
#ifndef GEOHARM_VERSION_H
#define GEOHARM_VERSION_H

#define GEOHARM_VERSION_MAJOR 3
#define GEOHARM_VERSION_MINOR 0
#define GEOHARM_VERSION_PATCH 0

/* "MAJOR.MINOR.PATCH", made from the three numbers above. */
#define GEOHARM_VERSION_TEXT_(n) #n
#define GEOHARM_VERSION_TEXT(n) GEOHARM_VERSION_TEXT_(n)
#define GEOHARM_VERSION_STRING                                                                     \
    GEOHARM_VERSION_TEXT(GEOHARM_VERSION_MAJOR)                                                    \
    "." GEOHARM_VERSION_TEXT(GEOHARM_VERSION_MINOR) "." GEOHARM_VERSION_TEXT(GEOHARM_VERSION_PATCH)

#endif
