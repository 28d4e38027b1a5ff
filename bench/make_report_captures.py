#!/usr/bin/env python3
"""Writes realistic capture files for the report benchmark, deterministically.

usage: make_report_captures.py FM|FSK MEGABYTES FOLDER [--seed TEXT] [--passes N]
                               [--obstruction SIDE:SECTOR] [--lean]

Writes one capture file per pass into FOLDER (made if missing) until about
MEGABYTES MB (10^6 bytes) in all, named after the pass's date and time
(pass_20190110_0915.txt), so that byte order is time order. Each file has the
17-field pass header of the station's captures, then the hex dump of the pass:
HK packets separated by a little noise, 16 values per line.

What makes them realistic, for the report's charts and tables:
- each pass follows a real pass of a satellite in a circular orbit at
  ALTITUDE_KM over a spherical Earth (the Earth's rotation ignored), with the
  formulas the report's station page reads the header with: the closest
  approach's central angle is uniform between 0 and that of an 8 deg pass, as
  a real orbit spreads them (low passes common, overhead ones rare), the track
  heads north or south within 15 deg and passes east or west of the station,
  and the max angle, the azimuths at AOS and LOS and the duration (LOS - AOS,
  up to about 12 minutes) follow from it;
- one HK frame every 10 s of satellite time over the pass (SatTime counts
  half seconds, so it rises by 20 per frame); a packet carries "Datablock
  Number" frames; "Recieved Packet Number" is the packets the satellite sent
  during the pass, and each is heard with a chance that falls at low
  elevation (0.97 / (1 + exp(-(e - 3) / 7)) at the packet's elevation e:
  0.95 at 30 deg and more above, 0.71 at 10, 0.55 at 5, 0.38 at the horizon),
  its frames lost otherwise; the S meter rises with the max angle;
- passes lie one to three days apart, in a morning or an evening slot;
- the satellite clock restarts now and then (SatTime falls back near 0 and the
  reset count in the reset information goes up);
- values drift slowly over the months and along each pass, with noise: bus
  voltage near 3.7 to 4.0 V (counts 3050 to 3300), solar currents that follow
  the spin in sunshine and vanish in shade, temperatures that warm in sunshine,
  gyro rates of a slow spin, a magnetometer turning with it; a rare single
  upset gives one wild analog word.
Besides its HK packets a pass holds every other byte heard, about 150 a
second (1200 bit/s), so each file takes about 280 KB: 50 MB cover about 178
passes, a year of them, and 500 MB about 1,780, ten years. The random numbers
come from the seed text and the format.

Options:
  --seed TEXT     the seed text (default "hkreport captures", the benchmark's)
  --passes N      write N passes, whatever MEGABYTES (which may then be 0)
  --obstruction SIDE:SECTOR
                  SIDE rising or setting, SECTOR one of N NE E SE S SW W NW:
                  a pass that rises (by its AOS azimuth) or sets (by its LOS
                  azimuth) in that 45 deg sector keeps 0.35 of the packets it
                  would get otherwise, as behind a building on that side; may
                  be given more than once
  --lean          no other traffic between the packets: small files for tests
The same arguments write the same bytes.
"""
import argparse
import datetime
import math
import os
import random
import struct

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

# The orbit: circular, over a spherical Earth, the Earth's rotation ignored.
ALTITUDE_KM = 550.0
EARTH_RADIUS_KM = 6371.0
MU = 398600.4418                         # km^3/s^2
ORBIT_RATIO = EARTH_RADIUS_KM / (EARTH_RADIUS_KM + ALTITUDE_KM)
MEAN_MOTION = math.sqrt(MU / (EARTH_RADIUS_KM + ALTITUDE_KM) ** 3)  # rad/s along the ground track
LOWEST_MAX_ANGLE = 8.0                   # deg: lower passes are not scheduled
HEADING_SPREAD = 15.0                    # deg off north or south

# What a building or a hill on one side costs a pass that rises or sets
# behind it: the share of its packets it keeps, whatever its max angle, so
# that the station page's direction factor of that sector should come out
# near it (0.32 to 0.38 over 400 passes, every other sector 0.93 to 1.06).
# A loss of the low sky alone would cost each pass a share that depends on
# its track; tracks heading north or south rise and set in facing sectors (NE
# and SE east of the station), and part of such a loss shows on the facing
# sector too: a rising NE one (below 20 deg, or up to the whole half of the
# pass) came out at 0.70 to 0.83, setting SE at 0.80 to 0.90, too close to
# tell apart by the 0.80 that marks a sector weak.
SECTORS = ("N", "NE", "E", "SE", "S", "SW", "W", "NW")
OBSTRUCTED_KEEPS = 0.35


