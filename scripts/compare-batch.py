#!/usr/bin/env python3
"""Compares two builds of torvane-calc byte for byte.

    python3 scripts/compare-batch.py OLD_TOOL NEW_TOOL [ROWS]

Runs both tools on every CSV fixture of tests/fixtures and on ROWS (default 100000)
generated rows, in seven locales and every output format, and with a configuration file.
The rows mix valid figures with the texts a user types: blanks, commas, currency
symbols, signs, exponents, words, values just outside every range. Prints each run whose
output or exit status differ, and ends with status 1 if any did.
"""
import os
import random
import subprocess
import sys
import tempfile

LOCALES = ["en_GB.UTF-8", "en_US.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "it_CH.UTF-8", "ar_AE.UTF-8",
           "C.UTF-8"]
FORMATS = ["record", "csv", "timeline"]
COLUMNS = ["NormalR", "CheapR", "NormalHr", "CheapHr", "NormalSHr", "CheapSHr", "PayPeriod",
           "VAT", "AnInfT", "CO2", "Item1Watts", "Item1SWatts", "Item1CWatts", "Item1Life",
           "Item1Cost", "Item2Watts", "Item2SWatts", "Item2CWatts", "Item2Life", "Item2Cost",
           "Notes", "MonthlyT", "Units1"]
NOTES = ["", "lamp", "Fridge — old, A++", "tab\there", "emoji 😀 ok", "x" * 90,
         "\"a\"\"b\"", "naïve café"]
ODD_TEXTS = ["", " ", "abc", "-1", "1e3", "1E-2", "0", "0.0", "1,5", "1.234,5", "£2", "€3",
             "$4", "(5)", "  7 ", "1.2.3", "+8", "9-", "1 000", "0x10", "∞", "NaN", "1e400",
             "-0", "5%", "\"quoted, text\"", "12\t3", "99999", "0.001", "7000.05", "50001"]


def figure(rng, low, high, decimals):
    """A number in the range, written with its field's decimals, two more, or none."""
    number = rng.uniform(low, high)
    for places in rng.sample([decimals, decimals + 2, 0], 3):
        text = f"{number:.{places}f}"
        if low <= float(text) <= high:
            return text
    return f"{number:.{decimals + 2}f}"


def item(rng, first):
    """An item that passes the checks, or is left blank."""
    if rng.random() < 0.1:
        return ["", "", "", "", ""]
    watts = figure(rng, 0.1 if first else 0, 3000, 1)
    standby = figure(rng, 0, 20, 1) if rng.random() < 0.6 else ""
    continuous = figure(rng, 0, 10, 1) if rng.random() < 0.2 else ""
    if rng.random() < 0.7:
        life, cost = figure(rng, 500, 50000, 0), figure(rng, 0.1, 2000, 2)
    else:
        life, cost = "", ""
    return [watts, standby, continuous, life, cost]


def row(rng):
    """A row that mostly passes the checks, with one or two fields disturbed in some."""
    cheap = rng.random() < 0.6
    normal_hours = rng.uniform(0.5, 16)
    cheap_hours = rng.uniform(0, 4) if cheap else 0
    standby = rng.uniform(0, 24 - normal_hours - cheap_hours) if rng.random() < 0.6 else 0
    cheap_standby = rng.uniform(0, 8 - cheap_hours) if cheap and rng.random() < 0.5 else 0
    fields = {"NormalR": figure(rng, 0.01, 0.99, 6),
              "CheapR": figure(rng, 0.01, 0.99, 6) if cheap else rng.choice(["", "0"]),
              "NormalHr": f"{normal_hours:.1f}", "CheapHr": f"{cheap_hours:.1f}",
              "NormalSHr": f"{standby:.1f}", "CheapSHr": f"{cheap_standby:.1f}",
              "PayPeriod": figure(rng, 1, 10, 1), "VAT": rng.choice(["", "0", "5", "17.5", "20"]),
              "AnInfT": figure(rng, -30, 30, 1), "CO2": figure(rng, 0.1, 2, 2),
              "Notes": rng.choice(NOTES), "MonthlyT": rng.choice(["", "0", "1"]),
              "Units1": rng.choice(["", "0", "1"])}
    for number, figures in ((1, item(rng, True)), (2, item(rng, False))):
        for name, text in zip(("Watts", "SWatts", "CWatts", "Life", "Cost"), figures):
            fields[f"Item{number}{name}"] = text
    for _ in range(rng.choice([0, 0, 0, 1, 2])):
        column = rng.choice(COLUMNS[:20])
        fields[column] = rng.choice(ODD_TEXTS)
    if rng.random() < 0.05:
        for column in ("NormalR", "CheapR", "Item1Cost", "Item2Cost"):
            fields[column] = fields[column].replace(".", ",")
    return [fields[c] for c in COLUMNS]


def quote(field):
    if any(c in field for c in ",\"\r\n"):
        return '"' + field.replace('"', '""') + '"'
    return field


def generate(path, rows, seed):
    rng = random.Random(seed)
    with open(path, "w", encoding="utf-8", newline="") as out:
        out.write(",".join(COLUMNS) + "\r\n")
        for _ in range(rows):
            out.write(",".join(quote(field) for field in row(rng)) + "\r\n")


def run(tool, locale, arguments):
    environment = dict(os.environ, LC_ALL=locale, LANG=locale)
    done = subprocess.run([tool] + arguments, capture_output=True, env=environment)
    return done.returncode, done.stdout, done.stderr


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    old, new = sys.argv[1], sys.argv[2]
    rows = int(sys.argv[3]) if len(sys.argv) > 3 else 100000
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    fixtures = os.path.join(root, "tests", "fixtures")
    inputs = sorted(os.path.join(fixtures, f) for f in os.listdir(fixtures)
                    if f.endswith(".csv") and ".expected" not in f)
    settings = os.path.join(root, "dist", "Data", "Torvane.ini")
    differences = 0
    runs = 0
    with tempfile.TemporaryDirectory() as folder:
        generated = os.path.join(folder, "rows.csv")
        generate(generated, rows, 17)
        inputs.append(generated)
        for path in inputs:
            for locale in LOCALES:
                for form in FORMATS:
                    for extra in ([], ["--settings", settings]):
                        arguments = ["--format", form] + extra + [path]
                        runs += 1
                        if run(old, locale, arguments) != run(new, locale, arguments):
                            differences += 1
                            print("differ:", locale, " ".join(arguments))
    print(f"{runs} runs, {differences} with different output")
    sys.exit(1 if differences else 0)


if __name__ == "__main__":
    main()
