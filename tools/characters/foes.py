"""The foes and the healing liquid they burst into.

The hopper: a round, plum-coloured creature with stubby feet, one fierce eye and a glass belly
in which the mint liquid sloshes (it bursts into that liquid when beaten). Drawn facing +x.

The boss: a great spiked wheel with one eye at its hub. It turns a full circle every 140
frames, so nothing in it depends on a light direction: all its shading is radial, and its
spikes, runes and plates give the turning something to show.

The drop: one particle of the liquid, a luminous mint bead with a soft edge.
"""
import math

import cairo

from paint import (BRASS, CREAM, FUR_LIGHT, INK, PLUM, SAND, SCARF, SCARF_LIGHT, SHADE,
                   STEEL_EDGE, TEAL_GLOW, TERRACOTTA, capsule, circle, draw_part, ellipse,
                   fill_shape, mix, new_canvas, polygon, rgb, stroke_line)

HOPPER_SIZE = 128
HOPPER_BODY_RADIUS = 25.6      # 0.3 world units drawn at 3/4 size
HOPPER_OUTLINE = 3.2
HOPPER_PLUM = rgb("#8a3f70")
HOPPER_DEEP = rgb("#5b2b52")

BOSS_SIZE = 600
BOSS_RADIUS = 299.0            # 3.5 world units drawn at 3/4 size
BOSS_SPIKES = 12
BOSS_OUTLINE = 5.0

DROP_SIZE = 16
DROP_RADIUS = 5.2


# --- the hopper --------------------------------------------------------------------------------

def _hopper_foot(ctx, x, far):
    foot = [capsule((x - 1, 7.6), 4.4, (x + 6, 7.2), 4.2)]
    draw_part(ctx, foot, mix(TERRACOTTA, SAND, 0.25), outline=HOPPER_OUTLINE, light=1.5,
              shade=2.0, tint=(SHADE, 0.3) if far else None)


def _hopper_horns(ctx):
    for base, tip, far in (((-12, 44), (-22, 66), True), ((4, 48), (8, 72), False)):
        horn = polygon([(base[0] - 7, base[1] - 4), (base[0] + 7, base[1] + 1),
                        ((base[0] + tip[0]) / 2 + 3, (base[1] + tip[1]) / 2), tip], smooth=True)
        draw_part(ctx, [horn], mix(CREAM, SAND, 0.5), outline=HOPPER_OUTLINE, light=1.5,
                  shade=2.5, tint=(SHADE, 0.3) if far else None)


def _hopper_body_detail(ctx, r, centre):
    cx, cy = centre
    # glass belly with the healing liquid inside
    belly = ellipse((cx - 1, cy - 9), 13.0, 10.5, 8)
    fill_shape(ctx, belly, mix(INK, SCARF, 0.35))
    ctx.save()
    ctx.new_path()
    belly(ctx)
    ctx.clip()
    liquid = cairo.LinearGradient(0, cy - 20, 0, cy - 2)
    liquid.add_color_stop_rgb(0, *mix(TEAL_GLOW, STEEL_EDGE, 0.25))
    liquid.add_color_stop_rgb(1, *TEAL_GLOW)
    ctx.new_path()
    ctx.move_to(cx - 16, cy - 5)
    ctx.curve_to(cx - 8, cy - 1, cx, cy - 8, cx + 14, cy - 4)
    ctx.line_to(cx + 14, cy - 24)
    ctx.line_to(cx - 16, cy - 24)
    ctx.close_path()
    ctx.set_source(liquid)
    ctx.fill()
    for p, rr in (((cx - 4, cy - 12), 1.8), ((cx + 3, cy - 15), 1.2), ((cx + 6, cy - 10), 1.0)):
        fill_shape(ctx, circle(p, rr), STEEL_EDGE, 0.85)
    stroke_line(ctx, [(cx - 9, cy - 2), (cx - 3, cy - 0.5)], 2.0, STEEL_EDGE, 0.8)
    ctx.restore()
    ctx.new_path()
    belly(ctx)
    ctx.set_line_width(2.4)
    ctx.set_source_rgb(*INK)
    ctx.stroke()
    # speckles on the back
    for p, rr in (((cx - 16, cy + 8), 2.4), ((cx - 8, cy + 16), 2.0), ((cx - 19, cy - 3), 1.8),
                  ((cx + 1, cy + 20), 1.6)):
        fill_shape(ctx, circle(p, rr), HOPPER_DEEP)


