#!/usr/bin/env python3
"""Writes tests/data/archives/ibtracs-columns-yutu-2018.csv: Typhoon Yutu (2018)
as three agencies give it, set out in IBTrACS's per-agency columns.

The values are the agencies' own, taken from the real files in tests/data:
  USA_*    JTWC's b-deck tests/data/agencies/bwp312018.dat (first record of each
           time; the 34/50/64-kt radii of its NEQ records)
  TOKYO_*  JMA's best track, storm 1826 of tests/data/archives/jma-2018-eight-storms.txt
  CMA_*    CMA's best track, storm 1826 of tests/data/archives/cma-2018-soulik-cimaron-yutu.txt
           (wind in knots: the m/s value times 1.943844, to the nearest knot)
It is not a file of IBTrACS: IBTrACS also adds interpolated three-hourly rows,
distances to land and many more columns, and its combined LAT/LON, WMO_* and
NATURE columns are its own. Here a row is a time at least one agency gives;
LAT/LON and WMO_WIND/WMO_PRES are JMA's (the WMO centre of the basin) where JMA
gives the time, else JTWC's, else CMA's; NATURE is ET for JMA's grade 6 or
JTWC's EX, DS for JTWC's DB without a JMA row, TS otherwise. The header and the
units row name the columns as IBTrACS v04 does; SID is IBTrACS's id of Yutu.

Usage: tools/make_agency_columns_csv.py [output.csv]
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "tests", "data")
DEFAULT_OUTPUT = os.path.join(DATA, "archives", "ibtracs-columns-yutu-2018.csv")

QUADRANTS = ["NE", "SE", "SW", "NW"]
USA_RADII = ["USA_R%s_%s" % (t, q) for t in ("34", "50", "64") for q in QUADRANTS]
COLUMNS = (["SID", "SEASON", "NUMBER", "BASIN", "SUBBASIN", "NAME", "ISO_TIME", "NATURE",
            "LAT", "LON", "WMO_WIND", "WMO_PRES", "WMO_AGENCY", "TRACK_TYPE",
            "USA_AGENCY", "USA_ATCF_ID", "USA_LAT", "USA_LON", "USA_STATUS", "USA_WIND",
            "USA_PRES"] + USA_RADII +
           ["TOKYO_LAT", "TOKYO_LON", "TOKYO_GRADE", "TOKYO_WIND", "TOKYO_PRES",
            "TOKYO_R50_DIR", "TOKYO_R50_LONG", "TOKYO_R50_SHORT", "TOKYO_R30_DIR",
            "TOKYO_R30_LONG", "TOKYO_R30_SHORT", "TOKYO_LAND",
            "CMA_LAT", "CMA_LON", "CMA_CAT", "CMA_WIND", "CMA_PRES"])
UNITS = {"SEASON": "Year", "LAT": "degrees_north", "LON": "degrees_east", "WMO_WIND": "kts",
         "WMO_PRES": "mb", "USA_LAT": "degrees_north", "USA_LON": "degrees_east",
         "USA_WIND": "kts", "USA_PRES": "mb", "TOKYO_LAT": "degrees_north",
         "TOKYO_LON": "degrees_east", "TOKYO_GRADE": "1", "TOKYO_WIND": "kts",
         "TOKYO_PRES": "mb", "TOKYO_R50_LONG": "nmile", "TOKYO_R50_SHORT": "nmile",
         "TOKYO_R30_LONG": "nmile", "TOKYO_R30_SHORT": "nmile", "TOKYO_LAND": "1",
         "CMA_LAT": "degrees_north", "CMA_LON": "degrees_east", "CMA_CAT": "1",
         "CMA_WIND": "kts", "CMA_PRES": "mb"}
UNITS.update({name: "nmile" for name in USA_RADII})


def east(tenths):
    value = tenths / 10.0
    return value - 360 if value > 180 else value


def jtwc(path):
    rows = {}
    for line in open(path, encoding="ascii"):
        f = [x.strip() for x in line.split(",")]
        time = f[2]
        lat = int(f[6][:-1]) / 10.0 * (1 if f[6][-1] == "N" else -1)
        lon = int(f[7][:-1]) / 10.0 * (1 if f[7][-1] == "E" else -1)
        row = rows.setdefault(time, {"USA_LAT": "%.1f" % lat, "USA_LON": "%.1f" % lon,
                                     "USA_STATUS": f[10], "USA_WIND": f[8],
                                     "USA_PRES": f[9]})
        if f[11] in ("34", "50", "64") and f[12] == "NEQ":
            for q, value in zip(QUADRANTS, f[13:17]):
                row["USA_R%s_%s" % (f[11], q)] = value
    return rows


def jma(path, number):
    rows, storm = {}, None
    for line in open(path, encoding="ascii", newline=""):
        line = line.rstrip("\r\n")
        if line.startswith("66666"):
            storm = line[6:10]
            continue
        if storm != number:
            continue
        yy = int(line[0:2])
        time = "%d%s" % (1900 + yy if yy >= 51 else 2000 + yy, line[2:8])
        field = lambda a, b: line[a:b].strip()
        row = {"TOKYO_LAT": "%.1f" % (int(line[15:18]) / 10.0),
               "TOKYO_LON": "%.1f" % east(int(line[19:23])), "TOKYO_GRADE": line[13],
               "TOKYO_WIND": str(int(field(33, 36))) if field(33, 36) else "",
               "TOKYO_PRES": str(int(field(24, 28))), "TOKYO_LAND": "1" if field(71, 72) else ""}
        if field(41, 42):
            row.update({"TOKYO_R50_DIR": line[41], "TOKYO_R50_LONG": str(int(line[42:46])),
                        "TOKYO_R50_SHORT": str(int(line[47:51])), "TOKYO_R30_DIR": line[52],
                        "TOKYO_R30_LONG": str(int(line[53:57])),
                        "TOKYO_R30_SHORT": str(int(line[58:62]))})
        rows[time] = row
    return rows


def cma(path, number):
    rows, storm = {}, None
    for line in open(path, encoding="ascii", newline=""):
        words = line.split()
        if words[0] == "66666":
            storm = words[1]
            continue
        if storm != number:
            continue
        rows[words[0]] = {"CMA_LAT": "%.1f" % (int(words[2]) / 10.0),
                          "CMA_LON": "%.1f" % east(int(words[3])), "CMA_CAT": words[1],
                          "CMA_WIND": str(int(int(words[5]) * 1.943844 + 0.5)),
                          "CMA_PRES": words[4]}
    return rows


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUTPUT
    usa = jtwc(os.path.join(DATA, "agencies", "bwp312018.dat"))
    tokyo = jma(os.path.join(DATA, "archives", "jma-2018-eight-storms.txt"), "1826")
    china = cma(os.path.join(DATA, "archives", "cma-2018-soulik-cimaron-yutu.txt"), "1826")
    lines = [",".join(COLUMNS), ",".join(UNITS.get(name, " ") for name in COLUMNS)]
    for time in sorted(set(usa) | set(tokyo) | set(china)):
        row = {"SID": "2018294N08161", "SEASON": "2018", "BASIN": "WP", "SUBBASIN": "MM",
               "NAME": "YUTU", "TRACK_TYPE": "main",
               "ISO_TIME": "%s-%s-%s %s:00:00" % (time[0:4], time[4:6], time[6:8], time[8:10])}
        row.update(usa.get(time, {}))
        row.update(tokyo.get(time, {}))
        row.update(china.get(time, {}))
        if time in usa:
            row.update({"USA_AGENCY": "jtwc_wp", "USA_ATCF_ID": "WP312018"})
        for source in ("TOKYO", "USA", "CMA"):
            if row.get(source + "_LAT"):
                row["LAT"], row["LON"] = row[source + "_LAT"], row[source + "_LON"]
                break
        if time in tokyo:
            row.update({"WMO_WIND": row["TOKYO_WIND"], "WMO_PRES": row["TOKYO_PRES"],
                        "WMO_AGENCY": "tokyo"})
        status = row.get("USA_STATUS", "")
        if row.get("TOKYO_GRADE") == "6" or status == "EX":
            row["NATURE"] = "ET"
        elif status == "DB" and time not in tokyo:
            row["NATURE"] = "DS"
        else:
            row["NATURE"] = "TS"
        lines.append(",".join(row.get(name) or " " for name in COLUMNS))
    with open(output, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
