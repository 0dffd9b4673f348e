#!/usr/bin/python3
"""Writes the sample drawings in samples/ with ezdxf, so that the demo and the tests read files
written by an independent program. Run with /usr/bin/python3 (needs python3-ezdxf); the output is
reproducible, so regenerating leaves the committed files unchanged."""

import io
import math
import os
import re
import sys

# Table order in ezdxf's output follows Python's string hashing: fix it for reproducible files.
if os.environ.get("PYTHONHASHSEED") != "0":
    os.environ["PYTHONHASHSEED"] = "0"
    os.execv(sys.executable, [sys.executable] + sys.argv)

import ezdxf  # noqa: E402

SAMPLES = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples"))


def layer(doc, name, color, lineweight=-3, linetype="Continuous"):
    doc.layers.add(name, color=color, linetype=linetype, lineweight=lineweight)


def floor_plan():
    """A flat of three rooms: walls as wide polylines, doors as arcs, furniture, room names."""
    doc = ezdxf.new("R2010")
    doc.units = 6  # metres
    doc.linetypes.add("DASHED", pattern=[0.6, 0.5, -0.1], description="Dashed __ __ __")
    layer(doc, "WALLS", 7, lineweight=50)
    layer(doc, "DOORS", 3)
    layer(doc, "WINDOWS", 4)
    layer(doc, "FURNITURE", 6)
    layer(doc, "TEXT", 2)
    layer(doc, "BEAMS", 8, linetype="DASHED")
    msp = doc.modelspace()

    # Outer walls: one closed polyline of constant width; partitions with door openings.
    msp.add_lwpolyline([(0, 0), (12, 0), (12, 8), (0, 8)], close=True,
                       dxfattribs={"layer": "WALLS", "const_width": 0.3})
    for points in ([(5, 0), (5, 3.2)], [(5, 4.2), (5, 8)], [(5, 5), (8, 5)], [(9, 5), (12, 5)]):
        msp.add_lwpolyline(points, dxfattribs={"layer": "WALLS", "const_width": 0.15})

    # Doors: the leaf as a line, the swing as an arc.
    msp.add_line((5, 3.2), (4, 3.2), dxfattribs={"layer": "DOORS"})
    msp.add_arc((5, 3.2), 1.0, 90, 180, dxfattribs={"layer": "DOORS"})
    msp.add_line((8, 5), (8, 4), dxfattribs={"layer": "DOORS"})
    msp.add_arc((8, 5), 1.0, 270, 360, dxfattribs={"layer": "DOORS"})

    # Windows: a straight one in the south wall, a bay window bulging out of the east wall.
    msp.add_lwpolyline([(1, 0, 0.12, 0.12), (3.5, 0, 0.12, 0.12)], format="xyse",
                       dxfattribs={"layer": "WINDOWS"})
    msp.add_lwpolyline([(12, 1.5, 0, 0, 0.4), (12, 3.5, 0, 0, 0)], format="xyseb",
                       dxfattribs={"layer": "WINDOWS"})

    # Furniture: a round table with chairs, a sofa with rounded ends, a bed.
    msp.add_circle((2.5, 6), 0.6, dxfattribs={"layer": "FURNITURE"})
    for x, y in ((2.5, 6.9), (2.5, 5.1), (1.6, 6), (3.4, 6)):
        msp.add_circle((x, y), 0.2, dxfattribs={"layer": "FURNITURE"})
    msp.add_lwpolyline([(1, 1, 0, 0, 0), (3, 1, 0, 0, 1), (3, 1.8, 0, 0, 0), (1, 1.8, 0, 0, 1)],
                       format="xyseb", close=True, dxfattribs={"layer": "FURNITURE"})
    msp.add_lwpolyline([(9.5, 0.5), (11.5, 0.5), (11.5, 2.7), (9.5, 2.7)], close=True,
                       dxfattribs={"layer": "FURNITURE", "color": 30})

    msp.add_line((0, 4), (5, 4), dxfattribs={"layer": "BEAMS"})

    # Room names; one rotated, one with characters that need care in XML and in DXF.
    msp.add_text("LIVING", dxfattribs={"layer": "TEXT", "height": 0.35, "insert": (1, 3.5)})
    msp.add_text("KITCHEN", dxfattribs={"layer": "TEXT", "height": 0.35, "insert": (6, 6.5)})
    msp.add_text("BEDROOM", dxfattribs={"layer": "TEXT", "height": 0.35, "insert": (6, 2.5)})
    msp.add_text("Entrée & <store>", dxfattribs={"layer": "TEXT", "height": 0.2, "insert": (8.3, 5.6)})
    msp.add_text("HALL", dxfattribs={"layer": "TEXT", "height": 0.25, "insert": (4.7, 5.5), "rotation": 90})

    # North arrow: a thin shaft and a head tapering from 0.5 to nothing.
    msp.add_lwpolyline([(13.5, 5, 0.04, 0.04), (13.5, 6.2, 0.5, 0.0), (13.5, 7.2, 0, 0)], format="xyse",
                       dxfattribs={"layer": "TEXT"})
    msp.add_text("N", dxfattribs={"layer": "TEXT", "height": 0.4, "insert": (13.35, 7.4)})
    return doc


