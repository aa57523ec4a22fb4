/*
 * mat_library.cpp - libmat of the stand-in host.  The plug-in lists the
 * host's libmat among its needed libraries and calls nothing in it; this
 * library exists so that the dynamic loader finds it.
 */
namespace geoharm {
namespace host {

/* The library's one symbol: its name, for diagnostics. */
extern const char* const MAT_LIBRARY_NAME;
const char* const MAT_LIBRARY_NAME = "stand-in libmat";

}  // namespace host
}  // namespace geoharm
