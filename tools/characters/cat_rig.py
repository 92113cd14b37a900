"""The hero: a spotted wild cat standing upright, drawn from a small skeleton.

A pose names where the hips, paws and hands are (picture pixels, y up, origin on the ground
between the feet) and a few angles; the knees and elbows are found by two-bone inverse
kinematics, so every frame is the same cat with the same proportions. The cat faces +x.
"""
import math
from dataclasses import dataclass, field
from typing import Optional

import cairo

from paint import (BRASS, CREAM, EAR_INNER, EYE, FUR, FUR_LIGHT, INK, LEATHER, NOSE, PLUM,
                   SCARF, SCARF_LIGHT, SHADE, SPOT, STEEL, STEEL_EDGE, TEAL_GLOW, add, angle_of,
                   capsule, chain, circle, draw_part, ellipse, fill_shape, length, lerp, mix,
                   polygon, ribbon, stroke_line, sub, unit)

# Body measurements in picture pixels (the figure is drawn at half size in the game).
THIGH = 30.0
SHIN = 29.0
METATARSUS = 17.0
UPPER_ARM = 22.0
FOREARM = 21.0
TORSO = 32.0
TAIL_SEGMENT = 9.0
FAR_TINT = (mix(SHADE, INK, 0.3), 0.22)
OUTLINE = 4.0
HEAD_SCALE = 1.1      # a slightly large head keeps the face readable at half size
FOOT_LIFT = 5.0       # paws are drawn 5 px up so their outline rests on the ground line


@dataclass
class Weapon:
    kind: str                  # "blade" (short, one hand) or "maul" (two-handed)
    grip: tuple                # where the near hand holds it
    angle: float               # direction from the grip to the tip, degrees
    layer: str = "front"       # "front": over the body, "back": behind it
    foreshorten: float = 1.0   # < 1 when it points towards or away from the viewer


@dataclass
class Smear:
    """A motion arc left by a swing: centre, radius, sweep from a0 to a1 (degrees)."""
    centre: tuple
    radius: float
    a0: float
    a1: float
    width: float = 18.0
    squash: float = 1.0        # vertical squash, for spins seen edge-on
    inner: Optional[float] = None  # inner radius of a swept fan (None: a crescent)
    layer: str = "back"        # "back", "front", or "split": far half behind, near half in front


@dataclass
class Burst:
    """Short strokes flaring out where a blow lands."""
    centre: tuple
    direction: float
    size: float = 1.0


@dataclass
class Streak:
    """A straight speed line, fading towards its start."""
    start: tuple
    end: tuple
    width: float = 5.0


@dataclass
class Pose:
    hip: tuple = (-2.0, 64.0)
    lean: float = 6.0                    # torso tilt forward from upright, degrees
    head_tilt: float = 0.0               # nose up is positive
    near_paw: tuple = (9.0, 4.0)
    near_meta: float = 62.0              # metatarsus angle from the ground, rising backward
    near_toe: float = 0.0
    far_paw: tuple = (-9.0, 4.0)
    far_meta: float = 62.0
    far_toe: float = 0.0
    near_hand: tuple = (19.0, 88.0)
    far_hand: tuple = (27.0, 96.0)
    near_elbow: int = -1                 # -1 bends down/back, +1 up/forward
    far_elbow: int = -1
    tail: tuple = (200, 175, 150, 125, 110, 100)
    scarf: tuple = (190, 200, 210, 215, 210)
    scarf2: tuple = (200, 215, 228, 235, 235)
    ears_back: float = 0.0
    eye: str = "open"                    # "open", "fierce", "squint"
    mouth: str = "closed"                # "closed", "open"
    weapon: Optional[Weapon] = None
    smears: list = field(default_factory=list)
    bursts: list = field(default_factory=list)
    streaks: list = field(default_factory=list)
    mirror: bool = False                 # turned round (spin frames)


def solve_two_bone(root, target, a, b, bend):
    """Middle joint of a two-bone chain from root to target (clamped when out of reach)."""
    d = sub(target, root)
    dist = max(abs(a - b) + 0.5, min(a + b - 0.01, length(d)))
    base = math.atan2(d[1], d[0])
    cos_root = (a * a + dist * dist - b * b) / (2 * a * dist)
    spread = math.acos(max(-1.0, min(1.0, cos_root)))
    joint_angle = base + bend * spread
    return root[0] + a * math.cos(joint_angle), root[1] + a * math.sin(joint_angle)