def flange():
    """A machined plate: 2D polylines with bulges and widths, a spline, ellipses, solids."""
    doc = ezdxf.new("R2010")
    doc.units = 4  # millimetres
    doc.linetypes.add("CENTER", pattern=[2.0, 1.25, -0.25, 0.25, -0.25], description="Center ____ _ ____")
    layer(doc, "OUTLINE", 7, lineweight=50)
    layer(doc, "CENTER", 1, linetype="CENTER")
    layer(doc, "CURVES", 5)
    layer(doc, "FILL", 8)
    layer(doc, "NOTES", 2)
    msp = doc.modelspace()

    # Outline with rounded corners: a closed 2D polyline whose corner segments are quarter arcs.
    r = 5.0
    quarter = 0.41421356237309503  # tan(90 deg / 4)
    points = [(r, 0), (100 - r, 0), (100, r), (100, 60 - r), (100 - r, 60), (r, 60), (0, 60 - r), (0, r)]
    bulges = [0, quarter, 0, quarter, 0, quarter, 0, quarter]
    outline = msp.add_polyline2d(points, close=True, dxfattribs={"layer": "OUTLINE"})
    for vertex, bulge in zip(outline.vertices, bulges):
        vertex.dxf.bulge = bulge

    # A slot drawn as a wide 2D polyline: round ends (bulge 1) and a tapered lead-in.
    slot = msp.add_polyline2d([(30, 45), (60, 45), (60, 50), (30, 50)], close=True,
                              dxfattribs={"layer": "OUTLINE"})
    for vertex, bulge in zip(slot.vertices, (0, 1, 0, 1)):
        vertex.dxf.bulge = bulge
    lead = msp.add_polyline2d([(10, 20), (25, 20), (32, 27)], dxfattribs={"layer": "CURVES"})
    for vertex, (w0, w1) in zip(lead.vertices, ((0.2, 1.5), (1.5, 0.0), (0, 0))):
        vertex.dxf.start_width = w0
        vertex.dxf.end_width = w1

    # Holes with centre marks.
    for cx, cy in ((15, 45), (85, 45), (85, 15)):
        msp.add_circle((cx, cy), 4, dxfattribs={"layer": "OUTLINE"})
        msp.add_line((cx - 6, cy), (cx + 6, cy), dxfattribs={"layer": "CENTER"})
        msp.add_line((cx, cy - 6), (cx, cy + 6), dxfattribs={"layer": "CENTER"})

    # A cam profile as a cubic spline through control points.
    msp.add_open_spline([(40, 8), (48, 28), (58, 4), (68, 30), (78, 10)], degree=3,
                        dxfattribs={"layer": "CURVES"})

    # An elliptical window and a rotated elliptical arc.
    msp.add_ellipse((50, 30), major_axis=(12, 0), ratio=0.5, dxfattribs={"layer": "CURVES"})
    msp.add_ellipse((20, 30), major_axis=(6, 6), ratio=0.4, start_param=0.0, end_param=3.6,
                    dxfattribs={"layer": "CURVES"})

    # Filled marks: a triangle and a quadrilateral (SOLID corners 3 and 4 are swapped in DXF).
    msp.add_solid([(92, 52), (98, 52), (95, 57)], dxfattribs={"layer": "FILL"})
    msp.add_solid([(4, 4), (12, 4), (4, 10), (12, 10)], dxfattribs={"layer": "FILL", "color": 1})

    msp.add_text("FLANGE 100x60", dxfattribs={"layer": "NOTES", "height": 3.5, "insert": (0, 66)})
    msp.add_text("R5 TYP.", dxfattribs={"layer": "NOTES", "height": 2.5, "insert": (80, -6)})
    return doc


