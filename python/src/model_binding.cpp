/*
 * model_binding.cpp - geoharm._core.GravityModel: geoharm::GravityModel
 * (<geoharm/gravity_model.h>) for the package's Python layer
 * (geoharm/_model.py), which checks every argument and converts it first;
 * and the compiled-in model's tables, from which a pickled compiled-in
 * model is made again.
 *
 *   GravityModel.load, .from_tables   a model, or ModelError with the
 *                                     loader's message
 *   gm, radius, max_degree, normalization, name, tide_system,
 *   is_compiled_in, C(), S()          what it was made from
 *   acceleration, gradient            as the compiled-in model's
 *                                     (field_calls.h)
 *   compiled_in_tables()              geoharm::model()'s numbers
 */
#include "model_binding.h"

#include <pybind11/numpy.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <vector>

#include <geoharm/geoharm.h>
#include <geoharm/gravity_model.h>

#include "field_calls.h"

namespace py = pybind11;

namespace geoharm_python {

namespace {

/* A model refused by the library: Python's geoharm.ModelError. */
struct ModelRefused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/* Room for the loader's message: the file's name, a line number and a
   reason of a few hundred bytes at most. */
constexpr std::size_t REASON_BYTES = 1024;

/* model, or ModelRefused with message when it is none. */
geoharm::GravityModel accepted(geoharm::GravityModel model, const std::vector<char>& message) {
    if (!model.ok()) throw ModelRefused(message.data());
    return model;
}

/*
 * load - GravityModel::load with the interpreter lock released.
 *
 * Given:
 *   path   the file's name as bytes (the Python layer encodes it; it holds
 *          no NUL)
 *   epoch  the epoch's text (ASCII or UTF-8 bytes, no NUL), or None
 * Returns the model; raises ModelError with the loader's message.
 */
geoharm::GravityModel load(const py::bytes& path, const py::object& epoch) {
    const std::string pathText = path;
    const bool hasEpoch = !epoch.is_none();
    const std::string epochText = hasEpoch ? std::string(epoch.cast<py::bytes>()) : std::string();
    std::vector<char> message(pathText.size() + REASON_BYTES, '\0');
    geoharm::GravityModel model;
    {
        py::gil_scoped_release unlocked;
        model = geoharm::GravityModel::load(pathText.c_str(), hasEpoch ? epochText.c_str() : nullptr,
                                            message.data(), message.size());
    }
    return accepted(model, message);
}

/* Whether table is a C-contiguous float64 array of shape (rows, rows). */
bool isSquareTable(const py::array& table, py::ssize_t rows) {
    return py::isinstance<py::array_t<double>>(table) && table.ndim() == 2 && table.shape(0) == rows &&
           table.shape(1) == rows && (table.flags() & py::array::c_style) != 0;
}

/*
 * fromTables - GravityModel::fromTables with the interpreter lock
 * released.
 *
 * Given:
 *   gm, radius     GM (m^3/s^2) and the reference radius (m)
 *   C, S           C-contiguous float64 arrays of shape (L+1, L+1), L >= 0
 *                  (the Python layer makes them so; kept alive by the call)
 *   unnormalized   whether C and S are unnormalised
 *   name           the name's bytes (no NUL), or None
 * Returns the model; raises ModelError with the library's reason.
 */
geoharm::GravityModel fromTables(double gm, double radius, const py::array& C, const py::array& S, bool unnormalized,
                                 const py::object& name) {
    const py::ssize_t rows = C.ndim() == 2 ? C.shape(0) : 0;
    if (rows < 1 || !isSquareTable(C, rows) || !isSquareTable(S, rows))
        throw py::type_error("the core takes C and S as C-contiguous float64 arrays of one shape (L+1, L+1)");
    const int L = rows - 1 > INT_MAX ? INT_MAX : static_cast<int>(rows - 1);
    const bool named = !name.is_none();
    const std::string nameText = named ? std::string(name.cast<py::bytes>()) : std::string();
    const auto* c = static_cast<const double*>(C.data());
    const auto* s = static_cast<const double*>(S.data());
    const auto normalization =
        unnormalized ? geoharm::Normalization::Unnormalized : geoharm::Normalization::FullyNormalized;
    std::vector<char> message(REASON_BYTES, '\0');
    geoharm::GravityModel model;
    {
        py::gil_scoped_release unlocked;
        model = geoharm::GravityModel::fromTables(gm, radius, L, c, s, normalization,
                                                  named ? nameText.c_str() : nullptr, message.data(), message.size());
    }
    return accepted(model, message);
}

/*
 * tableOf - the model's fully normalised C (or S) as a new (L+1, L+1)
 * float64 array: entry [n, m] the coefficient of degree n and order m,
 * zero above the diagonal (GravityModel::C gives 0 there).  Filled with the interpreter lock released
 * (7.3 million entries at degree 2700).
 */
py::array_t<double> tableOf(const geoharm::GravityModel& model, bool sine) {
    const geoharm::GravityModel kept = model;
    const int L = kept.maxDegree();
    const auto rows = static_cast<py::ssize_t>(L) + 1;
    py::array_t<double> table({rows, rows});
    double* out = table.mutable_data();
    {
        py::gil_scoped_release unlocked;
        for (int n = 0; n <= L; n++) {
            for (int m = 0; m <= L; m++) out[n * rows + m] = sine ? kept.S(n, m) : kept.C(n, m);
        }
    }
    return table;
}

/*
 * compiledInTables - geoharm::model()'s numbers: (GM, R_REF, MAX_DEGREE,
 * C, S), C and S (11, 11) float64 arrays of the unnormalised coefficients
 * as the evaluation holds them (C[0, 0] = 0: the central term is GM
 * alone).  A model of these tables with C[0, 0] = 1, unnormalised, is the
 * compiled-in one (GravityModel::isCompiledIn).
 */
py::tuple compiledInTables() {
    const geoharm::Model md = geoharm::model();
    const auto rows = static_cast<py::ssize_t>(md.maxDegree) + 1;
    py::array_t<double> C({rows, rows}), S({rows, rows});
    for (py::ssize_t n = 0; n < rows; n++) {
        for (py::ssize_t m = 0; m < rows; m++) {
            C.mutable_at(n, m) = md.C[n][m];
            S.mutable_at(n, m) = md.S[n][m];
        }
    }
    return py::make_tuple(md.gm, md.referenceRadius, md.maxDegree, C, S);
}

}  // namespace

void bindGravityModel(py::module_& module) {
    auto& modelError = py::register_exception<ModelRefused>(module, "ModelError", PyExc_ValueError);
    modelError.attr("__module__") = "geoharm";
    modelError.attr("__doc__") =
        "A model file, an epoch or a model's tables that geoharm refuses; the message says why "
        "(for a file: \"<file>:<line>: <what>\").  A subclass of ValueError.";

    py::class_<geoharm::GravityModel>(module, "GravityModel",
                                      "A gravity model of the core (call geoharm.load or geoharm.Model, not this).")
        .def_static("load", &load, py::arg("path"), py::arg("epoch"),
                    "The model of a file (path as bytes, epoch as bytes or None); ModelError when refused.")
        .def_static("from_tables", &fromTables, py::arg("gm"), py::arg("radius"), py::arg("C"), py::arg("S"),
                    py::arg("unnormalized"), py::arg("name"),
                    "A model of C-contiguous float64 (L+1, L+1) tables; ModelError when refused.")
        .def_property_readonly("gm", &geoharm::GravityModel::gm)
        .def_property_readonly("radius", &geoharm::GravityModel::radius)
        .def_property_readonly("max_degree", &geoharm::GravityModel::maxDegree)
        .def_property_readonly("normalization",
                               [](const geoharm::GravityModel& model) {
                                   return model.normalization() == geoharm::Normalization::Unnormalized
                                              ? "unnormalized"
                                              : "fully_normalized";
                               })
        .def_property_readonly("name", [](const geoharm::GravityModel& model) { return py::bytes(model.name()); })
        .def_property_readonly("tide_system",
                               [](const geoharm::GravityModel& model) { return py::bytes(model.tideSystem()); })
        .def_property_readonly("is_compiled_in", &geoharm::GravityModel::isCompiledIn)
        .def("C", [](const geoharm::GravityModel& model) { return tableOf(model, false); })
        .def("S", [](const geoharm::GravityModel& model) { return tableOf(model, true); })
        .def(
            "acceleration",
            [](const geoharm::GravityModel& model, const py::array& positions, int n, int m) {
                const geoharm::GravityModel kept = model; /* held through the call, lock or no lock */
                return accelerationOf(kept, positions, n, m);
            },
            py::arg("positions"), py::arg("n"), py::arg("m"),
            "The acceleration at a float64 array of shape (3,) or (K, 3); no argument checks beyond that.")
        .def(
            "gradient",
            [](const geoharm::GravityModel& model, const py::array& positions, int n, int m) {
                const geoharm::GravityModel kept = model;
                return gradientOf(kept, positions, n, m);
            },
            py::arg("positions"), py::arg("n"), py::arg("m"),
            "(T, a, U) at a float64 array of shape (3,) or (K, 3); no argument checks beyond that.");

    module.def("compiled_in_tables", &compiledInTables,
               "(GM, R_REF, MAX_DEGREE, C, S): the compiled-in model's unnormalised tables, C[0, 0] = 0.");
    module.attr("MAX_MODEL_DEGREE") = geoharm::MAX_MODEL_DEGREE;
}

}  // namespace geoharm_python
