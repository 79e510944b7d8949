#!/usr/bin/env python3
"""A second, separate computation of satellite elevations and azimuths, for checking.

Reads the RINEX text itself (the observation file's APPROX POSITION XYZ and epochs, the N, G,
H and L navigation files), computes where every observed satellite stands at every epoch, and
compares that with the rows `quillon-scan --sky` writes and with the geometry the generator's
side file gives. Nothing here comes from the program or the generator: the Kepler orbits follow
IS-GPS-200 and the Galileo ICD, the GLONASS orbits are integrated in an inertial frame (the older
form of the GLONASS ICD) and the station's latitude comes from Bowring's formula.

    sky_check.py --gen QUILLON_GEN --scan QUILLON_SCAN --samples DIR --work DIR

runs the generator with the sample set's command (and --truth), checks that it writes the
committed sample set byte for byte, scans a copy with --sky, and compares. Exit status 0 when
every elevation and azimuth agrees to 0.001 degree (azimuth differences weighed by the cosine of
the elevation, since near the zenith the azimuth turns fast), 1 otherwise.
"""

import argparse
import bisect
import csv
import datetime
import filecmp
import math
import os
import shutil
import subprocess
import sys

TOLERANCE_DEG = 0.001
STEM = "quil3430.26"
SAMPLE_COMMAND = ["--sats", "G=31,R=22,S=1,E=4", "--types", "C1,P2,L1,L2,D1,S1,S2",
                  "--gap", "9h,20m", "--occupation", "9h20m", "--events", "3"]

GPS_ORIGIN = datetime.datetime(1980, 1, 6)
WEEK = 604800.0

GM_GPS = 3.986005e14
GM_GAL = 3.986004418e14
OMEGA_E = 7.2921151467e-5
GLO_MU = 3.986004418e14
GLO_AE = 6378136.0
GLO_J2 = 1082625.75e-9
GLO_OMEGA = 7.292115e-5
KEPLER_VALID = 7200.0
STATE_VALID = 900.0


def gps_seconds(year, month, day, hour, minute, second):
    whole = int(math.floor(second))
    t = datetime.datetime(year, month, day, hour, minute, whole) - GPS_ORIGIN
    return t.days * 86400.0 + t.seconds + (second - whole)


def iso_seconds(text):
    date, time = text.split("T")
    y, mo, d = (int(v) for v in date.split("-"))
    h, mi, s = time.split(":")
    return gps_seconds(y, mo, d, int(h), int(mi), float(s))


def full_year(y):
    if y >= 100:
        return y
    return 1900 + y if y > 80 else 2000 + y


def number(field):
    field = field.strip().replace("D", "E").replace("d", "e")
    return float(field) if field else 0.0


def nav_fields(line):
    return [number(line[3 + 19 * k:3 + 19 * (k + 1)]) for k in range(4)]


def read_nav(path, system):
    """The records of a navigation file: (satellite name, reference time, values)."""
    with open(path) as f:
        lines = f.read().splitlines()
    leap = 0
    body = 0
    for i, line in enumerate(lines):
        if line[60:].strip() == "LEAP SECONDS":
            leap = int(line[:6])
        if line[60:].strip() == "END OF HEADER":
            body = i + 1
            break
    per_record = 8 if system in "GE" else 4
    records = []
    i = body
    while i + per_record <= len(lines):
        head = lines[i]
        if not head.strip():
            i += 1
            continue
        prn = int(head[0:2])
        y, mo, d, h, mi = (int(head[k:k + 3]) for k in (2, 5, 8, 11, 14))
        sec = float(head[17:22])
        clock = [number(head[22 + 19 * k:22 + 19 * (k + 1)]) for k in range(3)]
        rows = [nav_fields(lines[i + k]) for k in range(1, per_record)]
        i += per_record
        t = gps_seconds(full_year(y), mo, d, h, mi, sec)
        if system in "GE":
            r = {
                "crs": rows[0][1], "dn": rows[0][2], "m0": rows[0][3],
                "cuc": rows[1][0], "e": rows[1][1], "cus": rows[1][2], "sqrta": rows[1][3],
                "toe": rows[2][0], "cic": rows[2][1], "om0": rows[2][2], "cis": rows[2][3],
                "i0": rows[3][0], "crc": rows[3][1], "w": rows[3][2], "omdot": rows[3][3],
                "idot": rows[4][0], "week": rows[4][2],
            }
            ref = r["week"] * WEEK + r["toe"]
            name = "%s%02d" % (system, prn)
        else:
            r = {"pos": [rows[k][0] * 1000.0 for k in range(3)],
                 "vel": [rows[k][1] * 1000.0 for k in range(3)],
                 "acc": [rows[k][2] * 1000.0 for k in range(3)]}
            ref = t + (leap if system == "R" else 0)  # GLONASS epochs are UTC
            name = "%s%02d" % (system, prn)
        records.append((name, ref, r))
    return records


