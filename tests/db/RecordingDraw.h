// A WorldDraw sink that records what an entity draws, for tests of subWorldDraw.
#pragma once

#include <vector>

#include <vantrel/db/WorldDraw.h>

struct RecordingDraw : vantrel::WorldDraw {
    struct Arc {
        OdGePoint3d center;
        double radius;
        OdGeVector3d normal, startVector;
        double sweep;
    };
    struct Marker {
        OdGePoint3d position;
        vantrel::MarkerKind kind;
    };

    std::vector<std::vector<vantrel::PathVertex>> paths;
    std::vector<std::vector<OdGePoint3d>> polygons;
    std::vector<bool> filled;
    std::vector<Arc> arcs;
    std::vector<vantrel::TextRun> texts;
    std::vector<std::vector<std::vector<OdGePoint3d>>> regions;
    std::vector<Marker> markers;
    struct Symbol {
        OdGePoint3d position;
        std::vector<OdGeVector3d> offsets;
    };
    std::vector<Symbol> symbols;
    std::vector<vantrel::DrawTraits> traits;
    struct Ellipse {
        OdGePoint3d center;
        OdGeVector3d major, minor;
        double start, end;
    };
    std::vector<Ellipse> ellipses;

    void setTraits(const vantrel::DrawTraits& t) override { traits.push_back(t); }
    void path(std::span<const vantrel::PathVertex> v, bool, const OdGeVector3d&) override
    {
        paths.emplace_back(v.begin(), v.end());
    }
    void polygon(std::span<const OdGePoint3d> c, bool f) override
    {
        polygons.emplace_back(c.begin(), c.end());
        filled.push_back(f);
    }
    void circularArc(const OdGePoint3d& c, double r, const OdGeVector3d& n, const OdGeVector3d& s,
                     double sweep) override
    {
        arcs.push_back({c, r, n, s, sweep});
    }
    void ellipticArc(const OdGePoint3d& c, const OdGeVector3d& major, const OdGeVector3d& minor, double a0,
                     double a1) override
    {
        ellipses.push_back({c, major, minor, a0, a1});
    }
    void region(std::span<const std::vector<OdGePoint3d>> loops) override
    {
        regions.emplace_back(loops.begin(), loops.end());
    }
    void text(const vantrel::TextRun& run) override { texts.push_back(run); }
    void marker(const OdGePoint3d& p, vantrel::MarkerKind k, double) override { markers.push_back({p, k}); }
    void markerPolyline(const OdGePoint3d& p, std::span<const OdGeVector3d> o, double) override
    {
        symbols.push_back({p, {o.begin(), o.end()}});
    }
};
