"""Draws the overlay: the health gauge "hud_fill", its frame "hud" and the weapon plates
"hud_wl" (light weapon) and "hud_wh" (heavy weapon).

The frame and the fill are both placed at (20, 20) on the screen, so their point (75, 75) is
the gauge's centre. The game blackens lost health as a pie slice of radius 70 over the fill,
so the frame keeps that disc clear and frames it from radius 70 outwards: a medallion with
cat's ears, and a banner running right to where the weapon plate shows at (265, 105).

Usage: draw_overlay.py OUT_DIR
"""

import math
import sys

import cairo

import kit

GAUGE_CENTRE = 75        # px: the gauge's centre, in both the frame and the fill
GAUGE_RADIUS = 70        # px: the disc the game blackens, pixel by pixel
RING_INNER = 71.5        # px: the frame starts here, so no pixel of the gauge disc is covered
FILL_RADIUS = 75         # px: the fill reaches under the frame's ring
RING_OUTER = 75          # px: the frame's ring, from RING_INNER to here
FRAME_SIZE = (262, 150)  # px: medallion plus the banner that runs toward the weapon plate
PLATE_LEFT = 245         # px: where the weapon plate starts, in frame coordinates
BANNER_TOP, BANNER_BOTTOM = 88, 122
PLATE_SIZE = (120, 40)
ICON_SCALE = 0.85        # weapon icons fit inside their 30 px tile
EAR_TIP = 98             # px from the centre: ears stay inside the frame picture


def ear(ctx, angle):
    """A cat's ear standing on the medallion's rim, pointing out along angle."""
    c = GAUGE_CENTRE

    def at(a, r):
        return c + r * math.cos(a), c + r * math.sin(a)

    base_a, base_b, tip = at(angle - 0.24, 74), at(angle + 0.24, 74), at(angle, EAR_TIP)
    inner = (at(angle - 0.12, 76), at(angle, EAR_TIP - 8), at(angle + 0.12, 76))
    for points, fill, width in (((base_a, tip, base_b), "ochre", kit.OUTLINE_WIDTH),
                                (inner, "rose", 0)):
        ctx.move_to(*points[0])
        for point in points[1:]:
            ctx.line_to(*point)
        ctx.close_path()
        kit.set_colour(ctx, fill)
        if width:
            ctx.fill_preserve()
            kit.set_colour(ctx, "outline")
            ctx.set_line_width(width)
            ctx.stroke()
        else:
            ctx.fill()


def ring(ctx):
    """The medallion's rim: a bronze band with a dark outer edge; its dark inner edge is part of
    the fill picture, so it lies outside the disc the game blackens."""
    c = GAUGE_CENTRE
    ctx.new_sub_path()
    ctx.arc(c, c, RING_OUTER, 0, 2 * math.pi)
    ctx.new_sub_path()
    ctx.arc_negative(c, c, RING_INNER, 2 * math.pi, 0)
    ctx.set_source(kit.vertical(0, 2 * c, [(0, "gold"), (0.5, "ochre"), (1, "ochre_dark")]))
    ctx.fill()
    ctx.arc(c, c, RING_OUTER - 0.6, 0, 2 * math.pi)
    kit.set_colour(ctx, "outline")
    ctx.set_line_width(1.2)
    ctx.stroke()


def banner(ctx):
    """The ribbon from the medallion to the weapon plate, ending in a swallowtail."""
    left, right = GAUGE_CENTRE + 60, FRAME_SIZE[0] - 3
    top, bottom = BANNER_TOP, BANNER_BOTTOM
    middle = (top + bottom) / 2
    ctx.move_to(left, top)
    ctx.line_to(right, top)
    ctx.line_to(right - 12, middle)
    ctx.line_to(right, bottom)
    ctx.line_to(left, bottom)
    ctx.close_path()
    ctx.set_source(kit.vertical(top, bottom, [(0, "terracotta"), (1, "terracotta_dark")]))
    ctx.fill_preserve()
    kit.set_colour(ctx, "outline")
    ctx.set_line_width(kit.OUTLINE_WIDTH)
    ctx.stroke()
    for y in (top + 5, bottom - 5):
        ctx.move_to(left, y)
        ctx.line_to(right - 10 - 12 * (abs(y - middle) < 1), y)
        kit.set_colour(ctx, "gold", 0.8)
        ctx.set_line_width(1.5)
        ctx.stroke()
    paw(ctx, 195, middle, 7)


def paw(ctx, x, y, size):
    """A paw print: the hero's mark on the banner."""
    kit.set_colour(ctx, "cream", 0.9)
    ctx.save()
    ctx.translate(x, y + size * 0.35)
    ctx.scale(size, size * 0.8)
    ctx.arc(0, 0, 0.8, 0, 2 * math.pi)
    ctx.restore()
    ctx.fill()
    for dx, dy in ((-1.05, -0.75), (-0.38, -1.25), (0.38, -1.25), (1.05, -0.75)):
        ctx.arc(x + dx * size, y + dy * size, size * 0.33, 0, 2 * math.pi)
        ctx.fill()


