"""Type stubs of the slitform module: cut polygon meshes along the lines of a shape."""
from os import PathLike
from types import SimpleNamespace
from typing import Any, Callable, Literal, Optional, Sequence, Tuple, Union, overload

import numpy as np
import numpy.typing as npt

_Path = Union[str, PathLike]
_Faces = Union[npt.ArrayLike, Sequence[npt.ArrayLike], Tuple[npt.ArrayLike, npt.ArrayLike]]
_Shape = Union[_Path, Sequence[Any]]
_Progress = Callable[[int, int, float], Any]

class Error(ValueError):
    code: str
    """bad_input, bad_parameter, unreadable_file, unwritable_file, plugin_missing,
    cut_failed, cancelled or out_of_memory."""

class Mesh:
    def __init__(self, vertices: npt.ArrayLike, faces: _Faces, *,
                 materials: Optional[npt.ArrayLike] = None,
                 uvs: Optional[npt.ArrayLike] = None,
                 normals: Optional[npt.ArrayLike] = None,
                 colors: Optional[npt.ArrayLike] = None,
                 material_names: Sequence[str] = ...,
                 groups: Optional[npt.ArrayLike] = None,
                 group_names: Sequence[str] = ...,
                 name: str = "", up: Literal["z", "y"] = "z") -> None: ...
    @property
    def vertices(self) -> np.ndarray: ...
    @property
    def faces(self) -> Union[np.ndarray, Tuple[np.ndarray, np.ndarray]]: ...
    @property
    def face_offsets(self) -> np.ndarray: ...
    @property
    def face_indices(self) -> np.ndarray: ...
    @property
    def face_count(self) -> int: ...
    @property
    def materials(self) -> np.ndarray: ...
    @property
    def uvs(self) -> Optional[np.ndarray]: ...
    @property
    def normals(self) -> Optional[np.ndarray]: ...
    @property
    def colors(self) -> Optional[np.ndarray]: ...
    @property
    def groups(self) -> Optional[np.ndarray]: ...
    material_names: list[str]
    group_names: list[str]
    name: str
    up: Literal["z", "y"]

@overload
def cut(mesh: Mesh, shape: _Shape, *, shape_transform: Optional[npt.ArrayLike] = None,
        up: Optional[Literal["z", "y"]] = None, steps: int = 6, progress: Optional[_Progress] = None, plugin: Optional[_Path] = None,
        remove_unused: Optional[bool] = None, weld_on: Optional[bool] = None,
        weld: Optional[float] = None, open: Optional[bool] = None,
        local: Optional[bool] = None, collinear_on: Optional[bool] = None,
        collinear: Optional[float] = None, through: Optional[bool] = None,
        matid_on: Optional[bool] = None, matid: Optional[int] = None,
        sel_level: Optional[int] = None, min_angle: Optional[float] = None) -> SimpleNamespace:
    """Cut mesh along shape; the result has mesh, vertices, faces, materials,
    selected_vertices, selected_edges, cut_edges, selected_faces and report."""
    ...
@overload
def cut(vertices: npt.ArrayLike, faces: _Faces, shape: _Shape, *,
        materials: Optional[npt.ArrayLike] = None,
        shape_transform: Optional[npt.ArrayLike] = None, up: Optional[Literal["z", "y"]] = None,
        steps: int = 6,
        progress: Optional[_Progress] = None, plugin: Optional[_Path] = None,
        remove_unused: Optional[bool] = None, weld_on: Optional[bool] = None,
        weld: Optional[float] = None, open: Optional[bool] = None,
        local: Optional[bool] = None, collinear_on: Optional[bool] = None,
        collinear: Optional[float] = None, through: Optional[bool] = None,
        matid_on: Optional[bool] = None, matid: Optional[int] = None,
        sel_level: Optional[int] = None, min_angle: Optional[float] = None) -> SimpleNamespace: ...
def parameters(plugin: Optional[_Path] = None) -> list[dict[str, Any]]: ...
def read_mesh(path: _Path) -> Mesh: ...
def read_shape(path: _Path) -> list[dict[str, Any]]: ...
def write_mesh(path: _Path, mesh: Any, faces: Optional[_Faces] = None,
               materials: Optional[npt.ArrayLike] = None) -> None: ...
