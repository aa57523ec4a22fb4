#!/usr/bin/python3
"""make-figures.py [BUILD_DIR] [OUT_DIR] - the pictures of docs/.

  /usr/bin/python3 scripts/make-figures.py            (build/linux, docs/images)

Needs a built linux preset (its C library, BUILD_DIR/field/libgeoharm.so)
and Debian's python3-matplotlib and python3-numpy.

  harmonic-part-400km.png  the model's harmonic part (its acceleration less
                           the point mass) on a latitude-longitude grid at
                           400 km above the reference radius: radial
                           component, whole and without the degree-2 zonal
                           term; computed through the project's own C
                           library (geoharm_acceleration_many, via ctypes)
  speed.png                time per point of each routine against
                           GeographicLib's, from docs/data/speed.csv
                           (columns path,routine,N,ns_per_point,
                           geographiclib_ns_per_point)
  models-speed.png         time per point against the degree of a model
                           (many points on one and two threads, one point,
                           the tensor) beside GeographicLib's, from
                           docs/data/models-speed.csv (columns degree,
                           evaluator, us_per_point)

The output is deterministic: the same inputs give the same files.
"""
import csv
import ctypes
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(top, "build", "linux")
out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(top, "docs", "images")
plt.rcParams.update({"svg.hashsalt": "geoharm", "font.size": 9})
SAVE = {"dpi": 110, "metadata": {"Software": None}}


def library():
    lib = ctypes.CDLL(os.path.join(build, "field", "libgeoharm.so"))
    p = ctypes.POINTER(ctypes.c_double)
    lib.geoharm_acceleration_many.argtypes = [ctypes.c_size_t, p, p, p, ctypes.c_int, ctypes.c_int, p, p, p]
    lib.geoharm_acceleration_many.restype = None
    lib.geoharm_version.restype = ctypes.c_char_p
    return lib


def accelerations(lib, x, y, z, n, m):
    """geoharm_acceleration_many on flat arrays: (ax, ay, az)."""
    x, y, z = (np.ascontiguousarray(v, dtype=np.float64) for v in (x, y, z))
    a = [np.empty_like(x) for _ in range(3)]
    ptr = [v.ctypes.data_as(ctypes.POINTER(ctypes.c_double)) for v in (x, y, z, *a)]
    lib.geoharm_acceleration_many(x.size, *ptr[:3], n, m, *ptr[3:])
    return a


def harmonic_map(lib):
    altitude = 400e3
    radius = 6378137.0 + altitude
    lat = np.linspace(-90, 90, 181)
    lon = np.linspace(-180, 180, 361)
    LON, LAT = np.meshgrid(np.radians(lon), np.radians(lat))
    x = radius * np.cos(LAT) * np.cos(LON)
    y = radius * np.cos(LAT) * np.sin(LON)
    z = radius * np.sin(LAT)
    full = accelerations(lib, x.ravel(), y.ravel(), z.ravel(), 10, 10)
    central = accelerations(lib, x.ravel(), y.ravel(), z.ravel(), 0, 0)
    zonal2 = accelerations(lib, x.ravel(), y.ravel(), z.ravel(), 2, 0)
    up = [v.ravel() / radius for v in (x, y, z)]

    def radial(a, b):
        return sum((a[k] - b[k]) * up[k] for k in range(3)).reshape(LAT.shape)

    panels = [
        (radial(full, central) * 1e3, "the field less its point mass (N = M = 10)", "mm/s$^2$", "RdBu_r"),
        (radial(full, zonal2) * 1e5, "the same, less the degree-2 zonal term too", "mGal (10$^{-5}$ m/s$^2$)",
         "RdBu_r"),
    ]
    fig, axes = plt.subplots(2, 1, figsize=(7.2, 6.4), constrained_layout=True)
    for ax, (values, title, unit, cmap) in zip(axes, panels):
        limit = np.abs(values).max()
        mesh = ax.pcolormesh(lon, lat, values, cmap=cmap, vmin=-limit, vmax=limit, shading="auto")
        ax.set_title(f"Radial acceleration 400 km above R_REF: {title}")
        ax.set_xlabel("longitude (degrees)")
        ax.set_ylabel("latitude (degrees)")
        ax.set_xticks(range(-180, 181, 60))
        ax.set_yticks(range(-90, 91, 30))
        fig.colorbar(mesh, ax=ax, label=f"outward, {unit}")
    fig.savefig(os.path.join(out, "harmonic-part-400km.png"), **SAVE)
    plt.close(fig)


