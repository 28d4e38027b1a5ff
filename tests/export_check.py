#!/usr/bin/env python3
"""Checks hkreport's --export file against hkcsv's data CSV of the same captures.

usage: export_check.py HKCSV HKREPORT ROOT

ROOT is the base directory built into HKCSV. The check writes capture files
there (a dated pass with a gap and a restart, a pass without a date, a name
and a zone token that need quoting, a negative reset information), runs
hkcsv and hkreport on them, reads the export with Python's csv module and
compares it row by row: values with the data CSV, ground times with the
charts' rule worked out here, limit states with the limits file. With pandas
at hand it also reads the file as the README shows.
"""
import csv
import datetime
import os
import shutil
import subprocess
import sys

MARKER = "51 58 30 54 4C 4D 3E 56 4F 52 41 4E 3A"
LIMITS = "Buss Voltage, 3.0, 3.5, 4.0, 4.5\nMag_x, , , 200,\n"
CHANNELS = ["Buss Voltage", "Buss Current", "Solar Current 1", "Solar Current 2", "Solar Current 3",
            "Solar Current 4", "Solar Current 5", "Solar Current 6", "Battery Temp1", "Battery Temp2",
            "5V reg Temp1", "5V reg Temp2", "3.5V reg Temp", "TRP Temp", "QPSK Temp", "FSK Temp", "+Xsc Tepm",
            "+Ysc Temp", "+Zsc Temp", "-Xsc Tepm", "-Ysc Temp", "-Zsc Temp", "Zemto T Temp", "Zemto R Temp",
            "Gyro_x Temp", "Gyro_y Temp", "Gyro_z Temp", "Gyro_x Rate", "Gyro_y Rate", "Gyro_z Rate", "Mag_x",
            "Mag_y", "Mag_z", "Mag_ref"]
COLUMNS = ["format", "file", "pass_time", "zone", "ground_time", "sat_time", "packet_num", "uplink_num",
           "switch_info", "reset_info"] + CHANNELS + ["state"]


def header(date, time, zone):
    fields = [f"Date : {date} {time} {zone}", "AOS : 09:10:00", "LOS : 09:20:00", "MAX : 45 deg",
              "AzAOS : 120 deg", "AzLOS : 300 deg", "Temp : 8 degC", "Pressure : 1015 hPa", "Weather : Fine",
              "Sun : Sunshine", "Ignored : x", "Polarization : Right Hand", "S : 5", "Packets : 3", "Mod : GMSK",
              "Contents : HK data", "Blocks : 2"]
    return "\n".join(fields) + "\n"


def frame(counter, reset, seed):
    """78 bytes: the satellite time counter, switch and reset information and
    analog words that change with `seed`."""
    data = [0] * 78
    data[0:4] = counter.to_bytes(4, "big")
    data[4] = seed % 256
    data[6:10] = (reset & 0xFFFFFFFF).to_bytes(4, "big")
    for word in range(34):
        value = (seed * 37 + word * 101) % 4096
        data[10 + 2 * word:12 + 2 * word] = value.to_bytes(2, "big")
    return " ".join(f"{b:02X}" for b in data)


def packet(frames, number, tail):
    return f"{MARKER} 30 30 31 {number:X} 2 {frames[0]} {frames[1]} {tail}\n"


# name: (date, time, zone, [(counter, reset), ...]), two frames a packet.
PASSES = {
    "FM": {
        # 10 s steps, a gap of 400 s (the line breaks; the clock runs on
        # through it), a restart (the counter falls), and a negative ResetInfo.
        "a.txt": ("2019/01/10", "09:15:30", "JST", [(200, 1), (220, 1), (1020, 1), (1040, 1), (10, -2), (30, -2)]),
        'b, "c".txt': ("2019/01/11", "21:30:05", "JST", [(500, 2), (520, 2)]),
        "undated.txt": ("2019/13/40", "09:15:30", "JST", [(100, 2), (120, 2)]),
    },
    "FSK": {
        "f.txt": ("2019/01/12", "10:02:44", 'J,S"T', [(700, 3), (721, 3)]),
    },
}


