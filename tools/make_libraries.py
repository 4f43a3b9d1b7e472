#!/usr/bin/env python3
"""Writes the fixed section and material libraries of KORVAN into data/.

Sections come from the European Section Database XML (an argument; it is not shipped): one
file per series, the section names as the table gives them (a designation and a mass that the
table runs together are split by an "x", see section_name), A in m2 and Iy, Iz in m4 taken from
its Ax, Iy and Iz attributes (the <units> element must say metres). Materials are tabulated below
with their standard values. Every file is windows-1250 text with CR LF line ends, one value per
line, reals in the program's general(15) form with a point (the program reads either separator).

    python3 tools/make_libraries.py path/to/european-sections.xml [output-folder]
"""
import re
import sys
import xml.etree.ElementTree as ET
from decimal import ROUND_HALF_UP, Decimal
from pathlib import Path

# File, figure codes of the XML taken into it, remark. Iy is about the axis that the table calls
# y (the strong axis of I and channel sections, parallel to a leg for angles).
SECTION_FILES = [
    ("crsI.crs", ["IPN"], "I - European standard beams IPN"),
    ("crsIE.crs", ["IPEA"], "IE - European I-beams IPE A (light parallel-flange I series)"),
    ("crsIPE.crs", ["IPE"], "IPE - European I-beams IPE"),
    ("crsHEB.crs", ["HEB"], "HEB - European wide flange beams HE-B"),
    ("crsU.crs", ["UPN"], "U - European standard channels UPN"),
    ("crsUE.crs", ["UAP"], "UE - channels with parallel flanges UAP"),
    ("crsUPE.crs", ["UPE"], "UPE - channels with parallel flanges UPE"),
    ("crsLr.crs", ["CAI"], "Lr - unequal angles, axes parallel to the legs"),
    ("crsL.crs", ["CAE"], "L - equal angles, axes parallel to the legs"),
    ("crsTrK.crs", ["TRON"], "Tr.kruhove - round hollow tubes"),
    ("crsTrC.crs", ["TCAR"], "Tr.ctverhranne - square hollow tubes"),
    ("crsT.crs", ["TEAE", "TEAI"], "T - structural tees"),
]

# Name, E in MPa, density in kg/m3.
STEEL = [(grade, "210000", "7850") for grade in ("S235", "S275", "S355", "S420", "S460")]
# EN 338 (solid timber) and EN 14080 (glued laminated timber): mean modulus E0,mean and mean
# density; the mean density is the one a self-weight calculation uses.
TIMBER = [
    ("C14", "7000", "350"), ("C16", "8000", "370"), ("C18", "9000", "380"), ("C20", "9500", "390"),
    ("C22", "10000", "410"), ("C24", "11000", "420"), ("C27", "11500", "450"), ("C30", "12000", "460"),
    ("C35", "13000", "480"), ("C40", "14000", "500"),
    ("D30", "11000", "640"), ("D40", "13000", "700"),
    ("GL20h", "8400", "370"), ("GL22h", "10500", "410"), ("GL24h", "11500", "420"),
    ("GL26h", "12100", "445"), ("GL28h", "12600", "460"), ("GL30h", "13600", "480"),
    ("GL32h", "14200", "490"),
]
# EN 1992-1-1 table 3.1: secant modulus Ecm; 2500 kg/m3 for reinforced concrete.
CONCRETE = [
    (cls, ecm, "2500")
    for cls, ecm in (("C12/15", "27000"), ("C16/20", "29000"), ("C20/25", "30000"), ("C25/30", "31000"),
                     ("C30/37", "33000"), ("C35/45", "34000"), ("C40/50", "35000"), ("C45/55", "36000"),
                     ("C50/60", "37000"))
]
MATERIAL_FILES = [
    ("matO.mat", STEEL, "Ocel - structural steel EN 10025"),
    ("matD.mat", TIMBER, "Drevo - timber EN 338 and glulam EN 14080, E0,mean and mean density"),
    ("matB.mat", CONCRETE, "Beton - concrete EN 1992-1-1, Ecm, reinforced"),
]