def speed_chart():
    rows = list(csv.DictReader(open(os.path.join(top, "docs", "data", "speed.csv"))))
    degrees = sorted({int(r["N"]) for r in rows}, reverse=True)
    def name(r):
        return f"{'one point' if r['path'] == 'single' else 'many points'}, {r['routine']}"

    routines = list(dict.fromkeys(name(r) for r in rows))
    labels = ["GeographicLib"] + routines
    fig, ax = plt.subplots(figsize=(7.2, 4.0), constrained_layout=True)
    width = 0.8 / len(labels)
    for i, label in enumerate(labels):
        heights = []
        for n in degrees:
            at = [r for r in rows if int(r["N"]) == n]
            if label == "GeographicLib":
                heights.append(float(at[0]["geographiclib_ns_per_point"]))
            else:
                heights.append(next(float(r["ns_per_point"]) for r in at if name(r) == label))
        xs = [d + (i - (len(labels) - 1) / 2) * width for d in range(len(degrees))]
        bars = ax.bar(xs, heights, width, label=label, color="0.6" if i == 0 else None)
        ax.bar_label(bars, fmt="%.0f", fontsize=6)
    ax.set_xticks(range(len(degrees)), [f"N = M = {n}" for n in degrees])
    ax.set_ylabel("ns per point (median)")
    ax.set_title("Time per point: geoharm's routines against GeographicLib on the same points")
    ax.legend(fontsize=7)
    fig.savefig(os.path.join(out, "speed.png"), **SAVE)
    plt.close(fig)


MODEL_EVALUATORS = {
    "geographiclib": ("GeographicLib SphericalHarmonic (gradient)", "0.5", "s"),
    "one_point": ("geoharm, one point", None, "^"),
    "many_tensor_1_thread": ("geoharm, many points with the tensor, 1 thread", None, "D"),
    "many_1_thread": ("geoharm, many points, 1 thread", None, "o"),
    "many_2_threads": ("geoharm, many points, 2 threads", None, "v"),
}


def models_speed_chart():
    rows = list(csv.DictReader(open(os.path.join(top, "docs", "data", "models-speed.csv"))))
    fig, ax = plt.subplots(figsize=(7.2, 4.2), constrained_layout=True)
    for key, (label, color, marker) in MODEL_EVALUATORS.items():
        at = sorted((int(r["degree"]), float(r["us_per_point"])) for r in rows if r["evaluator"] == key)
        ax.loglog([d for d, _ in at], [t for _, t in at], marker=marker, label=label, color=color)
    degrees = sorted({int(r["degree"]) for r in rows})
    ax.set_xticks(degrees, [str(d) for d in degrees])
    ax.minorticks_off()
    ax.set_xlabel("degree and order of the model (N = M)")
    ax.set_ylabel("microseconds per point (median)")
    ax.set_title("Models of any degree: time per point beside GeographicLib (same coefficients)")
    ax.grid(True, which="major", color="0.9")
    ax.legend(fontsize=7)
    fig.savefig(os.path.join(out, "models-speed.png"), **SAVE)
    plt.close(fig)


os.makedirs(out, exist_ok=True)
lib = library()
harmonic_map(lib)
speed_chart()
models_speed_chart()
print(f"{out}: harmonic-part-400km.png, speed.png, models-speed.png (libgeoharm {lib.geoharm_version().decode()})")
