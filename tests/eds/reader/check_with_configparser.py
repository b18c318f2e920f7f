"""Reads every data sheet that brenvale-cli writes for the EDS fixtures, in both templates, with
Python's configparser in strict mode (a repeated section or key is an error), then checks the
rules that strict EDS readers apply: every object listed under [MandatoryObjects],
[OptionalObjects] and [ManufacturerObjects] has its section and every object section is listed;
each SupportedObjects equals its list; each SubNumber equals the sub-index sections written;
NrOfRXPDO and NrOfTXPDO equal the PDOs described.

usage: python3 check_with_configparser.py BRENVALE_CLI FIXTURES_DIR
"""

import configparser
import os
import re
import subprocess
import sys
import tempfile

FIXTURES = ["empty", "several", "both_tables", "many_pdos"]
TEMPLATES = ["with-port", "without-port"]
LISTS = ["MandatoryObjects", "OptionalObjects", "ManufacturerObjects"]

failures = []
checks = 0


def check(condition, what):
    global checks
    checks += 1
    if not condition:
        failures.append(what)


def check_sheet(path, name):
    parser = configparser.ConfigParser(strict=True, interpolation=None)
    try:
        with open(path, encoding="ascii", newline="") as f:
            parser.read_file(f)
    except (configparser.Error, UnicodeDecodeError) as error:
        failures.append(f"{name}: not read: {error}")
        return

    objects = {s for s in parser.sections() if re.fullmatch(r"[0-9A-F]{4}", s)}
    subs = {}
    for section in parser.sections():
        match = re.fullmatch(r"([0-9A-F]{4})sub([0-9A-F]+)", section)
        if match:
            subs.setdefault(match.group(1), []).append(int(match.group(2), 16))
            check(match.group(1) in objects, f"{name}: [{section}] without [{match.group(1)}]")
            check(match.group(2) == f"{int(match.group(2), 16):X}", f"{name}: [{section}] is not hex(sub-index)")

    listed = []
    for list_name in LISTS:
        check(parser.has_section(list_name), f"{name}: [{list_name}] missing")
        if not parser.has_section(list_name):
            continue
        items = parser[list_name]
        count = int(items["SupportedObjects"], 0)
        numbered = [key for key in items if key != "supportedobjects"]
        check(numbered == [str(k) for k in range(1, count + 1)],
              f"{name}: [{list_name}] SupportedObjects={count} but entries {numbered}")
        for key in numbered:
            index = f"{int(items[key], 0):04X}"
            listed.append(index)
            check(index in objects, f"{name}: [{list_name}] lists 0x{index} without a section")
    check(len(listed) == len(set(listed)), f"{name}: an object is listed twice")
    for index in objects - set(listed):
        failures.append(f"{name}: [{index}] is in no object list")

    for index in objects:
        section = parser[index]
        if "SubNumber" in section:
            check(int(section["SubNumber"], 0) == len(subs.get(index, [])),
                  f"{name}: [{index}] SubNumber={section['SubNumber']} but {len(subs.get(index, []))} sub-sections")
            check(0 in subs.get(index, []), f"{name}: [{index}] has no sub0")
        else:
            check(index not in subs, f"{name}: [{index}] has sub-sections but no SubNumber")

    device = parser["DeviceInfo"]
    rx = len([i for i in objects if 0x1400 <= int(i, 16) < 0x1600])
    tx = len([i for i in objects if 0x1800 <= int(i, 16) < 0x1A00])
    check(int(device["NrOfRXPDO"]) == rx, f"{name}: NrOfRXPDO={device['NrOfRXPDO']} for {rx} PDOs")
    check(int(device["NrOfTXPDO"]) == tx, f"{name}: NrOfTXPDO={device['NrOfTXPDO']} for {tx} PDOs")


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    cli, fixtures = sys.argv[1], sys.argv[2]
    env = dict(os.environ, SOURCE_DATE_EPOCH="1709821800", TZ="UTC0")
    with tempfile.TemporaryDirectory(prefix="brenvale-eds-ini-") as out:
        for fixture in FIXTURES:
            for template in TEMPLATES:
                name = f"{fixture}.{template}"
                path = os.path.join(out, name + ".eds")
                subprocess.run([cli, "eds", os.path.join(fixtures, fixture), path, "--template", template],
                               env=env, check=True)
                check_sheet(path, name)

        # Two sizes for one object: refused, nothing written.
        path = os.path.join(out, "conflict.eds")
        result = subprocess.run([cli, "eds", os.path.join(fixtures, "conflict"), path], env=env,
                                capture_output=True, text=True)
        check(result.returncode == 1 and "0x2000 sub-index 1" in result.stderr and not os.path.exists(path),
              f"conflict: exit {result.returncode}, stderr {result.stderr!r}")

    for failure in failures:
        print("FAIL " + failure, file=sys.stderr)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 0 if not failures else 1


if __name__ == "__main__":
    sys.exit(main())
