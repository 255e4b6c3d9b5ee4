# The map's projection and hex geometry, shared by the first-draft generators.
# The same formula is written down in assets/map/projection.txt and used by mkdata.

import math

ORIGIN_LON, ORIGIN_LAT = 16.373, 48.208  # Vienna, the centre of hex (6, 9)
X0, Y0 = 420.0, 684.0
PX_PER_LON = 324.45
PX_PER_LAT_SOUTH = 504.0
PX_PER_LAT_NORTH = 403.2
MAX_X, MAX_Y = 62, 35


def project(lon, lat):
    x = X0 + PX_PER_LON * (lon - ORIGIN_LON)
    if lat <= ORIGIN_LAT:
        y = Y0 + PX_PER_LAT_SOUTH * (ORIGIN_LAT - lat)
    else:
        y = Y0 - PX_PER_LAT_NORTH * (lat - ORIGIN_LAT)
    return x, y


def unproject(x, y):
    lon = ORIGIN_LON + (x - X0) / PX_PER_LON
    if y >= Y0:
        lat = ORIGIN_LAT - (y - Y0) / PX_PER_LAT_SOUTH
    else:
        lat = ORIGIN_LAT + (Y0 - y) / PX_PER_LAT_NORTH
    return lon, lat


def centre(x, y):
    return 63 * x + 42, 72 * y + 36 + (36 if x % 2 else 0)


def nearest_hex(px, py):
    best = None
    cx = round((px - 42) / 63)
    for x in range(cx - 1, cx + 2):
        for y in range(int(py // 72) - 2, int(py // 72) + 3):
            hx, hy = centre(x, y)
            d = (hx - px) ** 2 + (hy - py) ** 2
            if best is None or d < best[0]:
                best = (d, x, y)
    return best[1], best[2]


def hex_of(lon, lat):
    return nearest_hex(*project(lon, lat))


def on_map(x, y):
    return 0 <= x <= MAX_X and 0 <= y <= MAX_Y


def neighbour(x, y, d):
    odd = x % 2
    table_even = [(0, -1), (1, -1), (1, 0), (0, 1), (-1, 0), (-1, -1)]
    table_odd = [(0, -1), (1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0)]
    dx, dy = (table_odd if odd else table_even)[d]
    return x + dx, y + dy


def direction_to(a, b):
    for d in range(6):
        if neighbour(a[0], a[1], d) == tuple(b):
            return d
    return 9


def seg_dist(p, a, b):
    ax, ay = a
    bx, by = b
    px, py = p
    vx, vy = bx - ax, by - ay
    l2 = vx * vx + vy * vy
    t = 0 if l2 == 0 else max(0, min(1, ((px - ax) * vx + (py - ay) * vy) / l2))
    qx, qy = ax + t * vx, ay + t * vy
    return math.hypot(px - qx, py - qy)


def polyline_dist(p, pts):
    return min(seg_dist(p, pts[i], pts[i + 1]) for i in range(len(pts) - 1)) if len(pts) > 1 else math.hypot(
        p[0] - pts[0][0], p[1] - pts[0][1])


def point_in_polygon(p, poly):
    x, y = p
    inside = False
    n = len(poly)
    for i in range(n):
        x1, y1 = poly[i]
        x2, y2 = poly[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            xi = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if xi > x:
                inside = not inside
    return inside


# Corners of a flat-topped hex, clockwise from the north-west corner of its north side.
def corners(x, y):
    cx, cy = centre(x, y)
    return [(cx - 21, cy - 36), (cx + 21, cy - 36), (cx + 42, cy), (cx + 21, cy + 36), (cx - 21, cy + 36),
            (cx - 42, cy)]


def side_corners(x, y, d):
    c = corners(x, y)
    return c[d], c[(d + 1) % 6]
