#!/usr/bin/env python3
# First draft of assets/map/rivers.txt: each river's course from the atlas (longitude and
# latitude, source to mouth) traced along the hex sides nearest to it. The result was then
# edited by hand; run this only to start the rivers afresh:
#
#   python3 tools/mapdraft/rivers.py > /tmp/rivers_draft.txt

import heapq
import math
import sys

from geo import MAX_X, MAX_Y, corners, nearest_hex, on_map, project, seg_dist

# (name, value, course). A tributary's last point is snapped onto the river it joins.
RIVERS = [
    ("Duna", 2, [(15.2, 48.38), (15.6, 48.41), (16.05, 48.33), (16.33, 48.3), (16.42, 48.22), (16.61, 48.12),
                 (16.94, 48.14), (17.11, 48.13), (17.3, 48.0), (17.5, 47.87), (17.83, 47.73), (18.12, 47.74),
                 (18.5, 47.76), (18.74, 47.80), (18.97, 47.79), (19.1, 47.76), (19.08, 47.65),
                 (19.05, 47.50), (19.05, 47.3), (18.95, 47.0), (18.92, 46.75), (18.86, 46.5),
                 (18.95, 46.18), (18.82, 45.95), (18.88, 45.7), (18.93, 45.55), (19.12, 45.42), (19.2, 45.33),
                 (19.38, 45.22), (19.86, 45.255), (19.95, 45.19), (20.25, 45.13), (20.41, 44.83),
                 (20.64, 44.83), (20.93, 44.7), (21.38, 44.79), (21.62, 44.71), (21.95, 44.64),
                 (22.27, 44.62), (22.40, 44.70), (22.55, 44.65), (22.75, 44.6)]),
    ("Tisza", 1, [(24.3, 48.05), (23.92, 47.95), (23.3, 48.14), (22.85, 48.08), (22.3, 48.12), (22.17, 48.38),
                  (21.9, 48.3), (21.65, 48.1), (21.45, 47.98), (21.17, 47.98), (21.05, 47.9), (20.77, 47.6),
                  (20.5, 47.45), (20.38, 47.2), (20.3, 46.95), (20.15, 46.7), (20.17, 46.25),
                  (20.08, 45.93), (20.05, 45.62), (20.25, 45.42), (20.42, 45.27), (20.36, 45.12)]),
    ("Maros", 1, [(25.5, 46.8), (25.0, 46.95), (24.7, 46.77), (24.56, 46.53), (24.08, 46.47), (23.78, 46.3),
                  (23.6, 46.07), (23.2, 45.89), (22.9, 45.9), (22.3, 45.98), (21.7, 46.07), (21.31, 46.15),
                  (20.9, 46.2), (20.48, 46.2), (20.2, 46.25)]),
    ("Hármas-Körös", 1, [(21.1, 46.8), (20.85, 46.93), (20.55, 46.87), (20.15, 46.7)]),
    ("Fekete-Körös", 1, [(22.45, 46.6), (22.1, 46.72), (21.7, 46.75), (21.4, 46.78), (21.1, 46.8)]),
    ("Fehér-Körös", 1, [(22.8, 46.15), (22.3, 46.25), (21.97, 46.3), (21.6, 46.5), (21.3, 46.65), (21.1, 46.8)]),
    ("Sebes-Körös", 1, [(22.9, 46.9), (22.6, 47.0), (22.3, 47.05), (21.92, 47.05), (21.5, 47.1), (21.17, 47.0),
                        (20.85, 46.93)]),
    ("Szamos", 1, [(24.6, 47.4), (24.2, 47.25), (23.88, 47.15), (23.59, 46.78)]),
    ("Szamos", 1, [(23.88, 47.15), (23.5, 47.3), (23.27, 47.3), (23.1, 47.55), (22.88, 47.8), (22.5, 47.95),
                   (22.3, 48.1)]),
    ("Bodrog", 1, [(22.0, 48.6), (21.7, 48.4), (21.57, 48.3), (21.52, 48.1), (21.47, 47.98)]),
    ("Sajó", 1, [(20.45, 48.7), (20.5, 48.45), (20.75, 48.32), (20.98, 48.12), (21.05, 47.92)]),
    ("Hernád", 1, [(20.45, 48.95), (21.0, 48.9), (21.18, 48.72), (21.2, 48.4), (21.08, 48.2), (21.0, 48.07)]),
    ("Zagyva", 1, [(19.85, 48.1), (19.68, 47.7), (19.9, 47.5), (20.15, 47.3), (20.38, 47.2)]),
    ("Vág", 1, [(19.7, 49.08), (19.3, 49.08), (18.75, 49.2), (18.4, 49.1), (18.04, 48.9), (17.83, 48.6),
                (17.8, 48.4), (17.85, 48.15), (18.1, 47.77)]),
    ("Nyitra", 1, [(18.6, 48.8), (18.3, 48.55), (18.09, 48.32), (18.16, 47.98), (18.05, 47.85)]),
    ("Garam", 1, [(19.65, 48.8), (19.15, 48.72), (19.13, 48.58), (18.7, 48.4), (18.6, 48.2), (18.77, 47.81)]),
    ("Ipoly", 1, [(19.65, 48.3), (19.3, 48.07), (18.92, 48.07), (18.88, 47.8)]),
    ("Rába", 1, [(15.6, 47.1), (16.27, 46.95), (16.6, 47.02), (16.93, 47.25), (17.3, 47.5), (17.63, 47.68)]),
    ("Lajta", 1, [(16.15, 47.72), (16.35, 47.88), (16.77, 48.02), (17.15, 47.9), (17.45, 47.85)]),
    ("Morva", 1, [(17.25, 49.65), (17.39, 49.3), (17.46, 49.07), (17.13, 48.85), (16.9, 48.7), (16.91, 48.3),
                  (16.98, 48.16)]),
    ("Dráva", 1, [(15.2, 46.6), (15.65, 46.56), (15.87, 46.45), (16.37, 46.43), (16.85, 46.33), (17.46, 45.96),
                  (18.2, 45.78), (18.7, 45.57), (18.93, 45.55)]),
    ("Száva", 1, [(15.2, 45.95), (15.6, 45.87), (15.98, 45.77), (16.37, 45.47), (16.92, 45.26), (17.25, 45.14),
                  (18.01, 45.14), (18.7, 45.06), (19.35, 44.89), (19.69, 44.75), (20.05, 44.71), (20.41, 44.83)]),
    ("Temes", 1, [(22.3, 45.1), (22.2, 45.42), (21.9, 45.69), (21.5, 45.6), (21.1, 45.48), (20.8, 45.2),
                  (20.64, 44.83)]),
    ("Béga", 1, [(22.3, 45.85), (21.7, 45.77), (21.23, 45.76), (20.8, 45.5), (20.39, 45.39), (20.42, 45.27)]),
    ("Olt", 1, [(25.75, 46.6), (25.85, 46.2), (25.79, 45.86), (25.6, 45.8), (25.35, 45.98), (24.97, 45.85),
                (24.5, 45.78), (24.3, 45.68), (24.27, 45.4)]),
    ("Sió", 1, [(18.05, 46.91), (18.55, 46.75), (18.85, 46.5)]),
]


