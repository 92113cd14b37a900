#!/usr/bin/env python3
"""Plays Tarnwick on a virtual X display as a player would and saves the README's screenshots:
the title, stage 3's crowd of foes, the boss fight and the game-over screen; then, on a
1920 x 1080 display with a window manager, the title in a window resized to 1200 x 900 and in
full screen.

Usage: screenshots.py GAME_BINARY OUTPUT_DIRECTORY, from the repository root, where the game
finds assets/. Needs Xvfb, openbox, xdotool, xwd and ImageMagick's convert; scripts/screenshots.sh
provides them and builds the game.

Stage 2's ledges are climbed with the eyes: before each jump a screenshot shows where the hero
stands (the ledge under its feet, against the still backdrop), it walks to the planned take-off
point, then jumps and double-jumps on cue from the game's log. A missed ledge drops it back to
the start of the stage, and it climbs again.
"""

import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

SCREEN_W = 800
PIXELS_PER_METRE = 64.0
FRAME = 1.0 / 60.0  # s, one game step
WALK_SPEED = 1.5 * 0.05 / FRAME  # m of the world per second of play: 0.05 s of physics a frame
CAMERA_LEAD = 6.0  # m from the view's left edge to the hero's centre line
FEET_LINE = 485  # screen row of the feet once the camera follows upwards
TERRAIN_ROWS = (FEET_LINE + 20, FEET_LINE + 35, FEET_LINE + 50)  # through the ledge under the feet
LONGEST_GAP = 6  # px of a ledge's stones that may match the backdrop
LEGS_ROWS = range(500, 519)  # the hero's legs on stage 2's first ledge (the camera stays put)
LEGS_LEFT_OF_CENTRE = 2  # px by which the middle of the legs lies left of the centre line
START_PICTURE_END = 128  # px: right of this the hero standing at the start leaves no trace
PIXEL_DIFFERENT = 60  # sum of channel differences that tells terrain or hero from the backdrop


class Ledge:
    """A box of stage 2's terrain, in the stage picture's pixels, and a jump planned from it."""

    def __init__(self, left_px, right_px, take_off, double_jump_frame):
        self.left_px = left_px
        self.right_px = right_px
        self.take_off = take_off  # m, the centre line where the jump starts
        self.double_jump_frame = double_jump_frame  # frames after the jump key

    def contains(self, centre):
        """Whether a hero with its centre line at `centre` stands on the ledge."""
        reach = 0.05  # m, half the width of the hero's feet
        return (self.left_px / PIXELS_PER_METRE - reach <= centre
                <= self.right_px / PIXELS_PER_METRE + reach)


# Take-off points and double-jump frames found by playing each jump in the headless game with
# the keys a frame early and late: each lands on the next ledge from within ±0.2 m of its
# take-off point. The last one leaves the stage from the long ledge's far end.
STAGE2_CLIMB = [
    Ledge(0, 317, 4.5, 10),
    Ledge(484, 572, 8.45, 13),
    Ledge(753, 844, 12.8, 13),
    Ledge(1016, 1107, 16.95, 9),
    Ledge(1174, 1257, 19.3, 9),
    Ledge(1353, 3187, None, 9),  # the long ledge: the step at its end is the take-off
]
STAGE2_START = 1.0  # m, the hero's centre line where it lands at the start of stage 2
TAKE_OFF_TOLERANCE = 0.15  # m
SHORTEST_PRESS = 1.5 * FRAME  # s: long enough for one input poll to see it
APPROACH = 0.8  # of the way to the take-off point walked before looking again
LOOKS_PER_LEDGE = 12
SETTLE = 0.15  # s after landing or walking before looking
LONG_LEDGE_SECONDS = 4.5  # s of running that reach the step from anywhere on the long ledge


# The root window's property that the window manager sets once it manages windows.
WINDOW_MANAGER_READY = "TARNWICK_WINDOW_MANAGER_READY"


