#!/usr/bin/env python3
"""Writes the three largest benchmark inputs and their expected results.

Usage: make-inputs.py DIR. For each NAME (random, single-digits, all-max) it
writes DIR/NAME.tbin (exactly 2,076,999 bytes, CR LF line ends, the largest
file the program accepts) and DIR/NAME.expected (binary digits, CR LF after
each line). Fixed seeds, so every run measures the same bytes.
"""
import random
import sys
from pathlib import Path

SIZE = 2_076_999
LARGEST = 2_147_483_647


def random_lines(rng):
    lines, used = [], 0
    # Whole-range values until the remainder is small, then lines whose
    # lengths fill the file exactly (3 to 12 bytes each, values in range).
    while SIZE - used > 24:
        text = str(rng.randint(0, LARGEST))
        lines.append(text)
        used += len(text) + 2
    remainder = SIZE - used
    while remainder:
        length = remainder - 2 if remainder <= 12 else 8
        digits = str(rng.randint(1, 9)) + "".join(str(rng.randint(0, 9)) for _ in range(length - 1))
        if length == 10:
            digits = "1" + digits[1:]
        lines.append(digits)
        remainder -= length + 2
    return lines


def single_digit_lines(rng):
    assert SIZE % 3 == 0
    return [str(rng.randint(0, 9)) for _ in range(SIZE // 3)]


def all_max_lines():
    # 12 bytes per line leave 3 over; three leading zeros on the first line
    # take them up and keep every value at the largest.
    count, extra = divmod(SIZE, 12)
    return ["0" * extra + str(LARGEST)] + [str(LARGEST)] * (count - 1)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    inputs = {
        "random": random_lines(random.Random(20240501)),
        "single-digits": single_digit_lines(random.Random(20240502)),
        "all-max": all_max_lines(),
    }
    for name, lines in inputs.items():
        data = "".join(line + "\r\n" for line in lines).encode("ascii")
        assert len(data) == SIZE, (name, len(data))
        assert all(int(line) <= LARGEST for line in lines)
        expected = "".join(bin(int(line))[2:] + "\r\n" for line in lines).encode("ascii")
        (out / f"{name}.tbin").write_bytes(data)
        (out / f"{name}.expected").write_bytes(expected)
        print(f"{name}: {len(lines)} lines, {len(data)} bytes in, {len(expected)} bytes out")


if __name__ == "__main__":
    main()