def _hopper_face(ctx, centre):
    cx, cy = centre
    eye_c = (cx + 12, cy + 7)
    fill_shape(ctx, ellipse(eye_c, 8.6, 9.4), INK)
    fill_shape(ctx, ellipse(eye_c, 6.8, 7.6), CREAM)
    fill_shape(ctx, ellipse((eye_c[0] + 2.2, eye_c[1] - 0.6), 3.4, 4.4), BRASS)
    fill_shape(ctx, ellipse((eye_c[0] + 2.8, eye_c[1] - 0.6), 1.5, 3.2), INK)
    fill_shape(ctx, circle((eye_c[0] + 4.0, eye_c[1] + 2.0), 1.2), STEEL_EDGE)
    # a cross brow over the eye
    brow = polygon([(eye_c[0] - 10, eye_c[1] + 11), (eye_c[0] + 9, eye_c[1] + 5),
                    (eye_c[0] + 9, eye_c[1] + 9), (eye_c[0] - 9, eye_c[1] + 15)])
    fill_shape(ctx, brow, INK)
    # grin with two little fangs
    mouth = [(cx + 13, cy - 4), (cx + 18, cy - 6.5), (cx + 23.5, cy - 4.5)]
    stroke_line(ctx, mouth, 2.4, INK)
    for x in (cx + 15.5, cx + 20.5):
        fill_shape(ctx, polygon([(x - 1.7, cy - 5.6), (x + 1.7, cy - 5.6), (x, cy - 9.6)]),
                   STEEL_EDGE)


def draw_hopper():
    surface, ctx = new_canvas(HOPPER_SIZE, HOPPER_SIZE)
    ctx.translate(HOPPER_SIZE / 2, HOPPER_SIZE)
    ctx.scale(1, -1)
    r = HOPPER_BODY_RADIUS
    centre = (0.0, r)
    _hopper_horns(ctx)
    _hopper_foot(ctx, -13.0, far=True)
    tuft = polygon([(-22, 18), (-36, 22), (-26, 28), (-37, 34), (-22, 36)], smooth=True)
    draw_part(ctx, [tuft], HOPPER_DEEP, outline=HOPPER_OUTLINE, light=1.0, shade=1.5)
    body_fill = cairo.RadialGradient(-6, r + 10, 4, 0, r, r + 4)
    body_fill.add_color_stop_rgb(0, *mix(HOPPER_PLUM, FUR_LIGHT, 0.3))
    body_fill.add_color_stop_rgb(0.6, *HOPPER_PLUM)
    body_fill.add_color_stop_rgb(1, *HOPPER_DEEP)
    draw_part(ctx, [circle(centre, r - HOPPER_OUTLINE)], body_fill, outline=HOPPER_OUTLINE,
              detail=lambda k: _hopper_body_detail(k, r, centre), light=3.0, shade=4.0,
              light_alpha=0.35)
    _hopper_face(ctx, centre)
    _hopper_foot(ctx, 9.0, far=False)
    return surface


# --- the boss ----------------------------------------------------------------------------------

def _radial(r0, r1, stops):
    grad = cairo.RadialGradient(0, 0, r0, 0, 0, r1)
    for offset, colour in stops:
        grad.add_color_stop_rgb(offset, *colour)
    return grad


def _boss_spikes(ctx):
    """Hooked saw teeth. In the picture they lean clockwise; the game draws the boss mirrored
    and turning anticlockwise, so on screen the hooks lead the turn."""
    spikes = []
    tip_r = BOSS_RADIUS - BOSS_OUTLINE
    for i in range(BOSS_SPIKES):
        a = 2 * math.pi * i / BOSS_SPIKES
        half = math.radians(13)

        def at(r, ang):
            return r * math.cos(ang), r * math.sin(ang)
        pts = [at(222, a - half * 1.1), at(268, a - half * 0.55), at(tip_r, a + half * 0.55),
               at(tip_r - 3, a + half * 0.62), at(262, a + half * 0.55), at(222, a + half * 1.1)]
        spikes.append(polygon(pts))
    fill = _radial(230, BOSS_RADIUS, [(0, TERRACOTTA), (0.7, mix(TERRACOTTA, SAND, 0.45)),
                                      (1, CREAM)])
    ctx.new_path()
    for s in spikes:
        s(ctx)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_width(BOSS_OUTLINE * 2)
    ctx.set_source_rgb(*INK)
    ctx.stroke_preserve()
    ctx.set_source(fill)
    ctx.fill()
    # a bright leading edge and a shaded trailing edge on every tooth
    for i in range(BOSS_SPIKES):
        a = 2 * math.pi * i / BOSS_SPIKES
        half = math.radians(13)
        lead = [(r * math.cos(a - half * k), r * math.sin(a - half * k))
                for r, k in ((240, 0.85), (262, 0.5), (282, 0.05))]
        stroke_line(ctx, lead, 3.0, CREAM, 0.75)
        trail = [(r * math.cos(a + half * k), r * math.sin(a + half * k))
                 for r, k in ((240, 0.9), (258, 0.55), (276, 0.48))]
        stroke_line(ctx, trail, 5.0, PLUM, 0.45)


