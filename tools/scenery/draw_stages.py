"""Draws the four terrain pictures "stage1"-"stage4" from the game's own terrain tables.

Each terrain box (and stage 3's slope) becomes a solid piece of ground that covers exactly its
collider: body shaded with depth, strata, embedded stones, a grass or stone cap whose top is the
walkable line, and a plum outline drawn inside the shape. Only a few short grass blades rise
above the top line (TUFT_OVERHANG), and nothing is drawn where there is no collider.

Usage: draw_stages.py OUT_DIR
"""

import math
import sys
from dataclasses import dataclass, field
from typing import Callable, Optional

import cairo

import kit
import stage_layout

CORNER_RADIUS = 4      # px: rounding of a box's corners, small enough to keep its body solid
TUFT_OVERHANG = 4      # px: the most a grass blade may rise above the walkable line
STRATA_STEP = 8        # px: sampling step along strata and cap edges
MAX_SHADE_DEPTH = 160  # px: below this depth the earth keeps its deepest colour


@dataclass
class Theme:
    """The look of one stage's ground."""
    top: tuple              # body colour just under the cap
    deep: tuple             # body colour at MAX_SHADE_DEPTH and below
    strata: tuple           # colour of the alternate rock layers
    cap: tuple              # grass, sand or stone lip along the walkable line
    cap_shade: tuple        # lower part of the cap
    rim: tuple              # rim light on the walkable line
    stones: list            # colours of embedded stones
    cap_depth: int = 12     # px
    stone_density: float = 1 / 2600  # stones per px² of body
    tuft: Optional[tuple] = None      # grass blade colour; None means bare rock
    detail: Optional[Callable] = None  # extra per-piece decoration (roots, runes, cracks)


@dataclass
class Piece:
    """A solid piece of terrain: its outline path, bounds and walkable top line."""
    path: Callable          # ctx -> adds the outline to the current path
    left: float
    top_left: float         # y of the walkable line at `left`
    right: float
    top_right: float        # y of the walkable line at `right`
    bottom: float
    walkable: bool = True
    seed: int = 0
    extras: dict = field(default_factory=dict)

    def top_at(self, x):
        t = (x - self.left) / (self.right - self.left)
        return self.top_left + (self.top_right - self.top_left) * t

    def normal(self):
        """Unit vector pointing into the ground, perpendicular to the walkable line."""
        dx, dy = self.right - self.left, self.top_right - self.top_left
        length = math.hypot(dx, dy)
        return -dy / length, dx / length


def box_piece(box, seed):
    def path(ctx):
        kit.rounded_rect(ctx, box.left, box.top, box.right - box.left, box.bottom - box.top,
                         CORNER_RADIUS)
    return Piece(path, box.left, box.top, box.right, box.top, box.bottom,
                 walkable=not box.not_ground, seed=seed)


def slope_piece(slope):
    def path(ctx):
        ctx.move_to(0, slope.top_left_y)
        ctx.line_to(slope.right_x, slope.top_right_y)
        ctx.line_to(slope.right_x, slope.bottom_y)
        ctx.line_to(0, slope.bottom_y)
        ctx.close_path()
    return Piece(path, 0, slope.top_left_y, slope.right_x, slope.top_right_y, slope.bottom_y,
                 seed=3)


def span(piece, width):
    """The x range of a piece that lies inside the picture."""
    return max(piece.left, 0), min(piece.right, width)


def wavy_line(piece, rng, depth, amplitude, width):
    """Points along the piece at a given depth under its walkable line, gently waving."""
    wavelength, phase = rng.uniform(90, 260), rng.uniform(0, 2 * math.pi)
    x0, x1 = span(piece, width)
    points = []
    x = x0 - STRATA_STEP
    while x <= x1 + STRATA_STEP:
        wobble = amplitude * math.sin(2 * math.pi * x / wavelength + phase)
        points.append((x, piece.top_at(x) + depth + wobble))
        x += STRATA_STEP
    return points


def shade_body(ctx, piece, theme):
    """Fill the piece with earth that darkens with depth under the walkable line."""
    nx, ny = piece.normal()
    x0, y0 = piece.left, piece.top_left
    shade = cairo.LinearGradient(x0, y0, x0 + nx * MAX_SHADE_DEPTH, y0 + ny * MAX_SHADE_DEPTH)
    kit.gradient(shade, [(0, theme.top), (1, theme.deep)])
    piece.path(ctx)
    ctx.set_source(shade)
    ctx.fill()


