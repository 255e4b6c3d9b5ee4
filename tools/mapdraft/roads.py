#!/usr/bin/env python3
# First draft of assets/map/roads.txt: the post roads of 1848 and the railways open that year,
# each as a list of towns and way points from the atlas, laid out hex by hex on passable ground.
# The result was then edited by hand; run this only to start the roads afresh:
#
#   python3 tools/mapdraft/roads.py assets/map/terrain.txt assets/map/cities.tsv > /tmp/roads_draft.txt

import heapq
import sys

from geo import centre, hex_of, neighbour, on_map, project, seg_dist

# Way points: a city name from cities.tsv, or (lon, lat) of a post station on the way.
ROADS = [
    ("Bécs–Pozsony", ["Bécs", (16.61, 48.12), (16.94, 48.12), "Pozsony"]),
    ("Bécs–Moson–Győr–Komárom–Buda", ["Bécs", (16.77, 48.0), "Moson", "Győr", (17.83, 47.70), "Komárom",
                                      (18.32, 47.65), (18.63, 47.49), "Buda"]),
    ("Pozsony–Moson", ["Pozsony", (17.05, 48.0), "Moson"]),
    ("Bécs–Bécsújhely–Grác", ["Bécs", "Bécsújhely", (15.94, 47.68), (15.84, 47.63), (15.6, 47.45),
                              (15.3, 47.25), "Grác"]),
    ("Bécsújhely–Sopron–Győr", ["Bécsújhely", "Sopron", (17.2, 47.65), "Győr"]),
    ("Bécs–Brünn–Olmütz", ["Bécs", (16.55, 48.6), "Brünn", (17.0, 49.3), "Olmütz"]),
    ("Pozsony–Nagyszombat–Trencsén", ["Pozsony", "Nagyszombat", (17.83, 48.59), "Trencsén"]),
    ("Nagyszombat–Lipótvár–Nyitra", ["Nagyszombat", "Lipótvár", "Nyitra"]),
    ("Komárom–Nyitra", ["Komárom", (18.16, 47.98), "Nyitra"]),
    ("Nyitra–Selmecbánya–Besztercebánya", ["Nyitra", (18.6, 48.22), "Selmecbánya", "Besztercebánya"]),
    ("Trencsén–Olmütz", ["Trencsén", (17.75, 49.1), (17.5, 49.3), "Olmütz"]),
    ("Buda–Esztergom–Komárom", ["Buda", (18.9, 47.65), "Esztergom", "Komárom"]),
    ("Pest–Vác–Losonc", ["Pest", "Vác", (19.30, 48.07), "Losonc"]),
    ("Losonc–Besztercebánya", ["Losonc", (19.13, 48.58), "Besztercebánya"]),
    ("Losonc–Miskolc", ["Losonc", (20.05, 48.25), (20.45, 48.25), "Miskolc"]),
    ("Pest–Hatvan–Miskolc–Kassa", ["Pest", (19.36, 47.6), (19.68, 47.67), (19.93, 47.78), (20.58, 47.81),
                                   "Miskolc", (21.05, 48.25), "Kassa"]),
    ("Mezőkövesd–Eger", [(20.58, 47.81), "Eger"]),
    ("Kassa–Eperjes–Bártfa–Dukla", ["Kassa", "Eperjes", "Bártfa", (21.6, 49.42), (21.7, 49.6)]),
    ("Kassa–Lőcse–Besztercebánya", ["Kassa", (20.9, 48.95), "Lőcse", (20.3, 49.05), (19.6, 49.08),
                                    (19.3, 48.85), "Besztercebánya"]),
    ("Trencsén–Zsolna–Liptó", ["Trencsén", (18.4, 49.1), (18.74, 49.22), (19.3, 49.08), (19.6, 49.08)]),
    ("Miskolc–Tokaj–Debrecen", ["Miskolc", (21.1, 48.05), "Tokaj", (21.72, 47.95), "Debrecen"]),
    ("Kassa–Tokaj", ["Kassa", (21.3, 48.45), (21.5, 48.3), "Tokaj"]),
    ("Kassa–Ungvár–Munkács–Verecke", ["Kassa", (21.9, 48.75), (22.3, 48.62), "Munkács", (23.13, 48.85)]),
    ("Munkács–Szatmárnémeti", ["Munkács", (22.6, 48.2), (22.75, 48.0), "Szatmárnémeti"]),
    ("Debrecen–Szatmárnémeti", ["Debrecen", (22.1, 47.7), "Szatmárnémeti"]),
    ("Szatmárnémeti–Dés", ["Szatmárnémeti", (23.57, 47.66), (23.6, 47.45), "Dés"]),
    ("Pest–Szolnok–Debrecen", ["Pest", (19.8, 47.17), "Szolnok", (20.42, 47.18), (20.9, 47.3), (21.35, 47.4),
                               "Debrecen"]),
    ("Pest–Tiszafüred–Debrecen", [(20.58, 47.81), (20.77, 47.62), (21.1, 47.58), "Debrecen"]),
    ("Debrecen–Nagyvárad–Kolozsvár", ["Debrecen", (21.75, 47.3), "Nagyvárad", (22.4, 47.05), (22.68, 46.95),
                                      "Bánffyhunyad", "Kolozsvár"]),
    ("Pest–Kecskemét–Szeged–Temesvár", ["Pest", (19.35, 47.2), "Kecskemét", (19.85, 46.71), "Szeged",
                                        (20.6, 46.05), (20.9, 45.9), "Temesvár"]),
    ("Szolnok–Kecskemét", ["Szolnok", "Kecskemét"]),
    ("Szeged–Arad–Nagyvárad", ["Szeged", (20.48, 46.22), "Arad", (21.5, 46.65), "Nagyvárad"]),
    ("Arad–Gyula–Debrecen", ["Arad", "Gyula", (21.1, 46.95), (21.4, 47.2), "Debrecen"]),
    ("Arad–Temesvár–Versec–Pancsova", ["Arad", (21.3, 46.0), "Temesvár", (21.25, 45.45), "Versec",
                                       (20.9, 45.0), "Pancsova"]),
    ("Temesvár–Lugos–Karánsebes–Orsova", ["Temesvár", (21.6, 45.7), "Lugos", (22.2, 45.42), (22.35, 45.05),
                                          (22.4, 44.75)]),
    ("Arad–Déva–Nagyszeben–Brassó", ["Arad", (21.7, 46.1), (22.3, 45.97), "Déva", (23.2, 45.88), (23.57, 45.96),
                                     "Nagyszeben", (24.5, 45.75), "Fogaras", (25.3, 45.75), "Brassó"]),
    ("Lugos–Déva", ["Lugos", (22.2, 45.75), "Déva"]),
    ("Déva–Hátszeg–Vulkán", ["Déva", (23.0, 45.6), (23.1, 45.45), (23.3, 45.35)]),
    ("Nagyszeben–Vöröstorony", ["Nagyszeben", (24.3, 45.65), (24.27, 45.45)]),
    ("Szászsebes–Gyulafehérvár–Kolozsvár", [(23.57, 45.96), "Gyulafehérvár", "Nagyenyed", "Torda", "Kolozsvár"]),
    ("Gyulafehérvár–Abrudbánya", ["Gyulafehérvár", (23.25, 46.15), "Abrudbánya"]),
    ("Kolozsvár–Dés–Beszterce", ["Kolozsvár", (23.75, 46.95), "Dés", (24.2, 47.15), "Beszterce"]),
    ("Beszterce–Borgó", ["Beszterce", (24.8, 47.2), (25.1, 47.27)]),
    ("Torda–Marosvásárhely", ["Torda", (24.08, 46.47), "Marosvásárhely"]),
    ("Marosvásárhely–Beszterce", ["Marosvásárhely", (24.7, 46.77), "Beszterce"]),
    ("Nagyszeben–Medgyes–Segesvár–Marosvásárhely", ["Nagyszeben", "Medgyes", "Segesvár", "Marosvásárhely"]),
    ("Segesvár–Brassó", ["Segesvár", (25.2, 46.0), "Brassó"]),
    ("Brassó–Sepsiszentgyörgy–Csíkszereda", ["Brassó", "Sepsiszentgyörgy", (25.85, 46.15), "Csíkszereda"]),
    ("Brassó–Tömös", ["Brassó", (25.57, 45.5)]),
    ("Marosvásárhely–Csíkszereda", ["Marosvásárhely", (25.3, 46.3), "Csíkszereda"]),
    ("Buda–Székesfehérvár–Eszék", ["Buda", (18.63, 47.35), "Székesfehérvár", (18.52, 46.75), (18.7, 46.35),
                                   "Mohács", "Eszék"]),
    ("Pécs–Mohács", ["Pécs", "Mohács"]),
    ("Székesfehérvár–Veszprém–Pápa–Győr", ["Székesfehérvár", "Veszprém", (17.47, 47.33), "Győr"]),
    ("Veszprém–Nagykanizsa", ["Veszprém", (17.45, 46.9), (17.25, 46.77), "Nagykanizsa"]),
    ("Sopron–Szombathely–Nagykanizsa", ["Sopron", (16.62, 47.23), (16.85, 46.85), "Nagykanizsa"]),
    ("Nagykanizsa–Varasd–Zágráb–Károlyváros", ["Nagykanizsa", (16.6, 46.38), "Varasd", (16.0, 46.1), "Zágráb",
                                               "Károlyváros"]),
    ("Grác–Marburg–Varasd", ["Grác", (15.65, 46.56), (15.87, 46.42), "Varasd"]),
    ("Nagykanizsa–Pécs", ["Nagykanizsa", (17.46, 45.96), (17.79, 46.07), "Pécs"]),
    ("Zágráb–Eszék", ["Zágráb", (16.5, 45.6), (17.0, 45.7), (17.7, 45.65), (18.2, 45.6), "Eszék"]),
    ("Eszék–Vukovár–Pétervárad", ["Eszék", "Vukovár", (19.38, 45.22), "Pétervárad"]),
    ("Újvidék–Szenttamás–Szabadka–Szeged", ["Újvidék", "Szenttamás", "Szabadka", "Szeged"]),
    ("Buda–Szabadka", ["Pest", (19.1, 47.0), (19.2, 46.5), "Szabadka"]),
    ("Mohács–Zombor–Szabadka", ["Mohács", "Zombor", "Szabadka"]),
    ("Zombor–Újvidék", ["Zombor", (19.5, 45.5), "Újvidék"]),
    ("Újvidék–Titel–Nagybecskerek–Temesvár", ["Újvidék", "Titel", "Nagybecskerek", (20.9, 45.6), "Temesvár"]),
    ("Pétervárad–Zimony", ["Pétervárad", (20.1, 45.0), (20.4, 44.86)]),
    ("Nagybecskerek–Pancsova", ["Nagybecskerek", (20.6, 45.1), "Pancsova"]),
    ("Szeged–Nagybecskerek", ["Szeged", (20.1, 45.85), (20.3, 45.6), "Nagybecskerek"]),
]

