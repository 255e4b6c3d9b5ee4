#!/usr/bin/env python3
# First draft of assets/map/terrain.txt from the landscapes of the Carpathian basin, written
# down here as outlines in longitude and latitude from the atlas. The grid it prints was then
# edited by hand; run this only to start a map afresh:
#
#   python3 tools/mapdraft/terrain.py > /tmp/terrain_draft.txt

import sys

from geo import MAX_X, MAX_Y, centre, hex_of, polyline_dist, point_in_polygon, project, unproject

PLAIN, FOREST, MARSH, HILLS, IMPASSABLE = 0, 1, 2, 3, 4
CHAR = {PLAIN: '.', FOREST: 'f', MARSH: '~', HILLS: '^', IMPASSABLE: '#'}
LAKE, FOREIGN = 'w', 'x'

# Lands beyond the war: the Ottoman provinces, Serbia, Wallachia, Moldavia and Bukovina.
FOREIGN_LANDS = {
    "Bosnia and Serbia south of the Sava and the Danube": [
        (14.9, 44.3), (14.9, 44.55), (15.75, 44.62), (15.85, 44.82), (16.05, 45.0), (16.3, 45.0),
        (16.55, 45.2), (16.92, 45.25), (17.25, 45.12), (18.0, 45.13), (18.5, 45.03), (18.8, 44.88),
        (19.35, 44.88), (19.7, 44.74), (20.05, 44.70), (20.4, 44.79), (20.65, 44.80), (20.95, 44.67),
        (21.4, 44.75), (21.65, 44.67), (22.0, 44.58), (22.35, 44.64), (22.55, 44.64), (22.7, 44.5),
        (22.7, 44.2), (14.9, 44.2)],
    "Wallachia": [
        (22.55, 44.66), (22.62, 44.85), (22.8, 45.08), (23.05, 45.25), (23.45, 45.30), (23.95, 45.35),
        (24.27, 45.40), (24.6, 45.50), (25.05, 45.52), (25.35, 45.40), (25.62, 45.42), (26.0, 45.48),
        (26.35, 45.62), (28.0, 45.62), (28.0, 44.2), (22.7, 44.2)],
    "Galicia beyond the Carpathian crest": [
        (22.1, 50.0), (22.1, 49.35), (22.6, 49.15), (23.1, 48.95), (23.6, 48.72), (24.2, 48.45),
        (24.65, 48.3), (28.0, 48.3), (28.0, 50.0)],
    "Moldavia and Bukovina": [
        (26.35, 45.62), (26.48, 45.95), (26.42, 46.22), (26.2, 46.5), (26.0, 46.8), (25.75, 47.05),
        (25.35, 47.25), (25.1, 47.45), (24.9, 47.7), (24.6, 47.95), (24.75, 48.3), (28.0, 48.3),
        (28.0, 45.62)],
}

# Lakes: (axis in lon/lat, half-width in hexes).
LAKES = {
    "Balaton": ([(17.28, 46.74), (17.6, 46.86), (17.9, 46.96), (18.12, 47.04)], 0.45),
    "Fertő": ([(16.72, 47.75), (16.78, 47.9)], 0.45),
}

# Wide wooded uplands: (outline in lon/lat, code); ridges and valleys are drawn over them.
AREAS = [
    ("Forests of the northern highlands", [
        (17.75, 48.55), (18.4, 48.3), (19.0, 48.2), (19.6, 48.3), (20.2, 48.38), (20.9, 48.5),
        (21.2, 48.7), (21.55, 48.95), (21.95, 48.95), (22.4, 48.75), (22.85, 48.5), (23.3, 48.25),
        (23.8, 48.02), (24.45, 47.95), (24.7, 48.3), (23.6, 49.0), (22.4, 49.45), (21.0, 49.7),
        (19.5, 49.7), (18.5, 49.6), (17.95, 49.25), (17.75, 48.9)], FOREST),
    ("Forests of the eastern Carpathians", [
        (24.45, 47.95), (24.3, 47.4), (24.75, 47.05), (25.05, 46.6), (25.35, 46.3), (25.45, 46.0),
        (25.7, 45.75), (26.4, 45.7), (26.5, 46.2), (26.0, 46.9), (25.3, 47.3), (24.8, 47.8)], FOREST),
    ("Forests of the southern Carpathians", [
        (21.55, 44.75), (21.6, 45.35), (22.0, 45.55), (22.6, 45.9), (23.2, 45.75), (23.8, 45.75),
        (24.3, 45.72), (25.0, 45.7), (25.5, 45.55), (25.7, 45.45), (25.6, 45.35), (22.9, 45.2),
        (22.5, 44.7)], FOREST),
    ("Apuseni woods", [
        (22.15, 46.3), (22.3, 46.95), (22.8, 47.05), (23.3, 46.8), (23.6, 46.5), (23.55, 46.15),
        (23.1, 46.0), (22.5, 45.95)], FOREST),
]

