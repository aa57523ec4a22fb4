/*
 * test_c_interface.c - the C interface as a C program uses it: every
 * worked example through geoharm_acceleration and, grouped by N and M,
 * through geoharm_acceleration_many, bit for bit; the gradient against
 * them; limits read as MATLAB reads them; the version; the model's tables
 * as the library states them; gravity models through their handles.
 *
 * Usage: test_c_interface WORKED_EXAMPLES_H
 * (the rows "{x, y, z, n, m, ax, ay, az}," of tests/worked_examples.h).
 * Prints one line per check and exits 0 when all hold, 1 otherwise.
 *
 * Or: test_c_interface --model FILE [--gradient] --bits < records
 * evaluates the model of FILE through the handle at each record "x y z N
 * M" and writes the line geoharm-eval --model FILE [--gradient] --bits
 * writes (the identity tests compare them); status 2 when the file is
 * refused.
 */
#include <geoharm/geoharm_c.h>
#include <geoharm/version.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAX_ROWS 64

struct row {
    double p[3];
    int n, m;
    double a[3];
};

static int failures = 0;

static void check(int ok, const char* what) {
    if (!ok) failures++;
    printf("%s: %s\n", what, ok ? "ok" : "FAILED");
}

static int sameBits(const double* a, const double* b) { return memcmp(a, b, 3 * sizeof(double)) == 0; }

static int readRows(const char* path, struct row* rows) {
    FILE* f = fopen(path, "r");
    char line[512];
    int count = 0;
    if (!f) return 0;
    while (count < MAX_ROWS && fgets(line, sizeof line, f)) {
        struct row* r = &rows[count];
        if (sscanf(line, " {%lf, %lf, %lf, %d, %d, %lf, %lf, %lf},", &r->p[0], &r->p[1], &r->p[2], &r->n, &r->m,
                   &r->a[0], &r->a[1], &r->a[2]) == 8)
            count++;
    }
    fclose(f);
    return count;
}

/* The 16 hexadecimal digits of each double's bits, a line. */
static void writeBits(const double* v, int count) {
    int i;
    for (i = 0; i < count; i++) {
        unsigned long long bits;
        memcpy(&bits, &v[i], sizeof bits);
        printf(i > 0 ? " %016llX" : "%016llX", bits);
    }
    printf("\n");
}

/* The records of standard input through the model's handle. */
static int evaluateRecords(const char* path, int gradient) {
    char message[512], line[512];
    geoharm_gravity_model* model = geoharm_gravity_model_load(path, NULL, message, sizeof message);
    if (model == NULL) {
        fprintf(stderr, "test_c_interface: %s\n", message);
        return 2;
    }
    while (fgets(line, sizeof line, stdin)) {
        char* at = line;
        double p[3], out[13];
        long limits[2];
        int i;
        while (*at == ' ' || *at == '\t') at++;
        if (*at == '#' || *at == '\n' || *at == '\r' || *at == '\0') continue;
        for (i = 0; i < 3; i++) p[i] = strtod(at, &at);
        for (i = 0; i < 2; i++) limits[i] = strtol(at, &at, 10);
        if (gradient) {
            geoharm_gravity_model_gradient(model, p, (int)limits[0], (int)limits[1], &out[4], &out[1], &out[0]);
            writeBits(out, 13);
        } else {
            geoharm_gravity_model_acceleration(model, p, (int)limits[0], (int)limits[1], out);
            writeBits(out, 3);
        }
    }
    geoharm_gravity_model_free(model);
    return 0;
}

