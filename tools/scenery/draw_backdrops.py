"""Draws the four still backdrops "panorama1"-"panorama4", one mood per stage.

Every backdrop is layered like a stage set: sky, light source, far land in haze, nearer land
in deeper tones. Colours stay softer than the terrain pictures drawn over them, so ground,
hero and foes keep reading in front. The terrain of stage 1 covers the lowest 113 px and the
overlay the top-left corner, so nothing important sits there.

Usage: draw_backdrops.py OUT_DIR
"""

import math
import sys

import cairo

import kit

WIDTH, HEIGHT = 800, 600


# Shared scenery pieces ---------------------------------------------------------------------

def sky(ctx, stops):
    ctx.set_source(kit.vertical(0, HEIGHT, stops))
    ctx.paint()


def sun(ctx, x, y, r, core, halo):
    kit.glow(ctx, x, y, r * 7, halo, 0.45)
    kit.glow(ctx, x, y, r * 2.2, core, 0.6)
    kit.set_colour(ctx, core)
    ctx.arc(x, y, r, 0, 2 * math.pi)
    ctx.fill()


def haze(ctx, y, depth, value, alpha):
    """A band of mist that thickens towards y + depth / 2 and fades both ways."""
    ctx.set_source(kit.vertical(y, y + depth, [(0, value, 0), (0.5, value, alpha),
                                               (1, value, 0)]))
    ctx.rectangle(0, y, WIDTH, depth)
    ctx.fill()


def land(ctx, rng, base, waves, top, bottom_colour, rim=None, step=4):
    """One layer of hills, shaded from its crest down; returns its crest line."""
    points = kit.ridge(rng, WIDTH, base, waves, step)
    crest = min(y for _, y in points)
    shade = kit.vertical(crest, HEIGHT, [(0, top), (1, bottom_colour)])
    kit.fill_silhouette(ctx, points, HEIGHT, shade, rim)
    return points


def height_at(points, x):
    """y of a crest line at x (the points are evenly spaced and sorted by x)."""
    for (xa, ya), (xb, yb) in zip(points, points[1:]):
        if xa <= x <= xb:
            return ya + (yb - ya) * (x - xa) / (xb - xa)
    return points[-1][1]


def grass_fringe(ctx, rng, ground, value):
    """Tall dry grass standing along the near edge of the plain."""
    kit.set_colour(ctx, value)
    ctx.set_line_width(1.6)
    for _ in range(300):
        x = rng.uniform(-10, WIDTH + 10)
        height = rng.uniform(8, 26)
        lean = rng.uniform(-9, 9)
        ctx.move_to(x, ground + 12)
        ctx.curve_to(x, ground - height * 0.4, x + lean * 0.5, ground - height * 0.8,
                     x + lean, ground - height)
        ctx.stroke()
    ctx.rectangle(0, ground + 10, WIDTH, HEIGHT - ground)
    ctx.fill()


def birds(ctx, rng, count, x0, y0, spread, value):
    for _ in range(count):
        x, y = x0 + rng.uniform(-spread, spread), y0 + rng.uniform(-spread, spread) * 0.4
        size = rng.uniform(4, 8)
        ctx.move_to(x - size, y - size * 0.3)
        ctx.curve_to(x - size * 0.5, y - size * 0.6, x - size * 0.2, y - size * 0.3, x, y)
        ctx.curve_to(x + size * 0.2, y - size * 0.3, x + size * 0.5, y - size * 0.6,
                     x + size, y - size * 0.3)
        kit.set_colour(ctx, value, 0.8)
        ctx.set_line_width(1.6)
        ctx.stroke()


def acacia(ctx, rng, x, ground, size, value):
    """A flat-topped savanna tree: forked trunk under a wide layered crown."""
    kit.set_colour(ctx, value)
    ctx.set_line_width(size * 0.07)
    for dx in (-0.35, 0.3, 0.05):
        ctx.move_to(x, ground)
        ctx.curve_to(x, ground - size * 0.4, x + dx * size * 0.6, ground - size * 0.55,
                     x + dx * size, ground - size * 0.78)
        ctx.stroke()
    for dy, w in ((0.82, 1.0), (0.92, 0.75), (0.72, 0.55)):
        cx = x + rng.uniform(-0.08, 0.08) * size
        ctx.save()
        ctx.translate(cx, ground - size * dy)
        ctx.scale(size * w * 0.75, size * 0.12)
        ctx.arc(0, 0, 1, 0, 2 * math.pi)
        ctx.restore()
        ctx.fill()


