"""geoharm._arguments - how the package reads its callers' arguments:
positions (shape (3,) or (K, 3)), the limits N and M, real numbers, and
tables of coefficients, each checked, refused with a message that says
what is wrong, and converted to float64 in the fixed floating-point state
(round to nearest, whatever mode the caller has set) wherever numpy or
Python might round."""

from __future__ import annotations

import itertools
import numbers
import operator
import sys
from typing import Any, NamedTuple, Tuple

import numpy as np
import numpy.typing as npt

from . import _core

# The limits of the compiled-in model travel to the core as int; any
# integer beyond these acts as they do (the core saturates to -128..127 as
# MATLAB converts to int8, and the model clamps to 10 or takes the point
# mass).
LIMIT_LOW = -128
LIMIT_HIGH = 127
# A model's limits are C ints: any integer beyond acts as these do (above
# the model's degree: its degree; negative: the point mass).
INT_LOW = -(2**31)
INT_HIGH = 2**31 - 1

# dtype kinds of real numbers numpy converts to float64: signed and
# unsigned integers, floats.  Booleans, complex numbers, strings, bytes,
# dates and structured records are refused.
_REAL_KINDS = "iuf"
_FLOAT64 = np.dtype(np.float64)
_PLAIN_KINDS = frozenset((float, int))
_SEQUENCE_KINDS = frozenset((list, tuple))


class Call(NamedTuple):
    """Who reads an argument, for messages: the function's name as the
    caller wrote it, and what takes a dask array instead."""

    name: str
    lazily: str


def call_of(function: str) -> Call:
    """geoharm.<function>, whose dask counterpart is geoharm.dask.<function>."""
    return Call(f"geoharm.{function}", f"geoharm.dask.{function} evaluates a dask array lazily, chunk by chunk")


def not_real(name: str) -> str:
    """The start of the message that refuses what is not a real number."""
    return f"{name} must be real numbers (integers or floats, converted to float64), not "


def limit(value: Any, name: str, what: str, low: int = LIMIT_LOW, high: int = LIMIT_HIGH) -> int:
    """N or M as the core's int: an integer (int, numpy integer, anything
    with __index__), not a bool and not a float, saturated to low..high."""
    if type(value) is int:  # the usual case, first (bool is a subclass, not int itself)
        return min(max(value, low), high)
    if isinstance(value, (bool, np.bool_)):
        raise TypeError(f"{name} ({what}) must be an integer, not a bool")
    try:
        number = operator.index(value)
    except TypeError:
        hint = f"; int({name}) converts a whole-numbered float" if isinstance(value, (float, np.floating)) else ""
        raise TypeError(
            f"{name} ({what}) must be an integer (int or numpy integer), not {type(value).__name__}{hint}"
        ) from None
    return min(max(number, low), high)


def real_number(value: Any, name: str) -> float:
    """One real number (int, float, numpy integer or float, a fraction:
    numbers.Real), not a bool, as the nearest double whatever the caller's
    rounding mode."""
    if type(value) is float:
        return value
    if isinstance(value, (bool, np.bool_)) or not isinstance(value, numbers.Real):
        what = "a bool" if isinstance(value, (bool, np.bool_)) else type(value).__name__
        raise TypeError(f"{name} must be a real number (int or float), not {what}")
    return _core.call_in_fixed_fp_state(float, value)


def check_real_kind(dtype: np.dtype, name: str = "positions") -> None:
    """Refuses a dtype whose values are not real numbers."""
    if dtype.kind not in _REAL_KINDS:
        raise TypeError(not_real(name) + f"an array of dtype {dtype}")


def check_shape(shape: tuple) -> None:
    """Refuses any shape of positions but (3,) and (K, 3), with a hint for
    (3, K)."""
    if len(shape) not in (1, 2) or shape[-1] != 3:
        hint = ""
        if len(shape) == 2 and shape[0] == 3:
            hint = ": a point per column, but points are rows: pass its transpose, positions.T, columns x, y, z"
        raise ValueError(f"positions must have shape (3,) or (K, 3), not {shape}{hint}")


def refuse_dask(value: Any, name: str, call: Call, verb: str = "is") -> None:
    """Refuses a dask collection (numpy would compute it at once, silently).
    dask need not be installed: a program that has not imported it holds
    no dask collection."""
    dask = sys.modules.get("dask")
    if dask is not None and dask.is_dask_collection(value):
        raise TypeError(
            f"{name} {verb} a dask {type(value).__name__}: {call.name} would compute it at once; {call.lazily}"
        )


