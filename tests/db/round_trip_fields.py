#!/usr/bin/python3
"""Field-by-field comparison of a drawing and its round trip through vantrel, read by ezdxf.

  round_trip_fields.py make FILE           writes a drawing of every entity kind whose angle
                                           fields hold round and random values
  round_trip_fields.py compare IN OUT      prints "ok" when every entity of IN is in OUT under
                                           its handle with equal values, else each difference
"""

import math
import random
import sys

import ezdxf


def angles(rng, count):
    """Round values as users type them, values of every length, and full doubles, in degrees."""
    values = [float(d) for d in range(0, 361, 5)]
    values += [0.1, 0.5, 29.999, 30.000001, 45.25, 89.99999999, 123.456, 249.9, 250.0, 359.999, 1e-9]
    for _ in range(count):
        d = rng.uniform(0.0, 360.0)
        values.append(round(d, rng.randint(0, 16)))
        values.append(d)
    return values


def make(path):
    rng = random.Random(16)
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    degrees = angles(rng, 150)

    for i, (start, end) in enumerate(zip(degrees, reversed(degrees))):
        msp.add_arc((i, 0), 1.0 + i / 7.0, start, end)
    for i, rotation in enumerate(degrees):
        msp.add_text("T%d" % i, dxfattribs={"insert": (i, 10), "height": 0.5, "rotation": rotation,
                                             "oblique": degrees[(i * 7) % len(degrees)] % 80.0 - 40.0})
    for i in range(0, len(degrees) - 1, 2):
        light = msp.new_entity("LIGHT", {"version": (i // 2) % 2, "name": "L%d" % i, "type": 3, "location": (i, 20, 5),
                                         "target": (i, 20, 0)})
        light.dxf.hotspot_angle = min(degrees[i], degrees[i + 1]) * 159.0 / 360.0
        light.dxf.falloff_angle = max(degrees[i], degrees[i + 1]) * 159.0 / 360.0 + 1.0
    for i in range(0, len(degrees) - 3, 4):
        pline = msp.add_polyline2d([(i, 30), (i + 1, 31), (i + 2, 30), (i + 3, 32)])
        pline.dxf.flags |= ezdxf.entities.Polyline.CURVE_FIT_VERTICES_ADDED
        for vertex, tangent in zip(pline.vertices, degrees[i:i + 4]):
            vertex.dxf.flags |= 2  # tangent defined
            vertex.dxf.tangent = tangent
    for i in range(0, len(degrees) - 1, 2):
        start, end = sorted(math.radians(d) for d in degrees[i:i + 2])
        msp.add_ellipse((i, 40), major_axis=(2, 1), ratio=0.5, start_param=start, end_param=end)

    # The other kinds, with whatever angles they carry.
    msp.add_line((0, 0, 0), (1.25, 2.5, 0.1))
    msp.add_circle((5, 5), 1.0 / 3.0)
    msp.add_lwpolyline([(0, 0, 0.1, 0.2, 0.5), (3, 0, 0, 0, -1.0), (3, 3, 0, 0, 0)], format="xyseb", close=True)
    msp.add_polyline3d([(0, 0, 0), (1, 2, 3), (4, 5, 6)])
    mesh = msp.add_polymesh((3, 3))
    for m in range(3):
        for n in range(3):
            mesh.set_mesh_vertex((m, n), (m, n, (m * n) / 3.0))
    msp.add_spline_control_frame([(0, 0), (2, 3), (4, -1), (6, 2)])
    msp.add_open_spline([(0, 50), (2, 53), (4, 49), (6, 52)], degree=3)
    msp.add_solid([(0, 0), (1, 0), (0, 1), (1, 1)])
    msp.add_point((1, 1), dxfattribs={"angle": 33.3})
    msp.add_mtext("note", dxfattribs={"insert": (0, 60), "rotation": 17.5, "char_height": 1})
    block = doc.blocks.new("MARK")
    block.add_circle((0, 0), 1)
    for i, rotation in enumerate(degrees[:40]):
        msp.add_blockref("MARK", (i, 70), dxfattribs={"rotation": rotation})
    # Inserts with attributes, arrays, dimensions and the other kinds drawn through blocks or as marks.
    tagged = doc.blocks.new("TAGGED")
    tagged.add_circle((0, 0), 1)
    tagged.add_attdef("NAME", (0, -1), dxfattribs={"height": 0.5, "rotation": degrees[3]})
    for i, rotation in enumerate(degrees[:10]):
        ref = msp.add_blockref("TAGGED", (i, 80), dxfattribs={"rotation": rotation, "xscale": 1 + i / 3.0})
        ref.add_attrib("NAME", "N%d" % i, (i, 79), dxfattribs={"rotation": degrees[i + 5]})
    msp.add_blockref("MARK", (0, 90), dxfattribs={"row_count": 2, "column_count": 3, "row_spacing": 2.5,
                                                   "column_spacing": 1.5})
    msp.add_linear_dim(base=(0, 100), p1=(0, 95), p2=(7, 95), angle=degrees[7]).render()
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 1), (0, 1, 0)], dxfattribs={"invisible": 10})
    msp.add_leader([(0, 110), (3, 113), (6, 113)])
    msp.add_wipeout([(0, 120), (5, 120), (5, 124)])
    photo = doc.add_image_def("photo.png", size_in_pixel=(64, 48))
    msp.add_image(photo, insert=(10, 120), size_in_units=(6.4, 4.8), rotation=degrees[9])
    msp.add_line((0, 130), (5, 130), dxfattribs={"thickness": 2.5})
    layout = doc.layouts.get("Layout1")
    for i, twist in enumerate(degrees[:8]):
        viewport = layout.add_viewport((50 + i * 20, 50), (15, 15), (i, 0), 10)
        viewport.dxf.view_twist_angle = twist
    doc.saveas(path)


def points_of(entity):
    kind = entity.dxftype()
    if kind == "LWPOLYLINE":
        return [tuple(p) for p in entity.get_points(format="xyseb")]
    if kind == "SPLINE":
        return [list(map(tuple, entity.control_points)), list(entity.knots), list(entity.weights),
                list(map(tuple, entity.fit_points))]
    return None


def compare(original_path, round_trip_path):
    original = ezdxf.readfile(original_path)
    back = ezdxf.readfile(round_trip_path)
    # ezdxf gives handles from the seed up to records it makes itself while reading.
    seed = int(original.header["$HANDSEED"], 16)
    faults = []
    for handle, entity in original.entitydb.items():
        if not isinstance(entity, ezdxf.entities.DXFGraphic) or int(handle, 16) >= seed:
            continue
        other = back.entitydb.get(handle)
        where = "%s %s" % (entity.dxftype(), handle)
        if other is None or other.dxftype() != entity.dxftype():
            faults.append(where + ": missing")
            continue
        before = entity.dxf.all_existing_dxf_attribs()
        after = other.dxf.all_existing_dxf_attribs()
        for name, value in before.items():
            if name not in after:
                faults.append("%s: %s %r is gone" % (where, name, value))
            elif after[name] != value:
                faults.append("%s: %s %r became %r" % (where, name, value, after[name]))
        if points_of(entity) != points_of(other):
            faults.append(where + ": vertices or control data differ")
    for fault in faults[:40]:
        print(fault)
    if faults:
        print("%d differences" % len(faults))
    else:
        print("ok")


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "make":
        make(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "compare":
        compare(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
