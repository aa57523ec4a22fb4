/*
 * version.h - the release's version (installed as <geoharm/version.h>).
 *
 * The one place it is written: the build reads it from here for every
 * artefact's name and metadata.  geoharm::version() returns the string of
 * the library actually linked, these macros that of the headers compiled
 * against.
 */
#ifndef GEOHARM_VERSION_H
#define GEOHARM_VERSION_H

#define GEOHARM_VERSION_MAJOR 1
#define GEOHARM_VERSION_MINOR 0
#define GEOHARM_VERSION_PATCH 0

/* "MAJOR.MINOR.PATCH", made from the three numbers above. */
#define GEOHARM_VERSION_TEXT_(n) #n
#define GEOHARM_VERSION_TEXT(n) GEOHARM_VERSION_TEXT_(n)
#define GEOHARM_VERSION_STRING                                                                     \
    GEOHARM_VERSION_TEXT(GEOHARM_VERSION_MAJOR)                                                    \
    "." GEOHARM_VERSION_TEXT(GEOHARM_VERSION_MINOR) "." GEOHARM_VERSION_TEXT(GEOHARM_VERSION_PATCH)

#endif