def torso_frame(pose):
    axis = 90.0 - pose.lean
    hip = pose.hip
    chest = add(hip, unit(axis), TORSO)
    return axis, hip, chest


def shoulders(pose):
    axis, _, chest = torso_frame(pose)
    near = add(chest, unit(axis), -6.0)
    far = add(add(chest, unit(axis), -4.0), (4.0, 1.5))
    return near, far


def hands(pose):
    if pose.weapon and pose.weapon.kind == "maul":
        w = pose.weapon
        return w.grip, add(w.grip, unit(w.angle), 10.0 * w.foreshorten)
    if pose.weapon and pose.weapon.kind == "blade":
        return pose.weapon.grip, pose.far_hand
    return pose.near_hand, pose.far_hand


# --- parts -------------------------------------------------------------------------------------

def leg_shapes(hip, paw, meta_deg, toe_deg):
    hock = add(paw, (-math.cos(math.radians(meta_deg)), math.sin(math.radians(meta_deg))),
               METATARSUS)
    knee = solve_two_bone(hip, hock, THIGH, SHIN, +1)
    toe_dir = unit(toe_deg)
    return [
        capsule(hip, 10.5, knee, 6.5),
        capsule(knee, 6.2, hock, 4.3),
        capsule(hock, 4.4, paw, 4.6),
        capsule(add(paw, toe_dir, -2.0), 5.2, add(paw, toe_dir, 6.5), 4.2),
    ], (hip, knee, hock, paw)


def leg_spots(joints):
    hip, knee, hock, _ = joints

    def draw(ctx):
        for t, off, r in ((0.3, 3.0, 2.4), (0.55, -3.5, 2.1), (0.78, 2.0, 1.9), (0.15, -4.0, 2.0)):
            p = lerp(hip, knee, t)
            n = unit(angle_of(sub(knee, hip)) + 90)
            fill_shape(ctx, ellipse(add(p, n, off), r * 1.15, r, angle_of(sub(knee, hip))), SPOT)
        for t, off, r in ((0.35, 1.2, 1.6), (0.7, -1.0, 1.4)):
            p = lerp(knee, hock, t)
            n = unit(angle_of(sub(hock, knee)) + 90)
            fill_shape(ctx, ellipse(add(p, n, off), r * 1.2, r, angle_of(sub(hock, knee))), SPOT)
    return draw


def draw_leg(ctx, hip, paw, meta, toe, far):
    shapes, joints = leg_shapes(hip, paw, meta, toe)
    draw_part(ctx, shapes, FUR, outline=OUTLINE, detail=leg_spots(joints),
              tint=FAR_TINT if far else None)


def draw_arm(ctx, shoulder, hand, bend, far, fist_angle=0.0):
    elbow = solve_two_bone(shoulder, hand, UPPER_ARM, FOREARM, bend)
    shapes = [
        capsule(shoulder, 6.4, elbow, 4.8),
        capsule(elbow, 4.6, hand, 4.2),
        ellipse(hand, 6.2, 5.4, fist_angle),
    ]

    def spots(ctx):
        d = angle_of(sub(elbow, shoulder))
        n = unit(d + 90)
        for t, off, r in ((0.35, 2.0, 1.9), (0.7, -1.8, 1.6)):
            fill_shape(ctx, ellipse(add(lerp(shoulder, elbow, t), n, off), r * 1.2, r, d), SPOT)
        # paw pads of the fist catch a little cream
        fill_shape(ctx, ellipse(add(hand, unit(fist_angle), 2.5), 2.6, 3.3, fist_angle), CREAM, 0.8)
    draw_part(ctx, shapes, FUR, outline=OUTLINE, detail=spots, tint=FAR_TINT if far else None)