def _boss_ring(ctx):
    ring = circle((0, 0), 246)
    draw_part(ctx, [ring], _radial(190, 246, [(0, mix(PLUM, INK, 0.5)), (0.55, PLUM),
                                              (1, mix(PLUM, TERRACOTTA, 0.35))]),
              outline=BOSS_OUTLINE, light=0, shade=0, rim=False)
    # glowing teal runes between the spikes
    for i in range(BOSS_SPIKES):
        a = 2 * math.pi * (i + 0.5) / BOSS_SPIKES
        c = (220 * math.cos(a), 220 * math.sin(a))
        deg = math.degrees(a)
        glow = cairo.RadialGradient(c[0], c[1], 0, c[0], c[1], 22)
        glow.add_color_stop_rgba(0, *TEAL_GLOW, 0.55)
        glow.add_color_stop_rgba(1, *TEAL_GLOW, 0.0)
        ctx.set_source(glow)
        ctx.arc(c[0], c[1], 22, 0, 2 * math.pi)
        ctx.fill()
        fill_shape(ctx, ellipse(c, 12, 6, deg + 90), INK)
        fill_shape(ctx, ellipse(c, 9, 3.6, deg + 90), TEAL_GLOW)
        fill_shape(ctx, ellipse(c, 4, 1.6, deg + 90), STEEL_EDGE)
    # studs on the spike roots
    for i in range(BOSS_SPIKES):
        a = 2 * math.pi * i / BOSS_SPIKES
        c = (226 * math.cos(a), 226 * math.sin(a))
        fill_shape(ctx, circle(c, 8), INK)
        fill_shape(ctx, circle(c, 5.5), BRASS)
        fill_shape(ctx, circle(c, 2.5), CREAM)


def _boss_plates(ctx):
    plates = 8
    base = circle((0, 0), 196)
    draw_part(ctx, [base], _radial(110, 196, [(0, mix(BRASS, TERRACOTTA, 0.55)),
                                              (0.45, BRASS), (1, mix(BRASS, TERRACOTTA, 0.6))]),
              outline=BOSS_OUTLINE, light=0, shade=0, rim=False)
    for i in range(plates):
        a = 2 * math.pi * i / plates
        d = (math.cos(a), math.sin(a))
        stroke_line(ctx, [(d[0] * 120, d[1] * 120), (d[0] * 192, d[1] * 192)], 7, INK)
        # one swirl groove per plate, all turning the same way: it shows the spin direction
        mid = a + math.pi / plates
        pts = []
        for k in range(13):
            t = k / 12
            rr = 128 + 58 * t
            aa = mid - 0.42 + 0.5 * t
            pts.append((rr * math.cos(aa), rr * math.sin(aa)))
        stroke_line(ctx, pts, 6, mix(TERRACOTTA, INK, 0.3), 0.8)
        stroke_line(ctx, pts, 2.2, mix(BRASS, CREAM, 0.5), 0.8)
        for rr in (140, 176):
            c = (rr * math.cos(a + 0.09), rr * math.sin(a + 0.09))
            fill_shape(ctx, circle(c, 5), INK)
            fill_shape(ctx, circle(c, 3.2), CREAM)


def _fill_ring(ctx, r_in, r_out, stops):
    """A ring between two radii whose colour runs outward through (offset, colour, alpha)."""
    grad = cairo.RadialGradient(0, 0, r_in, 0, 0, r_out)
    for offset, colour, alpha in stops:
        grad.add_color_stop_rgba(offset, *colour, alpha)
    ctx.new_path()
    ctx.arc(0, 0, r_out, 0, 2 * math.pi)
    ctx.arc_negative(0, 0, r_in, 2 * math.pi, 0)
    ctx.set_source(grad)
    ctx.fill()