def pine(ctx, x, ground, height, value):
    """A fir of three stacked tiers."""
    kit.set_colour(ctx, value)
    half = height * 0.28
    for tier in range(3):
        top = ground - height + tier * height * 0.22
        base = top + height * 0.45
        w = half * (0.55 + tier * 0.25)
        ctx.move_to(x, top)
        ctx.line_to(x + w, base)
        ctx.line_to(x - w, base)
        ctx.close_path()
        ctx.fill()
    ctx.rectangle(x - height * 0.03, ground - height * 0.12, height * 0.06, height * 0.12)
    ctx.fill()


def forest(ctx, rng, points, spacing, height, value):
    """Firs along a crest line, with gaps so the skyline breathes."""
    x = rng.uniform(0, spacing)
    while x < WIDTH + spacing:
        if rng.random() < 0.85:
            ground = height_at(points, x) + height * 0.1
            pine(ctx, x, ground, height * rng.uniform(0.7, 1.2), value)
        x += spacing * rng.uniform(0.5, 1.1)


def clouds(ctx, rng, count, y_range, body, light, alpha):
    for _ in range(count):
        w = rng.uniform(110, 240)
        kit.cloud(ctx, rng, rng.uniform(-40, WIDTH + 40), rng.uniform(*y_range), w, w * 0.3,
                  body, light, alpha)


# The four backdrops ------------------------------------------------------------------------

def savanna(ctx, rng):
    """Stage 1: the savanna at golden hour, the sun low behind acacias."""
    sky(ctx, [(0, kit.mix("teal", "cream", 0.35)), (0.35, kit.mix("rose", "cream", 0.35)),
              (0.62, "gold"), (1, "ochre")])
    sun(ctx, 560, 350, 46, "cream", "gold")
    clouds(ctx, rng, 6, (70, 230), kit.mix("rose", "plum_light", 0.3), "cream", 0.75)
    land(ctx, rng, 380, [(18, 420), (8, 150)], kit.mix("plum_light", "rose", 0.55),
         kit.mix("rose", "gold", 0.5))
    haze(ctx, 340, 120, "gold", 0.45)
    near = land(ctx, rng, 430, [(10, 500), (4, 120)], kit.mix("sand", "rose", 0.45),
                kit.mix("rose", "plum_light", 0.45), rim="cream")
    tree_colour = kit.mix("plum", "terracotta_dark", 0.4)
    for x, size in ((120, 120), (300, 70), (690, 150), (460, 55)):
        acacia(ctx, rng, x, height_at(near, x) + 6, size, tree_colour)
    birds(ctx, rng, 5, 420, 190, 60, "plum")
    grass_fringe(ctx, rng, 478, kit.mix("plum_light", "rose", 0.5))
    haze(ctx, 440, 120, "gold", 0.3)


def canyon(ctx, rng):
    """Stage 2: rock cliffs and mesas at dusk, the first stars out."""
    sky(ctx, [(0, "indigo_deep"), (0.3, "indigo"), (0.58, kit.mix("plum_light", "rose", 0.5)),
              (0.78, kit.mix("ember", "gold", 0.4)), (1, "gold")])
    kit.stars(ctx, rng, 90, WIDTH, 260)
    sun(ctx, 250, 500, 34, "cream", "ember")
    mesas(ctx, rng, 360, 60, kit.mix("plum_light", "indigo", 0.3), 0.0)
    haze(ctx, 380, 120, "rose", 0.35)
    mesas(ctx, rng, 420, 110, kit.mix("terracotta_dark", "plum", 0.75), 0.35)
    haze(ctx, 470, 130, kit.mix("ember", "rose", 0.5), 0.3)
    cliff_wall(ctx, rng, 0, 150, 1)
    cliff_wall(ctx, rng, WIDTH, 130, -1)