def draw_torso(ctx, pose):
    axis, hip, chest = torso_frame(pose)
    front = unit(axis - 90)
    shapes = [capsule(hip, 14.5, chest, 15.5), ellipse(add(chest, unit(axis), 2), 14, 13.5, axis)]

    def detail(ctx):
        belly = add(lerp(hip, chest, 0.55), front, 8.0)
        fill_shape(ctx, ellipse(belly, 9.5, 21.0, axis), CREAM)
        for u, v, r in ((0.35, -5, 2.6), (0.62, -8, 2.3), (0.85, -3, 2.0), (0.5, 1, 2.2),
                        (0.2, -9, 2.2), (0.75, 4, 1.8)):
            p = add(lerp(hip, chest, u), front, v)
            fill_shape(ctx, ellipse(p, r * 1.3, r, axis), SPOT)
        # belt: a leather strap across the waist with a brass buckle in front
        belt_c = lerp(hip, chest, 0.18)
        side = unit(axis - 90)
        a = add(belt_c, side, -20)
        b = add(belt_c, side, 20)
        stroke_line(ctx, [add(a, unit(axis), -2), add(b, unit(axis), 3)], 9.0, INK)
        stroke_line(ctx, [add(a, unit(axis), -2), add(b, unit(axis), 3)], 5.6, LEATHER)
        buckle = add(add(belt_c, side, 12), unit(axis), 2.3)
        fill_shape(ctx, ellipse(buckle, 3.8, 3.4, axis), INK)
        fill_shape(ctx, ellipse(buckle, 2.5, 2.2, axis), BRASS)
    draw_part(ctx, shapes, FUR, outline=OUTLINE, detail=detail, light=4.0, shade=6.0)


def draw_tail(ctx, pose):
    axis, hip, _ = torso_frame(pose)
    base = add(add(hip, unit(axis - 90), -9), unit(axis), 2)
    pts = chain(base, pose.tail, TAIL_SEGMENT)
    radii = [5.6, 5.4, 5.1, 4.8, 4.5, 4.2, 4.0]
    shapes = [capsule(pts[i], radii[i], pts[i + 1], radii[i + 1]) for i in range(len(pts) - 1)]

    def rings(ctx):
        for i in (2, 3, 4, 5):
            if i < len(pts) - 1:
                p = lerp(pts[i], pts[i + 1], 0.55)
                d = angle_of(sub(pts[i + 1], pts[i]))
                fill_shape(ctx, ellipse(p, 2.4, 8, d), SPOT)
        tip = pts[-1]
        fill_shape(ctx, circle(tip, 5.5), SPOT)
    draw_part(ctx, shapes, FUR, outline=OUTLINE, detail=rings)


def scarf_anchor(pose):
    axis, _, chest = torso_frame(pose)
    return add(add(chest, unit(axis), 7), unit(axis - 90), -9)


def draw_scarf_tails(ctx, pose):
    anchor = scarf_anchor(pose)
    for angles, w0 in ((pose.scarf2, 8.5), (pose.scarf, 10.0)):
        ripple = [a + 9.0 * math.sin(i * 1.9 + w0) for i, a in enumerate(angles)]
        pts = chain(anchor, ripple, 8.5)
        widths = [w0 * (1 - 0.1 * i) for i in range(len(pts))]
        # a swallow-tail notch at the free end
        end = pts[-1]
        d = unit(angles[-1])
        n = (-d[1], d[0])
        tail_shape = ribbon(pts, widths)
        notch = polygon([add(end, n, widths[-1] * 0.55), add(end, d, 5.0),
                         add(end, d, -3.0), add(end, n, -widths[-1] * 0.55),
                         add(add(end, d, 6.0), n, -widths[-1] * 0.5),
                         add(add(end, d, 6.0), n, widths[-1] * 0.5)])
        draw_part(ctx, [tail_shape, notch], SCARF, outline=3.4, light=2.0, shade=3.0,
                  light_alpha=0.35)


def draw_scarf_wrap(ctx, pose):
    axis, _, chest = torso_frame(pose)
    neck = add(chest, unit(axis), 7)
    side = unit(axis - 90)
    shapes = [capsule(add(neck, side, -9), 5.6, add(neck, side, 9), 5.0),
              ellipse(add(add(neck, side, -8), unit(axis), -3), 5, 6, axis)]

    def stripes(ctx):
        for k in (-4, 2, 8):
            p = add(neck, side, k)
            stroke_line(ctx, [add(p, unit(axis), -7), add(add(p, unit(axis), 7), side, 2)],
                        1.6, SCARF_LIGHT, 0.7)
    draw_part(ctx, shapes, SCARF, outline=3.4, detail=stripes, light=2.0, shade=3.0,
              light_alpha=0.35)


def head_centre(pose):
    axis, _, chest = torso_frame(pose)
    return add(add(chest, unit(axis), 23), (3.0, 0.0))


