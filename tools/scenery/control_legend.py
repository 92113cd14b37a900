"""The control legend on the title screen: what each key, mouse button and controller button does.

A new player reads it before the first foe: keyboard and mouse rows first, as keycaps and mouse
glyphs beside what they do, then, smaller, the controller's equivalents. Everything sits on a
soft dark panel so it reads over the sunset. Drawing returns the box of every piece of text and
every glyph, so the build can check that none of them covers the logo or the hero.
"""

import math

import kit

# Lettering, px. The title is never shown smaller than half size, where these still read.
ACTION_SIZE = 18   # what a keyboard or mouse input does
CAP_SIZE = 14      # the letter on a keycap, the controller's inputs and heading
PAD_SIZE = 16      # what a controller input does
ROW_PITCH = 25     # px between keyboard rows
PAD_PITCH = 24     # px between controller rows
CAP_HEIGHT = 20    # px: a keycap
GAP = 5            # px between the glyphs of one input
LIP = 2            # px: the shaded foot of a keycap
GLYPH_OUTLINE = 1.5  # px: the dark line round keycaps, mouse and face buttons
TEXT_OUTLINE = 1.5   # px: the dark rim round lettering, as the key prompt has
PANEL_EDGE = 1.5     # px: the panel's faint gold edge
PADDING = (16, 13)  # px: panel edge to its contents, across and down
SECTION_GAP = 12   # px between the keyboard's last row and the controller's heading
INPUT_WIDTH = 110  # px from the panel's contents to the first column of actions
ACTION_GAP = 9     # px from an input to its action
ACTION_COLOUR = "cream"
CATCH_COLOUR = "sand"  # the small print: what it costs, what comes next
HEADING_COLOUR = "gold"


def key(label):
    return ("key", label)


def mouse(button):
    return ("mouse", button)


def face(position):
    """A controller face button, named by where it sits, since the letters printed differ."""
    return ("face", position)


def word(text):
    return ("word", text)


OR = ("word", "/")

# (inputs, action, catch): the catch is the small print after the action.
KEYBOARD_ROWS = [
    ([key("D"), key("A")], "walk", ""),
    ([key("SPACE")], "jump", "twice to double-jump"),
    ([key("Shift"), OR, mouse("right")], "run", "costs health"),
    ([key("E"), OR, mouse("left")], "attack", "again for a second blow"),
    ([key("Q")], "dodge", ""),
    ([key("1"), key("2"), key("3")], "bare paws, blade, maul", ""),
    ([key("F11")], "full screen", ""),
]

# The controller, two inputs to a row.
PAD_ROWS = [
    [([word("stick"), OR, word("D-pad")], "walk"), ([key("RT")], "run")],
    [([face("bottom")], "jump"), ([face("left")], "attack")],
    [([face("right")], "dodge"), ([key("LB"), key("RB"), face("top")], "paws, blade, maul")],
]
PAD_COLUMN_GAP = 18  # px between the end of the first column and the second


def outlined(box):
    """A glyph's box grown by the half of its outline that lies outside it."""
    x0, y0, x1, y1 = box
    half = GLYPH_OUTLINE / 2
    return (x0 - half, y0 - half, x1 + half, y1 + half)


def glyph_middle(baseline, size):
    """Where a glyph beside lettering of this size centres: on its small letters' middle."""
    return baseline - size * 0.36


