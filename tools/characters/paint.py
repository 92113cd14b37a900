"""Shared palette and cel-shading helpers for the character art.

Every character part is a union of closed shapes. A part is drawn in one go: a dark outline
around the union, a base fill, its own markings, then a warm highlight on the side facing the
light, a soft shade on the other side and a thin reflected rim at the shaded edge. Working in
a y-up frame keeps the pose tables readable; the helpers do not care which way y points.
"""
import math

import cairo


def rgb(hex_colour):
    value = hex_colour.lstrip("#")
    return tuple(int(value[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


INK = rgb("#2b1d2e")          # every outline
FUR = rgb("#dba451")          # warm ochre coat
FUR_SHADE = rgb("#8e4f3a")    # terracotta-brown shade colour (used translucent)
FUR_LIGHT = rgb("#fbe2a4")    # cream highlight
CREAM = rgb("#f6e7c6")        # belly, muzzle, inner ear
SPOT = rgb("#3a2230")         # spots and tail rings
SCARF = rgb("#3f8a8c")        # dusky teal
SCARF_LIGHT = rgb("#8fd0c4")
LEATHER = rgb("#9b4a34")      # terracotta leather
BRASS = rgb("#e0aa45")
STEEL = rgb("#d3dcd8")
STEEL_DARK = rgb("#7f9898")
STEEL_EDGE = rgb("#fffbef")
EYE = rgb("#f3c348")
NOSE = rgb("#7c3438")
EAR_INNER = rgb("#e9b59c")
RIM = rgb("#ffe9b8")
SHADE = rgb("#4a2440")        # plum shade overlay
PLUM = rgb("#5b2f4c")
TERRACOTTA = rgb("#c2623f")
SAND = rgb("#e9cf98")
TEAL_GLOW = rgb("#5fe3c4")

LIGHT_DIR = (-0.42, 0.91)     # towards the key light: up and a little behind the hero


def unit(angle_deg):
    a = math.radians(angle_deg)
    return math.cos(a), math.sin(a)


def add(p, q, k=1.0):
    return p[0] + q[0] * k, p[1] + q[1] * k


def sub(p, q):
    return p[0] - q[0], p[1] - q[1]


def length(v):
    return math.hypot(v[0], v[1])


def angle_of(v):
    return math.degrees(math.atan2(v[1], v[0]))


def lerp(p, q, t):
    return p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t


def capsule(p0, r0, p1, r1):
    """A closed tapered capsule: the convex hull of two circles."""
    def build(ctx):
        d = length(sub(p1, p0))
        if d <= abs(r0 - r1) + 1e-6:
            centre, radius = (p0, r0) if r0 >= r1 else (p1, r1)
            ctx.new_sub_path()
            ctx.arc(centre[0], centre[1], radius, 0, 2 * math.pi)
            ctx.close_path()
            return
        axis = math.atan2(p1[1] - p0[1], p1[0] - p0[0])
        spread = math.acos(max(-1.0, min(1.0, (r0 - r1) / d)))
        ctx.new_sub_path()
        ctx.arc(p1[0], p1[1], r1, axis - spread, axis + spread)
        ctx.arc(p0[0], p0[1], r0, axis + spread, axis - spread + 2 * math.pi)
        ctx.close_path()
    return build


def circle(c, r):
    def build(ctx):
        ctx.new_sub_path()
        ctx.arc(c[0], c[1], r, 0, 2 * math.pi)
        ctx.close_path()
    return build


def ellipse(c, rx, ry, angle_deg=0.0):
    def build(ctx):
        ctx.save()
        ctx.translate(*c)
        ctx.rotate(math.radians(angle_deg))
        ctx.scale(rx, ry)
        ctx.new_sub_path()
        ctx.arc(0, 0, 1, 0, 2 * math.pi)
        ctx.close_path()
        ctx.restore()
    return build


def polygon(points, smooth=False):
    """A closed polygon; with smooth, a closed curve through the edge midpoints."""
    def build(ctx):
        ctx.new_sub_path()
        if not smooth:
            ctx.move_to(*points[0])
            for p in points[1:]:
                ctx.line_to(*p)
        else:
            n = len(points)
            mids = [lerp(points[i], points[(i + 1) % n], 0.5) for i in range(n)]
            ctx.move_to(*mids[-1])
            for i in range(n):
                c = points[i]
                m = mids[i]
                prev = mids[i - 1]
                ctx.curve_to(prev[0] + (c[0] - prev[0]) * 0.66, prev[1] + (c[1] - prev[1]) * 0.66,
                             m[0] + (c[0] - m[0]) * 0.66, m[1] + (c[1] - m[1]) * 0.66, m[0], m[1])
        ctx.close_path()
    return build


def trace(ctx, shapes, dx=0.0, dy=0.0):
    ctx.new_path()
    ctx.save()
    ctx.translate(dx, dy)
    for shape in shapes:
        shape(ctx)
    ctx.restore()


def _crescent(ctx, shapes, colour, alpha, offset):
    """Paints colour over the clipped part, except where the part shifted by offset lies."""
    ctx.push_group()
    ctx.set_source_rgba(*colour, alpha)
    ctx.paint()
    ctx.set_operator(cairo.OPERATOR_CLEAR)
    trace(ctx, shapes, *offset)
    ctx.fill()
    ctx.pop_group_to_source()
    ctx.paint()


def draw_part(ctx, shapes, fill, outline=4.0, detail=None, light=3.5, shade=5.0,
              shade_alpha=0.45, light_alpha=0.7, rim=True, tint=None):
    """Outline, fill, markings and cel shading for one part made of the given shapes.

    fill is an RGB tuple or a cairo pattern; tint (an RGB tuple and alpha) darkens parts on
    the far side of the body so that the near limbs read in front.
    """
    lx, ly = LIGHT_DIR
    trace(ctx, shapes)
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_width(outline * 2)
    ctx.set_source_rgb(*INK)
    ctx.stroke_preserve()
    ctx.save()
    ctx.clip()
    if isinstance(fill, cairo.Pattern):
        ctx.set_source(fill)
    else:
        ctx.set_source_rgb(*fill)
    ctx.paint()
    if detail:
        detail(ctx)
    if light:
        _crescent(ctx, shapes, FUR_LIGHT, light_alpha, (-lx * light, -ly * light))
    if shade:
        _crescent(ctx, shapes, SHADE, shade_alpha, (lx * shade, ly * shade))
    if rim:
        _crescent(ctx, shapes, RIM, 0.30, (lx * 1.6, ly * 1.6))
    if tint:
        ctx.set_source_rgba(*tint[0], tint[1])
        ctx.paint()
    ctx.restore()
    ctx.new_path()


def stroke_line(ctx, points, width, colour, alpha=1.0, cap=cairo.LINE_CAP_ROUND):
    ctx.new_path()
    ctx.move_to(*points[0])
    for p in points[1:]:
        ctx.line_to(*p)
    ctx.set_line_cap(cap)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_width(width)
    ctx.set_source_rgba(*colour, alpha)
    ctx.stroke()


def fill_shape(ctx, shape, colour, alpha=1.0):
    ctx.new_path()
    shape(ctx)
    ctx.set_source_rgba(*colour, alpha)
    ctx.fill()


def ribbon(points, widths):
    """A closed strip along a polyline, widths given per point (0 gives a point)."""
    left, right = [], []
    n = len(points)
    for i, p in enumerate(points):
        a = points[max(i - 1, 0)]
        b = points[min(i + 1, n - 1)]
        d = sub(b, a)
        dl = length(d) or 1.0
        normal = (-d[1] / dl, d[0] / dl)
        left.append(add(p, normal, widths[i] / 2))
        right.append(add(p, normal, -widths[i] / 2))
    return polygon(left + right[::-1])


def chain(start, angles_deg, seg):
    pts = [start]
    for a in angles_deg:
        pts.append(add(pts[-1], unit(a), seg))
    return pts


def new_canvas(width, height):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
    ctx = cairo.Context(surface)
    ctx.set_antialias(cairo.ANTIALIAS_BEST)
    return surface, ctx
