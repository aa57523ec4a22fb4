# Type stubs of geoharm._core, the compiled part of the package (the rest
# is typed in its own .py files).
from typing import Any, Callable, TypeVar

import numpy as np
import numpy.typing as npt

_Result = TypeVar("_Result")

GM: float
R_REF: float
MAX_DEGREE: int

def acceleration(positions: npt.NDArray[np.float64], n: int, m: int) -> npt.NDArray[np.float64]: ...
def gradient(
    positions: npt.NDArray[np.float64], n: int, m: int
) -> tuple[npt.NDArray[np.float64], npt.NDArray[np.float64], npt.NDArray[np.float64]]: ...
def version() -> str: ...
def simd_level() -> str: ...
def call_in_fixed_fp_state(function: Callable[..., _Result], *arguments: Any) -> _Result: ...