def draw_strata(ctx, piece, theme, rng, width):
    """Alternate rock layers running parallel to the walkable line."""
    depth = theme.cap_depth + rng.uniform(8, 16)
    thickness_span = max(piece.bottom - min(piece.top_left, piece.top_right), 1)
    while depth < thickness_span + 400:
        thickness = rng.uniform(5, 12) + depth * 0.04
        upper = wavy_line(piece, rng, depth, rng.uniform(1.5, 4), width)
        lower = wavy_line(piece, rng, depth + thickness, rng.uniform(1.5, 4), width)
        ctx.move_to(*upper[0])
        for point in upper[1:] + lower[::-1]:
            ctx.line_to(*point)
        ctx.close_path()
        kit.set_colour(ctx, theme.strata, 0.55)
        ctx.fill()
        depth += thickness + rng.uniform(14, 30) + depth * 0.05


def stone(ctx, rng, x, y, rx, ry, body):
    """An embedded stone: an irregular rounded polygon, plum-edged, lit along its upper lip."""
    corners = rng.randint(5, 8)
    turn = rng.uniform(0, 2 * math.pi)
    points = []
    for i in range(corners):
        a = turn + 2 * math.pi * i / corners
        jitter = rng.uniform(0.75, 1.0)
        points.append((x + rx * jitter * math.cos(a), y + ry * jitter * math.sin(a)))
    ctx.move_to(*points[0])
    for point in points[1:]:
        ctx.line_to(*point)
    ctx.close_path()
    ctx.set_source(kit.vertical(y - ry, y + ry, [(0, kit.mix(body, "cream", 0.3)), (1, body)]))
    ctx.fill_preserve()
    kit.set_colour(ctx, "outline", 0.8)
    ctx.set_line_width(1.6)
    ctx.stroke()


def draw_stones(ctx, piece, theme, rng, width):
    x0, x1 = span(piece, width)
    area = (x1 - x0) * (piece.bottom - min(piece.top_left, piece.top_right))
    for _ in range(int(area * theme.stone_density)):
        rx = rng.choice((3, 4, 5, 6, 7, 9, 12)) * rng.uniform(0.8, 1.2)
        ry = rx * rng.uniform(0.5, 0.8)
        if x1 - x0 < 2 * rx + 12:
            continue
        x = rng.uniform(x0 + rx + 6, x1 - rx - 6)
        top = piece.top_at(x) + theme.cap_depth + ry + 4
        bottom = piece.bottom - ry - 4
        if bottom <= top:
            continue
        stone(ctx, rng, x, rng.uniform(top, bottom), rx, ry, rng.choice(theme.stones))


def cap_edge(piece, rng, theme, width):
    """The ragged lower edge of the cap: a gentle wave with the odd drip hanging from it."""
    points = wavy_line(piece, rng, theme.cap_depth, 1.5, width)
    for i in range(1, len(points) - 1):
        if rng.random() < 0.18:
            x, y = points[i]
            points[i] = (x, y + rng.uniform(3, 7))
    return points


def draw_cap(ctx, piece, theme, rng, width):
    """The grass, sand or stone lip whose top edge is the walkable line."""
    edge = cap_edge(piece, rng, theme, width)
    x0, x1 = span(piece, width)
    ctx.move_to(x0 - STRATA_STEP, piece.top_at(x0 - STRATA_STEP) - 1)
    ctx.line_to(x1 + STRATA_STEP, piece.top_at(x1 + STRATA_STEP) - 1)
    for point in edge[::-1]:
        ctx.line_to(*point)
    ctx.close_path()
    nx, ny = piece.normal()
    x, y = piece.left, piece.top_left
    shade = cairo.LinearGradient(x, y, x + nx * theme.cap_depth, y + ny * theme.cap_depth)
    ctx.set_source(kit.gradient(shade, [(0, theme.cap), (1, theme.cap_shade)]))
    ctx.fill()
    # A soft shadow under the lip gives it some thickness.
    ctx.move_to(*edge[0])
    for point in edge[1:]:
        ctx.line_to(*point)
    kit.set_colour(ctx, "outline", 0.35)
    ctx.set_line_width(3)
    ctx.stroke()
    # Rim light: the low sun catching the walkable edge.
    ctx.move_to(x0, piece.top_at(x0) + 4)
    ctx.line_to(x1, piece.top_at(x1) + 4)
    kit.set_colour(ctx, theme.rim, 0.75)
    ctx.set_line_width(2)
    ctx.stroke()


