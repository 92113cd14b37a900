"""Checks the title's layout and fails the build if the control legend spoils it.

Draws the title again and reads the boxes the drawing reports: the logo (with its shadow), the
hero's silhouette, the legend's panel and every piece of text and glyph on it. The legend must
keep clear of the logo and the hero, stay on its panel above the key prompt, keep its pieces
apart, and letter nothing smaller than the title's half-size window can still show.

Usage: check_screens.py
"""

import sys

import draw_screens
import kit

MIN_TEXT_PX = 14  # px: the smallest lettering, which the half-size window shows at 7 px


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def inside(inner, outer):
    return (outer[0] <= inner[0] and outer[1] <= inner[1] and inner[2] <= outer[2]
            and inner[3] <= outer[3])


def faults(layout):
    """Every way the legend spoils the title, in words; none when the layout is sound."""
    found = []
    panel = layout["panel"]
    above_prompt = (0, 0, draw_screens.WIDTH, draw_screens.PROMPT_BAND[0])
    for name in ("logo", "hero"):
        if overlap(panel, layout[name]):
            found.append(f"the legend's panel {panel} covers the {name} {layout[name]}")
    if not inside(panel, above_prompt):
        found.append(f"the legend's panel {panel} leaves the screen or meets the key prompt")
    items = layout["legend"]
    for i, (box, size) in enumerate(items):
        for name in ("logo", "hero"):
            if overlap(box, layout[name]):
                found.append(f"legend piece {box} covers the {name} {layout[name]}")
        if not inside(box, panel):
            found.append(f"legend piece {box} sticks out of its panel {panel}")
        if size is not None and size < MIN_TEXT_PX:
            found.append(f"legend text at {box} is {size} px, under {MIN_TEXT_PX} px")
        found += [f"legend pieces {box} and {other} overlap"
                  for other, _ in items[i + 1:] if overlap(box, other)]
    return found


def main():
    _, ctx = kit.new_canvas(draw_screens.WIDTH, draw_screens.HEIGHT, opaque=True)
    layout = draw_screens.title(ctx, kit.seeded("title"))
    found = faults(layout)
    for fault in found:
        print(f"title: {fault}", file=sys.stderr)
    print(f"title: {len(layout['legend'])} legend pieces on a panel at {layout['panel']}, "
          f"clear of the logo {layout['logo']} and the hero {layout['hero']}"
          if not found else f"title: {len(found)} layout faults")
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
