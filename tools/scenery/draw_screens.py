"""Draws the title screen "title" and the game-over screen "gameover".

Both show the savanna the game starts in, with the hero as a spotted silhouette on a rock:
at sunset on the title, under the moon on the game-over screen. The name is lettered large
and gently arched; the key prompt sits on a dark band at the foot of the screen. The title also
teaches the controls: a legend on a panel of its own, clear of the name and the hero.

Usage: draw_screens.py OUT_DIR
"""

import math
import sys

import cairo
import numpy

import control_legend
import draw_backdrops as scene
import kit

WIDTH, HEIGHT = scene.WIDTH, scene.HEIGHT
PROMPT_BAND = (516, 46)  # px: top and height of the band behind the key prompt
ARCH = 0.00012           # how much the title lettering bows upward towards its middle
LEGEND_CORNER = (18, 212)  # px: top-left corner of the control legend's panel
TITLE_TREES = ((130, 112), (300, 62), (448, 46))  # (x, size) px: acacias behind the legend


# The hero's silhouette -----------------------------------------------------------------------

def ellipse(ctx, x, y, rx, ry, angle=0.0):
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(angle)
    ctx.scale(rx, ry)
    ctx.new_sub_path()
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()


def limb(ctx, x0, y0, x1, y1, width):
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.set_line_width(width)
    ctx.stroke()


# A sitting serval facing right, seat at (0, 0), about 230 px tall: (x, y, rx, ry, angle).
CAT_BODY = [(-28, -50, 44, 50, 0), (-4, -95, 30, 58, -0.15), (14, -112, 20, 34, -0.1),
            (18, -150, 15, 26, -0.12), (24, -178, 24, 20, 0), (42, -171, 12, 10, 0.15),
            (9, -202, 12, 20, -0.35), (35, -203, 12, 20, 0.3), (-12, -5, 28, 7, 0),
            (24, -3, 10, 5, 0), (10, -3, 9, 5, 0)]
CAT_LEGS = [(18, -100, 24, -4, 14), (4, -95, 10, -4, 13)]
CAT_TAIL = [(-66, -22), (-92, -8), (-112, -4), (-128, -8)]
CAT_SPOTS = [(-40, -60, 6), (-22, -30, 5), (-52, -32, 5), (-16, -72, 5), (0, -112, 4),
             (-20, -98, 6), (-38, -82, 4), (12, -138, 3), (-8, -48, 4), (14, -62, 3),
             (2, -84, 4), (20, -154, 3), (-110, -5, 4), (-92, -9, 4)]


def cat_shape(ctx):
    for x, y, rx, ry, angle in CAT_BODY:
        ellipse(ctx, x, y, rx, ry, angle)
    ctx.fill()
    for x0, y0, x1, y1, width in CAT_LEGS:
        limb(ctx, x0, y0, x1, y1, width)
    ctx.move_to(*CAT_TAIL[0])
    ctx.curve_to(*CAT_TAIL[1], *CAT_TAIL[2], *CAT_TAIL[3])
    ctx.set_line_width(12)
    ctx.stroke()


def silhouette_mask(shape, x, y, scale, mirror):
    """An alpha mask of a shape placed on the screen, for filling and rim-lighting it."""
    mask = cairo.ImageSurface(cairo.FORMAT_A8, WIDTH, HEIGHT)
    ctx = cairo.Context(mask)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.translate(x, y)
    ctx.scale(-scale if mirror else scale, scale)
    ctx.set_source_rgba(0, 0, 0, 1)
    shape(ctx)
    return mask, ctx


def lit_silhouette(ctx, mask, body, rim, light_dx):
    """Fill a mask in the body colour, with a rim of light on the side facing the light."""
    kit.set_colour(ctx, "outline")
    ctx.mask_surface(mask, 0, 0)
    kit.set_colour(ctx, body)
    ctx.mask_surface(mask, 0, 0)
    rim_layer = cairo.ImageSurface(cairo.FORMAT_ARGB32, WIDTH, HEIGHT)
    rim_ctx = cairo.Context(rim_layer)
    kit.set_colour(rim_ctx, rim)
    rim_ctx.mask_surface(mask, 0, 0)
    rim_ctx.set_operator(cairo.OPERATOR_DEST_OUT)
    rim_ctx.mask_surface(mask, -light_dx, 1.5)
    ctx.set_source_surface(rim_layer, 0, 0)
    ctx.paint_with_alpha(0.85)