# Open valleys through the highlands: (course in lon/lat, half-width in hexes), drawn as plain.
VALLEYS = [
    ("Vág valley", [(17.85, 48.35), (17.9, 48.6), (18.04, 48.89), (18.4, 49.1), (18.75, 49.2), (19.3, 49.08), (19.7, 49.08)], 0.3),
    ("Nyitra valley", [(18.09, 48.31), (18.3, 48.6), (18.55, 48.75)], 0.3),
    ("Garam valley", [(18.65, 48.15), (18.75, 48.4), (19.15, 48.74), (19.6, 48.8)], 0.3),
    ("Ipoly valley", [(19.0, 48.0), (19.3, 48.1), (19.67, 48.33)], 0.3),
    ("Sajó valley", [(20.78, 48.1), (20.6, 48.4), (20.45, 48.6)], 0.3),
    ("Hernád valley and the Dukla road", [(21.1, 48.3), (21.26, 48.72), (21.24, 49.0), (21.3, 49.3), (21.6, 49.42)], 0.3),
    ("Szepes basin", [(20.3, 49.05), (20.6, 49.02), (21.0, 48.97)], 0.3),
    ("Ung and Latorca valleys", [(22.3, 48.62), (22.72, 48.44), (22.95, 48.65), (23.13, 48.82)], 0.3),
    ("Upper Tisza valley of Máramaros", [(23.0, 48.05), (23.5, 47.98), (23.9, 47.93), (24.2, 48.0)], 0.3),
    ("Maros valley through Transylvania", [(22.2, 46.0), (22.9, 45.88), (23.57, 46.07), (23.8, 46.45), (24.3, 46.6), (24.56, 46.55), (25.1, 46.8), (25.45, 46.75)], 0.3),
    ("Olt valley", [(25.8, 46.35), (25.8, 45.87), (25.5, 45.8), (24.97, 45.84), (24.5, 45.75), (24.3, 45.58)], 0.3),
    ("Temes valley to the Iron Gate", [(21.9, 45.69), (22.2, 45.42), (22.3, 45.1), (22.4, 44.72)], 0.25),
    ("Sztrigy valley and the Vulkán pass", [(23.0, 45.75), (23.1, 45.55), (23.3, 45.38)], 0.25),
    ("Szamos valley", [(23.59, 46.77), (23.88, 47.14), (23.5, 47.25), (23.0, 47.4)], 0.3),
    ("Királyhágó road", [(21.92, 47.07), (22.3, 47.0), (22.68, 46.95), (23.04, 46.87), (23.59, 46.77)], 0.2),
]

