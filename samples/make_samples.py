#!/usr/bin/env python3
"""Writes the bundled capture files in samples/FM and samples/FSK.

The files are made up, deterministically, to look like real passes: a full
pass header, noise between packets, and HK frames with plausible values (bus
voltage near 3.8 V, temperatures between -10 and 40 degrees, small gyro
rates). Run it from anywhere; it rewrites the .txt files next to it.
"""
import os
import random

MARKER = [0x51, 0x58, 0x30, 0x54, 0x4C, 0x4D, 0x3E, 0x56, 0x4F, 0x52, 0x41, 0x4E, 0x3A]
SCALE = [-3750, -3683, -3738, -3706, -3695, -3719, -3756, -3689,
         -3733, -3735, -3714, -3727, -3702, -3704, -3767, -3772]
BAIAS = [127, 126, 127, 126, 125, 126, 128, 125, 127, 127, 126, 127, 125, 127, 126, 128]


def count_for_volts(volts):
    return max(0, min(4095, round(volts * 4096 / 5.0)))


def word(value):
    return [(value >> 8) & 0xFF, value & 0xFF]


def frame(rng, time_counter):
    data = list(time_counter.to_bytes(4, "big"))
    data.append(0x5A)                                   # switch information
    data += [0x00, 0x00, 0x00, 0x00, rng.randint(1, 4)]  # reset information
    data += word(count_for_volts(rng.uniform(3.75, 3.85)))      # bus voltage
    data += word(count_for_volts(rng.uniform(0.10, 0.14)))      # bus current
    for _ in range(6):                                           # solar currents
        data += word(count_for_volts(rng.uniform(0.0, 0.9)))
    for channel in range(16):                                    # temperatures
        celsius = rng.uniform(-10.0, 40.0)
        volts = (celsius - BAIAS[channel]) / (SCALE[channel] / 100.0)
        data += word(count_for_volts(volts))
    for _ in range(3):                                           # gyro temperatures
        field = round((rng.uniform(15.0, 25.0) - 45.0) / 0.2)
        data += word((field & 0x3FF) << 6)
    for _ in range(3):                                           # gyro rates
        data += word(rng.randint(-80, 80) & 0xFFFF)
    for _ in range(3):                                           # magnetometer x, y, z
        data += word(rng.randint(1500, 2600))
    data += word(2048)                                           # magnetometer reference
    assert len(data) == 78
    return data


def header(date, time, aos, los, angle, modulation, packets, blocks):
    return (f"Date : {date} {time} JST\n"
            f"AOS time : {aos}\n"
            f"LOS time : {los}\n"
            f"MAX Angle of Attack : {angle} deg\n"
            f"Azimuth(AOS) : 152 deg\n"
            f"Azimuth(LOS) : 331 deg\n"
            f"Temperature : 7 degC\n"
            f"Atmospheric Pressure : 1016 hPa\n"
            f"Weather : Fine\n"
            f"In the Sunshine or Shade : Sunshine\n"
            f"Operator : TK\n"
            f"Plane of Polarization : Right Hand\n"
            f"S meter : 7\n"
            f"Recieved Packet Number : {packets}\n"
            f"Modulation Method : {modulation}\n"
            f"Data Contents : HK data\n"
            f"Datablock Number : {blocks}\n")


def hex_lines(values, per_line=16):
    return "".join(" ".join(f"{v:02X}" for v in values[i:i + per_line]) + "\n"
                   for i in range(0, len(values), per_line))


def capture(rng, head, packets, blocks, fsk):
    values = []
    time_counter = rng.randint(0x00100000, 0x00200000) * 2
    for number in range(packets):
        values += [rng.randint(0, 255) for _ in range(rng.randint(5, 40))]  # noise
        values += MARKER + [0x30, 0x30, 0x31] + [number + 1, rng.randint(1, 3)]
        for _ in range(blocks):
            values += frame(rng, time_counter)
            time_counter += 20
        values += ([0] * rng.randint(1, 6) + [0x7E]) if fsk else [0x7E]
    values += [rng.randint(0, 255) for _ in range(rng.randint(5, 20))]
    return head + hex_lines(values)


def write(path, text, crlf):
    with open(path, "w", newline="\r\n" if crlf else "\n") as file:
        file.write(text)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    rng = random.Random(20181225)
    fm = [("pass_20190110_0915.txt", "2019/01/10", "09:15:30", "09:10:12", "09:21:40", 45, "GMSK", 3, 2, False),
          ("pass_20190111_2130.txt", "2019/01/11", "21:30:05", "21:26:50", "21:37:02", 28, "AFSK", 2, 1, True),
          ("pass_20190112_1002.txt", "2019/01/12", "10:02:44", "09:58:31", "10:09:15", 63, "GMSK", 2, 3, False)]
    fsk = [("pass_20190113_0840.txt", "2019/01/13", "08:40:19", "08:35:02", "08:46:57", 52, "FSK", 3, 2, False),
           ("pass_20190114_2012.txt", "2019/01/14", "20:12:48", "20:08:20", "20:19:33", 37, "FSK", 2, 1, True)]
    for folder, passes, is_fsk in (("FM", fm, False), ("FSK", fsk, True)):
        for name, date, time, aos, los, angle, modulation, packets, blocks, crlf in passes:
            head = header(date, time, aos, los, angle, modulation, packets, blocks)
            write(os.path.join(here, folder, name), capture(rng, head, packets, blocks, is_fsk), crlf)


if __name__ == "__main__":
    main()
