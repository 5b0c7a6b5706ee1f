#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/ from the documented examples.

Run it after changing the examples and commit the result. Each target's
input layout is described at the top of its source file.
"""
import hashlib
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))


def utf16(text):
    return text.encode("utf-16-le", "surrogatepass")


def latin1(text):
    return text.encode("latin-1")


NINES_25 = "9" * 25

DECIMAL = [
    "10", "0", "", "abc", "1", "2", "5", "255", "1024", "007", "  12", "+5",
    "12abc", "3.9", "2147483647", "2147483648", "99999999999",
    "9999999999999999999999999999999999", "00000000000000000000002147483647",
    "-5", "-1", "-0", "+0", "  +0", "-2147483647", "-2147483648", "-2147483649",
    "-99999999999999999999999", "  -255xyz", "\t\n\v\f\r 9", "12\r\n34", "+-5",
    "--5", "- 5", "+", "-", "5 6", "\u3000" "5", "\uff15", "1\uff10", "7\x00" "8",
    NINES_25, "  0042\r\nrest", "\u0130", "\u2028" "7",
]

SETTINGS_TEXTS = [
    "1\r\n1", "0\r\n0", "1\n0", "1\r0", "1\r\n0\r\n", "1\n0\n\n", "", "\n",
    "\n\n", "\n1", " 0\n00\n7", "1\n0\x00\n5", "1", "0", "00", "0 ", "2",
    "".join(chr(c) for c in range(0x80, 0x100)) + "1\n\u00ff0", "a\r\nb",
]


def settings_seeds():
    seeds = []
    for text in SETTINGS_TEXTS:
        # control 0x31: one character per byte, check state 1, split from 0
        seeds.append(bytes([0x31, 0]) + latin1(text))
    # UTF-16: a double-byte character is dropped whole
    seeds.append(bytes([0x30, 0]) + utf16("1\u65e5\n\u672c0"))
    # padded to 9,999 and 10,000 characters with 'x' and with LF
    seeds.append(bytes([0xB3, 9]) + latin1("0\n"))
    seeds.append(bytes([0xB3, 10]) + latin1("0\n"))
    seeds.append(bytes([0xB3, 0x20 | 8]) + latin1("1"))
    # split starting a line in, and near the end of the table
    seeds.append(bytes([0x35, 1]) + latin1("a\r\nb"))
    seeds.append(bytes([0x39, 0]) + latin1("1\n2\n3\n"))
    # check states 0, 2 and -1
    seeds.append(bytes([0x21, 0]) + latin1("1\r\n1"))
    seeds.append(bytes([0x41, 0]) + latin1("1\r\n1"))
    seeds.append(bytes([0x11, 0]) + latin1("1\r\n0"))
    return seeds


INPUT_TEXTS = [
    "12\r\n34\r\n", "12\n34", "5\n\n\n7\n\n", "1\r0\n", "007", "0" * 24 + "7",
    "0", "\r\n\r\n", "", "\n\r\n\r9", "2147483647", "2147483648",
    "1\n2147483648\n3", NINES_25, "9223372036854775807", "9223372036854775808",
    "0000000000000000000000000000009", "\r", "\n5\n\r\n7\r", "0\n00\n",
    "12\r\n34", "5\r\r\r", "0123456789", "12 ", "-5", "+1", "+5", "1.5", "3.9",
    "1,5", "1\t2", "1\x00" "2", "a", "  12",
]


def input_text_seeds():
    # control 0: one character per byte
    seeds = [b"\x00" + latin1(text) for text in INPUT_TEXTS]
    # control 1: UTF-16 units outside ASCII
    for text in ["\uff11", "\ufeff12", "12\u3000", "1\u0130\n2", "\u0a0d\u0d0a"]:
        seeds.append(b"\x01" + utf16(text))
    return seeds


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for seed in seeds:
        # named by content, as libFuzzer names what it adds
        name = hashlib.sha1(seed).hexdigest()
        with open(os.path.join(folder, name), "wb") as f:
            f.write(seed)


write("fuzz_decimal", [utf16(text) for text in DECIMAL])
write("fuzz_settings", settings_seeds())
write("fuzz_input_text", input_text_seeds())
