#!/usr/bin/env python3
"""Draw the 霁窗 (JiChuang) program icon and write src/shell/res/jichuang.ico.

The icon is the Earth full disk as a geostationary satellite above 140°E sees
it: deep-blue ocean with limb darkening, East Asia / Australia land shapes,
soft cloud swirls and a thin light-blue atmosphere rim on a transparent
background.  The .ico holds 16, 32 and 48 px 32-bit BGRA DIB images and a
128 px PNG image, all with straight alpha.  Standard library only and fully
deterministic (same bytes every run).  Rerun from the repository root with:

    python3 tools/make-icon.py
"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                   "..", "src", "shell", "res", "jichuang.ico")
SUB_LON = 140.0  # satellite sub-point longitude (degrees east)
SS = 4           # supersampling: SS x SS samples per pixel

# Land blobs in (lon, lat) degrees: centre lon, centre lat, radius lon,
# radius lat, rotation (deg), use: 1 = every size, 0 = detailed sizes only,
# 2 = 16 px only (one simple Australia reads better than its parts).
LAND = [
    (136, -27, 15, 9, 0, 0), (123, -24, 9, 9, 0, 0),      # Australia
    (144, -21, 6, 11, -20, 0), (133, -16, 5, 4, 0, 0),
    (134, -25, 19, 11, 0, 2),
    (146.5, -42, 2.2, 1.8, 0, 0),                         # Tasmania
    (141, -5, 10, 3, -15, 1),                             # New Guinea
    (114, 1, 5, 5, 0, 0), (101, -1, 10, 2.5, -45, 0),     # Borneo, Sumatra
    (110, -7.5, 7, 1.3, -5, 0), (121, -2, 2, 4, 0, 0),    # Java, Sulawesi
    (105, 33, 22, 14, 0, 1), (95, 52, 40, 11, 0, 1),      # China, Siberia
    (133, 60, 25, 9, 0, 1), (103, 16, 6, 8, 0, 1),        # Far East, Indochina
    (127, 37, 2, 3.5, 0, 0), (137, 47, 5, 6, -30, 1),     # Korea, Amur coast
    (160, 56, 3, 7, -20, 0),                              # Kamchatka
    (137.5, 36, 2.2, 7, -45, 0), (143, 43.5, 2.5, 2, 0, 0),  # Japan
    (122, 12, 2.5, 6, 0, 0), (174, -41, 2.5, 7, -35, 0),  # Philippines, NZ
]
# Cyclones in (lon, lat): centre lon, centre lat, radius (deg), turn strength.
SWIRLS = [(163, 38, 16, 5.0), (118, -48, 18, -5.0), (178, 12, 9, 4.0)]


def clamp(x, a=0.0, b=1.0):
    return a if x < a else b if x > b else x


def smooth(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def hash2(ix, iy, seed):
    h = (ix * 374761393 + iy * 668265263 + seed * 144665) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def noise(x, y, seed):
    """Smooth value noise in [0, 1]."""
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a, b = hash2(ix, iy, seed), hash2(ix + 1, iy, seed)
    c, d = hash2(ix, iy + 1, seed), hash2(ix + 1, iy + 1, seed)
    return a + (b - a) * fx + (c - a) * fy + (a - b - c + d) * fx * fy


def fbm(x, y, seed, octaves=4):
    s, amp, norm = 0.0, 1.0, 0.0
    for _ in range(octaves):
        s, norm = s + amp * noise(x, y, seed), norm + amp
        x, y, amp, seed = x * 2.03, y * 2.03, amp * 0.5, seed + 17
    return s / norm


def land_score(lon, lat, detail):
    best = -1.0
    for cx, cy, rx, ry, rot, use in LAND:
        if use != 1 and use != (0 if detail else 2):
            continue
        a = math.radians(rot)
        dx, dy = lon - cx, lat - cy
        px = (dx * math.cos(a) + dy * math.sin(a)) / rx
        py = (-dx * math.sin(a) + dy * math.cos(a)) / ry
        best = max(best, 1.0 - (px * px + py * py))
    if detail:  # ragged coastlines
        best += 0.45 * (fbm(lon / 9.0, lat / 9.0, 3, 3) - 0.5)
    return best


def surface(lon, lat, detail):
    """Ocean / land / ice colour at a point; detail off = flat colours."""
    ocean = (0.02, 0.13, 0.42)
    if lat < -67:  # Antarctic ice
        return (0.86, 0.90, 0.95)
    s = land_score(lon, lat, detail)
    if s <= 0:
        shallow = smooth(-0.25, 0.0, s) * 0.5 if detail else 0.0
        return mix(ocean, (0.05, 0.30, 0.55), shallow)
    green, ochre = (0.16, 0.45, 0.16), (0.72, 0.52, 0.24)
    if not detail:
        return mix(green, ochre, 0.3)
    dry = math.exp(-((abs(lat) - 30) / 11.0) ** 2) * smooth(0.05, 0.45, s)
    dry = clamp(dry + 0.6 * (fbm(lon / 6.0, lat / 6.0, 9, 3) - 0.5))
    col = mix(green, ochre, dry)
    return mix(col, (0.80, 0.80, 0.78), smooth(55, 70, lat))  # northern snow


def clouds(lon, lat):
    x, y, eye = lon, lat, 0.0
    for cx, cy, rad, turn in SWIRLS:
        dx, dy = x - cx, y - cy
        r = math.hypot(dx, dy) / rad
        a = turn * math.exp(-r * r)  # twist the noise field around the eye
        x = cx + dx * math.cos(a) - dy * math.sin(a)
        y = cy + dx * math.sin(a) + dy * math.cos(a)
        eye = max(eye, math.exp(-r * r) * (1 - math.exp(-9 * r * r)))
    n = fbm(x / 12.0, y / 12.0, 42, 3)
    tracks = 0.07 * (math.exp(-((lat - 40) / 12) ** 2) +   # storm tracks
                     math.exp(-((lat + 47) / 10) ** 2) +
                     math.exp(-((lat - 7) / 5) ** 2)) - 0.04  # and the ITCZ
    swirl = eye * smooth(0.3, 0.6, n)
    return clamp(max(smooth(0.56, 0.74, n + tracks), swirl))


def shade(u, v, detail, cloud, rim_w):
    """Colour of disk point (u, v), |(u, v)| < 1, v pointing north."""
    r = math.hypot(u, v)
    z = math.sqrt(max(0.0, 1.0 - r * r))
    lat = math.degrees(math.asin(clamp(v, -1, 1)))
    lon = SUB_LON + math.degrees(math.atan2(u, z))
    col = surface(lon, lat, detail)
    if cloud:
        col = mix(col, (0.95, 0.96, 0.98), cloud * clouds(lon, lat))
    dark = 0.55 if detail else 0.35                          # limb darkening
    col = tuple(c * (1.0 - dark + dark * z ** 0.6) for c in col)
    haze = smooth(1.0 - 3.5 * rim_w, 1.0, r) ** 2
    col = mix(col, (0.30, 0.55, 0.90), 0.6 * haze)
    rim = smooth(1.0 - rim_w, 1.0 - 0.2 * rim_w, r)         # bright thin rim
    return mix(col, (0.62, 0.85, 1.0), rim)


def render(size):
    detail = size >= 32                     # 16 px: ocean, land, rim only
    cloud = 0.0 if size < 32 else 0.55 if size < 64 else 0.92
    rad = size / 2.0 - 0.25                 # disk radius in pixels
    rim_w = max(0.035, 0.8 / rad)           # rim about 0.8 px wide, min 3.5%
    px = []
    for row in range(size):                 # top row first
        for colm in range(size):
            acc, hits = [0.0, 0.0, 0.0], 0
            for sy in range(SS):
                for sx in range(SS):
                    u = (colm + (sx + 0.5) / SS - size / 2.0) / rad
                    v = (size / 2.0 - row - (sy + 0.5) / SS) / rad
                    if u * u + v * v < 1.0:
                        c = shade(u, v, detail, cloud, rim_w)
                        acc = [a + b for a, b in zip(acc, c)]
                        hits += 1
            # Straight alpha: colour is the mean of the covered samples only.
            rgb = [round(clamp(a / max(hits, 1)) * 255) for a in acc]
            px.append((*rgb, round(255 * hits / SS ** 2)))
    return px


def dib(size, px):
    mask_row = ((size + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for row in reversed(range(size)):       # bottom-up
        bits = bytearray(mask_row)
        for x in range(size):
            r, g, b, a = px[row * size + x]
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    hdr = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                      len(xor) + len(mask), 0, 0, 0, 0)
    return hdr + bytes(xor) + bytes(mask)


def png(size, px):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(sum(px[row * size:(row + 1) * size], ()))
                   for row in range(size))  # filter byte 0 (none) per row
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    images = [(s, dib(s, render(s))) for s in (16, 32, 48)]
    images.append((128, png(128, render(128))))
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for s, data in images:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    with open(OUT, "wb") as f:
        f.write(out)
    print("wrote %s (%d bytes)" % (os.path.normpath(OUT), len(out)))


if __name__ == "__main__":
    main()
