"""Checks the extents a drawing's header records against ezdxf's bounding boxes of its entities.

Usage: /usr/bin/python3 saved_extents.py FILE...; prints one line per fault, then "ok" if none.

$EXTMIN/$EXTMAX must hold model space and $PEXTMIN/$PEXTMAX paper space, each entity within its
own tolerance. ezdxf measures the centre line of a polyline, so a wide polyline may reach out by
its half width; text is measured with ezdxf's stand-in font, so the recorded box must hold the
insertion point and lie within ezdxf's (generous) text box; ezdxf does not measure lights, which
count by their position and may reach about it as far as their target is (a spot's cone, which
a spot aimed straight down shows as a circle wider by the tangent of half its falloff angle); the
paper's own viewport (id 1) draws nothing; a spline-fit polyline counts without its frame. Curves are
flattened by ezdxf to within 0.01 drawing units, which is the tolerance of every side.
"""
import math
import sys

import ezdxf
from ezdxf import bbox
from ezdxf.math import BoundingBox, Vec3

FLATTENING = 0.011
NO_EXTENTS = 1e20


def half_width(entity):
    kind = entity.dxftype()
    if kind == "LWPOLYLINE":
        widths = [w for p in entity.get_points("se") for w in p] + [entity.dxf.const_width]
    elif kind == "POLYLINE":
        widths = [w for v in entity.vertices for w in (v.dxf.start_width, v.dxf.end_width)]
    else:
        return 0.0
    return max(widths, default=0.0) / 2.0


def inner_and_outer(entity):
    """The boxes (min, max) the recorded extents must cover and may reach, or None."""
    kind = entity.dxftype()
    if kind == "LIGHT":
        position = Vec3(entity.dxf.location)
        points = [position]
        if entity.dxf.hasattr("target"):
            target = Vec3(entity.dxf.target)
            spread = max(1.0, math.tan(math.radians(min(entity.dxf.get("falloff_angle", 0.0), 179.0)) / 2.0))
            reach = (target - position).magnitude * spread
            points += [target, position - Vec3(reach, reach, 0), position + Vec3(reach, reach, 0)]
        box = BoundingBox(points)
        return (position, position), (box.extmin, box.extmax)
    if kind == "VIEWPORT" and entity.dxf.id == 1:
        return None
    if kind == "POLYLINE" and entity.dxf.flags & 4:
        # A spline-fit polyline is drawn through its generated vertices; ezdxf also counts the
        # frame it was fitted to, which lies outside the curve.
        drawn = [Vec3(v.dxf.location) for v in entity.vertices if not v.dxf.flags & 16]
        box = BoundingBox(drawn)
    else:
        box = bbox.extents([entity], fast=False)
    if not box.has_data:
        return None
    if kind == "TEXT":
        insert = Vec3(entity.dxf.insert)
        return (insert, insert), (Vec3(box.extmin), Vec3(box.extmax))
    pad = Vec3(half_width(entity), half_width(entity), 0)
    return (Vec3(box.extmin), Vec3(box.extmax)), (Vec3(box.extmin) - pad, Vec3(box.extmax) + pad)


def check_space(path, entities, min_name, max_name, doc):
    faults = []
    lo, hi = Vec3(doc.header.get(min_name)), Vec3(doc.header.get(max_name))
    boxes = [b for b in (inner_and_outer(e) for e in entities) if b]
    if not boxes:
        if lo != Vec3(NO_EXTENTS, NO_EXTENTS, NO_EXTENTS) or hi != -Vec3(NO_EXTENTS, NO_EXTENTS, NO_EXTENTS):
            faults.append(f"{path}: {min_name}/{max_name} {lo} {hi} for an empty space")
        return faults
    inner = BoundingBox([p for b in boxes for p in b[0]])
    outer = BoundingBox([p for b in boxes for p in b[1]])
    inner_lo, inner_hi, outer_lo, outer_hi = inner.extmin, inner.extmax, outer.extmin, outer.extmax
    for axis in range(3):
        if not (outer_lo[axis] - FLATTENING <= lo[axis] <= inner_lo[axis] + FLATTENING):
            faults.append(f"{path}: {min_name}[{axis}] = {lo[axis]}, expected {outer_lo[axis]} .. {inner_lo[axis]}")
        if not (inner_hi[axis] - FLATTENING <= hi[axis] <= outer_hi[axis] + FLATTENING):
            faults.append(f"{path}: {max_name}[{axis}] = {hi[axis]}, expected {inner_hi[axis]} .. {outer_hi[axis]}")
    return faults


def main(paths):
    faults = []
    for path in paths:
        doc = ezdxf.readfile(path)
        faults += check_space(path, list(doc.modelspace()), "$EXTMIN", "$EXTMAX", doc)
        faults += check_space(path, list(doc.layouts.active_layout()), "$PEXTMIN", "$PEXTMAX", doc)
    for fault in faults:
        print(fault)
    if not faults:
        print("ok")


main(sys.argv[1:])