def mesas(ctx, rng, base, height, value, strata_alpha):
    """A row of flat-topped buttes: sheer banded cliffs over flaring scree, lit on the left."""
    x = rng.uniform(-120, -40)
    while x < WIDTH + 40:
        w = rng.uniform(140, 300)
        top = base - height * rng.uniform(0.7, 1.2)
        foot = top + (HEIGHT - top) * rng.uniform(0.3, 0.45)
        inset = rng.uniform(0.15, 0.25) * w
        ctx.move_to(x - inset * 0.6, HEIGHT)
        ctx.curve_to(x + inset * 0.4, HEIGHT - 10, x + inset * 0.6, foot + 20, x + inset, foot)
        ctx.line_to(x + inset * 1.1, top + 6)
        ctx.line_to(x + inset * 1.3, top)
        ctx.line_to(x + w - inset * 1.3, top + rng.uniform(-4, 4))
        ctx.line_to(x + w - inset * 1.1, top + 6)
        ctx.line_to(x + w - inset, foot)
        ctx.curve_to(x + w - inset * 0.6, foot + 20, x + w - inset * 0.4, HEIGHT - 10,
                     x + w + inset * 0.6, HEIGHT)
        ctx.close_path()
        ctx.set_source(kit.vertical(top, HEIGHT, [(0, value), (1, kit.mix(value, "plum", 0.6))]))
        ctx.fill_preserve()
        ctx.save()
        ctx.clip()
        band_y = top + rng.uniform(8, 14)
        while band_y < foot and strata_alpha:
            kit.set_colour(ctx, "terracotta", strata_alpha * 0.45)
            ctx.rectangle(x - w, band_y, 3 * w, rng.uniform(3, 7))
            ctx.fill()
            band_y += rng.uniform(10, 20)
        lit = cairo.LinearGradient(x + inset, 0, x + inset + 24, 0)
        ctx.set_source(kit.gradient(lit, [(0, "gold", 0.45), (1, "gold", 0)]))
        ctx.paint()
        ctx.set_source(kit.vertical(top, top + 8, [(0, "gold", 0.6), (1, "gold", 0)]))
        ctx.paint()
        ctx.restore()
        x += w + rng.uniform(-40, 120)


def cliff_wall(ctx, rng, edge_x, reach, direction):
    """A dark canyon wall framing one side of the view, its face catching the last light."""
    points = [(edge_x, -10)]
    y = -10
    while y < HEIGHT + 20:
        y += rng.uniform(30, 70)
        points.append((edge_x + direction * reach * rng.uniform(0.55, 1.0), y))
    points.append((edge_x, HEIGHT + 20))
    ctx.move_to(*points[0])
    for point in points[1:]:
        ctx.line_to(*point)
    ctx.close_path()
    ctx.set_source(kit.vertical(0, HEIGHT, [(0, "indigo_deep"), (1, "plum")]))
    ctx.fill()
    ctx.move_to(*points[1])
    for point in points[2:-1]:
        ctx.line_to(*point)
    kit.set_colour(ctx, "ember", 0.5)
    ctx.set_line_width(2.5)
    ctx.stroke()


def hillside(ctx, rng):
    """Stage 3: a long forested hillside falling away into a valley at sunset."""
    sky(ctx, [(0, kit.mix("plum", "indigo", 0.4)), (0.3, kit.mix("rose", "plum_light", 0.4)),
              (0.55, kit.mix("ember", "rose", 0.3)), (0.75, "gold"), (1, "gold")])
    sun(ctx, 560, 282, 40, "cream", "ember")
    clouds(ctx, rng, 5, (60, 200), kit.mix("plum_light", "rose", 0.4), "gold", 0.7)
    layers = [  # base y, tilt (px over the width), tree height, land colour, fog colour
        (330, -60, 20, kit.mix("plum_light", "rose", 0.5), "rose"),
        (390, 90, 30, kit.mix("plum_light", "plum", 0.4), "ember"),
        (450, 160, 44, kit.mix("plum", "indigo", 0.3), "rose"),
        (520, 200, 64, kit.mix("plum", "indigo_deep", 0.5), None),
    ]
    for base, tilt, tree_height, value, fog in layers:
        tilted = [(x, y + tilt * x / WIDTH) for x, y in
                  kit.ridge(rng, WIDTH, base, [(14, 380), (6, 110)])]
        kit.fill_silhouette(ctx, tilted, HEIGHT, kit.vertical(base - 40, HEIGHT,
                                                              [(0, value), (1, value)]),
                            rim="gold", rim_alpha=0.35)
        forest(ctx, rng, tilted, tree_height * 0.55, tree_height, value)
        if fog:
            haze(ctx, base + 10, 110, fog, 0.35)
    birds(ctx, rng, 4, 260, 160, 50, "plum")