def write_tree(root):
    shutil.rmtree(root, ignore_errors=True)
    seed = 0
    for folder, passes in PASSES.items():
        os.makedirs(f"{root}/{folder}")
        for name, (date, time, zone, frames) in passes.items():
            text = header(date, time, zone)
            for i in range(0, len(frames), 2):
                pair = []
                for counter, reset in frames[i:i + 2]:
                    seed += 1
                    pair.append(frame(counter, reset, seed))
                text += packet(pair, i // 2 + 1, "7E" if folder == "FM" else "0 7E")
            with open(f"{root}/{folder}/{name}", "w", newline="\n") as out:
                out.write(text)
    with open(f"{root}/limits.txt", "w") as out:
        out.write(LIMITS)


def pass_start(date, time):
    try:
        return datetime.datetime.strptime(f"{date} {time}", "%Y/%m/%d %H:%M:%S")
    except ValueError:
        return None


def ground_times(start, counters):
    """The charts' rule: the first frame at the pass's time, each next one
    later by the rise of satellite time, a gap included; after a fall it
    stands at the previous frame's time."""
    times, previous, at = [], None, start
    for counter in counters:
        seconds = counter / 2
        if previous is not None and seconds > previous:
            at += datetime.timedelta(seconds=seconds - previous)
        times.append(at)
        previous = seconds
    return times


def state(cells):
    limits = {}
    for line in LIMITS.splitlines():
        name, *values = [cell.strip() for cell in line.split(",")]
        limits[CHANNELS.index(name)] = [float(v) if v else None for v in values]
    worst = "ok"
    for channel, (red_low, yellow_low, yellow_high, red_high) in limits.items():
        value = float(cells[channel])
        if (red_low is not None and value < red_low) or (red_high is not None and value > red_high):
            return "red"
        if (yellow_low is not None and value < yellow_low) or (yellow_high is not None and value > yellow_high):
            worst = "yellow"
    return worst


def signed(hex_text):
    value = int(hex_text, 16)
    return value - (1 << 32) if value >= 1 << 31 else value


def expected_rows(root):
    rows = []
    for folder, passes in PASSES.items():
        with open(f"{root}/{folder}/{folder}_Analyised_Data.csv", newline="") as data:
            data_rows = [[cell.strip() for cell in line.rstrip("\r\n").split(",")[:-1]] for line in data][1:]
        for name in sorted(passes, key=lambda n: n.encode()):
            date, time, zone, frames = passes[name]
            start = pass_start(date, time)
            grounds = ground_times(start, [c for c, _ in frames]) if start else [None] * len(frames)
            for ground in grounds:
                cells = data_rows.pop(0)
                rows.append([folder, name, start.strftime("%Y-%m-%d %H:%M:%S") if start else "", zone,
                             ground.strftime("%Y-%m-%d %H:%M:%S.") + str(ground.microsecond // 100000)
                             if ground else "",
                             cells[2], str(int(cells[0], 16)), str(int(cells[1], 16)), str(int(cells[3], 16)),
                             str(signed(cells[4]))] + cells[5:] + [state(cells[5:])])
        assert not data_rows, f"{folder}: rows left over"
    return rows


def main():
    hkcsv, hkreport, root = sys.argv[1:4]
    write_tree(root)
    subprocess.run([hkcsv], input=b"0 1 2", stdout=subprocess.DEVNULL, check=True)
    export = f"{root}/frames.csv"
    subprocess.run([hkreport, "--root", root, "--limits", f"{root}/limits.txt", "--export", export], check=True,
                   stderr=subprocess.DEVNULL)
    raw = open(export, "rb").read()
    assert raw.startswith(b"\xef\xbb\xbf"), "no byte-order mark"
    assert raw.count(b"\n") == raw.count(b"\r\n") and raw.endswith(b"\r\n"), "line ends are not CR LF"
    with open(export, encoding="utf-8-sig", newline="") as file:
        rows = list(csv.reader(file))
    assert rows[0] == COLUMNS, f"columns: {rows[0]}"
    expected = expected_rows(root)
    assert len(rows) - 1 == len(expected), f"{len(rows) - 1} rows, expected {len(expected)}"
    for number, (row, want) in enumerate(zip(rows[1:], expected), 2):
        assert row == want, f"row {number}:\n got  {row}\n want {want}"
    for row in rows[1:]:
        for cell in (row[2], row[4]):
            if cell:
                datetime.datetime.fromisoformat(cell)
        for cell in row[5:-1]:
            float(cell)
    try:
        import pandas
    except ImportError:
        print(f"export_check: {len(expected)} rows agree (pandas not at hand)")
        return
    frame = pandas.read_csv(export, parse_dates=["pass_time", "ground_time"])
    assert str(frame["ground_time"].dtype).startswith("datetime64"), frame["ground_time"].dtype
    assert str(frame["pass_time"].dtype).startswith("datetime64"), frame["pass_time"].dtype
    assert all(str(frame[name].dtype) == "float64" for name in CHANNELS), "a value column is not float64"
    print(f"export_check: {len(expected)} rows agree, and pandas reads them")


if __name__ == "__main__":
    main()