def _boss_depth(ctx):
    """Soft shadows where the plates meet the outer ring and the maw, and a band of sheen
    between: depth that stays put however the wheel turns."""
    _fill_ring(ctx, 150, 193, [(0, PLUM, 0.0), (1, PLUM, 0.5)])
    _fill_ring(ctx, 117, 150, [(0, PLUM, 0.5), (1, PLUM, 0.0)])
    _fill_ring(ctx, 150, 172, [(0, CREAM, 0.0), (0.5, CREAM, 0.22), (1, CREAM, 0.0)])


def _boss_eye(ctx):
    draw_part(ctx, [circle((0, 0), 118)], _radial(0, 118, [(0, mix(INK, PLUM, 0.4)), (1, INK)]),
              outline=BOSS_OUTLINE, light=0, shade=0, rim=False)
    for i in range(18):
        a = 2 * math.pi * (i + 0.25) / 18
        half = math.pi / 18 * 0.7
        tooth = polygon([(117 * math.cos(a - half), 117 * math.sin(a - half)),
                         (90 * math.cos(a), 90 * math.sin(a)),
                         (117 * math.cos(a + half), 117 * math.sin(a + half))])
        draw_part(ctx, [tooth], _radial(90, 117, [(0, STEEL_EDGE), (1, SAND)]), outline=2.5,
                  light=0, shade=0, rim=False)
    sclera = _radial(0, 88, [(0, CREAM), (0.75, mix(CREAM, SAND, 0.6)), (1, TERRACOTTA)])
    draw_part(ctx, [circle((0, 0), 88)], sclera, outline=4.0, light=0, shade=0, rim=False)
    iris = _radial(0, 64, [(0, TEAL_GLOW), (0.45, mix(TEAL_GLOW, SCARF, 0.6)), (0.8, SCARF),
                           (1, mix(SCARF, INK, 0.5))])
    draw_part(ctx, [circle((0, 0), 64)], iris, outline=4.0, light=0, shade=0, rim=False)
    for i in range(36):
        a = 2 * math.pi * i / 36
        stroke_line(ctx, [(34 * math.cos(a), 34 * math.sin(a)),
                          (58 * math.cos(a), 58 * math.sin(a))], 2.0, SCARF_LIGHT, 0.45)
    fill_shape(ctx, circle((0, 0), 30), INK)
    # a ring glint: it catches the light the same way whatever the turn
    ctx.new_path()
    ctx.arc(0, 0, 44, 0, 2 * math.pi)
    ctx.set_line_width(3.0)
    ctx.set_source_rgba(*STEEL_EDGE, 0.55)
    ctx.stroke()
    fill_shape(ctx, circle((0, 0), 9), mix(INK, TEAL_GLOW, 0.5))


def draw_boss():
    surface, ctx = new_canvas(BOSS_SIZE, BOSS_SIZE)
    ctx.translate(BOSS_SIZE / 2, BOSS_SIZE / 2)
    _boss_spikes(ctx)
    _boss_ring(ctx)
    _boss_plates(ctx)
    _boss_depth(ctx)
    _boss_eye(ctx)
    return surface


# --- the drop ----------------------------------------------------------------------------------

def draw_drop():
    surface, ctx = new_canvas(DROP_SIZE, DROP_SIZE)
    c = DROP_SIZE / 2
    body = cairo.RadialGradient(c - 1.2, c - 1.4, 0.3, c, c, DROP_RADIUS + 0.9)
    body.add_color_stop_rgba(0.0, *STEEL_EDGE, 1.0)
    body.add_color_stop_rgba(0.35, *mix(TEAL_GLOW, STEEL_EDGE, 0.35), 1.0)
    body.add_color_stop_rgba(0.72, *TEAL_GLOW, 1.0)
    body.add_color_stop_rgba(0.86, *mix(SCARF, INK, 0.25), 0.95)
    body.add_color_stop_rgba(1.0, *mix(SCARF, INK, 0.4), 0.0)
    ctx.arc(c, c, DROP_RADIUS + 0.9, 0, 2 * math.pi)
    ctx.set_source(body)
    ctx.fill()
    return surface
