#!/usr/bin/env python3
"""Writes realistic capture files for the report benchmark, deterministically.

usage: make_report_captures.py FM|FSK MEGABYTES FOLDER

Writes one capture file per pass into FOLDER (made if missing) until about
MEGABYTES MB (10^6 bytes) in all, named after the pass's date and time
(pass_20190110_0915.txt), so that byte order is time order. Each file has the
17-field pass header of the station's captures, then the hex dump of the pass:
HK packets separated by a little noise, 16 values per line.

What makes them realistic, for the report's charts and tables:
- a pass lasts 10 to 12 minutes, one HK frame every 10 s of satellite time
  (SatTime counts half seconds, so it rises by 20 per frame); a packet carries
  "Datablock Number" frames, and now and then one is lost;
- passes lie one to three days apart, in a morning or an evening slot;
- the satellite clock restarts now and then (SatTime falls back near 0 and the
  reset count in the reset information goes up);
- values drift slowly over the months and along each pass, with noise: bus
  voltage near 3.7 to 4.0 V (counts 3050 to 3300), solar currents that follow
  the spin in sunshine and vanish in shade, temperatures that warm in sunshine,
  gyro rates of a slow spin, a magnetometer turning with it; a rare single
  upset gives one wild analog word.
Besides its HK packets a pass holds every other byte heard, about 150 a
second (1200 bit/s), so each file takes about 300 KB: 50 MB cover about
170 passes, a year of them. The random numbers come from a fixed seed per format.
"""
import datetime
import math
import os
import random
import struct
import sys

MARKER = bytes([0x51, 0x58, 0x30, 0x54, 0x4C, 0x4D, 0x3E, 0x56, 0x4F, 0x52, 0x41, 0x4E, 0x3A])
SKIPPED = bytes([0x30, 0x30, 0x31])  # the three values between the marker and the packet number
SCALE = [-3750, -3683, -3738, -3706, -3695, -3719, -3756, -3689,
         -3733, -3735, -3714, -3727, -3702, -3704, -3767, -3772]
BAIAS = [127, 126, 127, 126, 125, 126, 128, 125, 127, 127, 126, 127, 125, 127, 126, 128]

# Temperature channels: mean degC, drift amplitude, offset in sunshine (its
# negative in shade), warming per frame in sunshine. Inside the satellite the
# swings are small; the six panels (+X to -Z) swing widely; the transmitters
# (TRP, FSK) warm while they send.
TEMPERATURES = [
    (14, 3, 2, 0.01), (15, 3, 2, 0.01),      # battery 1, 2
    (24, 4, 3, 0.02), (25, 4, 3, 0.02),      # 5 V regulators
    (22, 4, 3, 0.02),                        # 3.5 V regulator
    (19, 4, 3, 0.05), (18, 4, 3, 0.02),      # TRP, QPSK
    (21, 4, 3, 0.05),                        # FSK
    (10, 9, 17, 0.08), (10, 9, 16, 0.08),    # +X, +Y panels
    (12, 9, 15, 0.07), (8, 9, 17, 0.08),     # +Z, -X
    (8, 9, 16, 0.08), (6, 9, 14, 0.07),      # -Y, -Z
    (20, 4, 3, 0.02), (19, 4, 3, 0.02),      # Zemto T, R
]

# SatTime, switch information, reset information, 24 analog words (bus
# voltage, bus current, six solar currents, 16 temperatures), 3 gyro
# temperature words, 3 signed gyro rates, 4 magnetometer words: 78 bytes.
FRAME = struct.Struct(">IB5s24H3H3h4H")
assert FRAME.size == 78

COUNTS_PER_VOLT = 4096 / 5.0
MORNING, EVENING = 9 * 3600, 21 * 3600  # the two pass slots, seconds after midnight JST
DAY = 86400
MAX_SAT_TIME = 0x7FFFFFFF - 0x1000000   # restart well before the 32-bit counter could wrap


def temperature_counts(channel, celsius):
    """The analog count of a temperature, the inverse of the calibration."""
    return (celsius - BAIAS[channel]) / (SCALE[channel] / 100.0) * COUNTS_PER_VOLT


def clamp(value, low, high):
    return max(low, min(high, value))


class Satellite:
    """What carries over from pass to pass: the clock, the reset count, the uplink count."""

    def __init__(self, rng, first_aos):
        self.epoch = first_aos - rng.randint(0x100000, 0x200000)  # second at which SatTime was 0
        self.resets = rng.randint(1, 4)
        self.uplinks = rng.randint(0, 3)

    def before_pass(self, rng, aos):
        if rng.random() < 1 / 40 or 2 * (aos + 900 - self.epoch) > MAX_SAT_TIME:
            self.epoch = aos - rng.randint(3600, 20 * 3600)  # restarted some hours ago
            self.resets = (self.resets + 1) & 0xFF