def kepler(r, gm, t):
    a = r["sqrta"] ** 2
    tk = t - (r["week"] * WEEK + r["toe"])
    n = math.sqrt(gm / a ** 3) + r["dn"]
    m = r["m0"] + n * tk
    ecc = m
    for _ in range(30):
        nxt = m + r["e"] * math.sin(ecc)
        if abs(nxt - ecc) < 1e-14:
            ecc = nxt
            break
        ecc = nxt
    nu = math.atan2(math.sqrt(1 - r["e"] ** 2) * math.sin(ecc), math.cos(ecc) - r["e"])
    phi = nu + r["w"]
    du = r["cus"] * math.sin(2 * phi) + r["cuc"] * math.cos(2 * phi)
    dr = r["crs"] * math.sin(2 * phi) + r["crc"] * math.cos(2 * phi)
    di = r["cis"] * math.sin(2 * phi) + r["cic"] * math.cos(2 * phi)
    u = phi + du
    rad = a * (1 - r["e"] * math.cos(ecc)) + dr
    inc = r["i0"] + di + r["idot"] * tk
    node = r["om0"] + (r["omdot"] - OMEGA_E) * tk - OMEGA_E * r["toe"]
    xp, yp = rad * math.cos(u), rad * math.sin(u)
    return (xp * math.cos(node) - yp * math.cos(inc) * math.sin(node),
            xp * math.sin(node) + yp * math.cos(inc) * math.cos(node),
            yp * math.sin(inc))


def glo_accel(p, a_ls):
    x, y, z = p
    r2 = x * x + y * y + z * z
    r = math.sqrt(r2)
    mu_r3 = GLO_MU / (r2 * r)
    k = 1.5 * GLO_J2 * GLO_MU * GLO_AE ** 2 / (r2 * r2 * r)
    zz = 5 * z * z / r2
    return (-mu_r3 * x - k * x * (1 - zz) + a_ls[0],
            -mu_r3 * y - k * y * (1 - zz) + a_ls[1],
            -mu_r3 * z - k * z * (3 - zz) + a_ls[2])


def rk4_inertial(p, v, a_ls, h):
    def f(pp, vv):
        return vv, glo_accel(pp, a_ls)

    def add(a, b, s):
        return tuple(a[i] + b[i] * s for i in range(3))

    k1p, k1v = f(p, v)
    k2p, k2v = f(add(p, k1p, h / 2), add(v, k1v, h / 2))
    k3p, k3v = f(add(p, k2p, h / 2), add(v, k2v, h / 2))
    k4p, k4v = f(add(p, k3p, h), add(v, k3v, h))
    p = tuple(p[i] + h / 6 * (k1p[i] + 2 * k2p[i] + 2 * k3p[i] + k4p[i]) for i in range(3))
    v = tuple(v[i] + h / 6 * (k1v[i] + 2 * k2v[i] + 2 * k3v[i] + k4v[i]) for i in range(3))
    return p, v


def glonass_positions(r, ref, times):
    """Earth-fixed positions at the given times (sorted), integrated from the record's epoch in
    an inertial frame that coincides with the Earth-fixed one at that epoch."""
    x, y, z = r["pos"]
    vx, vy, vz = r["vel"]
    p0 = (x, y, z)
    v0 = (vx - GLO_OMEGA * y, vy + GLO_OMEGA * x, vz)
    a_ls = tuple(r["acc"])
    out = {}
    for direction in (1, -1):
        side = [t for t in times if (t >= ref if direction > 0 else t < ref)]
        side.sort(reverse=direction < 0)
        p, v, now = p0, v0, ref
        for t in side:
            while abs(t - now) > 1e-9:
                h = max(-30.0, min(30.0, t - now))
                p, v = rk4_inertial(p, v, a_ls, h)
                now += h
            th = GLO_OMEGA * (t - ref)
            out[t] = (p[0] * math.cos(th) + p[1] * math.sin(th),
                      -p[0] * math.sin(th) + p[1] * math.cos(th), p[2])
    return out


