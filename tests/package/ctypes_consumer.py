"""ctypes_consumer.py LIBRARY WORKED_EXAMPLES_H

The installed C library as a program in another language loads it, here
through Python's ctypes (Julia's ccall, Rust's extern "C" and Fortran's
bind(C) see the same symbols): every worked example through
geoharm_acceleration and, all at once per N and M, geoharm_acceleration_many,
and the acceleration geoharm_gradient gives, compared bit for bit;
geoharm_version; geoharm_get_model's constants.
Exit status 0 when everything holds.
"""
import ctypes
import re
import struct
import sys

lib = ctypes.CDLL(sys.argv[1])
rows = [
    [float(v) for v in m.groups()]
    for m in re.finditer(r"\{" + r",\s*".join([r"(-?[0-9][0-9.e+-]*)"] * 8) + r"\}", open(sys.argv[2]).read())
]
assert len(rows) >= 10, f"found {len(rows)} worked examples"

Vec3 = ctypes.c_double * 3
lib.geoharm_acceleration.argtypes = [Vec3, ctypes.c_int, ctypes.c_int, Vec3]
lib.geoharm_acceleration.restype = None
lib.geoharm_version.restype = ctypes.c_char_p
Doubles = ctypes.POINTER(ctypes.c_double)
lib.geoharm_acceleration_many.argtypes = [ctypes.c_size_t, Doubles, Doubles, Doubles, ctypes.c_int, ctypes.c_int,
                                          Doubles, Doubles, Doubles]
lib.geoharm_acceleration_many.restype = None


class Model(ctypes.Structure):
    _fields_ = [("gm", ctypes.c_double), ("r_ref", ctypes.c_double), ("max_degree", ctypes.c_int),
                ("c", (ctypes.c_double * 11) * 11), ("s", (ctypes.c_double * 11) * 11)]


def bits(values):
    return struct.pack("<%dd" % len(values), *values)


failures = 0
for x, y, z, n, m, *want in rows:
    a = Vec3()
    lib.geoharm_acceleration(Vec3(x, y, z), int(n), int(m), a)
    failures += bits(a) != bits(want)

for nm in sorted({(int(r[3]), int(r[4])) for r in rows}):
    group = [r for r in rows if (int(r[3]), int(r[4])) == nm]
    k = len(group)
    x, y, z = ((ctypes.c_double * k)(*[r[i] for r in group]) for i in range(3))
    ax, ay, az = ((ctypes.c_double * k)() for _ in range(3))
    lib.geoharm_acceleration_many(k, x, y, z, nm[0], nm[1], ax, ay, az)
    for j, r in enumerate(group):
        failures += bits([ax[j], ay[j], az[j]]) != bits(r[5:])

# The gradient's acceleration is the acceleration, with every output given.
Vec9 = ctypes.c_double * 9
lib.geoharm_gradient.argtypes = [Vec3, ctypes.c_int, ctypes.c_int, Vec9, Vec3, ctypes.POINTER(ctypes.c_double)]
lib.geoharm_gradient.restype = None
for x, y, z, n, m, *want in rows:
    t, a, u = Vec9(), Vec3(), ctypes.c_double()
    lib.geoharm_gradient(Vec3(x, y, z), int(n), int(m), t, a, ctypes.byref(u))
    failures += bits(a) != bits(want)

model = Model()
lib.geoharm_get_model(ctypes.byref(model))
failures += (model.gm, model.r_ref, model.max_degree) != (398600446148608.0, 6378137.0, 10)
print(f"ctypes: libgeoharm {lib.geoharm_version().decode()}, {len(rows)} worked examples single, many and gradient, "
      f"model GM {model.gm!r}: {'same bits' if failures == 0 else f'{failures} DIFFER'}")
sys.exit(1 if failures else 0)
