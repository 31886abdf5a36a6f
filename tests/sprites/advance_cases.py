#!/usr/bin/python3
"""Writes advance_cases.txt: sprites moved over many passes, with the positions they must reach.

A model of the position part of the motion pass, written from its description: the edge rule,
then x := (seconds * vx) * 0.01 + x and the same for y, every operation rounded to double. The
cases are chosen where one fused multiply-add, (seconds * vx) * 0.01 + x with a single rounding,
ends elsewhere, so that a build that fuses them fails. Run it; it prints the file to stdout.
"""
import random
import struct
from fractions import Fraction


def single(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def fused(a, b, c):
    return float(Fraction(a) * Fraction(b) + Fraction(c))


def move(x, y, vx, vy, seconds, passes, fuse):
    for _ in range(passes):
        if y <= 0:
            y, vy, vx = 0.0, 0.0, vx * -1.0
        elif y >= 576:
            y, vy, vx = 576.0, 0.0, vx * -1.0
        elif x < 0:
            x, vx, vy = 0.0, 0.0, vy * -1.0
        elif x > 720:
            x, vx, vy = 720.0, 0.0, vy * -1.0
        if fuse:
            x = fused(seconds * vx, 0.01, x)
            y = fused(seconds * vy, 0.01, y)
        else:
            x = (seconds * vx) * 0.01 + x
            y = (seconds * vy) * 0.01 + y
    return x, y


def main():
    rng = random.Random(8)
    print("# x y vx vy seconds passes -> x y after the passes; hex floats, exact")
    found = 0
    while found < 16:
        # Frame intervals as the timer gives them: single-precision values widened to double.
        seconds = single(rng.choice([1 / 60, 1 / 75, 1 / 144, 0.0173, 0.0291, 0.0416]))
        # Near an edge the position is of the size of one step, where the rounding shows most.
        x = rng.choice([rng.uniform(0, 0.01), rng.uniform(0, 720), 720 + rng.uniform(-0.01, 0.01)])
        y = rng.choice([rng.uniform(0, 0.01), rng.uniform(0, 576), 0.0, 576.0])
        vx, vy = rng.choice([(-1.0, -1.0), (1.0, -1.0), (-1.0, 1.0), (1.0, 1.0)])
        passes = rng.choice([1, 7, 60, 600])
        exact = move(x, y, vx, vy, seconds, passes, False)
        if exact == move(x, y, vx, vy, seconds, passes, True):
            continue
        found += 1
        values = [x, y, vx, vy, seconds]
        print(" ".join(v.hex() for v in values), passes, " ".join(v.hex() for v in exact))


main()
