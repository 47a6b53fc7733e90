#!/usr/bin/env python3
"""Writes the sample weather-city spreadsheet data/hpcities.xls from
data/cities.csv, in the layout "Copy Excel Data" reads: five heading rows,
then one city a row from row 6: column A the state code or country, C the
city name followed by a comma and the state, D..O the monthly mean air
temperature (deg F), January to December.

Usage: tools/mkhpcities/mkhpcities.py [SRCDIR [OUTDIR]]
Needs LibreOffice (soffice) for the CSV to .xls conversion.
"""
import csv
import os
import shutil
import subprocess
import sys
import tempfile

MONTHS = ["JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "data")
    out = sys.argv[2] if len(sys.argv) > 2 else src
    with open(os.path.join(src, "cities.csv"), newline="", encoding="utf-8") as f:
        cities = list(csv.DictReader(f))
    with tempfile.TemporaryDirectory() as tmp:
        sheet = os.path.join(tmp, "hpcities.csv")
        with open(sheet, "w", newline="", encoding="utf-8") as f:
            w = csv.writer(f)
            w.writerow(["Heat pump weather cities"])
            w.writerow([])
            w.writerow(["Monthly mean air temperature, degrees F"])
            w.writerow([])
            w.writerow(["Region", "", "City"] + MONTHS)
            for c in cities:
                temps = [c["temp%d" % m] for m in range(1, 13)]
                w.writerow([c["state"], "", "%s, %s" % (c["city"], c["state"])] + temps)
        subprocess.run(["soffice", "--headless", "--infilter=CSV:44,34,76,1", "--convert-to", "xls",
                        "--outdir", tmp, sheet], check=True, stdout=subprocess.DEVNULL)
        shutil.copyfile(os.path.join(tmp, "hpcities.xls"), os.path.join(out, "hpcities.xls"))
    print("%d cities -> %s" % (len(cities), os.path.join(out, "hpcities.xls")))


if __name__ == "__main__":
    main()
