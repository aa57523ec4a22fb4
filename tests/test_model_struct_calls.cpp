// geoharm_batch and geoharm_gradient with a model struct, and
// geoharm_model_file, through the stand-in host: each point the bits of the
// library's GravityModel (loaded from the same file) for every struct a
// caller may give (geoharm_load's, one built by hand, one given a cache),
// the compiled-in model as a struct giving the compiled-in bits, a changed
// table never taken from the cache, and every refusal before anything exists.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <geoharm/geoharm.h>

#include "many_point_plugin.h"
#include "model_struct.h"
#include "models/icgem_writer.h"
#include "models/synthetic_model.h"
#include "plugin_under_test.h"
#include "tool_run.h"

namespace {

namespace host = geoharm::host;
using geoharm_test::loadedPlugin;

const host::Plugin& batch() {
    static const host::Plugin p = loadedPlugin(GEOHARM_BATCH_PLUGIN);
    return p;
}
const host::Plugin& gradient() {
    static const host::Plugin p = loadedPlugin(GEOHARM_GRADIENT_PLUGIN);
    return p;
}
const host::Plugin& modelFile() {
    static const host::Plugin p = loadedPlugin(GEOHARM_MODEL_FILE_PLUGIN);
    return p;
}

/* A synthetic model of degree 40, written once per process as an ICGEM
   file here; the process id in the name, since the suite's tests run as
   processes side by side and one must not read the file another writes. */
const char* modelPath() {
    struct File {
        std::string name = "model_struct_calls_40_" + std::to_string(geoharm_test::processId()) + ".gfc";
        File() {
            std::FILE* f = std::fopen(name.c_str(), "wb");
            EXPECT_TRUE(f != nullptr && geoharm_test::writeIcgem(f, geoharm_test::makeSyntheticModel(40, 7), {}));
            if (f) std::fclose(f);
        }
        ~File() { std::remove(name.c_str()); }
    };
    static const File file;
    return file.name.c_str();
}

/* Points near and far, on and by the axis; as a K-by-3 array. */
std::vector<double> points() {
    return {7.0e6, 1.0e6,  2.0e6,  -6.5e6, 2.5e6, -1.5e6, 0.0, 0.0, 6.4e6,  1e-3, 0.0,   -7.2e6,
            4.2e7, -1.1e7, 3.0e6,  6.4e6,  1.0,   1.0,    1e8, 2e7, -3e7,   0.0,  6.5e6, 0.0};
}

host::Array positions(const std::vector<double>& p) {
    const geoharm::MexSize K = static_cast<geoharm::MexSize>(p.size() / 3);
    host::Array a = host::makeArray(geoharm::DOUBLE_CLASS, {K, 3});
    double* d = static_cast<double*>(a.data());
    for (geoharm::MexSize k = 0; k < K; k++)
        for (int i = 0; i < 3; i++) d[k + K * i] = p[3 * k + i];
    return a;
}

/* geoharm_batch(model, P, N, M) and [T, A, U] = geoharm_gradient(...), all
   outputs in one vector (A, then T, A, U). */
std::vector<double> viaPlugins(const host::Array& model, int N, int M) {
    const host::Array P = positions(points()), n = host::makeScalar(geoharm::DOUBLE_CLASS, N),
                      m = host::makeScalar(geoharm::DOUBLE_CLASS, M);
    std::vector<double> out;
    const auto b = geoharm_test::callKeepingOutputs(batch(), {&model, &P, &n, &m}, 1);
    const auto g = geoharm_test::callKeepingOutputs(gradient(), {&model, &P, &n, &m}, 3);
    EXPECT_TRUE(b.ok && g.ok) << b.error.message << g.error.message;
    if (!b.ok || !g.ok) return out;
    const std::size_t K = points().size() / 3, sizes[4] = {3 * K, 9 * K, 3 * K, K};
    const host::Array* arrays[4] = {&b.outputs[0], &g.outputs[0], &g.outputs[1], &g.outputs[2]};
    for (int i = 0; i < 4; i++) {
        const double* d = static_cast<const double*>(arrays[i]->data());
        out.insert(out.end(), d, d + sizes[i]);
    }
    return out;
}

/* The same through the library, laid out as the plug-ins lay it out. */
std::vector<double> viaLibrary(const geoharm::GravityModel& model, int N, int M) {
    const std::vector<double> p = points();
    const std::size_t K = p.size() / 3;
    std::vector<double> x(K), y(K), z(K), a(3 * K), T(9 * K), ga(3 * K), U(K);
    for (std::size_t k = 0; k < K; k++) x[k] = p[3 * k], y[k] = p[3 * k + 1], z[k] = p[3 * k + 2];
    model.accelerationMany(K, x.data(), y.data(), z.data(), N, M, &a[0], &a[K], &a[2 * K]);
    model.gradientMany(K, x.data(), y.data(), z.data(), N, M, T.data(), &ga[0], &ga[K], &ga[2 * K], U.data());
    std::vector<double> out = a;
    for (const std::vector<double>* v : {&T, &ga, &U}) out.insert(out.end(), v->begin(), v->end());
    return out;
}

void expectSameBits(const std::vector<double>& got, const std::vector<double>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    EXPECT_EQ(std::memcmp(got.data(), want.data(), got.size() * sizeof(double)), 0) << what;
}

/* A struct as a caller builds one from the library's normalised tables. */
host::Array builtStruct(const geoharm::GravityModel& model) {
    const int L = model.maxDegree(), side = L + 1;
    std::vector<double> C(side * side), S(side * side);
    for (int n = 0; n <= L; n++)
        for (int m = 0; m <= n; m++) C[n * side + m] = model.C(n, m), S[n * side + m] = model.S(n, m);
    return host::makeModelStruct(model.gm(), model.radius(), L, C.data(), S.data(), "fully_normalized");
}

TEST(ModelStruct, EveryStructOfAModelGivesTheLibrarysBits) {
    char message[512] = "";
    const geoharm::GravityModel library = geoharm::GravityModel::load(modelPath(), nullptr, message, sizeof message);
    ASSERT_TRUE(library.ok()) << message;
    host::Array loaded, withCache = builtStruct(library);
    std::string why;
    ASSERT_TRUE(host::loadModelStruct(modelFile(), modelPath(), nullptr, loaded, why)) << why;
    ASSERT_TRUE(host::addCacheField(modelFile(), withCache, why)) << why;
    const host::Array built = builtStruct(library);
    const struct {
        const host::Array* model;
        const char* what;
    } structs[] = {{&loaded, "geoharm_load's"}, {&built, "built"}, {&withCache, "built, with a cache"}};
    const int limits[][2] = {{40, 40}, {25, 7}, {500, 3}, {1, 40}, {40, -1}, {2, 0}};
    for (const auto& s : structs) {
        for (const auto& nm : limits) {
            const std::vector<double> want = viaLibrary(library, nm[0], nm[1]);
            expectSameBits(viaPlugins(*s.model, nm[0], nm[1]), want, std::string(s.what) + " " + std::to_string(nm[0]));
            /* Again: a kept model where there is a cache. */
            expectSameBits(viaPlugins(*s.model, nm[0], nm[1]), want, s.what);
        }
    }
}

TEST(ModelStruct, TheCompiledInModelAsAStructGivesTheCompiledInBits) {
    const geoharm::Model md = geoharm::model();
    constexpr int side = geoharm::MAX_DEGREE + 1;
    std::vector<double> C(side * side), S(side * side);
    for (int n = 0; n < side; n++)
        for (int m = 0; m < side; m++) C[n * side + m] = md.C[n][m], S[n * side + m] = md.S[n][m];
    C[0] = 1.0;
    host::Array model = host::makeModelStruct(md.gm, md.referenceRadius, geoharm::MAX_DEGREE, C.data(), S.data(),
                                              "unnormalized");
    const host::Array P = positions(points());
    for (int pass = 0; pass < 2; pass++) {
        for (int N : {10, 4, 0}) {
            const host::Array n = host::makeScalar(geoharm::INT8_CLASS, N), m = host::makeScalar(geoharm::DOUBLE_CLASS, N);
            const auto with = geoharm_test::callKeepingOutputs(batch(), {&model, &P, &n, &m}, 1);
            const auto without = geoharm_test::callKeepingOutputs(batch(), {&P, &n, &m}, 1);
            ASSERT_TRUE(with.ok && without.ok);
            EXPECT_EQ(std::memcmp(with.outputs[0].data(), without.outputs[0].data(), points().size() * sizeof(double)), 0)
                << "N = M = " << N;
        }
        std::string why;
        ASSERT_TRUE(host::addCacheField(modelFile(), model, why)) << why;
    }
}

TEST(ModelStruct, AChangedTableIsNeverTakenFromTheCache) {
    host::Array model;
    std::string why;
    ASSERT_TRUE(host::loadModelStruct(modelFile(), modelPath(), nullptr, model, why)) << why;
    const std::vector<double> first = viaPlugins(model, 40, 40);
    /* A change the host would have made on a copy (the data is shared with
       the cache field): C replaced by a changed copy.  The plug-ins see new
       tables and give new results. */
    const geoharm::MexPointer C = host::getField(model.handle(), 0, "C");
    host::ArrayFacts facts;
    host::arrayFacts(C, facts);
    host::Array changed = host::makeArray(geoharm::DOUBLE_CLASS, facts.dims);
    std::memcpy(changed.data(), facts.real, 41 * 41 * sizeof(double));
    static_cast<double*>(changed.data())[2] *= 2.0;  // C(2,0)
    ASSERT_TRUE(host::setField(model.handle(), 0, "C", changed.release()));
    const std::vector<double> second = viaPlugins(model, 40, 40);
    ASSERT_EQ(second.size(), first.size());
    EXPECT_NE(std::memcmp(second.data(), first.data(), first.size() * sizeof(double)), 0);
    /* A NaN planted in place, as only a caller breaking the sharing could:
       the struct without a cache is checked at every call. */
    static_cast<double*>(host::realData(host::getField(model.handle(), 0, "C")))[1] = NAN;
    const host::Array P = positions(points()), n = host::makeScalar(geoharm::DOUBLE_CLASS, 40);
    const auto refused = geoharm_test::callKeepingOutputs(batch(), {&model, &P, &n, &n}, 1);
    EXPECT_EQ(refused.error.identifier, "geoharm_batch:model");
    EXPECT_NE(refused.error.message.find("C(1,0) is not a finite number"), std::string::npos) << refused.error.message;
}

/* Refusals: a model struct changed one way, or the call miscounted. */
TEST(ModelStruct, RefusalsNameTheFieldAndLeaveNothing) {
    char message[512] = "";
    const geoharm::GravityModel library = geoharm::GravityModel::load(modelPath(), nullptr, message, sizeof message);
    const host::Array P = positions(points()), n = host::makeScalar(geoharm::DOUBLE_CLASS, 40);
    const host::Array text = host::Array(host::createString("fully")), pair = host::makeArray(geoharm::DOUBLE_CLASS, {1, 2}),
                      square = host::makeArray(geoharm::DOUBLE_CLASS, {5, 5});
    const struct {
        const char* field;
        const host::Array* value; /* null: removed */
        const char* says;
    } cases[] = {
        {"GM", nullptr, "has no field GM"},
        {"GM", &pair, "field GM must be a real double scalar"},
        {"R_REF", &text, "field R_REF must be a real double scalar"},
        {"C", &pair, "field C must be a real, non-sparse double (L+1)-by-(L+1) matrix"},
        {"S", &square, "field S must be the same size as C"},
        {"normalization", &text, "field normalization must be 'fully_normalized' or 'unnormalized'"},
        {"normalization", nullptr, "has no field normalization"},
    };
    const long before = host::liveArrays();
    for (const auto& c : cases) {
        host::Array model = builtStruct(library);
        if (c.value != nullptr)
            host::setField(model.handle(), 0, c.field, host::createSharedCopy(c.value->handle()));
        else {
            /* Without the field: the struct made again from the others. */
            host::Array other = builtStruct(library);
            model = host::Array(host::createStruct({1, 1}, {"GM", "R_REF", "C", "S", "normalization"}));
            for (const char* f : {"GM", "R_REF", "C", "S", "normalization"})
                if (std::strcmp(f, c.field) != 0)
                    host::setField(model.handle(), 0, f, host::createSharedCopy(host::getField(other.handle(), 0, f)));
        }
        for (const host::Plugin* plugin : {&batch(), &gradient()}) {
            const auto r = geoharm_test::callKeepingOutputs(*plugin, {&model, &P, &n, &n}, 1);
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.arraysMade, 0u);
            EXPECT_EQ(r.error.identifier, plugin == &batch() ? "geoharm_batch:model" : "geoharm_gradient:model");
            EXPECT_NE(r.error.message.find(c.says), std::string::npos) << r.error.message;
        }
    }
    EXPECT_EQ(host::liveArrays(), before);
    /* The inputs after a model are counted from 2; three inputs are too few. */
    const host::Array model = builtStruct(library), Pt = host::makeArray(geoharm::DOUBLE_CLASS, {3, 7});
    const auto shifted = geoharm_test::callKeepingOutputs(batch(), {&model, &Pt, &n, &n}, 1);
    EXPECT_EQ(shifted.error.message.rfind("Input 2 (positions) is 3-by-K", 0), 0u) << shifted.error.message;
    const auto few = geoharm_test::callKeepingOutputs(gradient(), {&model, &P, &n}, 1);
    EXPECT_EQ(few.error.identifier, "geoharm_gradient:nrhs");
    /* geoharm_model_file: each argument, and a file that is no model. */
    host::Array loaded;
    std::string why;
    EXPECT_FALSE(host::loadModelStruct(modelFile(), "no/such/file.gfc", nullptr, loaded, why));
    EXPECT_EQ(why.rfind("geoharm_model_file:refused: no/such/file.gfc:", 0), 0u) << why;
    EXPECT_FALSE(host::loadModelStruct(modelFile(), modelPath(), "2010-13-01", loaded, why));
    EXPECT_EQ(why.rfind("geoharm_model_file:epoch: epoch '2010-13-01'", 0), 0u) << why;
    const auto asChar = geoharm_test::callKeepingOutputs(modelFile(), {&text}, 1);
    EXPECT_EQ(asChar.error.identifier, "geoharm_model_file:file");
}

}  // namespace
