#!/usr/bin/python3
"""Writes pedit_sources.dxf, the drawing the PEdit transcripts start from: lightweight polylines
for closing (last segment an arc, a line, zero-length, or ending where they start), 2D and 3D
polylines (which no host command draws), a polygon mesh, lines, an arc from 350 to 10 degrees
and a spline to convert, a circle that is no polyline, and a group. The comment at each object
gives the point that picks it. Run with /usr/bin/python3 (needs python3-ezdxf); the handles are
the same on every run."""

import os
import sys

if os.environ.get("PYTHONHASHSEED") != "0":
    os.environ["PYTHONHASHSEED"] = "0"
    os.execv(sys.executable, [sys.executable] + sys.argv)

import ezdxf  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))

doc = ezdxf.new("R2010")
doc.layers.add("walls", color=3)
msp = doc.modelspace()
# Lightweight polylines, picked at their first segment's middle.
msp.add_lwpolyline([(0, 0, 0), (20, 0, 0.41421356), (30, 10, 0)], format="xyb")          # 10,0: ends in an arc
msp.add_lwpolyline([(0, 30), (20, 30), (20, 40), (0, 40)], close=True)                     # 10,30: closed
msp.add_lwpolyline([(0, 60), (20, 60), (20, 70), (0, 60)])                                  # 10,60: ends where it starts
msp.add_lwpolyline([(0, 90), (20, 90), (20, 100), (20, 100)])                               # 10,90: zero-length last segment
msp.add_lwpolyline([(0, 120), (20, 120)])                                                   # 10,120: one straight segment
msp.add_lwpolyline([(0, 150), (20, 150), (20, 160)], format="xy",
                   dxfattribs={"const_width": 0.5})                                          # 10,150: constant width 0.5
msp.add_lwpolyline([(0, 180, 0), (20, 180, -0.5), (30, 190, 0), (40, 180, 0)], format="xyb")  # 10,180: with an arc
# 2D and 3D polylines.
msp.add_polyline2d([(40, 30), (60, 30), (60, 40), (80, 40)])                                # 50,30: four vertices
p = msp.add_polyline2d([(40, 60), (60, 60)])                                                 # 50,60: one segment
p.dxf.default_start_width = 0.25
p.dxf.default_end_width = 0.25
p = msp.add_polyline2d([(40, 90), (60, 90), (60, 100)])                                      # 50,90: linetype generation
p.dxf.flags |= 128
msp.add_polyline3d([(40, 120, 0), (60, 120, 5), (60, 130, 10), (80, 130, 0)])               # 50,120
msp.add_polyline3d([(40, 150, 0), (60, 150, 0), (60, 160, 0)], close=True)                  # 50,150: closed
# A 3 x 3 polygon mesh, picked on its lower edge.
mesh = msp.add_polymesh((3, 3))                                                              # 105,0
for m in range(3):
    for n in range(3):
        mesh.set_mesh_vertex((m, n), (100 + 10 * n, 10 * m, m * n))
# Lines and an arc to convert; the first line is on layer walls, colour 5, with extended data.
doc.appids.add("PEDIT_TEST")
line = msp.add_line((100, 40), (120, 40), dxfattribs={"layer": "walls", "color": 5})          # 110,40
line.set_xdata("PEDIT_TEST", [(1000, "kept")])
msp.add_line((100, 50), (120, 50))                                                           # 110,50
msp.add_arc((110, 60), 5, 350, 10)                                                           # 115,60
msp.add_open_spline([(100, 80), (105, 90), (110, 80), (115, 90), (120, 80)], degree=3)      # 100,80
msp.add_line((100, 100), (100, 100))                                                         # 100,100: no length
msp.add_circle((150, 0), 5)                                                                  # 155,0
# A group of the closed polyline and the second line.
group = doc.groups.new("PAIR")
group.extend([msp[1], msp[14]])
doc.saveas(os.path.join(HERE, "pedit_sources.dxf"))