def geo_position(r, ref, t):
    dt = t - ref
    return tuple(r["pos"][k] + r["vel"][k] * dt + 0.5 * r["acc"][k] * dt * dt for k in range(3))


def station_frame(x, y, z):
    a = 6378137.0
    f = 1 / 298.257223563
    b = a * (1 - f)
    e2 = f * (2 - f)
    ep2 = (a * a - b * b) / (b * b)
    p = math.hypot(x, y)
    th = math.atan2(z * a, p * b)
    lat = math.atan2(z + ep2 * b * math.sin(th) ** 3, p - e2 * a * math.cos(th) ** 3)
    lon = math.atan2(y, x)
    sl, cl, so, co = math.sin(lat), math.cos(lat), math.sin(lon), math.cos(lon)
    return (x, y, z), (-so, co, 0.0), (-sl * co, -sl * so, cl), (cl * co, cl * so, sl)


def look(frame, sat):
    (sx, sy, sz), east, north, up = frame
    d = (sat[0] - sx, sat[1] - sy, sat[2] - sz)
    rng = math.sqrt(sum(c * c for c in d))
    e = sum(d[k] * east[k] for k in range(3))
    n = sum(d[k] * north[k] for k in range(3))
    u = sum(d[k] * up[k] for k in range(3))
    el = math.degrees(math.asin(u / rng))
    az = math.degrees(math.atan2(e, n)) % 360.0
    return el, az


def read_obs(path):
    """APPROX POSITION XYZ and the (time, satellite) pairs of every observation epoch."""
    with open(path) as f:
        lines = f.read().splitlines()
    xyz = None
    ntypes = 0
    i = 0
    while i < len(lines):
        label = lines[i][60:].strip()
        if label == "APPROX POSITION XYZ":
            xyz = tuple(float(lines[i][14 * k:14 * (k + 1)]) for k in range(3))
        if label == "# / TYPES OF OBSERV" and lines[i][:6].strip():
            ntypes = int(lines[i][:6])
        i += 1
        if label == "END OF HEADER":
            break
    per_sat = (ntypes + 4) // 5
    pairs = []
    while i < len(lines):
        line = lines[i]
        flag = int(line[26:29].strip() or 0)
        count = int(line[29:32])
        if flag > 1:  # an event: its header lines follow
            i += 1 + count
            continue
        sats = []
        k = i
        while len(sats) < count:
            text = lines[k][32:68]
            for j in range(0, len(text), 3):
                if len(sats) < count and text[j:j + 3].strip():
                    s = text[j:j + 3]
                    sats.append((s[0] if s[0] != " " else "G") + "%02d" % int(s[1:]))
            k += 1
        y, mo, d, h, mi = (int(line[c:c + 3]) for c in (0, 3, 6, 9, 12))
        t = gps_seconds(full_year(y), mo, d, h, mi, float(line[15:26]))
        pairs.extend((t, s) for s in sats)
        i = k + count * per_sat
    return xyz, pairs


def choose(index, name, t):
    """The record nearest in time (the later of two as near) when t lies in its validity."""
    recs = index.get(name)
    if not recs:
        return None
    times = [r[1] for r in recs]
    g = bisect.bisect_right(times, t)
    cands = []
    if g > 0:
        cands.append(recs[g - 1])
    if g < len(recs):
        # Of records with one time, the last in file order.
        k = g
        while k + 1 < len(recs) and times[k + 1] == times[g]:
            k += 1
        cands.append(recs[k])
    best = None
    for c in cands:
        if best is None or abs(t - c[1]) <= abs(t - best[1]):
            best = c
    valid = KEPLER_VALID if name[0] in "GE" else STATE_VALID
    if not (best[1] - valid <= t < best[1] + valid):
        return None
    return best


