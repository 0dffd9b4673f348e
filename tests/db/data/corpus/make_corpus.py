# Writes the DXF drawings the reader tests open: one per release from R12 to R2018, each in ASCII
# and binary, with the entities, tables and settings other programs put in real drawings.
# Usage: make_corpus.py DIR
import sys
import ezdxf

RELEASES = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]


def fill(doc, release):
    msp = doc.modelspace()
    modern = release != "R12"
    doc.layers.add("walls", color=3, linetype="DASHED")
    doc.layers.add("glass", color=5)
    if modern:
        doc.layers.get("glass").rgb = (10, 200, 30)  # a true colour next to its palette index
    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "walls"})
    msp.add_line((1e12, -3.25), (0.1, 2e-9), dxfattribs={"color": 1})
    msp.add_circle((5, 5), 3, dxfattribs={"linetype": "CENTER"})
    msp.add_arc((0, 0), 2, 30, 250)
    msp.add_arc((3, 1), 4.5, 149.98986235968184, 30.010137640318135)
    msp.add_point((1, 1))
    msp.add_text("middle", dxfattribs={"height": 2.5}).set_pos((0, 0), align="MIDDLE_CENTER")
    msp.add_text("fit", dxfattribs={"height": 1}).set_pos((0, 5), (10, 5), align="FIT")
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 1), (0, 1, 0)])
    msp.add_solid([(0, 0), (1, 0), (0, 1)])
    msp.add_trace([(0, 0), (1, 0), (0, 1), (1, 1)])
    block = doc.blocks.new("FLAG")
    block.add_line((0, 0), (0, 5))
    block.add_attdef("NAME", (0, 6), dxfattribs={"height": 1})
    doc.blocks.new("EMPTY")
    flag = msp.add_blockref("FLAG", (20, 20), dxfattribs={"rotation": 30, "xscale": 2})
    flag.add_auto_attribs({"NAME": "A1"})
    msp.add_polyline2d([(0, 0), (3, 0), (3, 3)], dxfattribs={"closed": True})
    msp.add_polyline3d([(0, 0, 0), (3, 0, 1), (3, 3, 2)])
    face = msp.add_polyface()
    face.append_face([(0, 0, 0), (1, 0, 0), (1, 1, 0)])
    msp.add_linear_dim(base=(0, 5), p1=(0, 0), p2=(10, 0)).render()
    msp.add_radius_dim(center=(5, 5), radius=3, angle=45).render()
    if not modern:
        return
    msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (5, 0, 0.2, 0.4, 0), (5, 5)], dxfattribs={"closed": True})
    msp.add_ellipse((0, 0), (4, 0), 0.5, 0.3, 5.0)
    msp.add_spline([(0, 0), (1, 2), (3, 1), (4, 4)])
    msp.add_mtext("Multi\\Pline").set_location((30, 30))
    e = msp.add_circle((9, 9), 1)
    e.rgb = (255, 128, 0)
    e.dxf.color = 30
    doc.linetypes.add("GASLINE", pattern='A,.5,-.2,["GAS",STANDARD,S=.1,U=0.0,X=-0.1,Y=-.05],-.25',
                      description="Gas ----GAS----", length=1)
    doc.linetypes.add("BATTING", pattern="A,.0001,-.1,[132,ltypeshp.shx,x=-.1,s=-.1],-.4,[132,ltypeshp.shx,r=180,x=.1,s=.1],-.2",
                      description="Batting", length=0.8)
    msp.add_line((0, -5), (10, -5), dxfattribs={"linetype": "GASLINE"})
    hatch = msp.add_hatch(color=2)
    hatch.paths.add_polyline_path([(0, 0), (2, 0), (2, 2)])
    # The hatch and the last line drawn first, under everything else.
    lines = [x for x in msp if x.dxftype() == "LINE"]
    msp.set_redraw_order([(hatch.dxf.handle, "1"), (lines[-1].dxf.handle, "2")])


def main():
    out = sys.argv[1]
    for release in RELEASES:
        doc = ezdxf.new(release, setup=True)
        fill(doc, release)
        doc.saveas(f"{out}/{release}.dxf")
        doc.saveas(f"{out}/{release}-binary.dxf", fmt="bin")
    # Old releases in the code pages of their users.
    for release, codepage, encoding, name in [("R12", "ANSI_1251", "cp1251", "Стены"),
                                              ("R2000", "ANSI_1252", "cp1252", "Zwischenwände"),
                                              ("R2004", "ANSI_932", "cp932", "壁")]:
        doc = ezdxf.new(release)
        doc.header["$DWGCODEPAGE"] = codepage
        doc.layers.add(name, color=4)
        doc.modelspace().add_text(name, dxfattribs={"layer": name, "height": 1})
        doc.saveas(f"{out}/{release}-{codepage}.dxf", encoding=encoding)


main()
