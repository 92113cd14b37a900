"""Every animation frame of the hero as a pose of the skeleton in cat_rig.

Units are picture pixels, y up, origin on the ground between the feet; one world unit is 128
picture pixels. The attack frames reach as far as the blows do: a strike covers from 13 px in
front of the centre line to 64 px (bare hand), 77 then 90 px (short blade) and 179 px
(maul), front or back.
"""
import math
from dataclasses import replace

from cat_rig import Burst, Pose, Smear, Streak, Weapon

STAND = Pose(hip=(-2.0, 68.0))

# A fighting stance: near foot back, weight low, guard up. Attacks start from it.
STANCE = replace(STAND, hip=(0.0, 67.0), lean=10.0, near_paw=(-13.0, 4.0), near_meta=70.0,
                 far_paw=(15.0, 4.0), far_meta=52.0, eye="fierce")

# The spin: the maul held level at chest height sweeps a full circle round the hero. The
# circle is seen from a little above, so it shows as a flat ellipse: its far half behind the
# hero, its near half in front. Blade angles count clockwise seen from above: 0 is straight
# ahead, -90 the near side (towards the viewer), -180 straight behind, -270 the far side.
SPIN_CENTRE = (0.0, 80.0)
SPIN_TIP = 178.0          # the blade's tip, 1.4 world units from the centre line
SPIN_HANDS = 30.0
SPIN_SQUASH = 0.26
SPIN_BASE = replace(STANCE, hip=(0.0, 64.0), lean=14.0, near_paw=(-20.0, 4.0), near_meta=55.0,
                    far_paw=(22.0, 4.0), far_meta=45.0, ears_back=6.0, mouth="open",
                    tail=(160, 140, 122, 108, 98, 92), scarf=(150, 158, 164, 168, 170),
                    scarf2=(160, 168, 174, 178, 178))


def spin_frame(blade, swept, turned=False, **changes):
    """The hero mid-spin with the blade at the given angle, having swept `swept` degrees.

    While the blade is behind the hero (turned), the hero faces the other way; the pose is then
    mirrored as a whole, so angles are converted into the mirrored frame.
    """
    local = 180.0 - blade if turned else blade
    came_from = local - swept if turned else local + swept
    rad = math.radians(local)
    on_screen = (math.cos(rad), SPIN_SQUASH * math.sin(rad))
    grip = (SPIN_CENTRE[0] + SPIN_HANDS * on_screen[0], SPIN_CENTRE[1] + SPIN_HANDS * on_screen[1])
    layer = "back" if math.sin(rad) > 0.3 else "front"
    weapon = Weapon("maul", grip, math.degrees(math.atan2(on_screen[1], on_screen[0])), layer,
                    foreshorten=math.hypot(*on_screen))
    fan = Smear(SPIN_CENTRE, SPIN_TIP, came_from, local, squash=SPIN_SQUASH, inner=SPIN_HANDS,
                layer="split")
    return replace(SPIN_BASE, mirror=turned, weapon=weapon, smears=[fan], **changes)


