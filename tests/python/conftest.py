"""Shared inputs of the slitform module's tests: a grid, a square, the examples."""
import os
import pathlib

import numpy as np
import pytest


@pytest.fixture
def examples():
    return pathlib.Path(os.environ["SLITFORM_EXAMPLES"])


def grid(n):
    """n x n unit quads in z = 0, counter-clockwise from +z: (vertices, (n*n, 4) faces)."""
    xs, ys = np.meshgrid(np.arange(n + 1.0), np.arange(n + 1.0))
    vertices = np.stack([xs.ravel(), ys.ravel(), np.zeros(xs.size)], axis=1)
    a = (np.arange(n)[None, :] + (n + 1) * np.arange(n)[:, None]).ravel()
    faces = np.stack([a, a + 1, a + n + 2, a + n + 1], axis=1)
    return vertices, faces


def square(cx, cy, half=1.0):
    return np.array([[cx - half, cy - half, 0], [cx + half, cy - half, 0],
                     [cx + half, cy + half, 0], [cx - half, cy + half, 0]], dtype=float)