def next_aos(rng, previous):
    """A morning or evening slot one to three days after the previous AOS."""
    midnight = previous - previous % DAY
    while True:
        aos = midnight + rng.randint(1, 3) * DAY + rng.choice((MORNING, EVENING)) + rng.randint(-3000, 3000)
        if DAY <= aos - previous <= 3 * DAY:
            return aos


def frames_of_pass(rng, sat, first_frame_time, count, day, sunshine):
    """The frames of one pass, as bytes each."""
    rand = rng.random
    phase = 2 * math.pi * day
    sun = 1 if sunshine else -1

    # Bus voltage and current: slow drift, charging in sunshine.
    volt_slope = 0.6 if sunshine else -0.5
    volt = clamp(3180 + 45 * math.sin(phase / 53) + 40 * sun + rng.uniform(-10, 10),
                 3066 - min(0, volt_slope * count), 3284 - max(0, volt_slope * count))
    current = 100 + 6 * math.sin(phase / 17) + 3 * sun
    analog_base = [volt, current]
    analog_slope = [volt_slope, 0.0]
    analog_noise = [12, 6]
    for channel, (mean, swing, offset, warming) in enumerate(TEMPERATURES):
        celsius = mean + swing * math.sin(phase / 73 + channel) + offset * sun + rng.uniform(-1, 1)
        end = celsius + warming * sun * count
        celsius -= max(0, max(celsius, end) - 60) + min(0, min(celsius, end) + 30)  # stay within -30..60
        analog_base.append(temperature_counts(channel, celsius))
        analog_slope.append(temperature_counts(channel, warming * sun) - temperature_counts(channel, 0))
        analog_noise.append(13)  # about 0.6 degC peak to peak

    # A slow spin, whose rate drifts over the months.
    spin = 2.0 + 1.2 * math.sin(phase / 120) + rng.uniform(-0.05, 0.05)  # deg/s about z
    rates = [0.3 * math.sin(phase / 37), 0.2 * math.cos(phase / 29), spin]
    rate_counts = [round(w / 0.0125) for w in rates]
    spin_step = math.radians(spin * 10)
    spin_angle = rng.uniform(0, 2 * math.pi)
    solar_peak = 700 * (1 + 0.033 * math.cos(phase / 365.25)) if sunshine else 0
    tilt = rng.uniform(-0.6, 0.6)                         # the spin axis seen from the sun
    solar_z = [max(0.0, tilt) * solar_peak, max(0.0, -tilt) * solar_peak]
    gyro_celsius = 20 + 3 * math.sin(phase / 73) + 2 * sun
    field = rng.uniform(280, 400)                        # magnetometer counts of the Earth's field
    dip = rng.uniform(0, 2 * math.pi)
    dip_step = 4 * math.pi * 10 / 5700                    # the field turns twice per 95-minute orbit
    mag_bias = [rng.uniform(-20, 20) for _ in range(3)]

    reset_info = bytes([0, 0, 0, 0, sat.resets])
    frames = []
    for k in range(count):
        sat_time = 2 * (first_frame_time + 10 * k - sat.epoch)
        analog = [int(b + s * k + n * (rand() - 0.5) + 0.5)
                  for b, s, n in zip(analog_base, analog_slope, analog_noise)]
        angle = spin_angle + spin_step * k
        cos_a, sin_a = math.cos(angle), math.sin(angle)
        if solar_peak:
            facing = (cos_a, sin_a, -cos_a, -sin_a)
            solar = [int(max(0.0, solar_peak * f) + 8 * rand()) for f in facing] + \
                    [int(z + 8 * rand()) for z in solar_z]
        else:
            solar = [int(4 * rand()) for _ in range(6)]
        analog[2:2] = solar
        if rand() < 1 / 4000:                             # a single event upset
            analog[rng.randrange(24)] = rng.randrange(4096)

        gyro_temps = [(round((gyro_celsius + 0.01 * sun * k + 0.4 * (rand() - 0.5) - 45.0) / 0.2) & 0x3FF) << 6
                      for _ in range(3)]
        gyro_rates = [c + int(5 * rand()) - 2 for c in rate_counts]
        along = dip + dip_step * k
        horizontal = field * math.cos(along)
        mag = [int(2048 + mag_bias[0] + horizontal * cos_a + 4 * rand()),
               int(2048 + mag_bias[1] - horizontal * sin_a + 4 * rand()),
               int(2048 + mag_bias[2] + field * math.sin(along) + 4 * rand()),
               2048 + int(3 * rand()) - 1]
        frames.append(FRAME.pack(sat_time, 0x5A, reset_info, *analog, *gyro_temps, *gyro_rates, *mag))
    return frames


def noise(rng):
    """The bytes before the first packet: mostly a few, now and then a longer burst."""
    return rng.randbytes(rng.randint(100, 400) if rng.random() < 0.05 else rng.randint(5, 40))


# The receiver dumps every byte it hears: at 1200 bit/s some 150 bytes a
# second, of which the HK packets are a small part; the rest is other
# packets of the satellite and noise.
BYTES_PER_SECOND = 150


