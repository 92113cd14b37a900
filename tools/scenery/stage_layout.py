"""Reads the stage terrain straight from src/world/stage_layout.h, the header the game compiles.

The pictures are drawn from these rows, so a box moved in the header moves in the picture at
the next regeneration: the ground a player sees and the ground it stands on stay the same.
"""

import os
import re
from dataclasses import dataclass

HEADER = os.path.join(os.path.dirname(__file__), "..", "..", "src", "world", "stage_layout.h")

_ROW = re.compile(r"\{\s*(-?\d+)\s*,\s*(-?\d+)\s*,\s*(-?\d+)\s*,\s*(-?\d+)\s*,\s*(true|false)\s*\}")
_SIZE = re.compile(r"\{\s*(\d+)\s*,\s*(\d+)\s*\}")
_SLOPE = re.compile(r"constexpr\s+int\s+kStage3Slope(\w+)\s*=\s*(-?\d+)\s*;")


@dataclass(frozen=True)
class Box:
    """A terrain box in stage pixels, corners sorted: left < right, top < bottom (y down)."""
    left: int
    top: int
    right: int
    bottom: int
    not_ground: bool


@dataclass(frozen=True)
class Slope:
    """Stage 3's slope: bottom edge at bottom_y from x 0 to right_x, top edge falling from
    top_left_y at x 0 to top_right_y at right_x."""
    bottom_y: int
    right_x: int
    top_left_y: int
    top_right_y: int

    def top_at(self, x):
        return self.top_left_y + (self.top_right_y - self.top_left_y) * x / self.right_x


def _table(text, name):
    """The body of `constexpr std::array<...> name = {{ ... }};`."""
    match = re.search(name + r"\s*=\s*\{\{(.*?)\}\};", text, re.S)
    if match is None:
        raise ValueError(f"{name} not found in {HEADER}")
    return match.group(1)


def _boxes(text, name):
    boxes = []
    for x1, y1, x2, y2, flag in _ROW.findall(_table(text, name)):
        x1, y1, x2, y2 = int(x1), int(y1), int(x2), int(y2)
        boxes.append(Box(min(x1, x2), min(y1, y2), max(x1, x2), max(y1, y2), flag == "true"))
    return boxes


def load(header=HEADER):
    """Picture sizes [(w, h)] per stage, terrain boxes per stage (stage 3: none) and the slope."""
    with open(header, encoding="utf-8") as f:
        text = f.read()
    sizes = [(int(w), int(h)) for w, h in _SIZE.findall(_table(text, "kPictureSizes"))]
    slope_values = {key: int(value) for key, value in _SLOPE.findall(text)}
    slope = Slope(slope_values["BottomY"], slope_values["RightX"], slope_values["TopLeftY"],
                  slope_values["TopRightY"])
    terrain = {1: _boxes(text, "kStage1Terrain"), 2: _boxes(text, "kStage2Terrain"), 3: [],
               4: _boxes(text, "kStage4Terrain")}
    return sizes, terrain, slope