def draw_frame(path):
    surface, ctx = kit.new_canvas(*FRAME_SIZE)
    # Nothing of the frame may cover the gauge: the game shows the health disc through it.
    ctx.rectangle(0, 0, *FRAME_SIZE)
    ctx.new_sub_path()
    ctx.arc(GAUGE_CENTRE, GAUGE_CENTRE, RING_INNER, 0, 2 * math.pi)
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    ctx.clip()
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)
    banner(ctx)
    for angle in (-math.pi * 0.72, -math.pi * 0.28):
        ear(ctx, angle)
    ring(ctx)
    kit.save(surface, path)


def draw_fill(path):
    """A glowing ember-red disc of life, brightest up and to the left, with a glassy sheen."""
    size = 2 * GAUGE_CENTRE
    surface, ctx = kit.new_canvas(size, size)
    c = GAUGE_CENTRE
    ctx.arc(c, c, FILL_RADIUS, 0, 2 * math.pi)
    ctx.set_source(kit.radial(c - 18, c - 22, FILL_RADIUS + 28,
                              [(0, "gold"), (0.35, "ember"), (0.75, "terracotta_dark"),
                               (1, kit.mix("terracotta_dark", "plum", 0.6))]))
    ctx.fill()
    for r, alpha in ((52, 0.22), (34, 0.18)):
        ctx.arc(c, c, r, 0, 2 * math.pi)
        kit.set_colour(ctx, "gold", alpha)
        ctx.set_line_width(1.5)
        ctx.stroke()
    ctx.save()
    ctx.translate(c - 16, c - 34)
    ctx.scale(36, 18)
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()
    ctx.set_source(kit.vertical(c - 52, c - 16, [(0, "cream", 0.55), (1, "cream", 0)]))
    ctx.fill()
    # The rim's inner edge, just outside the disc the game blackens.
    ctx.arc(c, c, GAUGE_RADIUS + 1, 0, 2 * math.pi)
    kit.set_colour(ctx, "outline")
    ctx.set_line_width(2)
    ctx.stroke()
    kit.save(surface, path)


# Weapon plates ------------------------------------------------------------------------------

def blade_icon(ctx, x, y):
    """A short blade, tip up and to the right."""
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(math.pi / 4)
    ctx.scale(ICON_SCALE, ICON_SCALE)
    ctx.translate(0, -3)  # centre the blade, tip to pommel, on the icon
    ctx.move_to(0, -15)
    ctx.line_to(4.5, -10)
    ctx.line_to(4.5, 5)
    ctx.line_to(-4.5, 5)
    ctx.line_to(-4.5, -10)
    ctx.close_path()
    ctx.set_source(kit.vertical(-15, 5, [(0, "cream"), (1, kit.mix("teal", "cream", 0.5))]))
    ctx.fill_preserve()
    kit.set_colour(ctx, "outline")
    ctx.set_line_width(2)
    ctx.stroke()
    parts = [(-9, 5, 18, 4, "gold"), (-2.5, 9, 5, 8, "terracotta"), (-4, 17, 8, 4, "gold")]
    for px, py, w, h, fill in parts:
        kit.rounded_rect(ctx, px, py, w, h, 1.5)
        kit.set_colour(ctx, fill)
        ctx.fill_preserve()
        kit.set_colour(ctx, "outline")
        ctx.stroke()
    ctx.restore()


def maul_icon(ctx, x, y):
    """A two-handed maul: a long haft under a heavy banded head."""
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(math.pi / 5)
    ctx.scale(ICON_SCALE, ICON_SCALE)
    parts = [(-2.5, -8, 5, 28, "ochre_dark"), (-11, -18, 22, 13, "plum_light"),
             (-3, -18, 6, 13, "gold")]
    for px, py, w, h, fill in parts:
        kit.rounded_rect(ctx, px, py, w, h, 2)
        kit.set_colour(ctx, fill)
        ctx.fill_preserve()
        kit.set_colour(ctx, "outline")
        ctx.set_line_width(2)
        ctx.stroke()
    ctx.restore()


def draw_plate(path, word, icon):
    width, height = PLATE_SIZE
    surface, ctx = kit.new_canvas(width, height)
    kit.rounded_rect(ctx, 1.5, 1.5, width - 3, height - 3, 8)
    ctx.set_source(kit.vertical(0, height, [(0, "cream"), (0.5, "sand"), (1, "sand_dark")]))
    ctx.fill_preserve()
    kit.set_colour(ctx, "outline")
    ctx.set_line_width(kit.OUTLINE_WIDTH)
    ctx.stroke()
    kit.rounded_rect(ctx, 5, 5, 30, 30, 6)
    ctx.set_source(kit.radial(20, 18, 22, [(0, "terracotta"), (1, "terracotta_dark")]))
    ctx.fill()
    icon(ctx, 20, 20)
    kit.set_font(ctx, kit.FONT_SANS, 19)
    text_x = 40 + (width - 46 - kit.text_width(ctx, word)) / 2
    kit.outlined_text(ctx, word, text_x, 27, "plum", outline="cream", width=1.2, shadow=False)
    kit.save(surface, path)


def main(out_dir):
    draw_frame(f"{out_dir}/hud.png")
    draw_fill(f"{out_dir}/hud_fill.png")
    draw_plate(f"{out_dir}/hud_wl.png", "Blade", blade_icon)
    draw_plate(f"{out_dir}/hud_wh.png", "Maul", maul_icon)


if __name__ == "__main__":
    main(sys.argv[1])