def ear_shape(base, tip, width):
    d = sub(tip, base)
    n = (-d[1] / length(d), d[0] / length(d))
    a = add(base, n, width / 2)
    b = add(base, n, -width / 2)
    mid_a = add(lerp(base, tip, 0.62), n, width * 0.42)
    mid_b = add(lerp(base, tip, 0.62), n, -width * 0.42)
    return polygon([a, mid_a, tip, mid_b, b, lerp(base, tip, -0.15)], smooth=True)


def draw_head(ctx, pose):
    ctx.save()
    c = head_centre(pose)
    ctx.translate(*c)
    ctx.rotate(math.radians(pose.head_tilt))
    ctx.scale(HEAD_SCALE, HEAD_SCALE)
    back = -pose.ears_back

    far_ear = ear_shape((5, 10), (9 + back * 0.6, 36 - abs(back) * 0.2), 19)
    draw_part(ctx, [far_ear], FUR, outline=OUTLINE, tint=FAR_TINT,
              detail=lambda k: fill_shape(k, ellipse((9 + back * 0.4, 26), 4.2, 6.5, -5), SPOT))

    skull = [circle((0, 0), 17.0), ellipse((13.0, -6.5), 11.5, 8.8, -8),
             polygon([(-15, -6), (-21, -15), (-12, -13), (-14, -19), (-5, -15), (2, -16)]),
             ellipse((2, -8), 15, 10)]

    def face(k):
        fill_shape(k, ellipse((15.5, -10.5), 10.0, 6.0, -6), CREAM)           # muzzle and chin
        fill_shape(k, ellipse((-4, -12), 9.0, 5.0, 20), CREAM, 0.85)          # cheek ruff
        for x0, x1, w in ((-2, -12, 2.0), (3, -8, 1.8), (-7, -15, 1.6)):      # brow stripes
            stroke_line(k, [(x0, 12), (x1, 4)], w, SPOT)
        stroke_line(k, [(8, -2), (10, -9), (13, -12)], 1.8, SPOT)             # tear mark
        for p in ((-10, -2), (-13, 4), (-8, 8)):
            fill_shape(k, circle(p, 1.6), SPOT)
    draw_part(ctx, skull, FUR, outline=OUTLINE, detail=face, light=2.5, shade=4.0)

    near_ear = ear_shape((-6, 11), (-9 + back, 38 - abs(back) * 0.3), 21)

    def inner(k):
        fill_shape(k, ear_shape((-6, 11), (-8.5 + back, 33 - abs(back) * 0.3), 12),
                   EAR_INNER)
        stroke_line(k, [(-6, 13), (-7 + back * 0.4, 22)], 1.4, CREAM, 0.9)
        stroke_line(k, [(-4, 13), (-3 + back * 0.4, 21)], 1.2, CREAM, 0.9)
    draw_part(ctx, [near_ear], FUR, outline=OUTLINE, detail=inner, light=2.0, shade=3.0)

    draw_eye(ctx, pose.eye)
    # nose and mouth
    fill_shape(ctx, polygon([(21.5, -2.0), (26.5, -2.5), (24.5, -6.5)], smooth=True), NOSE)
    stroke_line(ctx, [(21.5, -2.0), (26.5, -2.5), (24.5, -6.5), (21.5, -2.0)], 1.2, INK)
    if pose.mouth == "open":
        fill_shape(ctx, polygon([(23.5, -8), (14, -11), (21, -15.5)], smooth=True), INK)
        fill_shape(ctx, polygon([(20.5, -9.2), (19.2, -11.8), (18.8, -9.6)]), CREAM)
    else:
        stroke_line(ctx, [(24.3, -7), (22.5, -10.5), (18.5, -11.5)], 1.4, INK)
    for dy, a in ((-7, -4), (-9.5, -14)):
        stroke_line(ctx, [(20, dy), add((20, dy), unit(a), 11)], 0.9, FUR_LIGHT, 0.9)
    ctx.restore()


def draw_eye(ctx, kind):
    centre = (10.5, 2.5)
    open_h = {"open": 4.6, "fierce": 3.6, "squint": 1.6}[kind]
    eye = ellipse(centre, 5.4, open_h, -8)
    fill_shape(ctx, eye, EYE)
    fill_shape(ctx, ellipse((centre[0] + 1.4, centre[1]), 1.6, min(open_h, 3.8), 0), INK)
    fill_shape(ctx, circle((centre[0] + 2.4, centre[1] + 1.5), 1.1), STEEL_EDGE)
    ctx.new_path()
    eye(ctx)
    ctx.set_source_rgb(*INK)
    ctx.set_line_width(1.4)
    ctx.stroke()
    lid_tilt = {"open": 1.0, "fierce": -3.0, "squint": 0.0}[kind]
    stroke_line(ctx, [(centre[0] - 6.5, centre[1] + 3.5 + lid_tilt),
                      (centre[0] + 1, centre[1] + open_h + 0.8),
                      (centre[0] + 6.5, centre[1] + 2.2 - lid_tilt * 0.3)], 2.6, INK)