POSES = {
    "serval_cat_stand": STAND,

    # walking: two contact poses, the standing picture between them
    "serval_cat_step_1": replace(STAND, hip=(0.0, 67.0), lean=8.0, near_paw=(20.0, 4.0),
                                 near_meta=42.0, near_toe=8.0, far_paw=(-17.0, 8.0),
                                 far_meta=78.0, far_toe=-22.0, near_hand=(2.0, 82.0),
                                 far_hand=(30.0, 90.0), tail=(205, 180, 155, 135, 120, 110),
                                 scarf=(195, 205, 212, 218, 214)),
    "serval_cat_step_2": replace(STAND, hip=(0.0, 67.0), lean=8.0, near_paw=(-17.0, 8.0),
                                 near_meta=78.0, near_toe=-22.0, far_paw=(20.0, 4.0),
                                 far_meta=42.0, far_toe=8.0, near_hand=(26.0, 86.0),
                                 far_hand=(8.0, 84.0), tail=(198, 172, 148, 128, 115, 108),
                                 scarf=(188, 196, 205, 212, 210)),

    # running: long strides, low lean, scarf streaming
    "serval_cat_run_1": replace(STAND, hip=(4.0, 64.0), lean=24.0, head_tilt=-4.0,
                                near_paw=(34.0, 8.0), near_meta=28.0, near_toe=14.0,
                                far_paw=(-34.0, 20.0), far_meta=150.0, far_toe=200.0,
                                near_hand=(36.0, 96.0), far_hand=(-10.0, 84.0),
                                tail=(165, 150, 140, 132, 128, 126), ears_back=8.0,
                                scarf=(172, 176, 180, 178, 182), scarf2=(180, 184, 190, 186, 188),
                                eye="fierce"),
    "serval_cat_run_2": replace(STAND, hip=(4.0, 68.0), lean=24.0, head_tilt=-4.0,
                                near_paw=(-30.0, 22.0), near_meta=150.0, near_toe=200.0,
                                far_paw=(28.0, 14.0), far_meta=30.0, far_toe=14.0,
                                near_hand=(-6.0, 86.0), far_hand=(38.0, 98.0),
                                tail=(160, 146, 136, 128, 124, 122), ears_back=8.0,
                                scarf=(176, 180, 184, 182, 178), scarf2=(184, 190, 194, 190, 186),
                                eye="fierce"),

    # in the air: one leg tucked, one reaching down, arm thrown up
    "serval_cat_jump": replace(STAND, hip=(0.0, 84.0), lean=2.0, head_tilt=8.0,
                               near_paw=(18.0, 44.0), near_meta=105.0, near_toe=-40.0,
                               far_paw=(-10.0, 16.0), far_meta=95.0, far_toe=-70.0,
                               near_hand=(28.0, 140.0), near_elbow=-1, far_hand=(-16.0, 104.0),
                               tail=(230, 220, 205, 190, 180, 175),
                               scarf=(235, 245, 252, 258, 262), scarf2=(245, 255, 262, 266, 268),
                               mouth="open"),

    # dodge: a crouched leap backwards, paws up to ward off; also falls and knock-back
    "serval_cat_dodge": replace(STAND, hip=(-8.0, 58.0), lean=-20.0, head_tilt=-6.0,
                                near_paw=(18.0, 18.0), near_meta=20.0, near_toe=30.0,
                                far_paw=(6.0, 6.0), far_meta=35.0, far_toe=15.0,
                                near_hand=(22.0, 100.0), far_hand=(30.0, 88.0),
                                tail=(150, 128, 110, 95, 85, 78),
                                scarf=(95, 85, 78, 72, 66), scarf2=(110, 100, 92, 86, 80),
                                ears_back=10.0, eye="squint", mouth="open"),

    # bare hands: a jab, then a front kick
    "serval_cat_attk_1_1": replace(STANCE, near_hand=(-4.0, 94.0), far_hand=(30.0, 100.0)),
    "serval_cat_attk_1_2": replace(STANCE, hip=(6.0, 66.0), lean=20.0, near_paw=(-16.0, 4.0),
                                   far_paw=(22.0, 4.0), near_hand=(55.0, 94.0),
                                   near_elbow=-1, far_hand=(20.0, 90.0), mouth="open",
                                   bursts=[Burst((58.0, 94.0), 0.0)],
                                   streaks=[Streak((4.0, 101.0), (40.0, 100.0)),
                                            Streak((8.0, 87.0), (40.0, 89.0), 4.0)]),
    "serval_cat_attk_1_3": replace(STANCE, hip=(5.0, 66.0), lean=17.0, near_paw=(-16.0, 4.0),
                                   far_paw=(22.0, 4.0), near_hand=(49.0, 94.0),
                                   far_hand=(22.0, 92.0)),
    "serval_cat_attk_1_4": replace(STANCE, near_hand=(24.0, 90.0), far_hand=(32.0, 98.0)),
    "serval_cat_attk_2_1": replace(STANCE, hip=(-2.0, 70.0), lean=0.0, near_paw=(8.0, 34.0),
                                   near_meta=100.0, near_toe=-30.0, far_paw=(-2.0, 4.0),
                                   far_meta=62.0, near_hand=(22.0, 104.0),
                                   far_hand=(28.0, 96.0)),
    "serval_cat_attk_2_2": replace(STANCE, hip=(-4.0, 70.0), lean=-14.0, head_tilt=-4.0,
                                   near_paw=(53.0, 62.0), near_meta=6.0, near_toe=40.0,
                                   far_paw=(-6.0, 4.0), far_meta=62.0, near_hand=(-14.0, 88.0),
                                   far_hand=(22.0, 104.0), mouth="open",
                                   smears=[Smear((-2.0, 66.0), 62.0, -62.0, -2.0, width=20.0)],
                                   bursts=[Burst((60.0, 66.0), 10.0)]),
    "serval_cat_attk_2_3": replace(STANCE, hip=(-1.0, 68.0), lean=0.0, near_paw=(26.0, 18.0),
                                   near_meta=40.0, near_toe=10.0, far_paw=(-6.0, 4.0),
                                   far_meta=62.0, near_hand=(20.0, 98.0),
                                   far_hand=(30.0, 96.0)),

    # short blade: a downward slash, then a lunging thrust
    "serval_cat_lightwep_1_1": replace(STANCE, lean=2.0, head_tilt=4.0,
                                       weapon=Weapon("blade", (-2.0, 120.0), 140.0, "back"),
                                       far_hand=(30.0, 98.0)),
    "serval_cat_lightwep_1_2": replace(STANCE, hip=(4.0, 66.0), lean=18.0,
                                       weapon=Weapon("blade", (32.0, 96.0), -12.0),
                                       far_hand=(14.0, 86.0), mouth="open",
                                       smears=[Smear((8.0, 94.0), 73.0, 78.0, -12.0,
                                                     width=16.0)]),
    "serval_cat_lightwep_1_3": replace(STANCE, hip=(4.0, 65.0), lean=16.0,
                                       weapon=Weapon("blade", (30.0, 78.0), -52.0),
                                       far_hand=(14.0, 88.0)),
    "serval_cat_lightwep_1_4": replace(STANCE, weapon=Weapon("blade", (22.0, 88.0), 35.0),
                                       far_hand=(30.0, 98.0)),
    "serval_cat_lightwep_2_1": replace(STANCE, hip=(-2.0, 66.0), lean=6.0,
                                       weapon=Weapon("blade", (2.0, 82.0), 6.0),
                                       far_hand=(28.0, 100.0)),
    "serval_cat_lightwep_2_2": replace(STANCE, hip=(8.0, 60.0), lean=24.0, head_tilt=-2.0,
                                       near_paw=(-30.0, 4.0), near_meta=22.0, near_toe=-8.0,
                                       far_paw=(32.0, 4.0), far_meta=35.0,
                                       weapon=Weapon("blade", (41.0, 92.0), 0.0),
                                       far_hand=(-14.0, 90.0), mouth="open",
                                       streaks=[Streak((-10.0, 98.0), (36.0, 96.0)),
                                                Streak((-4.0, 86.0), (30.0, 86.0), 4.0)],
                                       bursts=[Burst((89.0, 92.0), 0.0, 0.8)]),
    "serval_cat_lightwep_2_3": replace(STANCE, weapon=Weapon("blade", (28.0, 90.0), 20.0),
                                       far_hand=(30.0, 98.0)),

    # maul: raised high, brought down in a long cleave
    "serval_cat_heavywep_1_1": replace(STANCE, hip=(-2.0, 68.0), lean=-6.0, head_tilt=6.0,
                                       weapon=Weapon("maul", (0.0, 118.0), 128.0, "back"),
                                       ears_back=4.0),
    "serval_cat_heavywep_1_2": replace(STANCE, hip=(2.0, 68.0), lean=4.0, head_tilt=4.0,
                                       weapon=Weapon("maul", (14.0, 124.0), 72.0, "back"),
                                       smears=[Smear((10.0, 110.0), 150.0, 150.0, 80.0,
                                                     width=30.0)]),
    "serval_cat_heavywep_1_3": replace(STANCE, hip=(8.0, 60.0), lean=26.0, head_tilt=-4.0,
                                       near_paw=(-26.0, 4.0), near_meta=30.0,
                                       far_paw=(32.0, 4.0), far_meta=40.0,
                                       weapon=Weapon("maul", (36.0, 70.0), -8.0),
                                       mouth="open", ears_back=6.0,
                                       smears=[Smear((24.0, 80.0), 156.0, 80.0, -11.0,
                                                     width=34.0)]),

    # the spin: front, front, pause, back, back, back, pause, front
    "serval_cat_heavywep_2_1": spin_frame(12.0, 70.0),
    "serval_cat_heavywep_2_2": spin_frame(-24.0, 50.0, lean=18.0),
    "serval_cat_heavywep_2_3": spin_frame(-62.0, 68.0, lean=10.0),
    "serval_cat_heavywep_2_4": spin_frame(-152.0, 60.0, turned=True),
    "serval_cat_heavywep_2_5": spin_frame(-180.0, 60.0, turned=True, lean=18.0),
    "serval_cat_heavywep_2_6": spin_frame(-208.0, 60.0, turned=True, lean=12.0),
    "serval_cat_heavywep_2_7": spin_frame(-292.0, 70.0, turned=True, lean=8.0),
    "serval_cat_heavywep_2_8": spin_frame(-348.0, 76.0, lean=18.0),
}