def independent_geometry(folder):
    xyz, pairs = read_obs(os.path.join(folder, STEM + "o"))
    frame = station_frame(*xyz)
    index = {}
    for letter, system in (("n", "G"), ("g", "R"), ("h", "S"), ("l", "E")):
        for order, (name, ref, r) in enumerate(read_nav(os.path.join(folder, STEM + letter),
                                                        system)):
            index.setdefault(name, []).append((order, ref, r))
    for name in index:
        index[name].sort(key=lambda x: (x[1], x[0]))
    # GLONASS: the times each record is asked for, integrated once per record.
    wanted = {}
    chosen = {}
    for t, s in pairs:
        c = choose(index, s, t)
        if c is None:
            continue
        chosen[(t, s)] = c
        if s[0] == "R":
            wanted.setdefault((s, c[0]), (c, set()))[1].add(t)
    glo = {}
    for (s, order), (c, times) in wanted.items():
        for t, p in glonass_positions(c[2], c[1], sorted(times)).items():
            glo[(t, s)] = p
    result = {}
    for (t, s), c in chosen.items():
        if s[0] == "G":
            p = kepler(c[2], GM_GPS, t)
        elif s[0] == "E":
            p = kepler(c[2], GM_GAL, t)
        elif s[0] == "R":
            p = glo[(t, s)]
        else:
            p = geo_position(c[2], c[1], t)
        result[(round(t, 3), s)] = look(frame, p)
    return result


def read_rows(path, el_col, az_col):
    rows = {}
    with open(path) as f:
        for r in csv.DictReader(f):
            rows[(round(iso_seconds(r["time"]), 3), r["sat"])] = (float(r[el_col]),
                                                                   float(r[az_col]))
    return rows


def compare(title, mine, theirs, require_same_set):
    worst = {}
    failures = 0
    missing = [k for k in mine if k not in theirs]
    extra = [k for k in theirs if k not in mine]
    if require_same_set and (missing or extra):
        print("%s: %d rows the check computes are missing, %d rows it has no orbit for" %
              (title, len(missing), len(extra)))
        for k in (missing + extra)[:10]:
            print("   ", k)
        failures += len(missing) + len(extra)
    for key, (el, az) in mine.items():
        if key not in theirs:
            continue
        el2, az2 = theirs[key]
        d_el = abs(el - el2)
        d_az = abs((az - az2 + 180.0) % 360.0 - 180.0) * math.cos(math.radians(el))
        w = worst.setdefault(key[1][0], [0.0, 0.0, 0])
        w[0] = max(w[0], d_el)
        w[1] = max(w[1], d_az)
        w[2] += 1
        if d_el > TOLERANCE_DEG or d_az > TOLERANCE_DEG:
            failures += 1
            if failures <= 10:
                print("%s: %s at %s: %.5f/%.5f against %.5f/%.5f" %
                      (title, key[1], key[0], el, az, el2, az2))
    for system in "GRSE":
        if system not in worst:
            print("%s: no rows of system %s" % (title, system))
            failures += 1
            continue
        w = worst[system]
        print("%s: %s %6d rows, largest differences elevation %.6f, azimuth x cos(el) %.6f deg" %
              (title, system, w[2], w[0], w[1]))
    return failures


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--gen", required=True)
    ap.add_argument("--scan", required=True)
    ap.add_argument("--samples", required=True)
    ap.add_argument("--work", required=True)
    a = ap.parse_args()
    shutil.rmtree(a.work, ignore_errors=True)
    gen_dir = os.path.join(a.work, "gen")
    scan_dir = os.path.join(a.work, "scan")
    os.makedirs(scan_dir)
    truth = os.path.join(a.work, "truth.csv")
    sky = os.path.join(a.work, "sky.csv")
    subprocess.run([a.gen, "--out", gen_dir, "--truth", truth] + SAMPLE_COMMAND, check=True,
                   stdout=subprocess.DEVNULL)
    failures = 0
    for letter in "onghlm":
        name = STEM + letter
        if not filecmp.cmp(os.path.join(gen_dir, name), os.path.join(a.samples, name),
                           shallow=False):
            print("the generator no longer writes the committed %s" % name)
            failures += 1
        shutil.copy(os.path.join(a.samples, name), scan_dir)
    status = subprocess.run([a.scan, "--sky", sky, os.path.join(scan_dir, STEM + "o")],
                            stdout=subprocess.DEVNULL).returncode
    if status != 0:
        print("quillon-scan ended with status %d" % status)
        failures += 1
    mine = independent_geometry(a.samples)
    failures += compare("quillon-scan --sky", mine,
                        read_rows(sky, "elevation_deg", "azimuth_deg"), True)
    failures += compare("quillon-gen --truth", mine,
                        read_rows(truth, "elevation_deg", "azimuth_deg"), False)
    print("failures: %d" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
