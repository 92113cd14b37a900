"""Shared drawing kit for Tarnwick's scenery: the palette, gradients, ridge lines and lettering.

Every picture of the scenery is drawn with cairo from these helpers, so the title, the
backdrops, the terrain and the overlay share one palette and one outline weight. Randomness
always comes from a seeded random.Random, so every build draws the same pixels.
"""

import math
import random

import cairo

# The game's palette: plum outlines, warm earth, dusky teal accents, cream highlights.
PALETTE = {
    "outline": "#2b1d2e",
    "plum": "#4a2c47",
    "plum_light": "#6d4262",
    "indigo": "#2c2a4a",
    "indigo_deep": "#1b1930",
    "ochre": "#d9a441",
    "ochre_dark": "#a86f2c",
    "gold": "#f2c75c",
    "terracotta": "#c2603d",
    "terracotta_dark": "#8a3b2c",
    "rust": "#a44a32",
    "sand": "#e8cf9a",
    "sand_dark": "#c9a76a",
    "cream": "#fbefd5",
    "teal": "#3f8f8a",
    "teal_dark": "#24565a",
    "teal_glow": "#7fd8c8",
    "olive": "#7d8a3a",
    "moss": "#5e7a3a",
    "loam": "#5a3a2c",
    "loam_dark": "#3b2622",
    "rose": "#e08a7a",
    "ember": "#e2572f",
}

OUTLINE_WIDTH = 3.0  # px: the outline weight every picture of the scenery uses


def rgb(name_or_hex):
    """Colour as an (r, g, b) triple of floats, from a palette name or a #rrggbb string."""
    text = PALETTE.get(name_or_hex, name_or_hex)
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (1, 3, 5))


def mix(a, b, t):
    """Blend two colours (names, hex or triples): t = 0 gives a, t = 1 gives b."""
    ca = a if isinstance(a, tuple) else rgb(a)
    cb = b if isinstance(b, tuple) else rgb(b)
    return tuple(x + (y - x) * t for x, y in zip(ca, cb))


def colour(value):
    return value if isinstance(value, tuple) else rgb(value)


def set_colour(ctx, value, alpha=1.0):
    ctx.set_source_rgba(*colour(value), alpha)


def new_canvas(width, height, opaque=False):
    """A fresh surface and its context; opaque canvases are RGB24 so their PNG has no alpha."""
    fmt = cairo.FORMAT_RGB24 if opaque else cairo.FORMAT_ARGB32
    surface = cairo.ImageSurface(fmt, width, height)
    ctx = cairo.Context(surface)
    ctx.set_antialias(cairo.ANTIALIAS_GOOD)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    return surface, ctx


def gradient(pattern, stops):
    """Add (offset, colour[, alpha]) stops to a cairo gradient and return it."""
    for stop in stops:
        offset, value = stop[0], stop[1]
        alpha = stop[2] if len(stop) > 2 else 1.0
        pattern.add_color_stop_rgba(offset, *colour(value), alpha)
    return pattern


def vertical(y0, y1, stops):
    return gradient(cairo.LinearGradient(0, y0, 0, y1), stops)


def radial(x, y, r, stops):
    return gradient(cairo.RadialGradient(x, y, 0, x, y, r), stops)


def glow(ctx, x, y, r, value, alpha):
    """A soft light fading to nothing at radius r."""
    ctx.set_source(radial(x, y, r, [(0, value, alpha), (0.45, value, alpha * 0.35),
                                    (1, value, 0)]))
    ctx.arc(x, y, r, 0, 2 * math.pi)
    ctx.fill()


def ridge(rng, width, base, waves, step=4):
    """Points (x, y) of a hill line: base height plus a few sine waves of random phase.

    waves is a list of (amplitude px, wavelength px) pairs; the phases come from rng so each
    seed gives a different but repeatable skyline.
    """
    phases = [rng.uniform(0, 2 * math.pi) for _ in waves]
    points = []
    for x in range(-step, width + 2 * step, step):
        y = base + sum(a * math.sin(2 * math.pi * x / length + p)
                       for (a, length), p in zip(waves, phases))
        points.append((x, y))
    return points


def silhouette_path(ctx, points, bottom):
    """A closed path under a line of points down to the y value bottom."""
    ctx.move_to(points[0][0], bottom)
    for x, y in points:
        ctx.line_to(x, y)
    ctx.line_to(points[-1][0], bottom)
    ctx.close_path()


def fill_silhouette(ctx, points, bottom, source, rim=None, rim_alpha=0.6):
    """Fill the land under a line; an optional rim light traces its crest."""
    silhouette_path(ctx, points, bottom)
    ctx.set_source(source)
    ctx.fill()
    if rim is None:
        return
    ctx.move_to(*points[0])
    for x, y in points[1:]:
        ctx.line_to(x, y)
    set_colour(ctx, rim, rim_alpha)
    ctx.set_line_width(1.5)
    ctx.stroke()


