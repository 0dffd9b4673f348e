#!/usr/bin/python3
"""Writes revcloud_sources.dxf, the drawing the RevCloud conversion scripts start from: one curve
of every kind a cloud is laid along (a 2D polyline among them, which no host command draws), lines
just too short and long enough for arcs of 15, one far too long, and a 3D polyline, which is no
cloud source. Run with /usr/bin/python3 (needs python3-ezdxf); the output is reproducible."""

import math
import os
import sys

if os.environ.get("PYTHONHASHSEED") != "0":
    os.environ["PYTHONHASHSEED"] = "0"
    os.execv(sys.executable, [sys.executable] + sys.argv)

import ezdxf  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))

doc = ezdxf.new("R2010")
msp = doc.modelspace()
msp.add_circle((0, 0), 100 / (2 * math.pi))                      # circumference 100, picked at 15.9155,0
msp.add_line((0, 100), (70, 100))                                # 70: shorter than 5 arcs of 15
msp.add_line((0, 120), (75, 120))                                # 75: exactly 5 arcs
msp.add_line((0, 140), (150001, 140))                            # longer than 10000 arcs of 15
msp.add_arc((200, 0), 30, 0, 180)                                # half circle, picked at 230,0
msp.add_ellipse((300, 0), major_axis=(40, 0), ratio=0.5)         # whole, picked at 340,0
msp.add_lwpolyline([(400, 0, 0, 0, 0.5), (460, 0), (460, 40), (400, 40)], format="xyseb", close=True)
pl2d = msp.add_polyline2d([(500, 0), (540, 0), (580, 40)])      # picked at 520,0
pl2d.vertices[0].dxf.bulge = -1.0                                # clockwise: a half circle above (500,0)-(540,0)
msp.add_open_spline([(600, 0), (620, 40), (650, -20), (670, 40), (690, 0)], degree=3)  # picked at 600,0
msp.add_polyline3d([(700, 0, 0), (760, 0, 0), (760, 60, 10)])   # picked at 730,0
doc.saveas(os.path.join(HERE, "revcloud_sources.dxf"))