int main(int argc, char** argv) {
    struct row rows[MAX_ROWS];
    const int count = argc == 2 ? readRows(argv[1], rows) : 0;
    int i, j, same = 1;
    char what[160];
    if (argc >= 3 && strcmp(argv[1], "--model") == 0)
        return evaluateRecords(argv[2], argc >= 4 && strcmp(argv[3], "--gradient") == 0);
    if (count < 10) {
        fprintf(stderr, "usage: test_c_interface WORKED_EXAMPLES_H (found %d rows)\n", count);
        return 1;
    }

    /* One point at a time. */
    for (i = 0; i < count; i++) {
        double a[3];
        geoharm_acceleration(rows[i].p, rows[i].n, rows[i].m, a);
        same = same && sameBits(a, rows[i].a);
    }
    snprintf(what, sizeof what, "%d worked examples through geoharm_acceleration", count);
    check(same, what);

    /* The rows of each N and M in one call. */
    same = 1;
    for (i = 0; i < count; i++) {
        double x[MAX_ROWS], y[MAX_ROWS], z[MAX_ROWS], ax[MAX_ROWS], ay[MAX_ROWS], az[MAX_ROWS];
        int of[MAX_ROWS];
        size_t k = 0;
        for (j = 0; j < count; j++) {
            if (rows[j].n != rows[i].n || rows[j].m != rows[i].m) continue;
            x[k] = rows[j].p[0], y[k] = rows[j].p[1], z[k] = rows[j].p[2];
            of[k++] = j;
        }
        geoharm_acceleration_many(k, x, y, z, rows[i].n, rows[i].m, ax, ay, az);
        while (k-- > 0) {
            const double a[3] = {ax[k], ay[k], az[k]};
            same = same && sameBits(a, rows[of[k]].a);
        }
    }
    check(same, "the same rows through geoharm_acceleration_many, by N and M");

    /* The gradient at every row's position (N = M = 10): its acceleration
       is geoharm_acceleration's, its tensor symmetric, and the many-point
       routine gives each point the same bits. */
    {
        double x[MAX_ROWS], y[MAX_ROWS], z[MAX_ROWS], t[9 * MAX_ROWS], u[MAX_ROWS];
        double tm[9 * MAX_ROWS], axm[MAX_ROWS], aym[MAX_ROWS], azm[MAX_ROWS], um[MAX_ROWS];
        int symmetric = 1;
        same = 1;
        for (i = 0; i < count; i++) {
            double a[3], b[3];
            geoharm_gradient(rows[i].p, 10, 10, &t[9 * i], a, &u[i]);
            geoharm_acceleration(rows[i].p, 10, 10, b);
            same = same && sameBits(a, b);
            symmetric = symmetric && t[9 * i + 1] == t[9 * i + 3] && t[9 * i + 2] == t[9 * i + 6] &&
                        t[9 * i + 5] == t[9 * i + 7];
            x[i] = rows[i].p[0], y[i] = rows[i].p[1], z[i] = rows[i].p[2];
        }
        check(same && symmetric, "geoharm_gradient: the acceleration's bits, a symmetric tensor");
        geoharm_gradient_many((size_t)count, x, y, z, 10, 10, tm, axm, aym, azm, um);
        same = memcmp(tm, t, 9 * (size_t)count * sizeof(double)) == 0 && memcmp(um, u, (size_t)count * sizeof(double)) == 0;
        for (i = 0; i < count; i++) {
            double a[3], b[3] = {axm[i], aym[i], azm[i]};
            geoharm_acceleration(rows[i].p, 10, 10, a);
            same = same && sameBits(a, b);
        }
        check(same, "geoharm_gradient_many: each point the bits of geoharm_gradient");
    }

    /* Any output may be NULL, the others keep their bits (1000 points: several
       blocks of the library's scratch); NULL inputs or model: nothing written. */
    {
        enum { K = 1000, OUTPUTS = 5 };
        static double x[K], y[K], z[K], want[OUTPUTS][9 * K], got[OUTPUTS][9 * K], fill[OUTPUTS][9 * K];
        double t1[9], a1[3], u1;
        const size_t size[OUTPUTS] = {9 * K, K, K, K, K}; /* t, ax, ay, az, u */
        int mask;
        same = 1;
        for (i = 0; i < K; i++) {
            const double s = 1.0 + i * 1e-4;
            x[i] = rows[i % count].p[0] * s, y[i] = rows[i % count].p[1] * s, z[i] = rows[i % count].p[2] * s;
        }
        geoharm_gradient_many(K, x, y, z, 9, 7, want[0], want[1], want[2], want[3], want[4]);
        geoharm_gradient(rows[1].p, 9, 7, t1, a1, &u1);
        for (mask = 0; mask < 1 << OUTPUTS; mask++) { /* bit j set: output j NULL */
            double* out[OUTPUTS];
            for (j = 0; j < OUTPUTS; j++) out[j] = mask >> j & 1 ? NULL : got[j];
            geoharm_gradient_many(K, x, y, z, 9, 7, out[0], out[1], out[2], out[3], out[4]);
            if (mask < 8) geoharm_acceleration_many(K, x, y, z, 9, 7, out[1], out[2], out[3]);
            for (j = 0; j < OUTPUTS; j++)
                same = same && (!out[j] || memcmp(out[j], want[j], size[j] * sizeof(double)) == 0);
            if (mask < 8) { /* one point: t, a, u */
                double t[9], a[3], u;
                geoharm_gradient(rows[1].p, 9, 7, mask & 1 ? NULL : t, mask & 2 ? NULL : a, mask & 4 ? NULL : &u);
                same = same && (mask & 1 || memcmp(t, t1, sizeof t) == 0) && (mask & 2 || sameBits(a, a1)) &&
                       (mask & 4 || memcmp(&u, &u1, sizeof u) == 0);
            }
        }
        check(same, "outputs passed as NULL: the others keep their bits");
        memset(got, 0xA5, sizeof got);
        memset(fill, 0xA5, sizeof fill);
        for (j = 0; j < 3; j++) { /* x, y or z NULL */
            const double* in[3] = {x, y, z};
            in[j] = NULL;
            geoharm_acceleration_many(K, in[0], in[1], in[2], 10, 10, got[1], got[2], got[3]);
            geoharm_gradient_many(K, in[0], in[1], in[2], 10, 10, got[0], got[1], got[2], got[3], got[4]);
        }
        geoharm_acceleration(NULL, 10, 10, got[1]);
        geoharm_gradient(NULL, 10, 10, got[0], got[1], got[4]);
        geoharm_get_model(NULL);
        check(memcmp(got, fill, sizeof got) == 0, "a NULL position, coordinate array or model: nothing written");
    }

    /* Limits as MATLAB converts them to int8: 200 is the whole model (not
       a wrap to -56), -200 the central term. */
    {
        const int pairs[][4] = {{200, 200, 10, 10}, {127, 11, 10, 10}, {-200, 5, 0, 0}, {5, -200, 0, 0}};
        same = 1;
        for (i = 0; i < 4; i++) {
            double a[3], b[3];
            geoharm_acceleration(rows[0].p, pairs[i][0], pairs[i][1], a);
            geoharm_acceleration(rows[0].p, pairs[i][2], pairs[i][3], b);
            same = same && sameBits(a, b);
        }
        check(same, "limits 200, 127, -200 read as 10, 10, 0");
    }

    /* The library's version is the headers'. */
    printf("library %s, headers %s\n", geoharm_version(), GEOHARM_VERSION_STRING);
    check(strcmp(geoharm_version(), GEOHARM_VERSION_STRING) == 0, "version");

    /* The model: the constants, and tables whose every entry is a float
       held exactly as a double, zero where the model has no term. */
    {
        struct geoharm_model md;
        int n, m, floats = 1, zeros = 1;
        memset(&md, 0xFF, sizeof md);
        geoharm_get_model(&md);
        check(md.gm == GEOHARM_GM && md.r_ref == GEOHARM_R_REF && md.max_degree == GEOHARM_MAX_DEGREE,
              "model constants");
        for (n = 0; n <= GEOHARM_MAX_DEGREE; n++) {
            for (m = 0; m <= GEOHARM_MAX_DEGREE; m++) {
                floats = floats && (double)(float)md.c[n][m] == md.c[n][m] && (double)(float)md.s[n][m] == md.s[n][m];
                if (n < 2 || m > n) zeros = zeros && md.c[n][m] == 0.0 && md.s[n][m] == 0.0;
            }
            zeros = zeros && md.s[n][0] == 0.0;
        }
        check(floats && (double)(float)md.gm == md.gm, "GM and every coefficient are single-precision values");
        check(zeros, "zero where the model has no term");
        /* On the polar axis at r, degree 2 alone: a_z = -GM/r^2 (1 + 3 C(2,0)
           (R/r)^2); the evaluation's own rounding differs, by far less than
           a part in 1e13. */
        {
            const double p[3] = {0.0, 0.0, 7.0e6}, q = GEOHARM_R_REF / p[2];
            const double want = -GEOHARM_GM / (p[2] * p[2]) * (1.0 + 3.0 * md.c[2][0] * q * q);
            double a[3], relative;
            geoharm_acceleration(p, 2, 0, a);
            relative = (a[2] - want) / want;
            check((relative < 0.0 ? -relative : relative) < 1e-13,
                  "C(2,0) is the one the evaluation uses (polar axis, degree 2)");
        }
    }

    /* Gravity models: the compiled-in tables given back unnormalised (C(0,0)
       = 1) are that model, its bits; with another GM the engine evaluates
       them, many points as one at a time, any output NULL; refusals say why
       and give no model. */
    {
        enum { K = 300 };
        static struct geoharm_model md;
        static double x[K], y[K], z[K], t[9 * K], ax[K], ay[K], az[K], u[K], tn[9 * K], un[K];
        char message[200] = "";
        geoharm_gravity_model *model, *other, *refused;
        geoharm_get_model(&md);
        md.c[0][0] = 1.0;
        model = geoharm_gravity_model_from_tables(md.gm, md.r_ref, 10, &md.c[0][0], &md.s[0][0],
                                                  GEOHARM_UNNORMALIZED, "compiled-in", message, sizeof message);
        other = geoharm_gravity_model_from_tables(md.gm * 1.5, md.r_ref, 10, &md.c[0][0], &md.s[0][0],
                                                  GEOHARM_UNNORMALIZED, NULL, message, sizeof message);
        check(model != NULL && other != NULL && geoharm_gravity_model_max_degree(model) == 10 &&
                  geoharm_gravity_model_gm(other) == md.gm * 1.5 && geoharm_gravity_model_radius(model) == md.r_ref,
              "models from the compiled-in tables");
        same = 1;
        for (i = 0; i < count; i++) {
            double a[3];
            geoharm_gravity_model_acceleration(model, rows[i].p, rows[i].n, rows[i].m, a);
            same = same && sameBits(a, rows[i].a);
        }
        check(same, "the compiled-in tables as a model: the worked examples' bits");
        for (i = 0; i < K; i++) {
            const double s = 1.0 + i * 1e-3;
            x[i] = rows[i % count].p[0] * s, y[i] = rows[i % count].p[1] * s, z[i] = rows[i % count].p[2] * s;
        }
        geoharm_gravity_model_gradient_many(other, K, x, y, z, 8, 6, t, ax, ay, az, u);
        geoharm_gravity_model_gradient_many(other, K, x, y, z, 8, 6, tn, NULL, NULL, NULL, un);
        same = memcmp(t, tn, sizeof t) == 0 && memcmp(u, un, sizeof u) == 0;
        geoharm_gravity_model_acceleration_many(other, K, x, y, z, 8, 6, NULL, NULL, un);
        same = same && memcmp(az, un, sizeof az) == 0;
        for (i = 0; i < K; i++) {
            double p[3] = {x[i], y[i], z[i]}, t1[9], a1[3], u1, b1[3] = {ax[i], ay[i], az[i]};
            geoharm_gravity_model_gradient(other, p, 8, 6, t1, a1, &u1);
            same = same && memcmp(t1, &t[9 * i], sizeof t1) == 0 && sameBits(a1, b1) && u1 == u[i];
        }
        check(same, "a model's many-point results: each point's one-point bits, with any output NULL");
        memset(tn, 0xA5, sizeof tn);
        memcpy(t, tn, sizeof t);
        geoharm_gravity_model_gradient_many(NULL, K, x, y, z, 8, 6, tn, NULL, NULL, NULL, NULL);
        geoharm_gravity_model_acceleration(NULL, x, 8, 6, tn);
        check(memcmp(t, tn, sizeof t) == 0 && geoharm_gravity_model_max_degree(NULL) == -1,
              "a NULL model: nothing written");
        refused = geoharm_gravity_model_load("no/such/model.gfc", NULL, message, sizeof message);
        same = refused == NULL && strstr(message, "no/such/model.gfc") != NULL;
        md.c[3][5] = 1.0; /* an order above its degree */
        refused = geoharm_gravity_model_from_tables(md.gm, md.r_ref, 10, &md.c[0][0], &md.s[0][0],
                                                    GEOHARM_UNNORMALIZED, NULL, message, sizeof message);
        same = same && refused == NULL && message[0] != '\0';
        refused = geoharm_gravity_model_from_tables(md.gm, md.r_ref, 10, NULL, &md.s[0][0], GEOHARM_UNNORMALIZED,
                                                    NULL, message, sizeof message);
        same = same && refused == NULL && strstr(message, "NULL") != NULL;
        printf("last refusal: %s\n", message);
        check(same, "refused files and tables: no model, a message");
        geoharm_gravity_model_free(model);
        geoharm_gravity_model_free(other);
        geoharm_gravity_model_free(NULL);
    }

    printf("%s\n", failures == 0 ? "all checks hold" : "SOME CHECKS FAILED");
    return failures == 0 ? 0 : 1;
}
