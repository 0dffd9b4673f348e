#!/usr/bin/python3
"""Writes pedit_mesh_sources.dxf, the drawing the PEdit mesh transcripts start from: a 4 x 3 polygon
mesh (M = 4 rows of N = 3 vertices), open both ways, a 3 x 3 mesh closed in N, and a 3D polyline
with three vertices. The comment at each object gives the point that picks it. Run with
/usr/bin/python3 (needs python3-ezdxf); the handles are the same on every run."""

import os
import sys

if os.environ.get("PYTHONHASHSEED") != "0":
    os.environ["PYTHONHASHSEED"] = "0"
    os.execv(sys.executable, [sys.executable] + sys.argv)

import ezdxf  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))

doc = ezdxf.new("R2010")
msp = doc.modelspace()
# Row m runs along X at Y = 10 m; the middle column is raised.
mesh = msp.add_polymesh((4, 3))                                                  # 5,0
for m in range(4):
    for n in range(3):
        mesh.set_mesh_vertex((m, n), (10 * n, 10 * m, 5 if n == 1 else 0))
ring = msp.add_polymesh((3, 3))                                                  # 105,0
ring.close(False, True)
for m in range(3):
    for n in range(3):
        ring.set_mesh_vertex((m, n), (100 + 10 * n, 10 * m, 2 * m))
msp.add_polyline3d([(0, 60, 0), (10, 60, 5), (20, 70, 0)])                       # 5,60
doc.saveas(os.path.join(HERE, "pedit_mesh_sources.dxf"))