def central_angle(elevation_deg):
    """The Earth-central angle (rad) of a satellite seen at an elevation."""
    elevation = math.radians(elevation_deg)
    return math.acos(ORBIT_RATIO * math.cos(elevation)) - elevation


def elevation_deg(central):
    return math.degrees(math.atan2(math.cos(central) - ORBIT_RATIO, math.sin(central)))


HORIZON = central_angle(0)


def sector(azimuth):
    """The 45 deg sector of an azimuth, N covering [337.5, 22.5)."""
    return SECTORS[int(((azimuth + 22.5) % 360) // 45) % 8]


def hearing_chance(elevation):
    """The chance of hearing a packet sent at an elevation (deg)."""
    return 0.97 / (1 + math.exp(-(elevation - 3) / 7))


class PassTrack:
    """A pass's path across the sky: closest approach at central angle
    `closest` in azimuth `middle`, half arc `half_arc` either side of it."""

    def __init__(self, rng):
        self.closest = rng.uniform(0, central_angle(LOWEST_MAX_ANGLE))
        self.max_angle = elevation_deg(self.closest)
        self.half_arc = math.acos(math.cos(HORIZON) / math.cos(self.closest))
        self.duration = 2 * self.half_arc / MEAN_MOTION
        east, ascending = rng.random() < 0.5, rng.random() < 0.5
        self.middle = (90 if east else 270) + rng.uniform(-HEADING_SPREAD, HEADING_SPREAD)
        # Northward east of the station, the azimuth falls from south-east to north-east.
        self.turn = -1 if east == ascending else 1

    def logged_azimuths(self):
        """The AOS and LOS azimuths as the header logs them, whole degrees."""
        return tuple(round(self.sky(seconds)[0]) % 360 for seconds in (0, self.duration))

    def sky(self, seconds):
        """Azimuth and elevation (deg) `seconds` after AOS."""
        along = MEAN_MOTION * seconds - self.half_arc
        central = math.acos(max(-1.0, min(1.0, math.cos(self.closest) * math.cos(along))))
        azimuth = self.middle + self.turn * math.degrees(math.atan2(math.tan(along), math.sin(self.closest)))
        return azimuth % 360, elevation_deg(central)


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
# second less gaps, of which the HK packets are a small part; the rest is
# other packets of the satellite and noise. 143 keeps 500 MB at about 1,780
# passes, ten years of them.
BYTES_PER_SECOND = 143


def other_traffic(rng, seconds, hk_bytes):
    """What the receiver hears besides one HK packet in `seconds`."""
    heard = int(BYTES_PER_SECOND * seconds * rng.uniform(0.8, 1.2))
    return rng.randbytes(max(heard - hk_bytes, rng.randint(5, 40)))


def header(date, aos, los, rng, track, modulation, packets, blocks, sunshine, day):
    season = math.sin(2 * math.pi * (day - 100) / 365.25)
    temperature = round(14 + 11 * season - (3 if date.hour >= 18 else 0) + rng.uniform(-3, 3))
    weather = rng.choice(("Fine", "Fine", "Fine", "Cloudy", "Cloudy", "Rain" if temperature > 1 else "Snow"))
    angle = round(track.max_angle)
    aos_azimuth, los_azimuth = track.logged_azimuths()
    return (f"Date : {date:%Y/%m/%d %H:%M:%S} JST\n"
            f"AOS time : {aos:%H:%M:%S}\n"
            f"LOS time : {los:%H:%M:%S}\n"
            f"MAX Angle of Attack : {angle} deg\n"
            f"Azimuth(AOS) : {aos_azimuth} deg\n"
            f"Azimuth(LOS) : {los_azimuth} deg\n"
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


def obstructed(track, obstructions):
    """Whether the pass rises or sets behind an obstruction, by its logged azimuths."""
    aos_azimuth, los_azimuth = track.logged_azimuths()
    return ("rising", sector(aos_azimuth)) in obstructions or ("setting", sector(los_azimuth)) in obstructions


def capture(rng, sat, aos, start, fsk, obstructions, lean):
    """One pass: returns its file name, its text and its number of frames."""
    track = PassTrack(rng)
    duration = round(track.duration)
    los = aos + duration
    day = aos / DAY
    sunshine = rng.random() < (0.9 if aos % DAY < 15 * 3600 else 0.3)
    blocks = rng.choice((2, 2, 2, 1, 3))
    first_frame_time = aos + rng.randint(1, 10)
    packets = ((los - first_frame_time) // 10 + 1) // blocks
    frames = frames_of_pass(rng, sat, first_frame_time, packets * blocks, day, sunshine)

    data = bytearray(noise(rng))
    uplink = sat.uplinks
    received = 0
    keeps = OBSTRUCTED_KEEPS if obstructed(track, obstructions) else 1.0
    for number in range(packets):
        # The packet is sent over its frames' time: its middle places it on the track.
        sent = first_frame_time - aos + 10 * (number * blocks + (blocks - 1) / 2)
        chance = keeps * hearing_chance(track.sky(sent)[1])
        if not lean:  # the receiver hears the other bytes whether or not this packet gets through
            data += other_traffic(rng, 10 * blocks, len(MARKER) + 5 + 78 * blocks + 1)
        if rng.random() >= chance:  # lost: its frames never arrive
            continue
        if rng.random() < 0.05:
            uplink = (uplink + 1) & 0xFF
        data += MARKER + SKIPPED + bytes([(number + 1) & 0xFF, uplink])
        for frame in frames[number * blocks:(number + 1) * blocks]:
            data += frame
        data += bytes([0] * rng.randint(0, 6) + [0x7E]) if fsk else b"\x7E"
        received += 1
    sat.uplinks = uplink

    date = start + datetime.timedelta(seconds=aos + duration // 2 + rng.randint(-40, 20))
    modulation = "FSK" if fsk else rng.choice(("GMSK", "GMSK", "AFSK"))
    head = header(date, start + datetime.timedelta(seconds=aos), start + datetime.timedelta(seconds=los), rng,
                  track, modulation, packets, blocks, sunshine, day)
    dump = "\n".join(data[i:i + 16].hex(" ") for i in range(0, len(data), 16)).upper()
    text = head + dump + "\n"
    if rng.random() < 0.3:  # some station PCs write CR LF
        text = text.replace("\n", "\r\n")
    return f"pass_{date:%Y%m%d_%H%M}.txt", text.encode("ascii"), received * blocks


def obstruction(text):
    """SIDE:SECTOR, as --obstruction takes it: ("rising", "NE")."""
    side, _, where = text.partition(":")
    if side not in ("rising", "setting") or where not in SECTORS:
        raise argparse.ArgumentTypeError(f"not SIDE:SECTOR (rising or setting, one of {' '.join(SECTORS)}): {text}")
    return side, where


def main():
    parser = argparse.ArgumentParser(
        usage="make_report_captures.py FM|FSK MEGABYTES FOLDER [--seed TEXT] [--passes N] "
              "[--obstruction SIDE:SECTOR] [--lean]")
    parser.add_argument("format", choices=("FM", "FSK"))
    parser.add_argument("megabytes", type=float)
    parser.add_argument("folder")
    parser.add_argument("--seed", default="hkreport captures")
    parser.add_argument("--passes", type=int)
    parser.add_argument("--obstruction", type=obstruction, action="append", default=[])
    parser.add_argument("--lean", action="store_true")
    args = parser.parse_args()
    fmt, target, folder = args.format, args.megabytes * 1000 * 1000, args.folder
    fsk = fmt == "FSK"
    rng = random.Random(f"{args.seed} {fmt}")
    start = datetime.datetime(2019, 1, 13 if fsk else 10)  # midnight JST of the first pass's day
    os.makedirs(folder, exist_ok=True)

    aos = MORNING + rng.randint(-3000, 3000)
    sat = Satellite(rng, aos)
    written = files = frames = 0
    first = last = None
    while files < args.passes if args.passes is not None else written < target:
        sat.before_pass(rng, aos)
        name, data, count = capture(rng, sat, aos, start, fsk, set(args.obstruction), args.lean)
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
