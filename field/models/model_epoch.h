/*
 * model_epoch.h - epochs of time-variable models: the dates of model files
 * and of users, as Julian epoch years.
 *
 * A Julian epoch year counts years of 365.25 days of 86400 s from
 * J2000.0 = 2000-01-01 12:00 (TT), which is 2000.0; 2000-01-01 00:00 is
 * 2000 - 0.5/365.25 = 1999.998631...  Every date, the file's and the
 * user's, takes the same steps: the proleptic Gregorian day number, the
 * whole minutes from J2000.0 (exact in a 64-bit integer), then
 *
 *     epoch = 2000 + minutes / 525960        (525960 minutes = 365.25 d)
 *
 * in two IEEE operations, each rounded to nearest: the same double on
 * every build.  Time scales are not told apart (a date is taken as TT).
 */
#ifndef GEOHARM_MODELS_MODEL_EPOCH_H
#define GEOHARM_MODELS_MODEL_EPOCH_H

#include <cstddef>

namespace geoharm {

/*
 * epochOfDate - the Julian epoch year of a date and time of day.
 *
 * Given:
 *   year, month, day   a valid proleptic Gregorian date, year 0..9999 (the
 *                      caller checks it: isValidDate)
 *   minuteOfDay        0..1439
 * Returned:
 *   epoch              the Julian epoch year
 * (Returned through a pointer: the 32-bit build's calling convention
 * returns a double in an x87 register.)
 */
void epochOfDate(int year, int month, int day, int minuteOfDay, double* epoch);

/* Whether year-month-day is a date of the proleptic Gregorian calendar,
   with year 0..9999. */
bool isValidDate(int year, int month, int day);

/*
 * parseFileEpoch - an epoch as model files write it: yyyymmdd (00:00 of
 * that day) or yyyymmdd.hhmm, nothing else in [begin, end).
 *
 * Returned:
 *   epoch   the Julian epoch year, set on success
 * Returns false for text of another form, a date that does not exist or a
 * time beyond 23:59.
 */
bool parseFileEpoch(const char* begin, const char* end, double* epoch);

/*
 * parseEpoch - an epoch as a user gives it.
 *
 * Given:
 *   text         a decimal year ("2010.5", a Julian epoch year, 0 <= year
 *                < 10000; the number syntax of decimal_number.h) or a date
 *                "yyyy-mm-dd" (00:00 of that day); blanks around it are
 *                ignored; NUL-terminated
 *   messageSize  the size of `message`, NUL included (0: none written)
 * Returned:
 *   epoch        the Julian epoch year, set on success
 *   message      on failure, why, quoting the text: "epoch '2010-13-01': no
 *                such date (yyyy-mm-dd)"
 * Returns true on success.
 */
bool parseEpoch(const char* text, double* epoch, char* message, std::size_t messageSize);

}  // namespace geoharm

#endif