# --- weapons -----------------------------------------------------------------------------------

def draw_weapon(ctx, weapon):
    ctx.save()
    ctx.translate(*weapon.grip)
    ctx.rotate(math.radians(weapon.angle))
    ctx.scale(weapon.foreshorten, 1.0)
    if weapon.kind == "blade":
        _draw_blade(ctx)
    else:
        _draw_maul(ctx)
    ctx.restore()


def _steel_detail(edge_from, edge_to):
    def detail(k):
        stroke_line(k, [edge_from, edge_to], 2.2, STEEL_EDGE, 0.9)
    return detail


def _draw_blade(ctx):
    # a short leaf-shaped knife: grip centred on the hand, blade forward
    draw_part(ctx, [capsule((-9, 0), 2.8, (6, 0), 2.8), circle((-10.5, 0), 3.4)], LEATHER,
              outline=3.0, light=1.2, shade=1.6)
    blade = polygon([(8, 3.6), (24, 5.6), (40, 2.4), (49, 0), (40, -2.6), (24, -4.4), (8, -3.4)],
                    smooth=False)
    draw_part(ctx, [blade], STEEL, outline=3.0, light=0, shade=2.4, shade_alpha=0.35,
              detail=_steel_detail((10, 1.8), (46, 0.4)))
    draw_part(ctx, [capsule((7, -6.5), 2.2, (7, 6.5), 2.2)], BRASS, outline=2.8, light=1.0,
              shade=1.4)


def _draw_maul(ctx):
    """A long-hafted maul: wooden haft with a leather grip, a plum head bound in brass.

    The head's striking face is 146 px beyond the near hand, so swung level from the shoulder
    it reaches the end of the heavy blow's reach."""
    haft = [capsule((-12, 0), 3.8, (128, 0), 3.4)]
    draw_part(ctx, haft, mix(LEATHER, BRASS, 0.45), outline=3.2, light=1.4, shade=2.0)
    draw_part(ctx, [capsule((-9, 0), 4.2, (13, 0), 4.2), circle((-13, 0), 5.2)], LEATHER,
              outline=3.0, light=1.2, shade=1.8,
              detail=lambda k: [stroke_line(k, [(x, -4), (x + 3, 4)], 1.4, INK, 0.5)
                                for x in (-6, -1, 4, 9)])
    head = [polygon([(116, -22), (146, -19), (146, 19), (116, 22)]),
            capsule((112, 0), 9, (120, 0), 9)]

    def bands(k):
        for x0 in (121, 140):
            k.new_path()
            k.rectangle(x0, -24, 5, 48)
            k.set_source_rgb(*BRASS)
            k.fill()
            stroke_line(k, [(x0, -24), (x0, 24)], 1.2, INK, 0.6)
            stroke_line(k, [(x0 + 5, -24), (x0 + 5, 24)], 1.2, INK, 0.6)
        fill_shape(k, ellipse((132, 0), 4.5, 7), TEAL_GLOW)
        stroke_line(k, [(117, -17), (145, -15)], 2.4, mix(PLUM, STEEL_EDGE, 0.45), 0.9)
    draw_part(ctx, head, PLUM, outline=3.6, detail=bands, light=2.0, shade=3.0,
              shade_alpha=0.5)


# --- motion smears -----------------------------------------------------------------------------

def _fade(start, end, colour, stops):
    """A straight gradient of one colour, its alpha given at offsets from start to end."""
    grad = cairo.LinearGradient(start[0], start[1], end[0], end[1])
    for offset, alpha in stops:
        grad.add_color_stop_rgba(offset, *colour, alpha)
    return grad


def _trace_points(ctx, points):
    ctx.new_path()
    ctx.move_to(*points[0])
    for p in points[1:]:
        ctx.line_to(*p)


