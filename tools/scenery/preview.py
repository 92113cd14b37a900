"""Mock game frames for judging the scenery by eye (not part of the build).

Composes 800 x 600 frames as the map screen shows them: the stage's backdrop, the terrain
picture placed with its bottom-left corner on the world origin for a given camera, the hero's
standing frame where the camera would keep it, and the overlay (gauge fill, frame, weapon plate).

Usage: preview.py IMAGES_DIR OUT_DIR
"""

import os
import sys

import cairo

import stage_layout

PIXELS_PER_UNIT = 64
SCREEN_W, SCREEN_H = 800, 600
HERO_PIVOT = (256, 384)  # the point between the hero's feet in its 512 x 512 frames
HERO_SCALE = 0.5

# (stage, camera x, camera y) in world units, chosen to show each stage's typical views.
CAMERAS = [
    (1, 0.0, 0.0), (1, 22.0, 0.0), (1, 41.0, 0.0),
    (2, 0.0, 6.2), (2, 9.0, 3.0), (2, 16.0, 8.5), (2, 38.0, 6.5),
    (3, 0.0, 24.0), (3, 25.0, 13.0), (3, 52.0, 4.0),
    (4, 0.0, 0.0), (4, 3.0, 0.0),
]


def load(images, name):
    path = os.path.join(images, name + ".png")
    return cairo.ImageSurface.create_from_png(path) if os.path.exists(path) else None


def blit(ctx, picture, x, y, scale=1.0):
    if picture is None:
        return
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(scale, scale)
    ctx.set_source_surface(picture, 0, 0)
    ctx.paint()
    ctx.restore()


def ground_under(stage, terrain, slope, size, world_x):
    """World y of the highest walkable line under world_x, for standing the hero on it."""
    height = size[1]
    px = world_x * PIXELS_PER_UNIT
    if stage == 3:
        return (height - slope.top_at(px)) / PIXELS_PER_UNIT
    tops = [b.top for b in terrain[stage] if not b.not_ground and b.left <= px <= b.right]
    return (height - min(tops)) / PIXELS_PER_UNIT if tops else None


def hero_spot(stage, terrain, slope, size, cam_x, cam_y):
    """Screen point of the hero's feet: the camera keeps the hero 6 units from the left edge."""
    for offset in (5.5, 4.5, 6.5, 3.5, 7.5, 2.5, 8.5, 1.5):
        ground = ground_under(stage, terrain, slope, size, cam_x + offset)
        if ground is not None and 0 < (ground - cam_y) * PIXELS_PER_UNIT < SCREEN_H:
            return offset * PIXELS_PER_UNIT, SCREEN_H - (ground - cam_y) * PIXELS_PER_UNIT
    return None


def lost_health(ctx, health):
    """Blacken the lost part of the gauge as the game does: a pie slice of radius 70 from the
    health angle round to a full turn, counter-clockwise from +x with y pointing up."""
    if health >= 1.0:
        return
    centre = 20 + 75
    ctx.move_to(centre, centre)
    ctx.arc_negative(centre, centre, 70, -health * 6.28, -6.28)
    ctx.close_path()
    ctx.set_source_rgb(0, 0, 0)
    ctx.fill()


def frame(images, stage, cam_x, cam_y, sizes, terrain, slope):
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, SCREEN_W, SCREEN_H)
    ctx = cairo.Context(surface)
    ctx.set_source_rgb(0.3, 0.3, 0.35)
    ctx.paint()
    blit(ctx, load(images, f"panorama{stage}"), 0, 0)
    height = sizes[stage - 1][1]
    blit(ctx, load(images, f"stage{stage}"), int(-cam_x * PIXELS_PER_UNIT),
         int(SCREEN_H - height + cam_y * PIXELS_PER_UNIT))
    spot = hero_spot(stage, terrain, slope, sizes[stage - 1], cam_x, cam_y)
    if spot:
        blit(ctx, load(images, "serval_cat_stand"), spot[0] - HERO_PIVOT[0] * HERO_SCALE,
             spot[1] - HERO_PIVOT[1] * HERO_SCALE, HERO_SCALE)
    blit(ctx, load(images, "hud_fill"), 20, 20)
    lost_health(ctx, 1.0 - 0.3 * (stage - 1))
    blit(ctx, load(images, "hud"), 20, 20)
    blit(ctx, load(images, "hud_wl" if stage % 2 else "hud_wh"), 265, 105)
    return surface


def main(images, out_dir):
    sizes, terrain, slope = stage_layout.load()
    os.makedirs(out_dir, exist_ok=True)
    for stage, cam_x, cam_y in CAMERAS:
        surface = frame(images, stage, cam_x, cam_y, sizes, terrain, slope)
        surface.write_to_png(os.path.join(out_dir, f"frame_s{stage}_{cam_x:g}_{cam_y:g}.png"))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
