#!/usr/bin/env python3
"""Draws the PNG sizes of the desktop program's icon from its SVG.

The SVG holds only <polygon> elements with a plain "#rrggbb" fill on a
256-unit view box, drawn in order; each is filled by scan lines at 4 x 4
samples a pixel (even-odd rule) and the samples averaged. Only the standard
library is used, so the icons need no drawing program.

    tools/icon_pngs.py SVG OUTPUT_DIR          writes OUTPUT_DIR/<size>.png
    tools/icon_pngs.py --check SVG OUTPUT_DIR  exit 1 when one differs
"""
import os
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

SIZES = (16, 32, 48, 64, 128, 256)
SAMPLES = 4  # a side of a pixel
SVG_NS = "{http://www.w3.org/2000/svg}"


def read_polygons(svg_path):
    root = ET.parse(svg_path).getroot()
    view = [float(v) for v in root.get("viewBox").split()]
    if view[0] != 0 or view[1] != 0 or view[2] != view[3]:
        raise SystemExit(f"{svg_path}: the view box must be a square at 0,0")
    polygons = []
    for element in root.iter():
        if element.tag == SVG_NS + "polygon":
            fill = element.get("fill")
            rgb = tuple(int(fill[i:i + 2], 16) for i in (1, 3, 5))
            points = [tuple(float(v) for v in pair.split(","))
                      for pair in element.get("points").split()]
            polygons.append((rgb, points))
        elif element.tag not in (SVG_NS + "svg", SVG_NS + "title"):
            raise SystemExit(f"{svg_path}: cannot draw <{element.tag}>")
    return view[2], polygons


def rasterise(side_units, polygons, size):
    grid = size * SAMPLES
    scale = grid / side_units
    colours = [None] + [rgb for rgb, _ in polygons]
    samples = bytearray(grid * grid)  # colour index, 0 transparent
    for index, (_, points) in enumerate(polygons, start=1):
        scaled = [(x * scale, y * scale) for x, y in points]
        edges = list(zip(scaled, scaled[1:] + scaled[:1]))
        top = max(0, int(min(y for _, y in scaled)))
        bottom = min(grid, int(max(y for _, y in scaled)) + 1)
        for row in range(top, bottom):
            y = row + 0.5
            crossings = sorted(x0 + (y - y0) * (x1 - x0) / (y1 - y0)
                               for (x0, y0), (x1, y1) in edges
                               if (y0 <= y < y1) or (y1 <= y < y0))
            for left, right in zip(crossings[0::2], crossings[1::2]):
                first = max(0, int(left + 0.5))
                last = min(grid, int(right + 0.5))
                if first < last:
                    start = row * grid
                    samples[start + first:start + last] = bytes([index]) * (last - first)
    pixels = bytearray()
    area = SAMPLES * SAMPLES
    for y in range(size):
        pixels.append(0)  # filter type None
        for x in range(size):
            red = green = blue = covered = 0
            for sy in range(SAMPLES):
                start = (y * SAMPLES + sy) * grid + x * SAMPLES
                for index in samples[start:start + SAMPLES]:
                    if index:
                        r, g, b = colours[index]
                        red += r
                        green += g
                        blue += b
                        covered += 1
            if covered:
                pixels += bytes((round(red / covered), round(green / covered),
                                 round(blue / covered), round(255 * covered / area)))
            else:
                pixels += bytes(4)
    return png(size, bytes(pixels))


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(size, rows):
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def main(args):
    check = args[:1] == ["--check"]
    if check:
        args = args[1:]
    if len(args) != 2:
        raise SystemExit(__doc__)
    svg_path, output_dir = args
    side_units, polygons = read_polygons(svg_path)
    stale = []
    for size in SIZES:
        data = rasterise(side_units, polygons, size)
        path = os.path.join(output_dir, f"{size}.png")
        if check:
            try:
                with open(path, "rb") as existing:
                    if existing.read() != data:
                        stale.append(path)
            except OSError:
                stale.append(path)
            continue
        # Written beside the final name, then renamed into place.
        temporary = path + ".tmp"
        with open(temporary, "wb") as out:
            out.write(data)
        os.replace(temporary, path)
    for path in stale:
        print(f"{path} is not what {svg_path} draws: run tools/icon_pngs.py", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