def _scan_sequence(sequence: Any, name: str, call: Call) -> Tuple[str, bool]:
    """Nested lists and tuples of numbers, before numpy reads them: (what
    numpy would turn into a number silently: the first bool ("bool",
    "bool_") or array of bools ("an array of dtype bool"), or ""; whether
    they hold Python floats and ints alone).  A dask collection, which
    numpy would compute, is refused at once."""
    found = ""
    plain = True
    values = sequence
    # A level of nesting at a time, its values' types gathered by map and
    # set (a Python loop over each value would take longer than numpy's
    # own reading of them); no deeper than numpy's 32 dimensions, so that
    # a list that holds itself ends too (numpy then refuses it).
    for _ in range(32):
        kinds = set(map(type, values))
        if kinds <= _PLAIN_KINDS:
            break
        if not kinds <= _PLAIN_KINDS | _SEQUENCE_KINDS:
            plain = False
            for value in values:
                kind = type(value)
                if kind in _PLAIN_KINDS or kind in _SEQUENCE_KINDS:
                    continue
                if isinstance(value, (bool, np.bool_)):
                    found = found or kind.__name__
                elif isinstance(value, np.ndarray) and value.dtype.kind == "b":
                    found = found or f"an array of dtype {value.dtype}"
                else:
                    refuse_dask(value, name, call, "holds")
        nested = values if kinds <= _SEQUENCE_KINDS else [v for v in values if type(v) in _SEQUENCE_KINDS]
        values = list(itertools.chain.from_iterable(nested))
    return found, plain


def _as_array(values: Any, name: str, shapes: str) -> np.ndarray:
    """np.asarray(values), its refusal of ragged sequences in the
    package's words (shapes: the shapes it takes)."""
    try:
        return np.asarray(values)
    except ValueError as error:
        # Nested sequences of unequal lengths (or deeper than numpy goes).
        raise ValueError(f"{name} must have shape {shapes}: {error}") from None


def _converted(values: Any, bool_found: str, name: str, shapes: str, check: Any) -> np.ndarray:
    """values (not yet a float64 array) checked and converted to one;
    bool_found: what _scan_sequence found in them; check(shape) refuses a
    wrong shape.  numpy rounds what is not a double (an int64 beyond 2^53,
    a long double, a numpy integer in a list) in the caller's rounding
    mode: float64_array runs this in the fixed floating-point state
    wherever it may round."""
    array = _as_array(values, name, shapes)
    if bool_found and array.dtype.kind != "b":  # bools among numbers (all bools: refused by dtype)
        raise TypeError(not_real(name) + bool_found)
    if array.dtype.kind == "O":
        # Python objects (ints beyond 64 bits, fractions, None, ...): each
        # must be a real number, which float() then converts.
        for value in array.flat:
            if isinstance(value, bool) or not isinstance(value, numbers.Real):
                raise TypeError(not_real(name) + type(value).__name__)
    else:
        check_real_kind(array.dtype, name)
    check(array.shape)
    return array.astype(np.float64, copy=False)


def float64_array(values: Any, name: str, call: Call, shapes: str, check: Any) -> np.ndarray:
    """values as a float64 array of a shape check(shape) accepts (shapes
    says which), copied only where they must be converted; name is the
    argument's, call the caller's, in messages."""
    if type(values) is np.ndarray and values.dtype is _FLOAT64:  # the usual case, first
        check(values.shape)
        return values
    refuse_dask(values, name, call)
    bool_found = ""
    if isinstance(values, (list, tuple)):
        bool_found, plain = _scan_sequence(values, name, call)
        if plain:
            # Python floats and ints alone: numpy takes floats as they are
            # and rounds ints to float in software (int.__float__), in any
            # mode; an array of ints is left to be rounded below.
            array = _as_array(values, name, shapes)
            if array.dtype == _FLOAT64:
                check(array.shape)
                return array
            values = array
    return _core.call_in_fixed_fp_state(_converted, values, bool_found, name, shapes, check)


def positions(values: npt.ArrayLike, call: Call) -> np.ndarray:
    """positions as a float64 array of shape (3,) or (K, 3), copied only
    where the values must be converted."""
    return float64_array(values, "positions", call, "(3,) or (K, 3)", check_shape)