class Legend:
    """Lays the legend out and, when drawing, paints it; notes the box of everything on it."""

    def __init__(self, ctx, drawing):
        self.ctx, self.drawing = ctx, drawing
        self.items = []  # (box, font size or None for a glyph): box = (x0, y0, x1, y1)

    def note(self, box, size=None):
        self.items.append((box, size))

    # Pieces of text and glyphs; each returns its advance.

    def text(self, text, x, baseline, size, value):
        ctx = self.ctx
        kit.set_font(ctx, kit.FONT_SANS, size)
        ctx.move_to(x, baseline)
        ctx.text_path(text)
        ctx.set_line_width(2 * TEXT_OUTLINE)
        x0, y0, x1, y1 = ctx.stroke_extents()
        if self.drawing:
            kit.set_colour(ctx, "outline")
            ctx.stroke_preserve()
            kit.set_colour(ctx, value)
            ctx.fill()
        ctx.new_path()
        self.note((x0, y0, x1, y1), size)
        return kit.text_width(ctx, text)

    def keycap(self, label, x, middle):
        """A light key with a dark letter; a little lip at its foot gives it depth."""
        ctx = self.ctx
        kit.set_font(ctx, kit.FONT_SANS, CAP_SIZE)
        extents = ctx.text_extents(label)
        width = max(CAP_HEIGHT, extents.x_advance + 12)
        top = middle - CAP_HEIGHT / 2
        if self.drawing:
            kit.rounded_rect(ctx, x, top + LIP, width, CAP_HEIGHT, 4)
            kit.set_colour(ctx, "sand_dark")
            ctx.fill()
            kit.rounded_rect(ctx, x, top, width, CAP_HEIGHT, 4)
            kit.set_colour(ctx, "cream")
            ctx.fill_preserve()
            kit.set_colour(ctx, "outline")
            ctx.set_line_width(GLYPH_OUTLINE)
            ctx.stroke()
            ctx.move_to(x + (width - extents.width) / 2 - extents.x_bearing,
                        middle - extents.y_bearing - extents.height / 2)
            ctx.show_text(label)
        self.note(outlined((x, top, x + width, top + CAP_HEIGHT + LIP)), CAP_SIZE)
        return width

    def mouse(self, button, x, middle):
        """A mouse seen from above with the button to press lit."""
        ctx = self.ctx
        width, height = 15, 21
        top = middle - height / 2
        if self.drawing:
            kit.rounded_rect(ctx, x, top, width, height, 7)
            kit.set_colour(ctx, "cream")
            ctx.fill()
            split = top + 8
            ctx.save()
            kit.rounded_rect(ctx, x, top, width, height, 7)
            ctx.clip()
            ctx.rectangle(x + (width / 2 if button == "right" else 0), top, width / 2, split - top)
            kit.set_colour(ctx, "ember")
            ctx.fill()
            ctx.restore()
            ctx.move_to(x, split)
            ctx.line_to(x + width, split)
            ctx.move_to(x + width / 2, top)
            ctx.line_to(x + width / 2, split)
            kit.rounded_rect(ctx, x, top, width, height, 7)
            kit.set_colour(ctx, "outline")
            ctx.set_line_width(GLYPH_OUTLINE)
            ctx.stroke()
        self.note(outlined((x, top, x + width, top + height)))
        return width

    def face(self, position, x, middle):
        """The diamond of four face buttons with the one to press lit."""
        ctx = self.ctx
        spread, r = 6.0, 4.0
        cx = x + spread + r
        spots = {"top": (0, -1), "right": (1, 0), "bottom": (0, 1), "left": (-1, 0)}
        if self.drawing:
            for name, (dx, dy) in spots.items():
                ctx.new_sub_path()
                ctx.arc(cx + dx * spread, middle + dy * spread, r, 0, 2 * math.pi)
                kit.set_colour(ctx, "ember" if name == position else "cream")
                ctx.fill_preserve()
                kit.set_colour(ctx, "outline")
                ctx.set_line_width(GLYPH_OUTLINE)
                ctx.stroke()
        reach = spread + r
        self.note(outlined((cx - reach, middle - reach, cx + reach, middle + reach)))
        return 2 * (spread + r)

    def inputs(self, inputs, x, baseline, middle):
        """Draws the glyphs of one input from x on; returns where they end."""
        for kind, value in inputs:
            if kind == "key":
                x += self.keycap(value, x, middle)
            elif kind == "mouse":
                x += self.mouse(value, x, middle)
            elif kind == "face":
                x += self.face(value, x, middle)
            else:
                x += self.text(value, x, baseline, CAP_SIZE, HEADING_COLOUR)
            x += GAP
        return x - GAP

    def input_before(self, inputs, action_x, baseline, middle):
        """Draws an input so that it ends just before its action, which starts at action_x."""
        width = Legend(self.ctx, False).inputs(inputs, 0, baseline, middle)
        self.inputs(inputs, action_x - ACTION_GAP - width, baseline, middle)

    # The two sections.

    def keyboard(self, x, top):
        baseline = top + ACTION_SIZE
        action_x = x + INPUT_WIDTH
        for inputs, action, catch in KEYBOARD_ROWS:
            self.input_before(inputs, action_x, baseline, glyph_middle(baseline, ACTION_SIZE))
            after = action_x + self.text(action, action_x, baseline, ACTION_SIZE, ACTION_COLOUR)
            if catch:
                self.text(" \u2014 " + catch, after, baseline, ACTION_SIZE, CATCH_COLOUR)
            baseline += ROW_PITCH
        return baseline - ROW_PITCH

    def controller(self, x, top):
        """The heading, then two columns of inputs, each column's actions aligned."""
        baseline = top + CAP_SIZE
        self.text("Controller", x, baseline, CAP_SIZE, HEADING_COLOUR)
        kit.set_font(self.ctx, kit.FONT_SANS, PAD_SIZE)
        first_end = x + INPUT_WIDTH + max(kit.text_width(self.ctx, row[0][1]) for row in PAD_ROWS)
        second_inputs = max(Legend(self.ctx, False).inputs(row[1][0], 0, 0, 0) for row in PAD_ROWS)
        actions_x = (x + INPUT_WIDTH, first_end + PAD_COLUMN_GAP + second_inputs + ACTION_GAP)
        for row in PAD_ROWS:
            baseline += PAD_PITCH
            for (inputs, action), action_x in zip(row, actions_x):
                self.input_before(inputs, action_x, baseline, glyph_middle(baseline, PAD_SIZE))
                self.text(action, action_x, baseline, PAD_SIZE, ACTION_COLOUR)
        return baseline


def panel(ctx, box):
    """A soft dark panel with a faint gold edge, dark enough for the lettering to read."""
    x0, y0, x1, y1 = box
    kit.rounded_rect(ctx, x0, y0, x1 - x0, y1 - y0, 12)
    kit.set_colour(ctx, "outline", 0.8)
    ctx.fill_preserve()
    kit.set_colour(ctx, "gold", 0.35)
    ctx.set_line_width(PANEL_EDGE)
    ctx.stroke()


def lay_out(ctx, left, top, drawing):
    legend = Legend(ctx, drawing)
    x, y = left + PADDING[0], top + PADDING[1]
    legend.controller(x, legend.keyboard(x, y) + SECTION_GAP)
    return legend.items


def draw(ctx, left, top):
    """Draws the legend with its panel's top-left corner at (left, top); returns the panel's
    box and the (box, font size or None) of every piece of text and glyph on it."""
    content = kit.bounds([box for box, _ in lay_out(ctx, left, top, False)])
    box = (left, top, content[2] + PADDING[0], content[3] + PADDING[1])
    panel(ctx, box)
    return box, lay_out(ctx, left, top, True)