def arena(ctx, rng):
    """Stage 4: a ruined arena under a huge moon, lit by eerie teal fire."""
    sky(ctx, [(0, "indigo_deep"), (0.5, "indigo"), (0.85, kit.mix("teal_dark", "indigo", 0.4)),
              (1, "teal_dark")])
    kit.stars(ctx, rng, 140, WIDTH, 380)
    moon(ctx, rng, 520, 190, 92, 0.25)
    clouds(ctx, rng, 4, (120, 260), kit.mix("indigo", "plum", 0.3), "teal_glow", 0.6)
    arches(ctx, 360, 130, 64, kit.mix("indigo", "plum_light", 0.35), 0.35)
    haze(ctx, 380, 140, "teal", 0.35)
    arches(ctx, 430, 190, 96, kit.mix("indigo_deep", "plum", 0.4), 0.6)
    for x in (90, 330, 560, 760):
        brazier(ctx, x, 470)
    haze(ctx, 420, 220, "teal", 0.35)
    haze(ctx, 480, 140, "teal_glow", 0.22)
    motes(ctx, rng, 40)


def moon(ctx, rng, x, y, r, tint):
    """A pale moon in a teal halo, its seas faintly shaded; tint is how teal its face is."""
    kit.glow(ctx, x, y, r * 2.8, "teal_glow", 0.25)
    kit.set_colour(ctx, kit.mix("cream", "teal_glow", tint))
    ctx.arc(x, y, r, 0, 2 * math.pi)
    ctx.fill()
    for _ in range(7):
        angle, dist = rng.uniform(0, 2 * math.pi), rng.uniform(0, r * 0.7)
        kit.set_colour(ctx, "teal", 0.12)
        ctx.save()
        ctx.translate(x + math.cos(angle) * dist, y + math.sin(angle) * dist)
        ctx.scale(1.0, rng.uniform(0.5, 0.8))
        ctx.arc(0, 0, rng.uniform(0.11, 0.28) * r, 0, 2 * math.pi)
        ctx.restore()
        ctx.fill()


def arches(ctx, base, height, span, value, light):
    """A tier of ruined arena arches: piers with round openings, the top edge broken."""
    x = -span / 2
    count = 0
    while x < WIDTH + span:
        broken = 0.25 * height * (1 + math.sin(count * 1.7))
        ctx.move_to(x, base - height + broken)
        ctx.line_to(x + span * 0.5, base - height + broken * 0.2)
        ctx.line_to(x + span, base - height + broken * 0.6)
        ctx.line_to(x + span, HEIGHT)
        ctx.line_to(x, HEIGHT)
        ctx.close_path()
        ctx.new_sub_path()
        ctx.arc(x + span / 2, base - height * 0.4, span * 0.3, math.pi, 2 * math.pi)
        ctx.line_to(x + span * 0.8, base)
        ctx.line_to(x + span * 0.2, base)
        ctx.close_path()
        x += span
        count += 1
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)  # the openings stay holes
    ctx.set_source(kit.vertical(base - height, HEIGHT, [(0, kit.mix(value, "teal_glow", light * 0.3)),
                                                        (0.5, value), (1, value)]))
    ctx.fill()
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)


def brazier(ctx, x, y):
    """A slender pillar crowned with a bowl of teal fire that lights the fog."""
    kit.glow(ctx, x, y - 86, 90, "teal_glow", 0.45)
    ctx.set_source(kit.vertical(y - 80, y + 130, [(0, kit.mix("indigo", "teal_dark", 0.3)),
                                                  (1, "indigo_deep")]))
    ctx.rectangle(x - 8, y - 80, 16, 210)
    ctx.fill()
    ctx.move_to(x - 18, y - 88)
    ctx.line_to(x + 18, y - 88)
    ctx.line_to(x + 7, y - 76)
    ctx.line_to(x - 7, y - 76)
    ctx.close_path()
    kit.set_colour(ctx, "indigo_deep")
    ctx.fill()
    for scale, value in ((1.0, "teal"), (0.6, "teal_glow"), (0.3, "cream")):
        ctx.move_to(x - 14 * scale, y - 88)
        ctx.curve_to(x - 16 * scale, y - 102, x - 2, y - 102 - 20 * scale, x,
                     y - 88 - 44 * scale)
        ctx.curve_to(x + 4, y - 102 - 14 * scale, x + 16 * scale, y - 102, x + 14 * scale,
                     y - 88)
        ctx.close_path()
        kit.set_colour(ctx, value, 0.9)
        ctx.fill()


def motes(ctx, rng, count):
    for _ in range(count):
        kit.glow(ctx, rng.uniform(0, WIDTH), rng.uniform(150, HEIGHT), rng.uniform(3, 7),
                 "teal_glow", rng.uniform(0.4, 0.9))


BACKDROPS = {"panorama1": savanna, "panorama2": canyon, "panorama3": hillside,
             "panorama4": arena}


if __name__ == "__main__":
    kit.paint_screens(BACKDROPS, sys.argv[1], WIDTH, HEIGHT)