def vertex_graph_near(a, b, margin=150):
    """Vertices and edges of the hexes around the segment a-b, in map pixels."""
    lo_x, hi_x = min(a[0], b[0]) - margin, max(a[0], b[0]) + margin
    lo_y, hi_y = min(a[1], b[1]) - margin, max(a[1], b[1]) + margin
    adj = {}
    for x in range(int(lo_x // 63) - 1, int(hi_x // 63) + 2):
        for y in range(int(lo_y // 72) - 1, int(hi_y // 72) + 2):
            c = corners(x, y)
            for i in range(6):
                p, q = c[i], c[(i + 1) % 6]
                adj.setdefault(p, set()).add(q)
                adj.setdefault(q, set()).add(p)
    return adj


def nearest_vertex(p):
    x, y = nearest_hex(*p)
    return min(corners(x, y), key=lambda c: (c[0] - p[0]) ** 2 + (c[1] - p[1]) ** 2)


def trace(a, b):
    """Vertex path from vertex a to vertex b that keeps close to the straight line."""
    adj = vertex_graph_near(a, b)
    dist = {a: 0.0}
    prev = {}
    heap = [(0.0, a)]
    while heap:
        d, v = heapq.heappop(heap)
        if v == b:
            break
        if d > dist[v]:
            continue
        for w in adj.get(v, ()):
            mid = ((v[0] + w[0]) / 2, (v[1] + w[1]) / 2)
            cost = 42 + 3 * seg_dist(mid, a, b)
            if d + cost < dist.get(w, 1e18):
                dist[w] = d + cost
                prev[w] = v
                heapq.heappush(heap, (d + cost, w))
    path = [b]
    while path[-1] != a:
        path.append(prev[path[-1]])
    return path[::-1]


def side_hexes(p, q):
    mx, my = (p[0] + q[0]) / 2, (p[1] + q[1]) / 2
    dx, dy = q[0] - p[0], q[1] - p[1]
    n = math.hypot(dx, dy)
    nx, ny = -dy / n, dx / n
    return nearest_hex(mx + 20 * nx, my + 20 * ny), nearest_hex(mx - 20 * nx, my - 20 * ny)


def main():
    traced = {}
    out = []
    for name, value, course in RIVERS:
        pts = [project(*p) for p in course]
        verts = [nearest_vertex(p) for p in pts]
        # A tributary ends on the river it joins: snap its mouth to the nearest traced vertex.
        if traced:
            all_v = [v for vs in traced.values() for v in vs]
            last = min(all_v, key=lambda v: (v[0] - pts[-1][0]) ** 2 + (v[1] - pts[-1][1]) ** 2)
            if math.hypot(last[0] - pts[-1][0], last[1] - pts[-1][1]) < 90:
                verts[-1] = last
        path = [verts[0]]
        for v in verts[1:]:
            if v != path[-1]:
                path += trace(path[-1], v)[1:]
        # No doubling back on a side, and a tributary ends where it first touches a river.
        i = 0
        while i + 2 < len(path):
            if path[i] == path[i + 2]:
                del path[i + 1:i + 3]
                i = max(i - 1, 0)
            else:
                i += 1
        earlier = {v for vs in traced.values() for v in vs}
        for i, v in enumerate(path[1:], 1):
            if v in earlier:
                path = path[:i + 1]
                break
        traced.setdefault(name, []).extend(path)
        sides = []
        for p, q in zip(path, path[1:]):
            a, b = side_hexes(p, q)
            if on_map(*a) and on_map(*b):
                sides.append(f"{a[0]},{a[1]}/{b[0]},{b[1]}")
            else:
                sides.append(None)
        out.append(f"\nriver {name} {value}\n")
        chunk = []
        for s in sides:
            if s is None:
                if chunk:
                    out.append("  " + " ".join(chunk) + "\n")
                    chunk = []
                if out[-1] != "  break\n" and not out[-1].startswith("river"):
                    out.append("  break\n")
                continue
            chunk.append(s)
            if len(chunk) == 8:
                out.append("  " + " ".join(chunk) + "\n")
                chunk = []
        if chunk:
            out.append("  " + " ".join(chunk) + "\n")
    sys.stdout.write("".join(out))


if __name__ == '__main__':
    main()