def pedit():
    """Polylines and curves for the PEdit demo (samples/pedit.scr), one edit to each cell of a
    grid of 80 by 60, with its name written under it."""
    doc = ezdxf.new("R2010")
    doc.units = 4  # millimetres
    doc.linetypes.add("DASHED", pattern=[6.0, 4.0, -2.0], description="Dashed __ __ __")
    layer(doc, "SHAPES", 7)
    layer(doc, "CURVES", 5)
    layer(doc, "DASHED", 3, linetype="DASHED")
    layer(doc, "NOTES", 2)
    msp = doc.modelspace()

    def zigzag(x, y):
        return [(x + 10 * i, y + (25 if i % 2 else 0)) for i in range(6)]

    def note(x, y, text):
        msp.add_text(text, dxfattribs={"layer": "NOTES", "height": 3.0, "insert": (x, y - 8)})

    # Top row: one zigzag each for Fit, quadratic Spline, cubic Spline with arcs, and Decurve.
    for col, text in enumerate(("Width, Undo, Fit", "Spline, quadratic", "Spline, cubic, arcs", "Fit, Decurve, Width")):
        msp.add_lwpolyline(zigzag(80 * col, 120), dxfattribs={"layer": "SHAPES"})
        note(80 * col, 120, text)
    # Middle row: Close with a tangent arc, Open, Width on three polylines, Ltype gen.
    msp.add_lwpolyline([(0, 60, 0), (30, 60, 0.6), (50, 85, 0)], format="xyb", dxfattribs={"layer": "SHAPES"})
    note(0, 60, "Close (tangent arc)")
    msp.add_lwpolyline([(80, 60), (130, 60), (130, 90), (80, 90)], close=True, dxfattribs={"layer": "SHAPES"})
    note(80, 60, "Open")
    for k in range(3):
        msp.add_lwpolyline([(160 + 18 * k, 60), (170 + 18 * k, 90)], dxfattribs={"layer": "SHAPES"})
    note(160, 60, "Multiple, Width")
    msp.add_lwpolyline(zigzag(240, 60), dxfattribs={"layer": "DASHED"})
    note(240, 60, "Ltype gen")
    # Bottom row: a line and an arc, and a spline, made polylines; a 3D polyline splined; a 2D
    # polyline splined and closed.
    msp.add_line((0, 0), (30, 0), dxfattribs={"layer": "CURVES"})
    msp.add_arc((40, 15), 15, 200, 340, dxfattribs={"layer": "CURVES"})
    note(0, 0, "Line, arc made polylines: Width")
    msp.add_open_spline([(80, 0), (95, 30), (110, 0), (125, 30), (130, 10)], degree=3,
                        dxfattribs={"layer": "CURVES"})
    note(80, 0, "Spline made a polyline")
    msp.add_polyline3d([(160, 0, 0), (170, 30, 10), (190, 0, 20), (210, 30, 10)], dxfattribs={"layer": "CURVES"})
    note(160, 0, "3D: Spline curve")
    msp.add_polyline2d([(240, 0), (290, 0), (290, 30), (240, 30)], dxfattribs={"layer": "SHAPES"})
    note(240, 0, "2D: Spline, Close")
    return doc


