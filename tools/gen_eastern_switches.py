#!/usr/bin/env python3
"""Writes the US Eastern daylight-time switches of 2007-2037, as the IANA
time-zone database (America/New_York) gives them, for the market clock tests.

Usage (from the repository root):
    python3 tools/gen_eastern_switches.py > tests/market/data/eastern-switches.txt

The output is a list of C++ aggregate initialisers, one year a row:
    {year, start, end},
where start is the first UTC second of daylight time and end the first UTC
second of standard time again (seconds since 1970). The test includes the file
inside an array definition. The instants are found by the database alone: an
hourly scan of the year for a change of UTC offset, then a bisection to the
second. Each is checked to be a change of exactly one hour, into daylight time
in March and out of it in November.
"""
import datetime
import os
import sys
import zoneinfo

ZONE = "America/New_York"
FIRST_YEAR = 2007
LAST_YEAR = 2037
UTC = datetime.timezone.utc


def offset_at(zone, seconds):
    return datetime.datetime.fromtimestamp(seconds, tz=zone).utcoffset()


def changes_in(zone, year):
    """The UTC seconds at which the offset changes during the year."""
    start = int(datetime.datetime(year, 1, 1, tzinfo=UTC).timestamp())
    end = int(datetime.datetime(year + 1, 1, 1, tzinfo=UTC).timestamp())
    found = []
    for hour in range(start, end, 3600):
        if offset_at(zone, hour) != offset_at(zone, hour + 3600):
            low, high = hour, hour + 3600  # offset(low) differs from offset(high)
            while high - low > 1:
                middle = (low + high) // 2
                if offset_at(zone, middle) == offset_at(zone, low):
                    low = middle
                else:
                    high = middle
            found.append(high)
    return found


def database_version():
    for directory in zoneinfo.TZPATH:
        try:
            with open(os.path.join(directory, "tzdata.zi"), encoding="ascii") as data:
                first = data.readline().strip()
            if first.startswith("# version "):
                return first[len("# version "):]
        except OSError:
            continue
    return "unknown"


def main():
    zone = zoneinfo.ZoneInfo(ZONE)
    hour = datetime.timedelta(hours=1)
    rows = []
    for year in range(FIRST_YEAR, LAST_YEAR + 1):
        changes = changes_in(zone, year)
        if len(changes) != 2:
            sys.exit(f"{year}: expected two changes, found {len(changes)}")
        start, end = changes
        for instant, month, gain in ((start, 3, hour), (end, 11, -hour)):
            when = datetime.datetime.fromtimestamp(instant, tz=UTC)
            if when.month != month or offset_at(zone, instant) - offset_at(zone, instant - 1) != gain:
                sys.exit(f"{year}: unexpected change at {when.isoformat()}")
        rows.append((year, start, end))

    out = sys.stdout
    out.write(f"// Daylight time in {ZONE}, {FIRST_YEAR}-{LAST_YEAR}, from the IANA time-zone\n")
    out.write(f"// database {database_version()} through Python {sys.version.split()[0]} zoneinfo.\n")
    out.write("// Made by: python3 tools/gen_eastern_switches.py > tests/market/data/eastern-switches.txt\n")
    out.write("// {year, first UTC second of daylight time, first UTC second of standard time},\n")
    for year, start, end in rows:
        first = datetime.datetime.fromtimestamp(start, tz=UTC).strftime("%Y-%m-%d %H:%M:%SZ")
        last = datetime.datetime.fromtimestamp(end, tz=UTC).strftime("%Y-%m-%d %H:%M:%SZ")
        out.write(f"{{{year}, {start}, {end}}},  // {first} to {last}\n")


if __name__ == "__main__":
    main()
