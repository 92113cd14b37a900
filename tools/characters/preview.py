"""Artist's preview, not part of the build: frames zoomed and at their in-game size.

Usage: preview.py OUT.png IMAGE_DIR NAME...  Each frame is shown twice, cropped round the
figure at full picture size over a checkerboard with its pivot and the attack reach marked,
and at the size the game draws it (half size for the hero) over a light and a dark ground.
"""
import os
import sys

import cairo

PIVOTS = {"enemy": (64, 128, 0.75), "enemy_boss": (300, 300, 0.75), "water_particle": (8, 8, 1.0)}
CAT = (256, 384, 0.5)
UNIT = 128  # picture pixels per world unit for the hero


def checker(ctx, x, y, w, h, size=8):
    for j in range(0, h, size):
        for i in range(0, w, size):
            shade = 0.84 if (i // size + j // size) % 2 else 0.94
            ctx.set_source_rgb(shade, shade, shade)
            ctx.rectangle(x + i, y + j, min(size, w - i), min(size, h - j))
            ctx.fill()


def main(out, image_dir, names):
    crop = (40, 150, 440, 300)  # x, y, w, h of the picture around the figure
    cell_w = crop[2] + 2 * 200 + 40
    cell_h = crop[3] + 30
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, cell_w, cell_h * len(names))
    ctx = cairo.Context(surface)
    ctx.set_source_rgb(1, 1, 1)
    ctx.paint()
    for row, name in enumerate(names):
        img = cairo.ImageSurface.create_from_png(os.path.join(image_dir, name + ".png"))
        px, py, scale = PIVOTS.get(name, CAT)
        top = row * cell_h
        checker(ctx, 0, top, crop[2], crop[3])
        ctx.save()
        ctx.rectangle(0, top, crop[2], crop[3])
        ctx.clip()
        ctx.set_source_surface(img, -crop[0], top - crop[1])
        ctx.paint()
        if name.startswith("serval_cat"):
            # hit box lanes: 0.1 to 0.5 / 0.7 / 1.4 units in front of the centre line
            for reach, colour in ((0.5, (1, 0, 0)), (0.7, (0, 0.6, 0)), (1.4, (0, 0, 1))):
                for side in (1, -1):
                    x = px - crop[0] + side * reach * UNIT
                    ctx.set_source_rgba(*colour, 0.5)
                    ctx.rectangle(x, top, 1, crop[3])
                    ctx.fill()
            ctx.set_source_rgba(0, 0, 0, 0.4)
            ctx.rectangle(0, top + py - crop[1] - 1.2 * UNIT, crop[2], 1)
            ctx.fill()
        ctx.set_source_rgb(1, 0, 0)
        ctx.arc(px - crop[0], top + py - crop[1], 3, 0, 6.3)
        ctx.fill()
        ctx.restore()
        for k, ground in enumerate(((0.91, 0.81, 0.6), (0.17, 0.14, 0.22))):
            x0 = crop[2] + 20 + k * 210
            ctx.set_source_rgb(*ground)
            ctx.rectangle(x0, top, 200, crop[3])
            ctx.fill()
            ctx.save()
            ctx.translate(x0 + 100, top + 200)
            ctx.scale(scale, scale)
            ctx.set_source_surface(img, -px, -py)
            ctx.paint()
            ctx.restore()
        ctx.set_source_rgb(0, 0, 0)
        ctx.move_to(4, top + crop[3] + 18)
        ctx.set_font_size(14)
        ctx.show_text(name)
    surface.write_to_png(out)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