def pedit_join():
    """Curves for the Join demo (samples/pedit-join.scr): a cell of 80 by 60 for each way of
    joining, with its name written under it."""
    doc = ezdxf.new("R2010")
    doc.units = 4  # millimetres
    layer(doc, "SHAPES", 7)
    layer(doc, "PIECES", 4)
    layer(doc, "NOTES", 2)
    msp = doc.modelspace()
    pieces = {"layer": "PIECES"}

    def note(x, y, text):
        msp.add_text(text, dxfattribs={"layer": "NOTES", "height": 3.0, "insert": (x, y - 8)})

    # Top row, one polyline and what touches it. A chain of a line, an arc and lines from both
    # ends of a short polyline, drawn in no particular order.
    msp.add_lwpolyline([(20, 120), (40, 120)], dxfattribs={"layer": "SHAPES", "const_width": 0.8})
    msp.add_line((40, 120), (50, 130), dxfattribs=pieces)
    msp.add_line((0, 140), (0, 120), dxfattribs=pieces)
    msp.add_arc((50, 145), 15, 270, 90, dxfattribs=pieces)                       # (50,130) to (50,160)
    msp.add_line((0, 120), (20, 120), dxfattribs=pieces)
    msp.add_line((50, 160), (10, 160), dxfattribs=pieces)
    note(0, 120, "Join: touching objects")
    # Lines that close a loop around, one side an arc.
    msp.add_lwpolyline([(90, 120), (130, 120)], dxfattribs={"layer": "SHAPES"})
    msp.add_line((130, 120), (130, 150), dxfattribs=pieces)
    msp.add_arc((110, 150), 20, 0, 180, dxfattribs=pieces)
    msp.add_line((90, 150), (90, 120), dxfattribs=pieces)
    note(80, 120, "Join: the loop closes")
    # A zigzag whose lines stop short of their corners: Extend, fuzz 2.
    for i in range(6):
        a = (170 + 10 * i, 120 + (25 if i % 2 else 0))
        b = (170 + 10 * (i + 1), 120 + (0 if i % 2 else 25))
        dx, dy = (b[0] - a[0]) * 0.06, (b[1] - a[1]) * 0.06
        msp.add_line((a[0] + dx, a[1] + dy), (b[0] - dx, b[1] - dy), dxfattribs=pieces)
    note(160, 120, "Multiple, Extend, fuzz 2")
    # Dashes along a line: Add bridges the gaps, fuzz 4.
    for i in range(5):
        msp.add_lwpolyline([(240 + 13 * i, 135), (249 + 13 * i, 135)], dxfattribs=pieces)
    note(240, 120, "Multiple, Add, fuzz 4")
    # Bottom row: Both, where lines meet and where arcs run on; and fuzz 0, touching only.
    msp.add_lwpolyline([(0, 60), (18, 60)], dxfattribs=pieces)
    msp.add_lwpolyline([(20, 62), (20, 80)], dxfattribs=pieces)
    msp.add_arc((35, 80), 15, 5, 175, dxfattribs=pieces)
    msp.add_lwpolyline([(51, 80), (51, 60)], dxfattribs=pieces)
    msp.add_lwpolyline([(52, 58), (70, 58)], dxfattribs=pieces)
    note(0, 60, "Multiple, Both, fuzz 3")
    for k, (a, b) in enumerate((((80, 60), (100, 60)), ((100, 60), (100, 80)), ((100, 80), (120, 80)),
                                ((121, 80), (140, 80)))):
        msp.add_lwpolyline([a, b], dxfattribs=pieces)
    note(80, 60, "Multiple, fuzz 0: touching only")
    return doc


