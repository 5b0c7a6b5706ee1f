#!/usr/bin/env python3
"""The Python peer: converts INPUT (decimal lines) into OUTPUT (binary digits,
CR LF after each non-empty line), the way the program's batch run does."""
import sys

with open(sys.argv[1], "rb") as source:
    text = source.read().replace(b"\r", b"")
values = [int(line) for line in text.split(b"\n") if line]
with open(sys.argv[2], "wb") as target:
    target.write("".join(format(value, "b") + "\r\n" for value in values).encode("ascii"))
