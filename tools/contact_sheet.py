"""Writes a contact sheet of every picture the game loads: python3 contact_sheet.py OUT.png

Each picture of assets/assets_list.json is shown on a checkerboard (so transparency shows),
scaled down to fit, with its name, size and the scale the game draws it at; a red cross marks
the pivot the game places it by. A listed picture whose file is missing gets a red cell.
Screenshots of the running game found in tools/out/screens/ are added at the end.
"""
import glob
import json
import math
import os
import sys

import cairo

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SHEET_WIDTH = 1640
MAX_THUMB_HEIGHT = 190
MAX_THUMB_WIDTH = 780
LABEL_HEIGHT = 34
GAP = 14
SECTION_HEIGHT = 30

# (pivot x, pivot y, scale drawn at) for the pictures the game does not draw at their corner
PIVOTS = {
    "enemy": (64, 128, 0.75),
    "enemy_boss": (300, 300, 0.75),
    "water_particle": (8, 8, 1.0),
}
HERO_PIVOT = (256, 384, 0.5)

SECTIONS = [
    ("Screens", lambda n: n in ("title", "gameover")),
    ("Backgrounds", lambda n: n.startswith("panorama")),
    ("Stage terrain", lambda n: n.startswith("stage")),
    ("Overlay", lambda n: n.startswith("hud")),
    ("Hero", lambda n: n.startswith("serval_cat")),
    ("Foes and liquid", lambda n: True),
]


def pivot_of(name):
    if name.startswith("serval_cat"):
        return HERO_PIVOT
    return PIVOTS.get(name, (0, 0, 1.0))


def checkerboard(ctx, x, y, w, h, size=8):
    ctx.save()
    ctx.rectangle(x, y, w, h)
    ctx.clip()
    ctx.set_source_rgb(0.93, 0.93, 0.93)
    ctx.paint()
    ctx.set_source_rgb(0.80, 0.80, 0.82)
    for j in range(int(math.ceil(h / size))):
        for i in range(int(math.ceil(w / size))):
            if (i + j) % 2:
                ctx.rectangle(x + i * size, y + j * size, size, size)
    ctx.fill()
    ctx.restore()


def thumb_size(width, height):
    # tiny pictures (the liquid drop) are enlarged so that they can be judged at all
    enlarge = max(1.0, 64.0 / max(width, height))
    scale = min(MAX_THUMB_HEIGHT / height, MAX_THUMB_WIDTH / width, enlarge)
    return scale, max(1, int(width * scale)), max(1, int(height * scale))


def label(ctx, x, y, text, size=12, colour=(0.1, 0.08, 0.12)):
    ctx.select_font_face("DejaVu Sans", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    ctx.set_source_rgb(*colour)
    ctx.move_to(x, y)
    ctx.show_text(text)


def mark_pivot(ctx, x, y):
    ctx.set_line_width(1.5)
    ctx.set_source_rgb(0.9, 0.05, 0.1)
    for dx, dy in ((-7, 0), (0, -7)):
        ctx.move_to(x + dx, y + dy)
        ctx.line_to(x - dx, y - dy)
    ctx.stroke()
    ctx.arc(x, y, 3, 0, 2 * math.pi)
    ctx.stroke()


class Cell:
    def __init__(self, name, path, caption=None, pivot=None):
        self.name = name
        self.surface = cairo.ImageSurface.create_from_png(path) if os.path.exists(path) else None
        self.caption = caption
        self.pivot = pivot
        if self.surface:
            w, h = self.surface.get_width(), self.surface.get_height()
            self.scale, self.w, self.h = thumb_size(w, h)
        else:
            self.scale, self.w, self.h = 1.0, 150, 80

    def width(self):
        return max(self.w, 150)

    def draw(self, ctx, x, y):
        if self.surface is None:
            ctx.set_source_rgb(0.85, 0.2, 0.2)
            ctx.rectangle(x, y, self.w, self.h)
            ctx.fill()
            label(ctx, x + 8, y + 45, "missing", 14, (1, 1, 1))
        else:
            checkerboard(ctx, x, y, self.w, self.h)
            ctx.save()
            ctx.translate(x, y)
            ctx.scale(self.scale, self.scale)
            ctx.set_source_surface(self.surface, 0, 0)
            ctx.get_source().set_filter(cairo.FILTER_GOOD)
            ctx.paint()
            ctx.restore()
            if self.pivot:
                mark_pivot(ctx, x + self.pivot[0] * self.scale, y + self.pivot[1] * self.scale)
        label(ctx, x, y + self.h + 14, self.name)
        if self.caption:
            label(ctx, x, y + self.h + 28, self.caption, 10, (0.35, 0.3, 0.4))


def picture_cells():
    with open(os.path.join(ROOT, "assets", "assets_list.json")) as f:
        bitmaps = json.load(f)["bitmap"]
    cells = {}
    for name, file_name in bitmaps.items():
        path = os.path.join(ROOT, "assets", file_name)
        px, py, scale = pivot_of(name)
        cell = Cell(name, path, pivot=(px, py))
        if cell.surface:
            cell.caption = "%d x %d, pivot (%d, %d), drawn x%g" % (
                cell.surface.get_width(), cell.surface.get_height(), px, py, scale)
        cells[name] = cell
    grouped = []
    for title, belongs in SECTIONS:
        names = sorted(n for n in cells if belongs(n))
        grouped.append((title, [cells.pop(n) for n in names]))
    return grouped


def screenshot_cells():
    shots = sorted(glob.glob(os.path.join(ROOT, "tools", "out", "screens", "*.png")))
    return [("Running game", [Cell(os.path.basename(p), p) for p in shots])] if shots else []


def layout(sections):
    """Rows of cells packed left to right; returns the placements and the sheet height."""
    placed = []
    y = GAP
    for title, cells in sections:
        if not cells:
            continue
        placed.append(("title", title, GAP, y))
        y += SECTION_HEIGHT
        x, row_h = GAP, 0
        for cell in cells:
            if x + cell.width() > SHEET_WIDTH - GAP and x > GAP:
                x, y = GAP, y + row_h + LABEL_HEIGHT + GAP
                row_h = 0
            placed.append(("cell", cell, x, y))
            x += cell.width() + GAP
            row_h = max(row_h, cell.h)
        y += row_h + LABEL_HEIGHT + GAP
    return placed, y


def main(out_path):
    sections = picture_cells() + screenshot_cells()
    placed, height = layout(sections)
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, SHEET_WIDTH, int(height))
    ctx = cairo.Context(surface)
    ctx.set_source_rgb(1, 1, 1)
    ctx.paint()
    for kind, item, x, y in placed:
        if kind == "title":
            label(ctx, x, y + 20, item, 18)
        else:
            item.draw(ctx, x, y)
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    surface.write_to_png(out_path)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: contact_sheet.py OUT.png")
    main(sys.argv[1])
