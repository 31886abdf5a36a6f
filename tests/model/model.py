#!/usr/bin/python3
"""An independent model of the program's arithmetic: what the program is meant to compute,
written in another language and apart from the C++ sources. It writes the golden files that the
C++ tests compare against bit for bit.

    /usr/bin/python3 tests/model/model.py [output folder]    (default: tests/golden)

Standard library only. Python floats are IEEE doubles and never fuse a multiply with an add;
single precision is modelled by rounding through struct's 4-byte IEEE format (f32 below).
Every file starts with one comment line describing its columns; values are hex bit patterns.
"""

import decimal
import math
import os
import struct
import sys

# ---- number formats -------------------------------------------------------------------------


def f32(value):
    """Rounds a double to the nearest single-precision value (ties to even), overflowing to inf."""
    try:
        return struct.unpack("<f", struct.pack("<f", value))[0]
    except OverflowError:
        return math.copysign(math.inf, value)


def bits32(value):
    return "%08x" % struct.unpack("<I", struct.pack("<f", value))[0]


def bits64(value):
    return "%016x" % struct.unpack("<Q", struct.pack("<d", value))[0]


def from_bits32(text):
    return struct.unpack("<f", struct.pack("<I", int(text, 16)))[0]


def from_bits64(text):
    return struct.unpack("<d", struct.pack("<Q", int(text, 16)))[0]


def signed64(value):
    """Takes a 64-bit pattern as a two's-complement signed count."""
    value &= (1 << 64) - 1
    return value - (1 << 64) if value >> 63 else value


# ---- the random generator and the spawn position ---------------------------------------------