def general15(text):
    """The program's general(15) text of a decimal number, with a point."""
    value = Decimal(text)
    if value == 0:
        return "0"
    sign = "-" if value < 0 else ""
    value = abs(value)
    exponent = value.adjusted()  # value = d.ddd * 10**exponent
    rounded = value.scaleb(-exponent).quantize(Decimal("1.00000000000000"), rounding=ROUND_HALF_UP)
    if rounded >= 10:
        rounded, exponent = rounded / 10, exponent + 1
    digits = format(rounded, "f").replace(".", "").rstrip("0") or "0"
    if -4 <= exponent < 15:
        if exponent >= 0:
            whole, fraction = digits[: exponent + 1].ljust(exponent + 1, "0"), digits[exponent + 1:]
        else:
            whole, fraction = "0", "0" * (-exponent - 1) + digits
        return sign + whole + ("." + fraction if fraction else "")
    mantissa = digits[0] + ("." + digits[1:] if len(digits) > 1 else "")
    return sign + mantissa + "E" + str(exponent)


def section_name(item):
    """The section's name, with a designation and a mass that the table runs together split by
    an "x": the table writes the IPE 750 sections as "IPE 750137" (nominal depth 750 mm, 137 kg/m),
    which reads as one depth of 750137 mm. A trailing number is split when a leading part of it
    is the section's depth in millimetres and the rest its mass in kg/m, both within 5 %."""
    name = item.get("sectionname")
    match = re.fullmatch(r"(.*\D)(\d{4,})", name)
    if not match or not item.get("h") or not item.get("mass"):
        return name
    prefix, digits = match.groups()
    depth_mm, mass = float(item.get("h")) * 1000, float(item.get("mass"))
    for cut in range(1, len(digits)):
        depth, rest = digits[:cut], digits[cut:]
        if rest.startswith("0"):
            continue
        if abs(int(depth) - depth_mm) <= 0.05 * depth_mm and abs(int(rest) - mass) <= 0.05 * mass:
            return f"{prefix}{depth}x{rest}"
    return name


def natural_key(name):
    return [float(n.replace(",", ".")) for n in re.findall(r"\d+(?:,\d+)?", name)], name


def write_lines(path, lines):
    data = "".join(line + "\r\n" for line in lines).encode("cp1250")
    path.write_bytes(data)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = Path(sys.argv[2] if len(sys.argv) > 2 else Path(__file__).resolve().parent.parent / "data")
    root = ET.parse(sys.argv[1]).getroot()
    units = root.find(".//units/units")
    if units is None or units.get("sectdim_unit") != "m" or units.get("long_unit") != "m":
        sys.exit("unexpected units in the section table")
    items = root.findall(".//sectionlist_item")
    for file, figures, remark in SECTION_FILES:
        chosen = sorted((i for i in items if i.get("figure") in figures),
                        key=lambda i: natural_key(section_name(i)))
        names = [section_name(i) for i in chosen]
        if not chosen or len(set(names)) != len(names):
            sys.exit(f"{file}: no sections or duplicate names")
        lines = ["*" + remark + "; A in m2, Iy and Iz in m4"]
        for i in chosen:
            values = [i.get("Ax"), i.get("Iy"), i.get("Iz")]
            if any(Decimal(v) <= 0 for v in values):
                sys.exit(f"{file}: {i.get('sectionname')} has a value that is not positive")
            lines += ["C", section_name(i)] + [general15(v) for v in values]
        write_lines(out / file, lines)
        print(f"{file}: {len(chosen)} sections")
    for file, table, remark in MATERIAL_FILES:
        lines = ["*" + remark + "; E in MPa, density in kg/m3"]
        for name, e, d in table:
            lines += ["M", name, general15(e), general15(d)]
        write_lines(out / file, lines)
        print(f"{file}: {len(table)} materials")


if __name__ == "__main__":
    main()
