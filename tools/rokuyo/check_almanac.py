#!/usr/bin/python3
"""Checks `kalendra --lunar 1900/01/01 2099/12/31` against an independent computation.

The sun and the moon come from the Swiss Ephemeris (a compression of JPL's numerically
integrated ephemeris DE431, with its own TT - UT), not from the series of tools/rokuyo. The
old calendar is rebuilt here from those new moons and principal terms, the seasonal days from
those longitudes, and every line of the command's output is compared.

A manual check, not a test: it needs Debian's libswe2.0 and swe-basic-data, which the build
does not. Usage: check_almanac.py path/to/kalendra
"""
import ctypes
import math
import subprocess
import sys
from datetime import date, timedelta

swe = ctypes.CDLL("libswe.so.2")
swe.swe_set_ephe_path(b"/usr/share/libswe/ephe")
swe.swe_calc_ut.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_int,
                            ctypes.POINTER(ctypes.c_double), ctypes.c_char_p]
swe.swe_calc_ut.restype = ctypes.c_int
SUN, MOON, SWIEPH = 0, 1, 2
JST = 9 / 24
UNIX_EPOCH_JD = 2440587.5


def longitude(jd_ut, body):
    xx = (ctypes.c_double * 6)()
    err = ctypes.create_string_buffer(256)
    if swe.swe_calc_ut(jd_ut, body, SWIEPH, xx, err) < 0:
        raise RuntimeError(err.value)
    return xx[0]


def signed(degrees):
    return (degrees + 180.0) % 360.0 - 180.0


def solve(function, guess, rate):
    """The instant near `guess` where `function` (degrees, growing at `rate` a day) is 0."""
    t = guess
    for _ in range(60):
        step = -signed(function(t)) / rate
        t += step
        if abs(step) < 1e-8:
            return t
    raise RuntimeError("no convergence")


def jd_of(d):
    return UNIX_EPOCH_JD + (d - date(1970, 1, 1)).days


def jst_date(jd_ut):
    return date(1970, 1, 1) + timedelta(days=math.floor(jd_ut + JST - UNIX_EPOCH_JD))


def sun_at(degrees, year):
    """JST date and instant of the sun at `degrees` in `year`."""
    from_equinox = (degrees + 75) % 360 - 75
    guess = jd_of(date(year, 3, 20)) + 0.5 + from_equinox * 365.2422 / 360
    t = solve(lambda x: longitude(x, SUN) - degrees, guess, 0.9856)
    return jst_date(t), t


def new_moons(first, last):
    t = jd_of(first) - 30
    result = []
    while True:
        t = solve(lambda x: longitude(x, MOON) - longitude(x, SUN), t, 12.19)
        if jst_date(t) > last:
            return result
        if not result or jst_date(t) != result[-1][0]:
            result.append((jst_date(t), t))
        t += 29.53


TERM_NAMES = ["小寒", "大寒", "立春", "雨水", "啓蟄", "春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至",
              "小暑", "大暑", "立秋", "処暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"]
ROKUYO = ["大安", "赤口", "先勝", "友引", "先負", "仏滅"]


def lunar_months(moons, principal):
    """(first day, number, leap) of each month, counted from the month of the winter solstice."""
    starts = [d for d, _ in moons]
    terms_in = [[] for _ in starts]
    for d, lon in principal:
        if starts[0] <= d < starts[-1]:
            terms_in[max(k for k, s in enumerate(starts) if s <= d)].append(lon)
    solstices = [i for i, t in enumerate(terms_in) if 270 in t]
    months = {}
    for a, b in zip(solstices, solstices[1:]):
        leap = None
        if b - a == 13:
            leap = next(i for i in range(a + 1, b) if not terms_in[i])
        number = 11
        for i in range(a, b):
            if i != a and i != leap:
                number = number % 12 + 1
            months[i] = (starts[i], number, i == leap)
    return [months[i] for i in sorted(months)]


def expected_lines():
    first, last = date(1900, 1, 1), date(2099, 12, 31)
    moons = new_moons(date(1898, 11, 1), date(2101, 1, 31))
    principal, terms, seasonal = [], {}, {}
    for year in range(1898, 2102):
        for lon in range(0, 360, 30):
            principal.append((sun_at(lon, year)[0], lon))
        if not 1900 <= year <= 2099:
            continue
        for i, name in enumerate(TERM_NAMES):
            terms[sun_at((285 + 15 * i) % 360, year)[0]] = name
        risshun = sun_at(315, year)[0]
        days = []
        # Each 土用 runs from its longitude to the day before the next season begins.
        for lon in (297, 27, 117, 207):
            days.append((sun_at(lon, year)[0], "土用入り"))
        for lon in (297, 27, 117, 207):
            d, season = sun_at(lon, year)[0], sun_at(lon + 18, year)[0]
            for ox in range((d - date(1949, 10, 1)).days, (season - date(1949, 10, 1)).days):
                if ox % 12 == 1:  # 1949-10-01 was a 甲子 day; 丑 follows 子
                    days.append((date(1949, 10, 1) + timedelta(ox), "土用の丑"))
        days += [(risshun - timedelta(1), "節分"), (risshun + timedelta(87), "八十八夜"),
                 (risshun + timedelta(209), "二百十日"), (risshun + timedelta(219), "二百二十日"),
                 (sun_at(80, year)[0], "入梅"), (sun_at(100, year)[0], "半夏生")]
        for lon in (0, 180):
            equinox = sun_at(lon, year)[0]
            days += [(equinox - timedelta(3), "彼岸入り"), (equinox + timedelta(3), "彼岸明け")]
        for d, name in sorted(days, key=lambda x: x[0]):
            seasonal[d] = seasonal[d] + "・" + name if d in seasonal else name
    principal.sort()
    months = lunar_months(moons, principal)
    lines = []
    k = 0
    d = first
    while d <= last:
        while months[k + 1][0] <= d:
            k += 1
        start, number, leap = months[k]
        day = (d - start).days + 1
        lines.append("%s\t%s%d/%d\t%s\t%s\t%s" % (d.strftime("%Y/%m/%d"), "閏" if leap else "", number, day,
                                                   ROKUYO[(number + day) % 6], terms.get(d, ""),
                                                   seasonal.get(d, "")))
        d += timedelta(1)
    return lines


def main():
    ours = subprocess.run([sys.argv[1], "--lunar", "1900/01/01", "2099/12/31"], check=True,
                          capture_output=True, text=True).stdout.splitlines()
    reference = expected_lines()
    differ = [(a, b) for a, b in zip(ours, reference) if a != b]
    print("lines: ours %d, reference %d, differing %d" % (len(ours), len(reference), len(differ)))
    for a, b in differ:
        print("ours      " + a + "\nreference " + b)
    return 0 if not differ and len(ours) == len(reference) else 1


if __name__ == "__main__":
    sys.exit(main())