def _fill_band(ctx, outer, inner, start, end):
    """A swept band: bright where the weapon is now, fading where it came from."""
    _trace_points(ctx, outer + inner[::-1])
    ctx.close_path()
    ctx.set_source(_fade(start, end, STEEL_EDGE, ((0.0, 0.0), (0.55, 0.45), (1.0, 0.92))))
    ctx.fill()
    _trace_points(ctx, outer)
    ctx.set_source(_fade(start, end, SCARF, ((0.0, 0.0), (1.0, 0.9))))
    ctx.set_line_width(2.6)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.stroke()


def draw_smear(ctx, smear):
    """A crescent along the tip's path that thickens and brightens towards a1.

    With an inner radius the smear is a swept fan instead (the whole blade sweeping, for the
    spin), squashed vertically as a level circle seen from just above.
    """
    steps = 40
    outer, inner = [], []
    for i in range(steps + 1):
        t = i / steps
        a = math.radians(smear.a0 + (smear.a1 - smear.a0) * t)
        if smear.inner is None:
            r_in = smear.radius - smear.width * math.sin(min(t, 0.999) * math.pi * 0.5) ** 1.4
        else:
            r_in = smear.inner
        outer.append((smear.centre[0] + smear.radius * math.cos(a),
                      smear.centre[1] + smear.radius * math.sin(a) * smear.squash))
        inner.append((smear.centre[0] + r_in * math.cos(a),
                      smear.centre[1] + r_in * math.sin(a) * smear.squash))
    _fill_band(ctx, outer, inner, outer[0], outer[-1])


def draw_smear_layer(ctx, smear, layer):
    if smear.layer == layer:
        draw_smear(ctx, smear)
    elif smear.layer == "split" and layer in ("back", "front"):
        ctx.save()
        cx, cy = smear.centre
        if layer == "back":
            ctx.rectangle(cx - 400, cy, 800, 400)
        else:
            ctx.rectangle(cx - 400, cy - 400, 800, 400)
        ctx.clip()
        draw_smear(ctx, smear)
        ctx.restore()


def draw_burst(ctx, burst):
    for spread, r0, r1 in ((-38, 9, 17), (0, 8, 21), (38, 9, 17)):
        d = unit(burst.direction + spread)
        a = add(burst.centre, d, r0 * burst.size)
        b = add(burst.centre, d, r1 * burst.size)
        stroke_line(ctx, [a, b], 5.0, INK, 0.85)
        stroke_line(ctx, [a, b], 2.6, STEEL_EDGE)


def draw_streak(ctx, streak):
    _trace_points(ctx, [streak.start, streak.end])
    ctx.set_source(_fade(streak.start, streak.end, STEEL_EDGE, ((0.0, 0.0), (1.0, 0.75))))
    ctx.set_line_width(streak.width)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.stroke()


# --- the whole cat -----------------------------------------------------------------------------

def draw_cat(ctx, pose):
    """Draws the pose into a context whose origin is between the feet, y up."""
    ctx.save()
    ctx.translate(0, FOOT_LIFT)
    if pose.mirror:
        ctx.scale(-1, 1)
    near_shoulder, far_shoulder = shoulders(pose)
    near_hand, far_hand = hands(pose)
    axis, hip, _ = torso_frame(pose)
    near_hip = add(hip, (1.5, -1.0))
    far_hip = add(hip, (-2.0, 2.0))
    for s in pose.smears:
        draw_smear_layer(ctx, s, "back")
    for s in pose.streaks:
        draw_streak(ctx, s)
    draw_scarf_tails(ctx, pose)
    draw_tail(ctx, pose)
    if pose.weapon and pose.weapon.layer == "back":
        draw_weapon(ctx, pose.weapon)
    draw_arm(ctx, far_shoulder, far_hand, pose.far_elbow, far=True)
    draw_leg(ctx, far_hip, pose.far_paw, pose.far_meta, pose.far_toe, far=True)
    draw_torso(ctx, pose)
    draw_leg(ctx, near_hip, pose.near_paw, pose.near_meta, pose.near_toe, far=False)
    draw_head(ctx, pose)
    draw_scarf_wrap(ctx, pose)
    if pose.weapon and pose.weapon.layer == "front":
        draw_weapon(ctx, pose.weapon)
    fist = pose.weapon.angle if pose.weapon else angle_of(sub(near_hand, near_shoulder))
    draw_arm(ctx, near_shoulder, near_hand, pose.near_elbow, far=False, fist_angle=fist)
    for s in pose.smears:
        draw_smear_layer(ctx, s, "front")
    for b in pose.bursts:
        draw_burst(ctx, b)
    ctx.restore()