def blade(ctx, x, base_y, tip_x, tip_y, half_width, value):
    mid_y = base_y - (base_y - tip_y) * 0.5
    ctx.move_to(x - half_width, base_y)
    ctx.curve_to(x - half_width, mid_y, x, mid_y, tip_x, tip_y)
    ctx.curve_to(x + half_width * 0.3, mid_y, x + half_width, mid_y, x + half_width, base_y)
    ctx.close_path()
    kit.set_colour(ctx, value)
    ctx.fill_preserve()
    kit.set_colour(ctx, "outline", 0.5)
    ctx.set_line_width(0.8)
    ctx.stroke()


def draw_tufts(ctx, piece, theme, rng, width):
    """Clumps of grass rooted at the foot of the cap; their tips rise at most TUFT_OVERHANG px
    above the walkable line, so they read as grass without looking like a ledge."""
    x0, x1 = span(piece, width)
    x = x0 + rng.uniform(4, 20)
    while x < x1 - 6:
        surface = piece.top_at(x)
        for _ in range(rng.randint(4, 8)):
            bx = x + rng.uniform(-7, 7)
            lean = rng.uniform(-6, 6)
            tip = surface - rng.uniform(0, TUFT_OVERHANG)
            shade = kit.mix(theme.tuft, "cream", rng.uniform(0, 0.35))
            blade(ctx, bx, surface + theme.cap_depth, bx + lean, tip, rng.uniform(1.4, 2.4),
                  shade)
        x += rng.uniform(16, 48)


def shade_sides(ctx, piece):
    """Light on the left face, shadow on the right and under a ledge: the rock gets volume."""
    sides = cairo.LinearGradient(piece.left, 0, piece.right, 0)
    edge = min(0.45, 16 / max(piece.right - piece.left, 1))
    kit.gradient(sides, [(0, "gold", 0.3), (edge, "gold", 0), (1 - edge, "plum", 0),
                         (1, "plum", 0.45)])
    ctx.set_source(sides)
    ctx.paint()
    under = kit.vertical(piece.bottom - 14, piece.bottom, [(0, "plum", 0), (1, "plum", 0.45)])
    ctx.set_source(under)
    ctx.paint()


def draw_piece(ctx, piece, theme, width):
    rng = kit.seeded(f"piece{piece.seed}")
    shade_body(ctx, piece, theme)
    ctx.save()
    piece.path(ctx)
    ctx.clip()
    draw_strata(ctx, piece, theme, rng, width)
    draw_stones(ctx, piece, theme, rng, width)
    if theme.detail:
        theme.detail(ctx, piece, rng, width)
    shade_sides(ctx, piece)
    if piece.walkable:
        draw_cap(ctx, piece, theme, rng, width)
    piece.path(ctx)
    kit.stroke_inside(ctx, kit.OUTLINE_WIDTH, "outline")
    ctx.new_path()
    ctx.restore()
    if piece.walkable and theme.tuft:
        ctx.save()
        # Tufts may not spill past the box's sides, only a few pixels above its top.
        ctx.rectangle(piece.left + 2, min(piece.top_left, piece.top_right) - TUFT_OVERHANG,
                      piece.right - piece.left - 4, piece.bottom - piece.top_left + TUFT_OVERHANG)
        ctx.clip()
        draw_tufts(ctx, piece, theme, rng, width)
        ctx.restore()


# Stage details ---------------------------------------------------------------------------

def cliff_face(ctx, piece, rng, width):
    """Walls: vertical joints and a lit left face, so they read as a cliff, not a floor."""
    if piece.walkable:
        return
    x = piece.left + rng.uniform(14, 30)
    while x < piece.right - 10:
        ctx.move_to(x, piece.top_left)
        y = piece.top_left
        while y < piece.bottom:
            y += rng.uniform(20, 50)
            ctx.line_to(x + rng.uniform(-4, 4), y)
        kit.set_colour(ctx, "outline", 0.45)
        ctx.set_line_width(2)
        ctx.stroke()
        x += rng.uniform(22, 40)
    light = cairo.LinearGradient(piece.left, 0, piece.left + 40, 0)
    ctx.set_source(kit.gradient(light, [(0, "gold", 0.45), (1, "gold", 0)]))
    ctx.rectangle(piece.left, piece.top_left, 40, piece.bottom - piece.top_left)
    ctx.fill()


def roots(ctx, piece, rng, width):
    """Tree roots threading down from the forest floor."""
    x0, x1 = span(piece, width)
    x = x0 + rng.uniform(30, 120)
    while x < x1 - 30:
        y = piece.top_at(x) + 10
        ctx.move_to(x, y)
        thickness = rng.uniform(4, 8)
        for _ in range(rng.randint(4, 8)):
            nx, ny = x + rng.uniform(-30, 30), y + rng.uniform(14, 36)
            ctx.curve_to(x + rng.uniform(-12, 12), y + 8, nx + rng.uniform(-12, 12), ny - 8,
                         nx, ny)
            x, y = nx, ny
        kit.set_colour(ctx, "outline", 0.9)
        ctx.set_line_width(thickness + 3)
        ctx.stroke_preserve()
        kit.set_colour(ctx, kit.mix("loam", "ochre_dark", 0.35))
        ctx.set_line_width(thickness)
        ctx.stroke()
        x += rng.uniform(90, 300)