# Ridges: (crest in lon/lat, half-width in hexes, code). Later entries overwrite earlier ones.
RIDGES = [
    # The Alps and their foothills west of Vienna and round Graz
    ("Vienna Woods", [(15.9, 48.1), (16.2, 48.2)], 0.7, FOREST),
    ("Lower Austrian Alps", [(14.9, 47.8), (15.5, 47.85), (15.85, 47.75)], 1.0, HILLS),
    ("Rax and Schneeberg", [(15.7, 47.72), (15.85, 47.76)], 0.35, IMPASSABLE),
    ("Fischbach Alps", [(15.0, 47.45), (15.5, 47.45), (15.75, 47.55)], 0.9, HILLS),
    ("Bucklige Welt", [(16.0, 47.55), (16.3, 47.6)], 0.7, FOREST),
    ("Styrian hills", [(15.1, 47.2), (15.6, 47.0), (15.9, 46.8)], 1.2, FOREST),
    ("Pohorje", [(15.0, 46.5), (15.5, 46.5)], 0.7, HILLS),
    ("Leitha hills", [(16.45, 47.85), (16.65, 48.0)], 0.4, FOREST),
    ("Kőszeg hills", [(16.35, 47.3), (16.5, 47.45)], 0.6, FOREST),
    ("Őrség and Zala hills", [(16.25, 46.85), (16.7, 46.75), (17.0, 46.75)], 0.9, FOREST),
    ("Keszthely hills", [(17.2, 46.85), (17.4, 46.95)], 0.5, FOREST),
    # Bohemian-Moravian highlands and the Moravian-Hungarian border
    ("Bohemian-Moravian highlands", [(15.0, 49.4), (15.6, 49.2), (16.0, 48.9)], 1.2, FOREST),
    ("Drahany upland", [(16.7, 49.4), (17.0, 49.55)], 0.6, FOREST),
    ("Chřiby", [(17.1, 49.1), (17.4, 49.15)], 0.5, FOREST),
    ("White Carpathians", [(17.5, 48.75), (17.9, 49.0), (18.2, 49.15)], 0.6, FOREST),
    ("Javorníky and Beskids", [(18.2, 49.25), (18.7, 49.45), (19.3, 49.55)], 0.8, HILLS),
    ("Little Carpathians", [(17.1, 48.2), (17.35, 48.4), (17.6, 48.62)], 0.45, FOREST),
    ("Považský Inovec", [(17.85, 48.5), (17.95, 48.75)], 0.45, FOREST),
    ("Tribeč", [(18.15, 48.35), (18.35, 48.55)], 0.45, FOREST),
    ("Strážov hills and Malá Fatra", [(18.3, 48.9), (18.7, 49.1), (19.1, 49.2)], 0.7, HILLS),
    ("Veľká Fatra", [(19.0, 48.8), (19.2, 49.0)], 0.6, HILLS),
    ("Kremnica and Štiavnica hills", [(18.6, 48.4), (18.9, 48.55), (18.95, 48.8)], 0.7, FOREST),
    ("Low Tatra", [(19.2, 48.9), (19.6, 48.93), (20.1, 48.92)], 0.6, HILLS),
    ("Slovak Ore Mountains", [(19.4, 48.65), (20.0, 48.72), (20.6, 48.78), (21.0, 48.75)], 0.8, HILLS),
    ("Árva and Orava Beskids", [(19.1, 49.35), (19.6, 49.45)], 0.6, HILLS),
    ("High Tatra", [(19.85, 49.2), (20.3, 49.2)], 0.5, IMPASSABLE),
    ("Levoča hills and Branisko", [(20.5, 49.1), (20.85, 49.05)], 0.5, FOREST),
    ("Spiš Magura and Pieniny", [(20.2, 49.35), (20.8, 49.4)], 0.5, HILLS),
    ("Čergov and Low Beskids", [(20.9, 49.35), (21.5, 49.45), (22.1, 49.3)], 0.6, HILLS),
    ("Slanské hills", [(21.35, 48.55), (21.45, 48.95)], 0.45, FOREST),
    ("Zemplén hills", [(21.3, 48.15), (21.5, 48.4), (21.55, 48.55)], 0.5, FOREST),
    ("Vihorlat", [(22.05, 48.85), (22.35, 48.9)], 0.4, HILLS),
    ("Bieszczady and Beskids of Ung and Bereg", [(22.1, 49.25), (22.6, 49.1), (23.1, 48.9), (23.6, 48.65)], 0.8, HILLS),
    ("Volcanic hills of Bereg and Ugocsa", [(22.5, 48.55), (22.9, 48.35), (23.3, 48.15)], 0.5, FOREST),
    ("Gorgany and Chornohora", [(23.7, 48.5), (24.2, 48.3), (24.6, 48.1)], 0.9, HILLS),
    ("Máramaros mountains", [(24.3, 47.95), (24.75, 47.75)], 0.5, IMPASSABLE),
    ("Oaș and Gutâi", [(23.0, 47.85), (23.5, 47.7), (23.9, 47.65)], 0.55, HILLS),
    ("Țibleș", [(24.0, 47.55), (24.3, 47.5)], 0.45, HILLS),
    ("Rodna mountains", [(24.5, 47.55), (24.95, 47.55)], 0.45, IMPASSABLE),
    ("Bârgău and Călimani", [(24.9, 47.25), (25.1, 47.1), (25.2, 46.95)], 0.6, HILLS),
    ("Gurghiu and Harghita", [(25.0, 46.75), (25.35, 46.6), (25.55, 46.35), (25.65, 46.15)], 0.55, HILLS),
    ("Giurgeu and Hășmaș", [(25.6, 46.95), (25.85, 46.7)], 0.45, HILLS),
    ("Ciuc and Nemira mountains", [(26.05, 46.6), (26.15, 46.25), (26.25, 45.95), (26.15, 45.7)], 0.55, HILLS),
    ("Bodoc and Baraolt hills", [(25.55, 46.1), (25.8, 46.05)], 0.4, FOREST),
    ("Buzău and Vrancea mountains", [(25.8, 45.6), (26.2, 45.65)], 0.45, HILLS),
    ("Bucegi and Piatra Craiului", [(25.15, 45.5), (25.45, 45.42)], 0.4, HILLS),
    ("Fogaras mountains", [(24.45, 45.62), (24.8, 45.6), (25.15, 45.57)], 0.45, IMPASSABLE),
    ("Cibin and Lotru mountains", [(23.6, 45.6), (23.95, 45.55), (24.15, 45.52)], 0.45, HILLS),
    ("Parâng", [(23.35, 45.4), (23.7, 45.4)], 0.45, IMPASSABLE),
    ("Șureanu", [(23.3, 45.6), (23.55, 45.65)], 0.45, HILLS),
    ("Retezat and Godeanu", [(22.6, 45.3), (22.9, 45.38)], 0.45, IMPASSABLE),
    ("Țarcu", [(22.45, 45.35), (22.6, 45.3)], 0.4, HILLS),
    ("Poiana Ruscă", [(22.3, 45.65), (22.65, 45.75)], 0.5, HILLS),
    ("Banat mountains", [(21.7, 45.3), (21.9, 45.05), (22.15, 44.9)], 0.7, HILLS),
    ("Almăj and Locva mountains", [(21.5, 44.85), (22.0, 44.8)], 0.5, FOREST),
    ("Mehádia mountains", [(22.3, 44.85), (22.45, 45.05)], 0.45, HILLS),
    ("Vršac hills", [(21.3, 45.12), (21.45, 45.12)], 0.3, FOREST),
    ("Zarand and Highiș", [(21.85, 46.12), (22.2, 46.2), (22.5, 46.1)], 0.5, FOREST),
    # The Apuseni (Bihar) mountains with their foothills
    ("Bihor and Vlădeasa", [(22.6, 46.35), (22.75, 46.6), (22.85, 46.8)], 0.7, HILLS),
    ("Metaliferi", [(22.6, 46.1), (22.95, 46.2), (23.2, 46.25)], 0.55, HILLS),
    ("Trascău", [(23.35, 46.2), (23.55, 46.45)], 0.4, HILLS),
    ("Gilău and Muntele Mare", [(23.1, 46.55), (23.4, 46.6)], 0.5, HILLS),
    ("Pădurea Craiului", [(22.3, 46.85), (22.55, 47.0)], 0.45, FOREST),
    ("Meseș and Plopiș", [(22.45, 47.05), (22.9, 47.15), (23.15, 47.1)], 0.4, FOREST),
    ("Codru-Moma", [(22.1, 46.4), (22.35, 46.55)], 0.4, FOREST),
    # Transylvanian tableland: the Küküllő hills of the Saxon land and the Someș hills
    ("Târnava hills", [(23.9, 46.25), (24.4, 46.2), (24.9, 46.25)], 0.6, FOREST),
    ("Hârtibaciu plateau", [(24.3, 45.95), (24.8, 45.98)], 0.45, FOREST),
    ("Someș hills", [(23.4, 47.3), (23.9, 47.3)], 0.4, FOREST),
    # The highlands of Transdanubia and the north
    ("Bakony", [(17.35, 47.0), (17.65, 47.2), (17.95, 47.32)], 0.55, FOREST),
    ("Vértes and Gerecse", [(18.2, 47.4), (18.45, 47.6)], 0.4, FOREST),
    ("Pilis and Visegrád hills", [(18.8, 47.6), (18.95, 47.75)], 0.35, FOREST),
    ("Börzsöny", [(18.85, 47.9), (19.05, 47.95)], 0.35, FOREST),
    ("Cserhát", [(19.35, 47.85), (19.6, 47.95)], 0.4, FOREST),
    ("Mátra", [(19.75, 47.87), (20.1, 47.9)], 0.4, HILLS),
    ("Bükk", [(20.3, 48.05), (20.65, 48.1)], 0.45, HILLS),
    ("Cerová and Karancs", [(19.7, 48.15), (20.1, 48.2)], 0.35, FOREST),
    ("Mecsek", [(17.95, 46.15), (18.35, 46.2)], 0.45, FOREST),
    ("Villány hills", [(18.3, 45.87), (18.5, 45.88)], 0.3, FOREST),
    ("Szekszárd hills", [(18.5, 46.35), (18.65, 46.45)], 0.3, FOREST),
    ("Somogy hills", [(17.5, 46.45), (17.9, 46.55)], 0.4, FOREST),
    # Croatia and Slavonia
    ("Zagorje hills", [(15.7, 46.15), (16.15, 46.1)], 0.55, FOREST),
    ("Ivanščica and Kalnik", [(16.0, 46.18), (16.5, 46.1)], 0.35, FOREST),
    ("Medvednica", [(15.85, 45.9), (16.1, 45.95)], 0.35, FOREST),
    ("Žumberak", [(15.25, 45.75), (15.55, 45.75)], 0.4, FOREST),
    ("Bilogora", [(16.9, 45.9), (17.3, 45.75)], 0.35, FOREST),
    ("Moslavina hills", [(16.5, 45.6), (16.8, 45.6)], 0.35, FOREST),
    ("Papuk and Psunj", [(17.1, 45.38), (17.45, 45.5), (17.75, 45.5)], 0.45, HILLS),
    ("Krndija and Dilj", [(17.8, 45.45), (18.1, 45.35), (18.2, 45.28)], 0.4, FOREST),
    ("Fruška Gora", [(19.35, 45.15), (19.95, 45.15)], 0.35, FOREST),
    ("Kapela and Velebit", [(14.9, 45.25), (15.25, 45.0), (15.45, 44.65)], 0.9, HILLS),
    ("Petrova gora and Kordun", [(15.6, 45.25), (15.95, 45.2)], 0.5, FOREST),
    ("Zrinska gora", [(16.1, 45.2), (16.4, 45.2)], 0.4, FOREST),
    # Forests of the plain
    ("Nyírség", [(21.7, 47.65), (21.95, 47.85), (22.1, 48.05)], 0.5, FOREST),
    ("Spačva forest", [(18.8, 45.05), (19.1, 45.0)], 0.35, FOREST),
    ("Deliblato sands", [(20.9, 44.95), (21.2, 44.92)], 0.35, FOREST),
]