def ink_box(mask):
    """The box (x0, y0, x1, y1) of the pixels a mask covers."""
    mask.flush()
    alpha = numpy.ndarray((HEIGHT, mask.get_stride()), numpy.uint8, mask.get_data())[:, :WIDTH]
    rows, columns = numpy.nonzero(alpha.any(axis=1))[0], numpy.nonzero(alpha.any(axis=0))[0]
    return (int(columns[0]), int(rows[0]), int(columns[-1]) + 1, int(rows[-1]) + 1)


def hero(ctx, x, y, scale, mirror, body, rim, light_dx):
    """The spotted hero sitting on its haunches at (x, y); returns the box it covers."""
    mask, _ = silhouette_mask(cat_shape, x, y, scale, mirror)
    lit_silhouette(ctx, mask, body, rim, light_dx)
    spots = cairo.ImageSurface(cairo.FORMAT_ARGB32, WIDTH, HEIGHT)
    spots_ctx = cairo.Context(spots)
    spots_ctx.translate(x, y)
    spots_ctx.scale(-scale if mirror else scale, scale)
    kit.set_colour(spots_ctx, "outline")
    for sx, sy, r in CAT_SPOTS:
        ellipse(spots_ctx, sx, sy, r, r * 0.8)
    spots_ctx.fill()
    ctx.set_source_surface(spots, 0, 0)
    ctx.mask_surface(mask, 0, 0)
    return ink_box(mask)


def rock(ctx, x, y, width, height, body, rim, light_dx):
    """A rounded granite outcrop for the hero to sit on; (x, y) is the middle of its top."""
    def shape(rock_ctx):
        rock_ctx.move_to(-width * 0.6, HEIGHT)
        rock_ctx.curve_to(-width * 0.55, height * 0.2, -width * 0.4, 0, -width * 0.1, 0)
        rock_ctx.curve_to(width * 0.2, -4, width * 0.45, 2, width * 0.5, height * 0.3)
        rock_ctx.curve_to(width * 0.6, height * 0.5, width * 0.75, height * 0.7, width, HEIGHT)
        rock_ctx.close_path()
        rock_ctx.fill()
    mask, _ = silhouette_mask(shape, x, y, 1.0, False)
    lit_silhouette(ctx, mask, body, rim, light_dx)


# Lettering -----------------------------------------------------------------------------------

def arched_text_path(ctx, text, cx, baseline):
    """The outline of a text centred on cx, its baseline bowed upward in the middle."""
    ctx.move_to(cx - kit.text_width(ctx, text) / 2, baseline)
    ctx.text_path(text)
    path = ctx.copy_path()
    ctx.new_path()
    for kind, points in path:
        bent = []
        for i in range(0, len(points), 2):
            x, y = points[i], points[i + 1]
            bent += [x, y + ARCH * (x - cx) ** 2 - ARCH * 0]
        if kind == cairo.PATH_MOVE_TO:
            ctx.move_to(*bent)
        elif kind == cairo.PATH_LINE_TO:
            ctx.line_to(*bent)
        elif kind == cairo.PATH_CURVE_TO:
            ctx.curve_to(*bent)
        else:
            ctx.close_path()


def title_lettering(ctx, text, cx, baseline, size, face):
    """Big display lettering: deep shadow, plum outline, gold edge, lit gradient face.
    Returns the box the lettering and its shadow cover."""
    kit.set_font(ctx, kit.FONT_SERIF, size)
    top = baseline - size * 0.8
    layers = [((5, 8), 18, ("outline", 0.5)), ((0, 0), 16, ("outline", 1.0)),
              ((0, 0), 7, (kit.mix("gold", "cream", 0.3), 1.0))]
    boxes = []
    for (dx, dy), width, (value, alpha) in layers:
        arched_text_path(ctx, text, cx + dx, baseline + dy)
        kit.set_colour(ctx, value, alpha)
        ctx.set_line_width(width)
        boxes.append(ctx.stroke_extents())
        ctx.stroke()
    arched_text_path(ctx, text, cx, baseline)
    ctx.set_source(kit.vertical(top, baseline + 6, face))
    ctx.fill_preserve()
    ctx.save()
    ctx.clip()
    ctx.set_source(kit.vertical(top, top + size * 0.4, [(0, "cream", 0.5), (1, "cream", 0)]))
    ctx.paint()
    ctx.restore()
    return kit.bounds(boxes)


