"""Checked by mypy --strict against the installed package (test
python_typing): the calls of the first part must pass, each line of the
second must be refused with the error its ignore comment names (strict
mode reports an ignore that is not needed)."""

import pathlib

import numpy as np
import numpy.typing as npt

import geoharm
import geoharm.dask

one: npt.NDArray[np.float64] = geoharm.acceleration([7e6, 1e6, 2e6], 10, 10)
many: npt.NDArray[np.float64] = geoharm.acceleration(np.zeros((5, 3)), N=4, M=2)
gm: float = geoharm.GM
r_ref: float = geoharm.R_REF
degree: int = geoharm.MAX_DEGREE
version: str = geoharm.__version__
core: npt.NDArray[np.float64] = geoharm._core.acceleration(np.zeros(3), 10, 10)
core_version: str = geoharm._core.version()
T, A, U = geoharm.gradient(np.zeros((5, 3)), 10, 10)
tensor: npt.NDArray[np.float64] = T
potential: npt.NDArray[np.float64] = U
# Limits: whatever has __index__, as the code takes them.
small: npt.NDArray[np.float64] = geoharm.acceleration([7e6, 1e6, 2e6], np.int8(10), np.uint8(10))
geoharm.gradient(np.zeros(3), np.int64(4), M=np.int16(2))
geoharm.dask.acceleration(np.zeros((5, 3)), np.int8(10), np.uint64(3))
geoharm.dask.gradient(np.zeros((5, 3)), N=np.int32(10))
# Models: loaded, made from tables, evaluated, with dask.
model: geoharm.Model = geoharm.load("model.gfc", epoch=2010.5)
model = geoharm.load(pathlib.Path("model.gfc"), "2010-07-02")
model = geoharm.Model(3.986e14, 6.378e6, np.eye(3), np.zeros((3, 3)), "unnormalized", name="three")
model = geoharm.compiled_in_model()
from_model: npt.NDArray[np.float64] = model.acceleration(np.zeros((5, 3)), np.int16(8), None)
model_T, model_A, model_U = model.gradient([7e6, 1e6, 2e6])
table: npt.NDArray[np.float64] = model.C
model_degree: int = model.max_degree
model_name: str = model.name
compiled: bool = model.is_compiled_in
geoharm.dask.acceleration(np.zeros((5, 3)), model=model)
geoharm.dask.gradient(np.zeros((5, 3)), 4, None, model)
largest: int = geoharm.MAX_MODEL_DEGREE
refused: type[ValueError] = geoharm.ModelError

geoharm.acceleration([7e6, 1e6, 2e6], "10", 10)  # type: ignore[arg-type]
geoharm.acceleration([7e6, 1e6, 2e6], 10, 2.5)  # type: ignore[arg-type]
geoharm.acceleration([7e6, 1e6, 2e6], K=3)  # type: ignore[call-arg]
wrong_constant: str = geoharm.GM  # type: ignore[assignment]
wrong_degree: str = geoharm.MAX_DEGREE  # type: ignore[assignment]
wrong_result: int = geoharm.acceleration([7e6, 1e6, 2e6])  # type: ignore[assignment]
geoharm._core.acceleration(np.zeros(3), 10)  # type: ignore[call-arg]
wrong_core_version: int = geoharm._core.version()  # type: ignore[assignment]
wrong_gradient: npt.NDArray[np.float64] = geoharm.gradient([7e6, 1e6, 2e6])  # type: ignore[assignment]
geoharm.gradient([7e6, 1e6, 2e6], 10.0)  # type: ignore[arg-type]
geoharm.dask.acceleration(np.zeros((5, 3)), np.float64(10))  # type: ignore[arg-type]
geoharm.dask.gradient(np.zeros((5, 3)), 10, "10")  # type: ignore[arg-type]
geoharm.load(7)  # type: ignore[arg-type]
geoharm.load("model.gfc", [2010])  # type: ignore[arg-type]
model.acceleration([7e6, 1e6, 2e6], 4.0)  # type: ignore[arg-type]
wrong_model_gm: str = model.gm  # type: ignore[assignment]
model.gm = 1.0  # type: ignore[misc]
geoharm.dask.acceleration(np.zeros((5, 3)), model="EGM")  # type: ignore[arg-type]