# Marshes and flood plains: polylines with a half-width, and areas.
MARSH_LINES = [
    ("Morava and Thaya flood plain", [(16.95, 48.25), (16.95, 48.6), (17.05, 48.75)], 0.35),
    ("Hanság", [(17.05, 47.68), (17.45, 47.72)], 0.45),
    ("Szigetköz", [(17.35, 47.88), (17.6, 47.8)], 0.35),
    ("Sárvíz", [(18.35, 47.1), (18.45, 46.8), (18.55, 46.55)], 0.35),
    ("Danube flood plain below Pest", [(18.98, 47.0), (18.95, 46.6), (18.9, 46.2), (18.85, 45.95)], 0.45),
    ("Kopács marsh", [(18.75, 45.65), (18.9, 45.6)], 0.4),
    ("Lower Drava marshes", [(17.5, 45.95), (17.9, 45.82), (18.3, 45.72), (18.55, 45.6)], 0.35),
    ("Upper Drava flood plain", [(16.5, 46.3), (16.9, 46.25), (17.2, 46.08)], 0.3),
    ("Lonjsko polje", [(16.45, 45.45), (16.9, 45.32)], 0.45),
    ("Sava flood plain", [(17.3, 45.15), (17.8, 45.16)], 0.3),
    ("Bosut marshes", [(19.05, 45.05), (19.3, 45.0)], 0.3),
    ("Tisza flood plain at Tiszafüred", [(21.0, 47.85), (20.8, 47.62), (20.55, 47.45), (20.4, 47.3)], 0.45),
    ("Tisza flood plain below Szolnok", [(20.25, 47.0), (20.15, 46.8), (20.15, 46.55)], 0.35),
    ("Lower Tisza marshes", [(20.15, 45.85), (20.2, 45.55), (20.25, 45.3)], 0.35),
    ("Bodrogköz and Rétköz", [(21.6, 48.25), (21.9, 48.35), (22.1, 48.35)], 0.5),
    ("Ecsed moor", [(22.2, 47.72), (22.5, 47.8)], 0.45),
    ("Nagy-Sárrét", [(20.9, 47.2), (21.15, 47.05), (21.3, 47.0)], 0.55),
    ("Kis-Sárrét and Körös flood plain", [(21.2, 46.85), (21.4, 46.8), (21.5, 46.7)], 0.4),
    ("Alibunar and Ilancsa marshes", [(20.8, 45.15), (21.0, 45.1)], 0.45),
    ("Temes and Béga marshes", [(20.5, 45.35), (20.7, 45.3), (20.9, 45.4)], 0.4),
    ("Mosztonga", [(19.2, 45.6), (19.3, 45.45)], 0.3),
]


