#!/usr/bin/env python3
"""Writes a big synthetic capture file for the benchmark, deterministically.

usage: make_capture.py FM|FSK SIZE_MB PATH

A valid pass header with 2 frames per packet, then packets back to back with
a little noise between them (FSK packets end with a run of zeros).
"""
import random
import sys

MARKER = "51 58 30 54 4C 4D 3E 56 4F 52 41 4E 3A"
HEADER = ("Date : 2019/01/10 09:15:30 JST\nAOS time : 09:10:12\nLOS time : 09:21:40\n"
          "MAX Angle of Attack : 45 deg\nAzimuth(AOS) : 152 deg\nAzimuth(LOS) : 331 deg\n"
          "Temperature : 7 degC\nAtmospheric Pressure : 1016 hPa\nWeather : Fine\n"
          "In the Sunshine or Shade : Sunshine\nOperator : TK\nPlane of Polarization : Right Hand\n"
          "S meter : 7\nRecieved Packet Number : 999\nModulation Method : GMSK\nData Contents : HK data\n"
          "Datablock Number : 2\n")


def packet(rng, fsk):
    values = [rng.randint(0, 255) for _ in range(3)] + [rng.randint(0, 255), rng.randint(1, 3)]
    for _ in range(2):
        frame = [rng.randint(0, 255) for _ in range(78)]
        frame[10], frame[11] = 0x0C, rng.randint(0, 255)   # bus voltage near 3.8 V
        values += frame
    hexes = " ".join(f"{v:02X}" for v in values)
    tail = " ".join(["00"] * rng.randint(1, 4) + ["7E"]) if fsk else "7E"
    return f"{MARKER} {hexes} {tail}\n"


def main():
    fmt, size_mb, path = sys.argv[1], float(sys.argv[2]), sys.argv[3]
    rng = random.Random(7)
    fsk = fmt == "FSK"
    packets = [packet(rng, fsk) for _ in range(256)]
    noise = [" ".join(f"{rng.randint(0, 255):02X}" for _ in range(rng.randint(1, 8))) + "\n" for _ in range(256)]
    target = int(size_mb * 1000 * 1000)
    with open(path, "w", newline="\n") as out:
        written = out.write(HEADER)
        i = 0
        chunk = []
        while written < target:
            piece = noise[rng.randrange(256)] + packets[i % 256]
            chunk.append(piece)
            written += len(piece)
            i += 1
            if len(chunk) == 4096:
                out.write("".join(chunk))
                chunk = []
        out.write("".join(chunk))


if __name__ == "__main__":
    main()