def other_traffic(rng, seconds, hk_bytes):
    """What the receiver hears besides one HK packet in `seconds`."""
    heard = int(BYTES_PER_SECOND * seconds * rng.uniform(0.8, 1.2))
    return rng.randbytes(max(heard - hk_bytes, rng.randint(5, 40)))


def header(date, aos, los, rng, modulation, packets, blocks, sunshine, day):
    season = math.sin(2 * math.pi * (day - 100) / 365.25)
    temperature = round(14 + 11 * season - (3 if date.hour >= 18 else 0) + rng.uniform(-3, 3))
    weather = rng.choice(("Fine", "Fine", "Fine", "Cloudy", "Cloudy", "Rain" if temperature > 1 else "Snow"))
    angle = rng.randint(8, 88)
    azimuth = rng.randint(0, 359)
    return (f"Date : {date:%Y/%m/%d %H:%M:%S} JST\n"
            f"AOS time : {aos:%H:%M:%S}\n"
            f"LOS time : {los:%H:%M:%S}\n"
            f"MAX Angle of Attack : {angle} deg\n"
            f"Azimuth(AOS) : {azimuth} deg\n"
            f"Azimuth(LOS) : {(azimuth + rng.randint(140, 220)) % 360} deg\n"
            f"Temperature : {temperature} degC\n"
            f"Atmospheric Pressure : {rng.randint(995, 1030)} hPa\n"
            f"Weather : {weather}\n"
            f"In the Sunshine or Shade : {'Sunshine' if sunshine else 'Shade'}\n"
            f"Operator : {rng.choice(('TK', 'MS', 'YN', 'HA'))}\n"
            f"Plane of Polarization : {rng.choice(('Right', 'Left'))} Hand\n"
            f"S meter : {clamp(2 + angle // 12 + rng.randint(-1, 1), 1, 9)}\n"
            f"Recieved Packet Number : {packets}\n"
            f"Modulation Method : {modulation}\n"
            f"Data Contents : HK data\n"
            f"Datablock Number : {blocks}\n")


def capture(rng, sat, aos, start, fsk):
    """One pass: returns its file name, its text and its number of frames."""
    duration = rng.randint(600, 720)
    los = aos + duration
    day = aos / DAY
    sunshine = rng.random() < (0.9 if aos % DAY < 15 * 3600 else 0.3)
    blocks = rng.choice((2, 2, 2, 1, 3))
    first_frame_time = aos + rng.randint(5, 40)
    packets = ((los - first_frame_time) // 10 + 1) // blocks
    frames = frames_of_pass(rng, sat, first_frame_time, packets * blocks, day, sunshine)

    data = bytearray(noise(rng))
    uplink = sat.uplinks
    received = 0
    for number in range(packets):
        if rng.random() < 0.03:  # lost: its frames never arrive
            continue
        if rng.random() < 0.05:
            uplink = (uplink + 1) & 0xFF
        data += MARKER + SKIPPED + bytes([(number + 1) & 0xFF, uplink])
        for frame in frames[number * blocks:(number + 1) * blocks]:
            data += frame
        data += bytes([0] * rng.randint(0, 6) + [0x7E]) if fsk else b"\x7E"
        data += other_traffic(rng, 10 * blocks, len(MARKER) + 5 + 78 * blocks + 1)
        received += 1
    sat.uplinks = uplink

    date = start + datetime.timedelta(seconds=aos + duration // 2 + rng.randint(-40, 20))
    modulation = "FSK" if fsk else rng.choice(("GMSK", "GMSK", "AFSK"))
    head = header(date, start + datetime.timedelta(seconds=aos), start + datetime.timedelta(seconds=los), rng,
                  modulation, received, blocks, sunshine, day)
    dump = "\n".join(data[i:i + 16].hex(" ") for i in range(0, len(data), 16)).upper()
    text = head + dump + "\n"
    if rng.random() < 0.3:  # some station PCs write CR LF
        text = text.replace("\n", "\r\n")
    return f"pass_{date:%Y%m%d_%H%M}.txt", text.encode("ascii"), received * blocks


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("FM", "FSK"):
        sys.exit("usage: make_report_captures.py FM|FSK MEGABYTES FOLDER")
    fmt, target, folder = sys.argv[1], float(sys.argv[2]) * 1000 * 1000, sys.argv[3]
    fsk = fmt == "FSK"
    rng = random.Random(f"hkreport captures {fmt}")
    start = datetime.datetime(2019, 1, 13 if fsk else 10)  # midnight JST of the first pass's day
    os.makedirs(folder, exist_ok=True)

    aos = MORNING + rng.randint(-3000, 3000)
    sat = Satellite(rng, aos)
    written = files = frames = 0
    first = last = None
    while written < target:
        sat.before_pass(rng, aos)
        name, data, count = capture(rng, sat, aos, start, fsk)
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
        written += len(data)
        files += 1
        frames += count
        first, last = first or name, name
        aos = next_aos(rng, aos)
    print(f"{fmt}: {files} files, {written / 1e6:.1f} MB, {frames} HK frames, {first} to {last}")


if __name__ == "__main__":
    main()