def start_virtual_display(screen):
    """Xvfb on a display it picks itself, once it accepts clients: the process and the display.
    A number guessed from lock files may belong to a server that keeps none, or to one that a
    chroot's /tmp does not show, and the game would then play on that server."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen,
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        ready, _, _ = select.select([numbers], [], [], 30)
        number = numbers.readline().strip() if ready else ""
    if not number:
        xvfb.terminate()
        xvfb.wait()
        raise RuntimeError("the virtual display did not start")
    return xvfb, ":" + number


class Game:
    """The game on its own virtual display, with its log, keys, mouse and screenshots."""

    def __init__(self, binary, workdir, screen="1024x768x24", window_manager=False):
        self.xvfb, self.display = start_virtual_display(screen)
        self.env = dict(os.environ, DISPLAY=self.display, SDL_AUDIODRIVER="dummy")
        self.env.pop("SDL_VIDEODRIVER", None)
        self.tmp = tempfile.mkdtemp(prefix="tarnwick-shots-")
        self.log_path = os.path.join(self.tmp, "game.log")
        self.window_manager = None
        self.game = None
        self.window = ""
        try:
            if window_manager:
                self._start_window_manager()
            with open(self.log_path, "w") as log:
                self.game = subprocess.Popen([binary], cwd=workdir, env=self.env, stdout=log)
            self._wait(self._find_window, 60, "the game window")
            self.xdotool("mousemove", "--window", self.window, "400", "300")
        except (RuntimeError, subprocess.CalledProcessError):
            self.close()
            raise
        self.read_to = 0  # where in the log the next wait starts

    def _start_window_manager(self):
        """Full screen is granted by a window manager, which bare Xvfb lacks."""
        # Openbox claims the screen early, then reads its settings, theme and fonts before it
        # handles any window; its start-up command runs once it manages windows.
        marker = "xprop -root -f %s 8s -set %s yes" % (WINDOW_MANAGER_READY, WINDOW_MANAGER_READY)
        self.window_manager = subprocess.Popen(["openbox", "--startup", marker], env=self.env,
                                               stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL)
        self._wait(lambda: b'"yes"' in subprocess.run(
            ["xprop", "-root", WINDOW_MANAGER_READY], env=self.env,
            capture_output=True).stdout, 30, "the window manager")

    def _find_window(self):
        # Only once it is shown: a window manager maps the window a moment after it is made.
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Game$"],
                               env=self.env,
                               capture_output=True, text=True).stdout.split()
        self.window = found[0] if found else ""
        return bool(found)

    @staticmethod
    def _wait(ready, seconds, what):
        deadline = time.time() + seconds
        while not ready():
            if time.time() > deadline:
                raise RuntimeError("waited in vain for " + what)
            time.sleep(0.05)

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + list(args), env=self.env, check=True)

    def keys_down(self, *keys):
        self.xdotool("keydown", *keys)

    def keys_up(self, *keys):
        self.xdotool("keyup", *keys)

    def hold(self, seconds, *keys):
        # One xdotool run times the press itself, free of the delay of starting another.
        self.xdotool("keydown", *keys, "sleep", "%.3f" % seconds, "keyup", *keys)

    def button(self, action, number):
        self.xdotool("mouse" + action, str(number))

    def log(self):
        with open(self.log_path) as log:
            return log.read()

    def wait_for(self, line, seconds):
        """Waits for `line` in the log after the last line waited for; True when it came."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            found = self.log().find(line + "\n", self.read_to)
            if found >= 0:
                self.read_to = found + len(line) + 1
                return True
            time.sleep(0.002)
        return False

    def screenshot(self, path):
        subprocess.run("xwd -silent -id %s | convert xwd:- %s" % (self.window, path), shell=True,
                       env=self.env, check=True)

    def screenshot_sized(self, path, width, height):
        """A screenshot once the window has been resized to width x height and has drawn a
        frame or two at that size."""
        def sized():
            self.screenshot(path)
            return subprocess.run(["identify", "-format", "%wx%h", path], capture_output=True,
                                  text=True).stdout == "%dx%d" % (width, height)
        self._wait(sized, 20, "a %dx%d window" % (width, height))
        time.sleep(0.5)
        self.screenshot(path)

    def row(self, png, y):
        """The RGB bytes of one screen row of a picture."""
        return subprocess.run(["convert", png, "-crop", "%dx1+0+%d" % (SCREEN_W, y), "+repage",
                               "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout

    def expect(self, line, seconds):
        if not self.wait_for(line, seconds):
            raise RuntimeError("the game never logged " + line)

    def close(self):
        if self.game and self.game.poll() is None:
            self.game.terminate()
        if self.game:
            self.game.wait()
        if self.window_manager:
            self.window_manager.terminate()
            self.window_manager.wait()
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.tmp)


def differs(a, b, x):
    return sum(abs(a[3 * x + c] - b[3 * x + c]) for c in range(3)) > PIXEL_DIFFERENT


def terrain_columns(game, shot, backdrop_rows):
    """Which columns show terrain in the rows through the ledge under the feet."""
    terrain = [False] * SCREEN_W
    for y, backdrop in zip(TERRAIN_ROWS, backdrop_rows):
        row = game.row(shot, y)
        for x in range(SCREEN_W):
            terrain[x] = terrain[x] or differs(row, backdrop, x)
    return terrain


def stretch_end(terrain, start, step):
    """The last terrain column from `start` in direction `step`, across short gaps."""
    end = start
    x = start + step
    while 0 <= x < SCREEN_W and abs(x - end) <= LONGEST_GAP + 1:
        if terrain[x]:
            end = x
        x += step
    return end


def centre_on_long_view(game, shot, backdrop_rows, ledge):
    """The hero's centre line when the camera follows it: the ledge under its feet, found where
    the screen's rows through it depart from the still backdrop, gives the camera's place."""
    terrain = terrain_columns(game, shot, backdrop_rows)
    middle = int(CAMERA_LEAD * PIXELS_PER_METRE)
    start = next((x for x in range(middle - 8, middle + 9) if terrain[x]), None)
    if start is None:
        return None
    left = stretch_end(terrain, start, -1)
    right = stretch_end(terrain, start, 1)
    if left > 0:
        camera = (ledge.left_px - left) / PIXELS_PER_METRE
    elif right < SCREEN_W - 1:
        camera = (ledge.right_px - right - 1) / PIXELS_PER_METRE
    else:
        return None
    return camera + CAMERA_LEAD


def centre_on_first_ledge(game, shot, reference):
    """The hero's centre line on stage 2's first ledge, where the camera stays put: the columns
    where its legs differ from a picture taken with the hero where it starts. Near there the
    two pictures agree, and the start is the answer."""
    columns = []
    for y in LEGS_ROWS:
        row, before = game.row(shot, y), game.row(reference, y)
        columns += [x for x in range(START_PICTURE_END, SCREEN_W) if differs(row, before, x)]
    if not columns:
        return STAGE2_START
    return (sum(columns) / len(columns) + LEGS_LEFT_OF_CENTRE) / PIXELS_PER_METRE


class Climber:
    """Climbs stage 2's ledges, looking before each jump."""

    def __init__(self, game):
        self.game = game
        self.shot = os.path.join(game.tmp, "where.png")
        self.reference = os.path.join(game.tmp, "first-ledge.png")
        self.backdrop_rows = [game.row("assets/images/panorama2.png", y) for y in TERRAIN_ROWS]

    def where(self, index):
        """The hero's centre line, if it stands on the ledge `index`; None when it does not."""
        self.game.screenshot(self.shot)
        if index == 0:
            centre = centre_on_first_ledge(self.game, self.shot, self.reference)
        else:
            centre = centre_on_long_view(self.game, self.shot, self.backdrop_rows,
                                         STAGE2_CLIMB[index])
        return centre if centre is not None and STAGE2_CLIMB[index].contains(centre) else None

    def walk_to(self, index):
        """Walks to the ledge's take-off point; False when the hero is not on that ledge."""
        ledge = STAGE2_CLIMB[index]
        for _ in range(LOOKS_PER_LEDGE):
            time.sleep(SETTLE)
            centre = self.where(index)
            if centre is None:
                return False
            gap = ledge.take_off - centre
            print("stage 2, ledge %d: at %.2f m, take-off at %.2f m"
                  % (index + 1, centre, ledge.take_off), flush=True)
            if abs(gap) <= TAKE_OFF_TOLERANCE:
                return True
            # Short of the point rather than past it: the next look corrects what is left.
            seconds = APPROACH * abs(gap) / WALK_SPEED
            self.game.hold(max(seconds, SHORTEST_PRESS), "d" if gap > 0 else "a")
        return False

    def run_into_step(self):
        """Runs along the long ledge until the step at its far end stops the hero."""
        self.game.button("down", 3)
        self.game.keys_down("d")
        time.sleep(LONG_LEDGE_SECONDS)

    def jump(self, ledge):
        """A running jump with the double jump on the planned frame."""
        game = self.game
        game.button("down", 3)
        game.keys_down("d", "space")
        took_off = game.wait_for("Flying!1", 2)
        game.keys_up("space")
        if took_off:
            time.sleep((ledge.double_jump_frame - 1) * FRAME)
            game.hold(3 * FRAME, "space")

    def stop(self):
        self.game.keys_up("d")
        self.game.button("up", 3)

    def climb(self):
        """From the first ledge to stage 3."""
        game = self.game
        game.wait_for("Landed", 5)
        time.sleep(SETTLE)
        game.screenshot(self.reference)
        index = 0
        while True:
            ledge = STAGE2_CLIMB[index]
            if ledge.take_off is None:
                self.run_into_step()
                self.jump(ledge)
                left = game.wait_for("Going to stage 3...", 3)
                self.stop()
                if left:
                    game.wait_for("~WorldContainer() done...", 5)
                    return
            elif self.walk_to(index):
                self.jump(ledge)
                game.wait_for("Landed", 3)
                self.stop()
                time.sleep(SETTLE)
                if self.where(index + 1) is not None:
                    index += 1
                    continue
            # A miss: the hero falls out of the stage and starts again on the first ledge, or
            # it has dropped onto a lower one.
            game.wait_for("Landed", 3)
            time.sleep(SETTLE)
            index = self.locate()

    def locate(self):
        """The ledge the hero stands on, looking from the first ledge up."""
        for _ in range(LOOKS_PER_LEDGE):
            for index in range(len(STAGE2_CLIMB)):
                if self.where(index) is not None:
                    return index
            time.sleep(SETTLE)
        raise RuntimeError("lost the hero on stage 2")


def run_right_until(game, line, seconds, hop_every):
    """Runs right, hopping over foes, until the log shows `line`."""
    game.button("down", 3)
    game.keys_down("d")
    deadline = time.time() + seconds
    while not game.wait_for(line, hop_every):
        if time.time() > deadline:
            raise RuntimeError("the hero never got to " + line)
        game.hold(0.12, "space")
    game.keys_up("d")
    game.button("up", 3)


def window_and_full_screen(binary, out):
    """The title in a window resized to 1200 x 900, then in full screen on a 1920 x 1080
    display."""
    game = Game(binary, os.getcwd(), screen="1920x1080x24", window_manager=True)
    try:
        game.expect("Sprite created!", 30)
        time.sleep(1.5)  # the title's fade-in
        game.xdotool("windowsize", game.window, "1200", "900")
        game.screenshot_sized(os.path.join(out, "window.png"), 1200, 900)
        game.hold(0.2, "F11")
        game.screenshot_sized(os.path.join(out, "fullscreen.png"), 1920, 1080)
        game.hold(0.2, "Escape")
        game.expect("Tarnwick exiting code 0", 15)
    finally:
        game.close()


def play_through(binary, out):
    """The title, stage 3, the boss and game over, in one game played from the start."""
    game = Game(binary, os.getcwd())
    try:
        game.expect("Sprite created!", 30)
        time.sleep(1.5)  # the title's fade-in
        game.screenshot(os.path.join(out, "title.png"))

        game.hold(0.2, "space")
        game.expect("Hud created!", 15)
        run_right_until(game, "~WorldContainer() done...", 90, hop_every=0.45)
        Climber(game).climb()
        time.sleep(1.0)  # into the crowd at the top of the hill
        game.screenshot(os.path.join(out, "stage3.png"))
        run_right_until(game, "~WorldContainer() done...", 90, hop_every=0.25)

        time.sleep(3.0)  # the boss stage's fade-in and its music's cue
        game.hold(0.15, "3")
        game.button("down", 1)
        time.sleep(0.3)  # into the maul's swing
        game.screenshot(os.path.join(out, "boss.png"))
        game.button("up", 1)

        # Off the ledge again and again: each fall out of the arena costs 200 health.
        game.button("down", 3)
        game.keys_down("a")
        game.expect("Going to GameOver...", 300)
        game.keys_up("a")
        game.button("up", 3)
        time.sleep(2.5)  # the 90-frame fade
        game.screenshot(os.path.join(out, "gameover.png"))
        game.hold(0.2, "Escape")
        game.expect("Tarnwick exiting code 0", 15)
    finally:
        game.close()


def main():
    binary, out = sys.argv[1], sys.argv[2]
    play_through(binary, out)
    window_and_full_screen(binary, out)


if __name__ == "__main__":
    main()