def mesh():
    """Polygon meshes for the mesh demo (samples/mesh.scr): the same wavy 6 x 7 control grid four
    times, to be left as it is, smoothed quadratic, cubic and Bezier, and a ring of 3 x 8 vertices
    closed around, to be smoothed after a vertex is moved."""
    doc = ezdxf.new("R2010")
    doc.units = 4  # millimetres
    layer(doc, "MESHES", 4)
    layer(doc, "NOTES", 2)
    msp = doc.modelspace()

    def note(x, y, text):
        msp.add_text(text, dxfattribs={"layer": "NOTES", "height": 3.0, "insert": (x, y - 8)})

    for col, text in enumerate(("Control grid", "Smooth: quadratic", "Smooth: cubic", "Smooth: Bezier")):
        grid = msp.add_polymesh((6, 7), dxfattribs={"layer": "MESHES"})
        for m in range(6):
            for n in range(7):
                wave = 3 * ((m + n) % 2)
                grid.set_mesh_vertex((m, n), (80 * col + 10 * n, 80 + 10 * m + wave, wave))
        note(80 * col, 80, text)
    ring = msp.add_polymesh((3, 8), dxfattribs={"layer": "MESHES"})
    ring.close(False, True)
    for m in range(3):
        for n in range(8):
            r = 10 + 8 * m
            angle = 2 * math.pi * n / 8
            ring.set_mesh_vertex((m, n), (30 + r * math.cos(angle), 30 + r * math.sin(angle), 2 * m))
    note(0, 0, "Ring closed in N: vertex moved, cubic")
    return doc


def reproducible_text(doc):
    """The DXF text with creation times and identifiers fixed, so regenerating changes nothing."""
    stream = io.StringIO()
    doc.write(stream)
    text = stream.getvalue()
    text = re.sub(r"(\$TD\w+\n\s*40\n)[^\n]+", r"\g<1>2460000.5", text)
    guids = iter(range(1, 1000))
    text = re.sub(r"\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}",
                  lambda m: "{00000000-0000-4000-8000-%012d}" % next(guids), text)
    text = re.sub(r"(\d+\.\d+\.\d+) @ [^\n]+", r"\g<1>", text)
    return text


