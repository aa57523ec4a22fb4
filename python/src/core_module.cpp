/*
 * core_module.cpp - geoharm._core, the Python extension module: the
 * installed C++ interface <geoharm/geoharm.h> (acceleration, gradient,
 * version, constants) for numpy arrays, and the models of
 * <geoharm/gravity_model.h> (model_binding.cpp).
 *
 * The package's Python layer (geoharm/_arguments.py) reads and checks the
 * caller's arguments; what reaches this module is already a float64 array
 * of shape (3,) or (K, 3), in any memory order, with any strides, and
 * limits that fit an int.  This module only moves the numbers between
 * the array's layout and the core's coordinate arrays and calls the core
 * (field_calls.h): every double of a result is the core's, untouched.  It also runs the
 * Python layer's conversion of other positions to float64 in the fixed
 * floating-point state (callInFixedFpState).
 */
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cfenv>

#include <geoharm/geoharm.h>

#include "field_calls.h"
#include "model_binding.h"

namespace py = pybind11;

namespace {

/*
 * DefaultFpEnvironment - the default floating-point environment of
 * <fenv.h> (round to nearest, every exception masked, no flag raised) for
 * the life of the object; the caller's, flags included, on leaving.
 *
 * Notes:
 *   1. On x86 the default is the core's fixed state (MXCSR 0x1F80) and
 *      the x87 unit's default as well (control word 0x037F): numpy converts
 *      long double with x87 instructions, which round in the x87 unit's
 *      own mode, and a caller's fesetround sets both units.
 *   2. Flags raised inside (the conversion's inexact, numpy's own checks)
 *      are dropped with the rest of the environment on leaving, as the
 *      core's evaluation drops its own.
 */
class DefaultFpEnvironment {
public:
    DefaultFpEnvironment() {
        std::fegetenv(&caller_);
        std::fesetenv(FE_DFL_ENV);
    }
    ~DefaultFpEnvironment() { std::fesetenv(&caller_); }
    DefaultFpEnvironment(const DefaultFpEnvironment&) = delete;
    DefaultFpEnvironment& operator=(const DefaultFpEnvironment&) = delete;

private:
    std::fenv_t caller_;
};

/*
 * callInFixedFpState - function(*arguments), run in the default
 * floating-point environment (DefaultFpEnvironment), the caller's given
 * back after, also when it raises.
 *
 * Given:
 *   function   a Python callable: the Python layer's conversion of
 *              positions to float64
 *   arguments  its arguments
 * Returned:
 *   what function returns; what it raises, unchanged
 *
 * Notes:
 *   1. numpy rounds a value that is not a double (an int64 beyond 2^53, a
 *      long double, a fraction through float()) in the rounding mode of
 *      the thread.  Converted here, positions become the same doubles, and
 *      the results the same bits, whatever mode the caller has set.
 */
py::object callInFixedFpState(const py::function& function, const py::args& arguments) {
    const DefaultFpEnvironment fixed;
    return function(*arguments);
}

}  // namespace

PYBIND11_MODULE(_core, module) {
    module.doc() = "The geoharm core (C++), for the geoharm package: call geoharm.acceleration, "
                   "geoharm.gradient and geoharm.load, not this.";
    module.def(
        "acceleration",
        [](const py::array& positions, int n, int m) {
            return geoharm_python::accelerationOf(geoharm_python::CompiledIn{}, positions, n, m);
        },
        py::arg("positions"), py::arg("n"), py::arg("m"),
        "The acceleration at a float64 array of shape (3,) or (K, 3); no argument checks beyond that.");
    module.def(
        "gradient",
        [](const py::array& positions, int n, int m) {
            return geoharm_python::gradientOf(geoharm_python::CompiledIn{}, positions, n, m);
        },
        py::arg("positions"), py::arg("n"), py::arg("m"),
        "(T, a, U) at a float64 array of shape (3,) or (K, 3); no argument checks beyond that.");
    module.def("version", &geoharm::version, "The core's version, \"MAJOR.MINOR.PATCH\".");
    module.def("simd_level", &geoharm::simdLevel,
               "The vector routines in use: \"sse2\", \"avx2\", \"avx2_fma\", \"avx512f\" or \"avx512f_fma\"; "
               "\"refused\" when GEOHARM_SIMD_LEVEL names routines that cannot be used.");
    module.def("call_in_fixed_fp_state", &callInFixedFpState, py::arg("function"),
               "function(*arguments) in the default floating-point environment (round to nearest, exceptions "
               "masked), the caller's given back after.");
    module.attr("GM") = geoharm::GM;
    module.attr("R_REF") = geoharm::R_REF;
    module.attr("MAX_DEGREE") = geoharm::MAX_DEGREE;
    geoharm_python::bindGravityModel(module);
}