# The passes of the Carpathians stay passable, whatever the ridges around them.
PASSES = {
    "Dukla": (21.69, 49.40), "Uzsok": (22.9, 49.05), "Verecke": (23.13, 48.85), "Borgó": (25.1, 47.27),
    "Gyimes": (26.1, 46.55), "Ojtoz": (26.4, 46.2), "Tömös": (25.57, 45.5), "Törcsvár": (25.3, 45.47),
    "Vöröstorony": (24.27, 45.55), "Vulkán": (23.28, 45.37), "Királyhágó": (22.68, 46.95),
}


def classify(x, y):
    for name, p in PASSES.items():
        if hex_of(*p) == (x, y):
            return CHAR[HILLS]
    px, py = centre(x, y)
    code = PLAIN
    ch = None
    for name, pts in FOREIGN_LANDS.items():
        if point_in_polygon((px, py), [project(*p) for p in pts]):
            return FOREIGN
    for name, (pts, w) in LAKES.items():
        if polyline_dist((px, py), [project(*p) for p in pts]) <= w * 72:
            return LAKE
    for name, pts, c in AREAS:
        if point_in_polygon((px, py), [project(*p) for p in pts]):
            code = c
    for name, pts, w in MARSH_LINES:
        if polyline_dist((px, py), [project(*p) for p in pts]) <= w * 72:
            code = MARSH
    for name, pts, w, c in RIDGES:
        if polyline_dist((px, py), [project(*p) for p in pts]) <= w * 72:
            code = c
    for name, pts, w in VALLEYS:
        if code != IMPASSABLE and polyline_dist((px, py), [project(*p) for p in pts]) <= w * 72:
            code = PLAIN
    return CHAR[code]


def main():
    rows = []
    for y in range(MAX_Y + 1):
        row = ''
        for x in range(MAX_X + 1):
            if x in (0, MAX_X) or y in (0, MAX_Y):
                row += '#'
            else:
                row += classify(x, y)
        rows.append(row)
    sys.stdout.write('\n'.join(rows) + '\n')


if __name__ == '__main__':
    main()