def prompt(ctx, text):
    """The key prompt on a soft dark band across the foot of the screen."""
    top, height = PROMPT_BAND
    ctx.set_source(kit.vertical(top, top + height, [(0, "outline", 0), (0.25, "outline", 0.65),
                                                    (0.75, "outline", 0.65),
                                                    (1, "outline", 0)]))
    ctx.rectangle(0, top, WIDTH, height)
    ctx.fill()
    kit.set_font(ctx, kit.FONT_SANS, 22)
    kit.centred_text(ctx, text, WIDTH / 2, top + height / 2 + 8, "cream", width=2)


# The two screens -----------------------------------------------------------------------------

def savanna_ground(ctx, rng, near_colour, far_colour, tree_colour, rim,
                   trees=((90, 130), (250, 62), (420, 48))):
    """Far and near hills with acacias, each tree given as (x, size) in px."""
    far = scene.land(ctx, rng, 400, [(16, 420), (6, 140)], far_colour,
                     kit.mix(far_colour, near_colour, 0.5))
    near = scene.land(ctx, rng, 455, [(8, 520), (3, 130)], near_colour,
                      kit.mix(near_colour, "plum", 0.5), rim=rim)
    for x, size in trees:
        scene.acacia(ctx, rng, x, scene.height_at(near, x) + 6, size, tree_colour)
    return far, near


def title(ctx, rng):
    """Draws the title; returns the boxes of the logo, the hero, the legend's panel and every
    piece of text and glyph on it, so the build can check that they keep clear of each other."""
    scene.sky(ctx, [(0, kit.mix("indigo", "plum", 0.5)), (0.3, kit.mix("plum_light", "rose", 0.6)),
                    (0.6, kit.mix("ember", "gold", 0.5)), (0.8, "gold"), (1, "ochre")])
    kit.stars(ctx, rng, 40, WIDTH, 120, max_alpha=0.6)
    scene.sun(ctx, 572, 398, 50, "cream", "gold")
    scene.clouds(ctx, rng, 4, (250, 330), kit.mix("rose", "plum_light", 0.35), "gold", 0.7)
    savanna_ground(ctx, rng, kit.mix("ochre_dark", "plum", 0.35), kit.mix("rose", "plum_light", 0.5),
                   kit.mix("plum", "outline", 0.4), "gold", TITLE_TREES)
    scene.haze(ctx, 420, 90, "gold", 0.3)
    rock(ctx, 640, 432, 230, 170, kit.mix("plum", "outline", 0.3), "gold", -4)
    hero_box = hero(ctx, 630, 436, 0.95, True, kit.mix("plum", "outline", 0.2), "gold", -3.5)
    scene.birds(ctx, rng, 4, 538, 318, 26, "plum")
    logo_box = title_lettering(ctx, "Tarnwick", WIDTH / 2, 178, 132,
                               [(0, "cream"), (0.45, "gold"), (1, "ochre_dark")])
    panel_box, legend_items = control_legend.draw(ctx, *LEGEND_CORNER)
    prompt(ctx, "Press SPACE to start \u2014 ESC to quit")
    return {"logo": logo_box, "hero": hero_box, "panel": panel_box, "legend": legend_items}


def gameover(ctx, rng):
    scene.sky(ctx, [(0, "indigo_deep"), (0.5, "indigo"), (0.85, kit.mix("plum", "teal_dark", 0.4)),
                    (1, "plum")])
    kit.stars(ctx, rng, 160, WIDTH, 420)
    scene.moon(ctx, rng, 250, 250, 54, 0.2)
    scene.clouds(ctx, rng, 3, (300, 340), kit.mix("indigo", "plum", 0.4), "teal_glow", 1.0)
    savanna_ground(ctx, rng, kit.mix("indigo_deep", "plum", 0.4), kit.mix("indigo", "plum", 0.5),
                   "indigo_deep", "teal_glow")
    rock(ctx, 640, 432, 230, 170, "indigo_deep", "teal_glow", -4)
    hero(ctx, 650, 436, 0.95, True, kit.mix("indigo_deep", "plum", 0.3), "teal_glow", -3.5)
    title_lettering(ctx, "Game Over", WIDTH / 2, 170, 104,
                    [(0, "cream"), (0.5, "rose"), (1, "terracotta_dark")])
    prompt(ctx, "Press SPACE for the title \u2014 ESC to quit")


SCREENS = {"title": title, "gameover": gameover}


if __name__ == "__main__":
    kit.paint_screens(SCREENS, sys.argv[1], WIDTH, HEIGHT)