# The railways open in 1848.
RAILS = [
    ("Pest–Vác", ["Pest", "Vác"]),
    ("Pest–Cegléd–Szolnok", ["Pest", (19.8, 47.17), "Szolnok"]),
    ("Bécs–Lundenburg–Olmütz", ["Bécs", (16.88, 48.76), (17.45, 49.45), "Olmütz"]),
    ("Lundenburg–Brünn", [(16.88, 48.76), "Brünn"]),
    ("Bécs–Bécsújhely–Gloggnitz", ["Bécs", "Bécsújhely", (15.94, 47.68)]),
    ("Pozsony–Nagyszombat", ["Pozsony", "Nagyszombat"]),
]

COST = {'.': 8, 'f': 10, '~': 15, '^': 15}


def load_terrain(path):
    rows = [l.rstrip('\n') for l in open(path, encoding='utf-8')]
    return [r for r in rows if len(r) == 63 and not r.startswith(('legend', ';'))]


def load_cities(path):
    cities = {}
    for line in open(path, encoding='utf-8'):
        if line.startswith('#') or line.startswith('n\t') or not line.strip():
            continue
        f = line.rstrip('\n').split('\t')
        cities[f[1]] = (int(f[5]), int(f[6]))
    return cities


def route(grid, a, b):
    pa, pb = centre(*a), centre(*b)
    dist = {a: 0}
    prev = {}
    heap = [(0, a)]
    while heap:
        d, h = heapq.heappop(heap)
        if h == b:
            break
        if d > dist[h]:
            continue
        for k in range(6):
            n = neighbour(h[0], h[1], k)
            if not on_map(*n) or grid[n[1]][n[0]] not in COST:
                continue
            c = COST[grid[n[1]][n[0]]] + 0.3 * seg_dist(centre(*n), pa, pb)
            if d + c < dist.get(n, 1e18):
                dist[n] = d + c
                prev[n] = h
                heapq.heappush(heap, (d + c, n))
    path = [b]
    while path[-1] != a:
        path.append(prev[path[-1]])
    return path[::-1]


def main():
    grid = load_terrain(sys.argv[1])
    cities = load_cities(sys.argv[2])
    out = []
    for kind, table in (("road", ROADS), ("rail", RAILS)):
        for name, points in table:
            hexes = [cities[p] if isinstance(p, str) else hex_of(*p) for p in points]
            path = [hexes[0]]
            for h in hexes[1:]:
                if h != path[-1]:
                    path += route(grid, path[-1], h)[1:]
            out.append(f"\n{kind} {name}\n")
            for i in range(0, len(path), 12):
                out.append("  " + " ".join(f"{x},{y}" for x, y in path[i:i + 12]) + "\n")
    sys.stdout.write("".join(out))


if __name__ == '__main__':
    main()
