# Compares ezdxf's view of DXF drawings with its view of vantrel's saves of them: the same
# entities with the same attributes (an attribute left out counts as its default), layers,
# linetypes and draw order, and an audit no worse than the input's.
# Usage: compare.py INPUT OUTPUT [INPUT OUTPUT ...]; prints each difference, exits 1 on any.
import sys
import ezdxf

# Handles differ between a file and its save (an old release has none; readers invent some).
IGNORED = {"handle", "owner", "plotstyle_handle", "material_handle"}


def attribs(entity):
    values = {}
    for name in entity.DXFATTRIBS._attribs:
        if name in IGNORED:
            continue
        value = entity.dxf.get(name, None)
        if value is None:
            value = getattr(entity.DXFATTRIBS.get(name), "default", None)
        if value is not None:
            values[name] = tuple(value) if hasattr(value, "__iter__") and not isinstance(value, str) else value
    return values


def view(doc):
    def entities(layout):
        return [(e.dxftype(), attribs(e)) for e in layout]

    def pattern(linetype):
        return [(t.code, t.value) for t in linetype.pattern_tags.tags
                if t.code not in (5, 340) and not (t.code == 74 and t.value == 0)]

    msp = doc.modelspace()
    stored = list(msp)
    return {
        "entities": entities(msp),
        "draw order": [stored.index(e) for e in msp.entities_in_redraw_order()],
        "blocks": {b.name: entities(b) for b in doc.blocks if not b.name.lower().startswith(("*model", "*paper"))},
        "layers": {l.dxf.name: attribs(l) for l in doc.layers},
        "linetypes": {l.dxf.name: pattern(l) for l in doc.linetypes},
    }


def differences(a, b, path=""):
    number = (int, float)
    if isinstance(a, number) and isinstance(b, number) and not isinstance(a, bool) and not isinstance(b, bool):
        return [] if a == b else [f"{path}: {a!r} != {b!r}"]
    if type(a) != type(b):
        return [f"{path}: {a!r} != {b!r}"]
    if isinstance(a, dict):
        out = []
        for k in sorted(set(a) | set(b), key=str):
            if k not in a or k not in b:
                out.append(f"{path}/{k}: only in the {'output' if k not in a else 'input'}")
            else:
                out += differences(a[k], b[k], f"{path}/{k}")
        return out
    if isinstance(a, (list, tuple)):
        if len(a) != len(b):
            return [f"{path}: {len(a)} items != {len(b)}"]
        out = []
        for i, (x, y) in enumerate(zip(a, b)):
            out += differences(x, y, f"{path}[{i}]")
        return out
    return [] if a == b else [f"{path}: {a!r} != {b!r}"]


def main():
    failed = False
    args = sys.argv[1:]
    for source, saved in zip(args[0::2], args[1::2]):
        before = ezdxf.readfile(source)
        after = ezdxf.readfile(saved)
        errors_before = len(before.audit().errors)
        errors_after = len(after.audit().errors)
        found = differences(view(before), view(after))
        if errors_after > errors_before:
            found.append(f"audit: {errors_after} errors, the input had {errors_before}")
        for d in found[:10]:
            print(f"{source}: {d}")
        failed = failed or bool(found)
    print("differences" if failed else "ok")
    sys.exit(1 if failed else 0)


main()