def rounded_rect(ctx, x, y, w, h, r):
    r = min(r, w / 2, h / 2)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def bounds(boxes):
    """The smallest box (x0, y0, x1, y1) holding all the given boxes."""
    return (min(b[0] for b in boxes), min(b[1] for b in boxes),
            max(b[2] for b in boxes), max(b[3] for b in boxes))


def stroke_inside(ctx, width, value, alpha=1.0):
    """Stroke the current path so the line lies wholly inside it (the shape keeps its size)."""
    path = ctx.copy_path()
    ctx.save()
    ctx.clip_preserve()
    ctx.set_line_width(2 * width)
    set_colour(ctx, value, alpha)
    ctx.stroke()
    ctx.restore()
    ctx.new_path()
    ctx.append_path(path)


def stars(ctx, rng, count, width, height, value="cream", max_alpha=0.9):
    """A scatter of small twinkling dots in the upper part of a sky."""
    for _ in range(count):
        x, y = rng.uniform(0, width), rng.uniform(0, height) ** 1.3 / height ** 0.3
        size = rng.choice((0.6, 0.8, 1.0, 1.4))
        alpha = rng.uniform(0.25, max_alpha) * (1 - y / height)
        set_colour(ctx, value, alpha)
        ctx.arc(x, y, size, 0, 2 * math.pi)
        ctx.fill()


def _puffs(ctx, x, y, w, h, puffs, lift=0.0):
    for dx, dy, r in puffs:
        ctx.new_sub_path()
        ctx.arc(x + dx * w, y + dy * h - lift, r * h, 0, 2 * math.pi)
    ctx.rectangle(x - 0.5 * w, y - 0.2 * h, w, 0.2 * h)


def cloud(ctx, rng, x, y, w, h, body, light, alpha=1.0):
    """A soft flat-bottomed cumulus: a row of puffs, lit along the top, shaded underneath.

    (x, y) is the middle of its flat base; w and h its rough width and height.
    """
    count = max(3, int(w / h * 1.6))
    puffs = []
    for i in range(count):
        t = (i + 0.5) / count - 0.5
        r = (0.55 - abs(t) * 0.6) * rng.uniform(0.8, 1.15)
        puffs.append((t * 0.85, -r * 0.55, r))
    ctx.save()
    ctx.rectangle(x - w, y - 2 * h, 2 * w, 2 * h)  # keep the base flat
    ctx.clip()
    _puffs(ctx, x, y, w, h, puffs)
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)
    ctx.clip_preserve()
    ctx.set_source(vertical(y - h, y, [(0, light, alpha), (1, body, alpha)]))
    ctx.fill()
    _puffs(ctx, x + 0.04 * w, y + 0.12 * h, w, h, puffs)
    set_colour(ctx, body, alpha * 0.55)
    ctx.fill()
    ctx.restore()


def seeded(name):
    """A random source seeded from a picture's name: stable across runs and machines."""
    return random.Random(sum((i + 1) * ord(c) for i, c in enumerate(name)))


# Lettering: DejaVu from fonts-dejavu-core, hinting off so glyph outlines do not depend on the
# machine's fontconfig settings.
FONT_SANS = "DejaVu Sans"
FONT_SERIF = "DejaVu Serif"


def set_font(ctx, family, size, bold=True):
    ctx.select_font_face(family, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    options = cairo.FontOptions()
    options.set_hint_style(cairo.HINT_STYLE_NONE)
    options.set_hint_metrics(cairo.HINT_METRICS_OFF)
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    ctx.set_font_options(options)


def text_width(ctx, text):
    return ctx.text_extents(text).x_advance


def outlined_text(ctx, text, x, y, fill, outline="outline", width=OUTLINE_WIDTH, shadow=True):
    """Text whose left baseline starts at (x, y), with a plum outline and a soft drop shadow."""
    if shadow:
        ctx.move_to(x + 1.5, y + 2.5)
        ctx.text_path(text)
        set_colour(ctx, "outline", 0.45)
        ctx.set_line_width(2 * width)
        ctx.stroke_preserve()
        ctx.fill()
    ctx.move_to(x, y)
    ctx.text_path(text)
    set_colour(ctx, outline)
    ctx.set_line_width(2 * width)
    ctx.stroke_preserve()
    ctx.set_source(fill) if isinstance(fill, cairo.Pattern) else set_colour(ctx, fill)
    ctx.fill()


def centred_text(ctx, text, cx, y, fill, **kwargs):
    outlined_text(ctx, text, cx - text_width(ctx, text) / 2, y, fill, **kwargs)


def save(surface, path):
    surface.flush()
    surface.write_to_png(path)


def paint_screens(painters, out_dir, width, height):
    """Paint full-screen opaque pictures: painters maps each picture's name to a function
    (ctx, rng) that draws it; rng is seeded from the name."""
    for name, paint in painters.items():
        surface, ctx = new_canvas(width, height, opaque=True)
        paint(ctx, seeded(name))
        save(surface, f"{out_dir}/{name}.png")