def demo_text():
    """Text, multi-line text and hatches (samples/demo-text.dxf): every justification of TEXT on
    its marked point, fitted and aligned text between two points, wrapped and formatted MTEXT
    at several attachment points, and hatches of each boundary and fill kind."""
    doc = ezdxf.new("R2010")
    layer(doc, "TEXT", 7)
    layer(doc, "MARKS", 8)
    layer(doc, "HATCH", 3)
    msp = doc.modelspace()
    A = ezdxf.enums.TextEntityAlignment

    def mark(x, y):
        msp.add_line((x - 0.6, y), (x + 0.6, y), dxfattribs={"layer": "MARKS", "color": 1})
        msp.add_line((x, y - 0.6), (x, y + 0.6), dxfattribs={"layer": "MARKS", "color": 1})

    # The twelve justifications, each on a marked point.
    for i, (name, align) in enumerate((("TOP_LEFT", A.TOP_LEFT), ("TOP_CENTER", A.TOP_CENTER), ("TOP_RIGHT", A.TOP_RIGHT),
                                       ("MIDDLE_LEFT", A.MIDDLE_LEFT), ("MIDDLE_CENTER", A.MIDDLE_CENTER),
                                       ("MIDDLE_RIGHT", A.MIDDLE_RIGHT), ("BOTTOM_LEFT", A.BOTTOM_LEFT),
                                       ("BOTTOM_CENTER", A.BOTTOM_CENTER), ("BOTTOM_RIGHT", A.BOTTOM_RIGHT),
                                       ("LEFT", A.LEFT), ("CENTER", A.CENTER), ("RIGHT", A.RIGHT))):
        x, y = 20 + (i % 3) * 40, 100 - (i // 3) * 8
        mark(x, y)
        msp.add_text(name.title().replace("_", " ") + " gjy", dxfattribs={"layer": "TEXT", "height": 2}).set_placement((x, y), align=align)
    mark(60, 60)
    msp.add_text("Middle (M) gjy", dxfattribs={"layer": "TEXT", "height": 2}).set_placement((60, 60), align=A.MIDDLE)
    # Fit keeps the height, aligned keeps the proportions; both end on the second point.
    for y, end, text, align in ((52, 60, "Fitted between the marks", A.FIT), (38, 30, "Aligned", A.ALIGNED)):
        mark(0, y)
        mark(end, y)
        msp.add_text(text, dxfattribs={"layer": "TEXT", "height": 3}).set_placement((0, y), (end, y), align=align)
    msp.add_text("Wide 1.5, oblique 15", dxfattribs={"layer": "TEXT", "height": 2.5, "width": 1.5, "oblique": 15,
                                                      "insert": (70, 50)})
    msp.add_text("%%c20 %%p0.1 45%%d %%uunderlined%%u", dxfattribs={"layer": "TEXT", "height": 2.5, "insert": (70, 44)})

    # Multi-line text wrapped at a width of 60, at three attachment points.
    body = ("Multi-line text wraps at its reference width by the measured words. "
            "{\\H1.5x;Bigger,} {\\C1;red,} \\fDejaVu Serif|b1;bold serif\\fArial; and a stacked "
            "\\S3/8; inch.\\PA second paragraph, \\Lunderlined\\l and \\Ooverlined\\o.")
    for x, attach in ((0, 1), (95, 5), (175, 9)):
        mark(x, 20)
        msp.add_mtext(body, dxfattribs={"layer": "TEXT", "char_height": 2, "width": 60, "insert": (x, 20),
                                        "attachment_point": attach})
    msp.add_mtext("Turned 20 degrees\\Pabout its corner", dxfattribs={"layer": "TEXT", "char_height": 2,
                                                                        "insert": (150, 60), "rotation": 20})

    # Hatches: a pattern with an island, a solid edge loop, a gradient, a dashed pattern on a
    # bulged polyline, and a multi-polygon.
    h = msp.add_hatch(dxfattribs={"layer": "HATCH"})
    h.set_pattern_fill("ANSI31", scale=1.0, color=256)
    h.paths.add_polyline_path([(0, -40), (40, -40), (40, -10), (0, -10)], is_closed=True, flags=1)
    h.paths.add_polyline_path([(10, -30), (30, -30), (30, -20), (10, -20)], is_closed=True, flags=16)
    s = msp.add_hatch(color=5, dxfattribs={"layer": "HATCH"})
    e = s.paths.add_edge_path()
    e.add_line((50, -40), (70, -40))
    e.add_arc((70, -25), 15, -90, 90)
    e.add_ellipse((60, -10), (10, 0), 0.5, 0, 180)
    e.add_line((50, -10), (50, -40))
    g = msp.add_hatch(dxfattribs={"layer": "HATCH"})
    g.set_gradient((230, 120, 20), (20, 60, 200))
    g.paths.add_polyline_path([(100, -40), (130, -40), (115, -10)], is_closed=True)
    d = msp.add_hatch(dxfattribs={"layer": "HATCH", "color": 4})
    d.set_pattern_fill("DASH", scale=2.0, angle=30, color=4)
    d.paths.add_polyline_path([(140, -40, 0), (170, -40, 0.6), (170, -10, 0), (140, -10, 0)], is_closed=True)
    m = msp.add_mpolygon(color=6, fill_color=6, dxfattribs={"layer": "HATCH"})
    m.paths.add_polyline_path([(190, -40), (220, -40), (220, -10), (190, -10)], is_closed=True)
    m.paths.add_polyline_path([(200, -30), (210, -30), (205, -20)], is_closed=True)
    m.dxf.solid_fill = 1
    return doc


def main():
    os.makedirs(SAMPLES, exist_ok=True)
    for name, make in (("floor-plan", floor_plan), ("flange", flange), ("pedit", pedit), ("pedit-join", pedit_join),
                       ("mesh", mesh), ("demo-text", demo_text)):
        path = os.path.join(SAMPLES, name + ".dxf")
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(reproducible_text(make()))
        print(path)


if __name__ == "__main__":
    main()
