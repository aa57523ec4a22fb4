/*
 * libmat - the host's MAT-file library, which the plug-in lists among its
 * needed libraries but does not call.  Octave has no such library, so this
 * one is empty: it exists only so that the dynamic loader finds a
 * libmat.so when it loads the plug-in.
 */