class Generator:
    """The C library's linear congruential generator: state * 214013 + 2531011 modulo 2^32,
    each draw bits 16 to 30 of the new state."""

    def __init__(self):
        self.state = 1

    def seed(self, value):
        self.state = value & 0xFFFFFFFF

    def draw(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF


def spawn_position(calendar_seconds):
    """The three draws after seeding with the calendar seconds cut to 32 bits, and the position:
    the second and third draw divided by 32767.0, times the window's extent, in double."""
    generator = Generator()
    generator.seed(calendar_seconds)
    r1, r2, r3 = generator.draw(), generator.draw(), generator.draw()
    x = (r2 / 32767.0) * 720.0
    y = (r3 / 32767.0) * 576.0
    return r1, r2, r3, x, y


def write_random(out):
    lines = ["# spawn <calendar seconds> <draw 1> <draw 2> <draw 3> <x bits> <y bits> | "
             "draws <seed> <first ten draws after seeding>"]
    seconds_values = [
        0, 1, 59, 1733561999, 1733562000, 2147483647, 2147483648, 3000000000, 4294967295,
        4294967296, 4294967297, 4294967296 + 1733562000, 2**40 + 123456789, 2**62 + 987654321,
        -1, -2, -1733562000, -(2**31), -(2**31) - 1, -(2**63), 2**63 - 1,
    ]
    for seconds in seconds_values:
        r1, r2, r3, x, y = spawn_position(seconds)
        assert 0.0 <= x <= 720.0 and 0.0 <= y <= 576.0
        lines.append("spawn %d %d %d %d %s %s" % (seconds, r1, r2, r3, bits64(x), bits64(y)))
    for seed in [0, 1, 12345, 0x7FFFFFFF, 0x80000000, 0xDEADBEEF, 0xFFFFFFFF]:
        generator = Generator()
        generator.seed(seed)
        draws = [generator.draw() for _ in range(10)]
        lines.append("draws %d %s" % (seed, " ".join(str(d) for d in draws)))
    # A draw of 32767 lands exactly on the right or top edge, a draw of 0 on the left or bottom.
    assert (32767 / 32767.0) * 720.0 == 720.0 and (0 / 32767.0) * 576.0 == 0.0
    write(out, "random.txt", lines)


# ---- the frame timer -------------------------------------------------------------------------


class Timer:
    """The frame timer with a scripted clock: `readings` is the list of clock values the timer
    will read, in order. High-resolution mode: signed 64-bit counts at `frequency` a second.
    Millisecond mode: unsigned 32-bit milliseconds. Our code treats the millisecond clock's wrap
    modulo 2^32 (the interval across the wrap is the true small one), and refuses a negative
    target rate, leaving the target as it was; the model does the same."""

    def __init__(self, frequency, first_reading):
        self.high_resolution = frequency is not None
        self.previous = first_reading
        self.current = 0
        if self.high_resolution:
            self.seconds_per_count = f32(1.0 / float(frequency))
        else:
            self.seconds_per_count = f32(0.001)
        self.elapsed = 1.0
        self.target = 0
        self.readings = []
        self.consumed = 0

    def read(self):
        self.current = self.readings[self.consumed]
        self.consumed += 1

    def interval(self):
        if self.high_resolution:
            return signed64(self.current - self.previous)
        return (self.current - self.previous) & 0xFFFFFFFF

    def tick(self):
        self.read()
        self.elapsed = f32(float(self.interval()) * self.seconds_per_count)
        self.previous = self.current

    def frames_per_second(self):
        if self.elapsed == 0.0:
            return math.inf
        return f32(1.0 / self.elapsed)

    def set_target(self, rate):
        if rate >= 0:
            self.target = rate

    def limit(self):
        if self.target == 0:
            return
        while True:
            self.read()
            x = float(self.interval()) * self.seconds_per_count
            rate = math.inf if x == 0.0 else 1.0 / x
            if not rate > self.target:
                return

    def delay(self, milliseconds):
        while True:
            self.read()
            waited = float(self.interval()) * self.seconds_per_count * 1000.0
            if waited >= milliseconds:
                return


class TimerCase:
    """Builds one line of timer.txt while running the model: each operation is written with its
    clock readings and the results it must give."""

    def __init__(self, name, frequency, first_reading):
        self.timer = Timer(frequency, first_reading)
        self.tokens = [name, "hi" if frequency is not None else "ms",
                       str(frequency if frequency is not None else 0), str(first_reading)]

    def hand(self, readings):
        self.timer.readings.extend(readings)

    def getters(self):
        self.tokens += ["G", bits32(self.timer.elapsed), bits32(self.timer.frames_per_second())]

    def tick(self, reading):
        self.hand([reading])
        self.timer.tick()
        self.tokens += ["T", str(reading), bits32(self.timer.elapsed),
                        bits32(self.timer.frames_per_second())]
        return self.timer.elapsed

    def set_target(self, rate):
        self.timer.set_target(rate)
        self.tokens += ["S", str(rate), str(self.timer.target)]

    def _wait(self, tag, argument, readings, run):
        start = self.timer.consumed
        self.hand(readings)
        run()
        used = self.timer.consumed - start
        assert used <= len(readings)
        # Readings beyond the exit point stay unread; drop them so later operations start fresh.
        del self.timer.readings[self.timer.consumed:]
        self.tokens += [tag, str(argument), str(used), str(len(readings))] + \
            [str(r) for r in readings]
        return used

    def limit(self, readings):
        return self._wait("L", self.timer.target, readings, self.timer.limit)

    def delay(self, milliseconds, readings):
        return self._wait("D", milliseconds, readings, lambda: self.timer.delay(milliseconds))

    def line(self):
        return " ".join(self.tokens)


def around(base, low, high):
    return [base + d for d in range(low, high + 1)]


def timer_cases():
    cases = []
    # Counter frequencies that are not powers of two, with readings that are not whole
    # milliseconds, so that a product rounded to single precision too early shows.
    # 2893442000 is a counter whose frequency float does not hold exactly, and for which
    # 1 / frequency rounded to float differs from 1 / (frequency as a float).
    assert f32(1.0 / 2893442000) != f32(1.0 / f32(2893442000))
    for frequency, start in [(1000000000, 5123456789), (3579545, 918273645), (2400000, -7654321),
                             (10000000, 0), (1000, 123456), (2893442000, 77)]:
        case = TimerCase("hi_%d" % frequency, frequency, start)
        case.getters()
        t = start
        # A long first interval, then frame-like intervals of about 1/60 s with jitter.
        t += frequency * 7 // 5 + 1
        case.tick(t)
        # A pause of some seconds, of a length whose count converted to float before the
        # multiplication would give other bits (where the count is beyond float's exact range).
        pause = long_interval_telling_float_from_double(frequency)
        if pause is not None:
            t += pause
            case.tick(t)
        for jitter in [0, 1, -1, 7, 123, -4567, 99991]:
            t += frequency // 60 + jitter * max(1, frequency // 1000000)
            case.tick(t)
        case.tick(t)  # no advance: elapsed 0, infinite rate
        case.set_target(25)
        # The limiter exits at the first reading at or past 1/25 s after the previous tick,
        # read count by count around that point.
        period = frequency / 25.0
        readings = [t] + around(t + int(period), -3, 3)
        used = case.limit(readings)
        assert 1 < used <= len(readings), (frequency, used)
        case.set_target(24)
        period = frequency / 24.0
        case.limit(around(t + int(period), -2, 3))
        case.set_target(15)
        case.limit([t + frequency])  # the period has long passed: one reading
        case.limit([t - 5, t + 1])  # a reading before the previous tick: negative rate, return
        case.set_target(-7)  # refused
        case.set_target(0)
        case.limit([])  # no target: no reading at all
        case.set_target(60)
        period = frequency / 60.0
        case.limit(around(t + int(period), -2, 2))
        # The delay, measured in milliseconds from the previous tick.
        case.delay(0, [t])
        case.delay(20, [t + frequency * 3 // 100])
        per_ms = frequency / 1000.0
        case.delay(20, around(t + int(20 * per_ms), -2, 2))
        case.delay(33, [t - 1] + around(t + int(33 * per_ms), -1, 2))
        case.getters()
        # The next tick measures the whole frame, waits included.
        t += frequency // 25 + 3
        case.tick(t)
        case.set_target(25)
        case.getters()
        cases.append(case)

    # A counter of 2^20 counts a second, where 1/32 s and 125 ms are whole counts: the limiter's
    # and the delay's comparisons meet their bounds exactly (the limiter returns on equality, the
    # delay as well).
    frequency = 1 << 20
    case = TimerCase("hi_exact_bounds", frequency, 1 << 40)
    t = (1 << 40) + 12345
    case.tick(t)
    case.set_target(32)
    used = case.limit(around(t + frequency // 32, -2, 2))
    assert used == 3, used
    case.delay(125, around(t + frequency // 8, -2, 2))
    case.set_target(64)
    case.limit(around(t + frequency // 64, -1, 1))
    case.tick(t + frequency // 8)
    cases.append(case)

    # Millisecond mode: whole milliseconds times the single-precision 0.001, and the wrap.
    case = TimerCase("ms", None, 4294967000)
    case.getters()
    t = 4294967000
    for step in [17, 16, 17, 33, 0]:
        t = (t + step) & 0xFFFFFFFF
        case.tick(t)
    # A delay whose readings cross the wrap, 50 ms apart: it ends 300 ms after the tick.
    case.delay(300, [(t + 50 * k) & 0xFFFFFFFF for k in range(8)])
    for step in [250, 1]:
        t = (t + step) & 0xFFFFFFFF
        case.tick(t)
    case.set_target(25)
    case.limit([(t + d) & 0xFFFFFFFF for d in [0, 38, 39, 40, 41, 42]])
    case.delay(0, [t])
    case.delay(20, [(t + d) & 0xFFFFFFFF for d in range(0, 25)])
    case.tick((t + 1000) & 0xFFFFFFFF)
    cases.append(case)
    return cases


def long_interval_telling_float_from_double(frequency):
    """A count of 3 to 10 seconds for which rounding the count to float first changes the elapsed
    seconds, or None where every such count is exact in float."""
    seconds_per_count = f32(1.0 / float(frequency))
    start = max(3 * frequency, (1 << 24) + 1)
    for count in range(start, min(10 * frequency, start + 200000)):
        if f32(f32(float(count)) * seconds_per_count) != f32(float(count) * seconds_per_count):
            return count
    return None


def write_timer(out):
    lines = ["# <name> <hi|ms> <frequency> <first reading> then operations: G <elapsed> <fps> | "
             "T <reading> <elapsed> <fps> | S <rate> <target after> | "
             "L <target> <readings used> <n> <n readings> | "
             "D <ms> <readings used> <n> <n readings>"]
    for case in timer_cases():
        lines.append(case.line())
    # A check of the model against a value known by hand: 17 ms in millisecond mode.
    timer = Timer(None, 100)
    timer.readings = [117]
    timer.tick()
    assert timer.elapsed == f32(17 * f32(0.001))
    write(out, "timer.txt", lines)


def frame_seconds(frequency, start, intervals):
    """The elapsed seconds the timer gives for a run of frames of the given lengths in counts."""
    case = Timer(frequency, start)
    t = start
    seconds = []
    for counts in intervals:
        t += counts
        if frequency is None:
            t &= 0xFFFFFFFF
        case.readings.append(t)
        case.tick()
        seconds.append(float(case.elapsed))  # a float widened to double
    return seconds


# ---- the motion pass -------------------------------------------------------------------------

RIGHT_EDGE = 720.0
TOP_EDGE = 576.0


class Sprite:
    def __init__(self, x, y, vx=-1.0, vy=-1.0, colour=(0.0, 1.0, 0.0, 1.0)):
        self.x, self.y, self.vx, self.vy = float(x), float(y), float(vx), float(vy)
        self.red, self.green, self.blue, self.alpha = (f32(c) for c in colour)
        self.scale_x = f32(5.0)
        self.scale_y = f32(5.0)
        self.life = 100.0
        self.last_edge = None  # the edge rule that caught it in the previous pass

    def text(self):
        doubles = [bits64(v) for v in (self.x, self.y, self.vx, self.vy)]
        floats = [bits32(v) for v in (self.red, self.green, self.blue, self.alpha, self.scale_x,
                                      self.scale_y)]
        return " ".join(doubles + floats + [bits64(self.life)])


def edge_rule(s):
    """Returns which edge caught the sprite, or None."""
    if s.y <= 0.0:
        s.y, s.vy, s.vx = 0.0, 0.0, s.vx * -1.0
        return "bottom"
    if s.y >= TOP_EDGE:
        s.y, s.vy, s.vx = TOP_EDGE, 0.0, s.vx * -1.0
        return "top"
    if s.x < 0.0:
        s.x, s.vx, s.vy = 0.0, 0.0, s.vy * -1.0
        return "left"
    if s.x > RIGHT_EDGE:
        s.x, s.vx, s.vy = RIGHT_EDGE, 0.0, s.vy * -1.0
        return "right"
    return None


def move_sprites(sprites, seconds, mode):
    """One motion pass, front to back; returns the surviving list and whether the edge rule
    treated any sprite differently from the pass before (a sprite that stays on an edge is caught
    by the same rule in every pass)."""
    if mode == 0:
        red_step, blue_step, fade = 0.1, -0.1, 0.1
    else:
        red_step, blue_step, fade = -0.1, 0.1, 0.01
    survivors = []
    edges = False
    for s in sprites:
        edge = edge_rule(s)
        edges = edges or edge != s.last_edge
        s.last_edge = edge
        s.x = (seconds * s.vx) * 0.01 + s.x
        s.y = (seconds * s.vy) * 0.01 + s.y
        s.red = f32(s.red + red_step)
        s.green = f32(s.green - 0.01)
        s.blue = f32(s.blue + blue_step)
        s.alpha = f32(s.alpha - fade * seconds)
        s.scale_y = f32(s.scale_y * seconds + s.scale_y)
        s.scale_x = f32(s.scale_x - s.scale_x * seconds)
        if s.alpha <= 0.0:
            s.alpha = 0.0
        if s.alpha == 0.0:
            s.life = s.alpha
        if not s.life <= 0.0:
            survivors.append(s)
        for v in (s.x, s.y, s.scale_x, s.scale_y, s.alpha):
            assert not math.isnan(v), "a NaN would differ in its bits between CPUs"
    return survivors, edges


def motion_scenario(name, mode, sprites, seconds_list, lines):
    lines.append("scenario %s %d" % (name, mode))
    for s in sprites:
        lines.append("sprite " + s.text())
    count_before = len(sprites)
    for index, seconds in enumerate(seconds_list, start=1):
        if not sprites:
            break
        sprites, edges = move_sprites(sprites, seconds, mode)
        lines.append("pass " + bits64(seconds))
        if index <= 12 or edges or len(sprites) != count_before or index % 40 == 0 \
                or index == len(seconds_list) or not sprites:
            lines.append("expect %d %d%s" % (index, len(sprites),
                                             "".join(" " + s.text() for s in sprites)))
        count_before = len(sprites)
    return sprites


def jitter(count, base, spread, seed):
    """A reproducible run of `count` frame lengths around `base` counts."""
    generator = Generator()
    generator.seed(seed)
    return [base + (generator.draw() * 32768 + generator.draw()) % (2 * spread + 1) - spread
            for _ in range(count)]


def write_motion(out):
    lines = ["# scenario <name> <colour mode> | sprite <x> <y> <vx> <vy> <red> <green> <blue> "
             "<alpha> <scaleX> <scaleY> <life> (the list, front to back) | pass <seconds> | "
             "expect <passes so far> <sprites left> <sprite fields>..."]
    r2x, r3y = spawn_position(1733562000)[3:]

    # Filled sprites at 60 frames a second from a 1 GHz counter, after a long first frame.
    seconds = frame_seconds(1000000000, 777, [413700001] + jitter(640, 16666667, 400000, 7))
    sprites = [
        Sprite(r2x, r3y),                      # where a key press would put it
        Sprite(0.0004, 300.5),                 # crosses the left edge within a few frames
        Sprite(350.25, 0.0003, vx=1.0),        # reaches the bottom edge
        Sprite(720.0, 400.0, vx=1.0, vy=2.5),  # on the right edge, caught once past it
        Sprite(-2.0, 0.0, vx=-3.0),            # below and left at once: the bottom rule only
        Sprite(100.0, 575.9999, vx=-1.0, vy=3.0),  # runs into the top edge
        Sprite(-0.5, 577.0, vx=1.0, vy=1.0),       # above and left at once: the top rule only
    ]
    left = motion_scenario("filled_1GHz", 0, sprites, seconds, lines)
    assert not left, "every filled sprite has faded after about ten seconds"

    # Outline sprites on a slow machine with a 3.579545 MHz counter: long frames, one of them
    # over a second (scaleX turns negative), one of no time at all.
    intervals = [2863637, 0] + jitter(60, 715909, 200000, 11) + [4474431] + \
        jitter(600, 715909, 300000, 13)
    seconds = frame_seconds(3579545, 1000, intervals)
    faded = Sprite(200.0, 300.0, colour=(0.0, 1.0, 0.0, 0.37))
    sprites = [
        Sprite(r2x, r3y),
        Sprite(719.99995, 200.0, vx=1.0, vy=-1.0),  # crosses the right edge
        Sprite(50.0, 575.995, vx=-1.0, vy=1.0),     # crosses the top edge
        faded,                                      # two neighbours that fade in one pass
        Sprite(210.0, 310.0, colour=(0.0, 1.0, 0.0, 0.37)),
        Sprite(0.0, 576.0, vx=2.0),                 # on the top edge and the left edge at once
        Sprite(730.5, 600.0, vx=1.0, vy=1.0),       # above and right at once: the top rule only
        Sprite(-1.5, 0.0001, vx=-1.0, vy=-1.0),     # left of the left edge, caught by it
    ]
    left = motion_scenario("outline_3579545Hz", 1, sprites, seconds, lines)
    assert not left, "every outline sprite has faded after about a hundred seconds"

    # Filled sprites timed by the millisecond clock: whole milliseconds times float 0.001.
    seconds = frame_seconds(None, 4294960000, [1250] + jitter(700, 16, 1, 17))
    sprites = [Sprite(0.00002, 0.00001, vx=-1.0, vy=-1.0), Sprite(360.0, 288.0)]
    motion_scenario("filled_ms", 0, sprites, seconds, lines)

    # A check of the model against values known by hand: one pass of mode 0 from opaque green.
    s = Sprite(100, 100)
    move_sprites([s], 0.25, 0)
    assert (s.red, s.green, s.blue) == (f32(0.1), f32(0.99), f32(-0.1))
    assert s.alpha == f32(1 - 0.1 * 0.25)
    write(out, "motion.txt", lines)


# ---- the curved figures ----------------------------------------------------------------------

CURVES = [("e", 6.2831853071796, 35.0, 35.0, (33.807, -9.059)),
          ("n", 6.2831853071796, 25.0, 35.0, (24.148, -9.059)),
          ("p", 3.1415926535898, 25.0, 35.0, (-24.786, 4.568))]


def cos_sin(angle):
    """The cosine and sine of a double, each correctly rounded to double: Taylor series in
    60-digit decimal arithmetic, so that the golden vertices do not depend on any C library."""
    with decimal.localcontext() as context:
        context.prec = 60
        x = decimal.Decimal(angle)  # exact
        cos_sum, sin_sum = decimal.Decimal(0), decimal.Decimal(0)
        term, n = decimal.Decimal(1), 0  # x^n / n!
        while n < 200:
            if n % 4 == 0:
                cos_sum += term
            elif n % 4 == 1:
                sin_sum += term
            elif n % 4 == 2:
                cos_sum -= term
            else:
                sin_sum -= term
            n += 1
            term = term * x / n
        return float(cos_sum), float(sin_sum)


def curve_vertices(sweep, rx, ry):
    n = 24
    vertices = []
    for k in range(n):
        angle = f32(k * sweep / n)
        cos, sin = cos_sin(angle)
        vertices.append((f32(rx * cos), f32(ry * sin)))
    return vertices


def write_curves(out):
    lines = ["# <letter> <k> <x bits> <y bits>: vertex k of the curved figure of that letter"]
    for letter, sweep, rx, ry, last in CURVES:
        vertices = curve_vertices(sweep, rx, ry)
        assert vertices[0] == (rx, 0.0)
        assert round(vertices[-1][0], 3) == last[0] and round(vertices[-1][1], 3) == last[1]
        for k, (x, y) in enumerate(vertices):
            lines.append("%s %d %s %s" % (letter, k, bits32(x), bits32(y)))
    write(out, "curves.txt", lines)


# ---- the typed-text layout -------------------------------------------------------------------


def typed_positions(count):
    x, y, line_count = 60.0, 60.0, 0
    positions = []
    for _ in range(count):
        positions.append((x, y))
        x = f32(x + 8.0)
        line_count += 1
        if line_count > 70:
            line_count, y, x = 0, f32(y + 12.0), 60.0
    return positions


def write_typed_text(out):
    positions = typed_positions(3200)
    assert positions[70] == (620.0, 60.0) and positions[71] == (60.0, 72.0)
    assert positions[142] == (60.0, 84.0) and positions[43 * 71] == (60.0, 576.0)
    lines = ["# <k> <x bits> <y bits>: where drawTypedText places the k-th character (from 1)"]
    for k, (x, y) in enumerate(positions[:500], start=1):
        lines.append("%d %s %s" % (k, bits32(x), bits32(y)))
    write(out, "typed_text.txt", lines)


# ---- the BMP file ----------------------------------------------------------------------------


def pixel_byte(i):
    """The test picture: byte i of the red-green-blue buffer."""
    return (i * 37 + 11) & 0xFF


def bmp_header(width, height):
    """The 58 header bytes: the 14-byte file header, the 40-byte info header and one colour-table
    entry, which we write as zero."""
    size = 3 * width * height
    header = struct.pack("<2sIHHI", b"BM", 58 + size, 0, 0, 58)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, size, 1000, 1000, 0, 0)
    assert len(header) == 14 and len(info) == 40
    return header + info + bytes(4)


def bmp_file(width, height):
    """The whole file: the header, then rows from row 0, each pixel blue, green, red, and no
    filler bytes at the end of a row whatever the width."""
    pixels = bytearray()
    for y in range(height):
        for x in range(width):
            i = x + y * width
            pixels += bytes([pixel_byte(3 * i + 2), pixel_byte(3 * i + 1), pixel_byte(3 * i)])
    return bmp_header(width, height) + bytes(pixels)


def write_bmp(out):
    lines = ["# <width> <height> <file length> <file|header> <bytes>: what saveBmp writes for a "
             "picture whose buffer byte i is (37 i + 11) mod 256 (the whole file, or its first 58 "
             "bytes)"]
    for width, height in [(0, 0), (1, 1), (2, 1), (3, 2), (5, 3), (6, 1), (7, 5), (9, 2), (10, 3),
                          (13, 1), (1, 13), (4, 4), (721, 1)]:
        data = bmp_file(width, height)
        assert len(data) == 58 + 3 * width * height
        lines.append("%d %d %d file %s" % (width, height, len(data), data.hex()))
    for width, height in [(720, 576), (1023, 767), (999, 1001)]:
        header = bmp_header(width, height)
        lines.append("%d %d %d header %s" % (width, height, 58 + 3 * width * height, header.hex()))
    assert 58 + 3 * 720 * 576 == 1244218
    write(out, "bmp.txt", lines)


# ---- output ----------------------------------------------------------------------------------


def write(folder, name, lines):
    with open(os.path.join(folder, name), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "golden")
    os.makedirs(out, exist_ok=True)
    write_random(out)
    write_timer(out)
    write_motion(out)
    write_curves(out)
    write_typed_text(out)
    write_bmp(out)


if __name__ == "__main__":
    main()