def runes(ctx, piece, rng, width):
    """A glowing inlay along each arena slab: a line with diamonds, lit from within."""
    y = (piece.top_left + piece.bottom) / 2 + 3
    x0, x1 = piece.left + 12, piece.right - 12
    for line_width, alpha in ((6, 0.25), (2, 0.9)):
        ctx.move_to(x0, y)
        ctx.line_to(x1, y)
        kit.set_colour(ctx, "teal_glow", alpha)
        ctx.set_line_width(line_width)
        ctx.stroke()
    x = x0 + 18
    while x < x1 - 10:
        kit.glow(ctx, x, y, 9, "teal_glow", 0.5)
        ctx.move_to(x, y - 4)
        for dx, dy in ((4, 4), (-4, 4), (-4, -4)):
            ctx.rel_line_to(dx, dy)
        ctx.close_path()
        kit.set_colour(ctx, "cream")
        ctx.fill()
        x += rng.uniform(34, 52)


THEMES = {
    # Savanna at golden hour: ochre earth under sun-bleached grass.
    1: Theme(top=kit.rgb("ochre_dark"), deep=kit.mix("terracotta_dark", "plum", 0.35),
             strata=kit.rgb("terracotta"), cap=kit.rgb("gold"), cap_shade=kit.rgb("ochre"),
             rim=kit.rgb("cream"), stones=[kit.mix("sand_dark", "terracotta", 0.3),
                                           kit.mix("ochre_dark", "sand", 0.4),
                                           kit.mix("terracotta", "sand", 0.35)],
             tuft=kit.mix("gold", "ochre", 0.3), detail=cliff_face),
    # Canyon at dusk: banded sandstone ledges with a dusty lip.
    2: Theme(top=kit.rgb("terracotta"), deep=kit.mix("terracotta_dark", "plum", 0.5),
             strata=kit.rgb("rust"), cap=kit.rgb("sand"), cap_shade=kit.rgb("sand_dark"),
             rim=kit.rgb("cream"), stones=[kit.rgb("sand_dark"), kit.mix("rust", "sand", 0.4)],
             cap_depth=10, stone_density=1 / 3200, tuft=kit.mix("olive", "ochre", 0.5)),
    # Forest hillside at sunset: dark loam, roots and a mossy crest.
    3: Theme(top=kit.mix("loam", "ochre_dark", 0.3), deep=kit.rgb("loam_dark"),
             strata=kit.mix("loam", "plum", 0.5), cap=kit.mix("olive", "gold", 0.3),
             cap_shade=kit.rgb("moss"), rim=kit.rgb("gold"),
             stones=[kit.mix("plum_light", "sand", 0.35), kit.mix("teal_dark", "sand", 0.3)],
             cap_depth=18, stone_density=1 / 7000, tuft=kit.mix("olive", "gold", 0.45),
             detail=roots),
    # The night arena: slate slabs with a teal inlay and a cold rim.
    4: Theme(top=kit.mix("indigo", "plum_light", 0.4), deep=kit.rgb("indigo_deep"),
             strata=kit.rgb("indigo"), cap=kit.mix("teal", "cream", 0.25),
             cap_shade=kit.rgb("teal_dark"), rim=kit.rgb("teal_glow"),
             stones=[kit.rgb("plum")], cap_depth=6, stone_density=0, detail=runes),
}


def pieces_for(stage, terrain, slope):
    if stage == 3:
        return [slope_piece(slope)]
    return [box_piece(box, stage * 100 + i) for i, box in enumerate(terrain[stage])]


def draw_stage(stage, size, terrain, slope, out_path):
    width, height = size
    surface, ctx = kit.new_canvas(width, height)
    for piece in pieces_for(stage, terrain, slope):
        draw_piece(ctx, piece, THEMES[stage], width)
    kit.save(surface, out_path)


def main(out_dir):
    sizes, terrain, slope = stage_layout.load()
    for stage in (1, 2, 3, 4):
        draw_stage(stage, sizes[stage - 1], terrain, slope, f"{out_dir}/stage{stage}.png")


if __name__ == "__main__":
    main(sys.argv[1])
