"""Renders the hero's frames, the foes and the liquid drop into the given directory."""
import os
import sys

sys.dont_write_bytecode = True  # keep the source folder free of compiled caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from cat_poses import POSES  # noqa: E402
from cat_rig import draw_cat  # noqa: E402
from foes import draw_boss, draw_drop, draw_hopper  # noqa: E402
from paint import new_canvas  # noqa: E402

CAT_CANVAS = 512
CAT_PIVOT = (256, 384)   # the point between the feet


def render_cat(pose):
    surface, ctx = new_canvas(CAT_CANVAS, CAT_CANVAS)
    ctx.translate(*CAT_PIVOT)
    ctx.scale(1, -1)
    draw_cat(ctx, pose)
    return surface


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for name, pose in sorted(POSES.items()):
        render_cat(pose).write_to_png(os.path.join(out_dir, name + ".png"))
    draw_hopper().write_to_png(os.path.join(out_dir, "enemy.png"))
    draw_boss().write_to_png(os.path.join(out_dir, "enemy_boss.png"))
    draw_drop().write_to_png(os.path.join(out_dir, "water_particle.png"))


if __name__ == "__main__":
    main(sys.argv[1])
