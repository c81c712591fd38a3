#!/usr/bin/python3
"""Draws the strokes of a signature file at 215 x 70 with Pillow and saves a
GIF in memory, as many times as asked; prints the CPU time per image in
microseconds.

The strokes are fitted into the image the way the pad control fits them: the
ink's extent, with a margin, keeping its proportions; lines 2.5 pixels wide."""
import io
import sys
import time

from PIL import Image, ImageDraw

WIDTH, HEIGHT, MARGIN, LINE = 215, 70, 4, 3


def read_strokes(path):
    strokes = []
    with open(path) as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            strokes.append([tuple(map(float, p.split(","))) for p in line.split()])
    return strokes


def fit(strokes):
    xs = [x for s in strokes for x, _ in s]
    ys = [y for s in strokes for _, y in s]
    left, top = min(xs), min(ys)
    span_x, span_y = max(max(xs) - left, 1), max(max(ys) - top, 1)
    scale = min((WIDTH - 2 * MARGIN) / span_x, (HEIGHT - 2 * MARGIN) / span_y)
    off_x = (WIDTH - span_x * scale) / 2
    off_y = (HEIGHT - span_y * scale) / 2
    return [[((x - left) * scale + off_x, (y - top) * scale + off_y) for x, y in s] for s in strokes]


def render(strokes):
    image = Image.new("L", (WIDTH, HEIGHT), 255)
    draw = ImageDraw.Draw(image)
    for stroke in strokes:
        draw.line(stroke, fill=0, width=LINE, joint="curve")
    out = io.BytesIO()
    image.save(out, format="GIF")
    return out.getvalue()


def main():
    path, count = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    fitted = fit(read_strokes(path))
    render(fitted)
    start = time.process_time()
    for _ in range(count):
        render(fitted)
    elapsed = time.process_time() - start
    print(f"{elapsed / count * 1e6:.1f}")


if __name__ == "__main__":
    main()
