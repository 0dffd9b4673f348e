// A (possibly rational) B-spline curve in the plane: degree, knots, control points and
// optional weights. Evaluates by de Boor basis functions; splits by knot insertion;
// interpolates fit points; converts lines and circular/elliptical arcs exactly.
#pragma once

#include <optional>

#include <vantrel/ge/OdGeCurve2d.h>
#include <vantrel/ge/OdGeKnotVector.h>

class OdGeLineSeg2d;
class OdGeCircArc2d;
class OdGeEllipArc2d;

class VANTREL_GE_EXPORT OdGeNurbCurve2d : public OdGeCurve2d {
public:
    OdGeNurbCurve2d(); // degree 1 from the origin to (1, 0)
    // knots.length() must be controlPoints.size() + degree + 1; weights empty or one per point.
    OdGeNurbCurve2d(int degree, const OdGeKnotVector& knots, const std::vector<OdGePoint2d>& controlPoints,
                    const std::vector<double>& weights = {});
    explicit OdGeNurbCurve2d(const OdGeLineSeg2d& line);
    // Rational quadratic, at most a quarter turn per piece; the parameter runs over the
    // arc's angle range but is not the angle itself between knots.
    explicit OdGeNurbCurve2d(const OdGeEllipArc2d& arc);
    explicit OdGeNurbCurve2d(const OdGeCircArc2d& arc);

    // Chord-length interpolation (degree 3, or lower for too few points). Zero tangents
    // leave an end free; closed joins the end to the start with a common tangent.
    // Nullopt when fewer than two distinct points are given.
    static std::optional<OdGeNurbCurve2d> interpolate(const std::vector<OdGePoint2d>& fitPoints,
                                                      const OdGeVector2d& startTangent = OdGeVector2d::kIdentity,
                                                      const OdGeVector2d& endTangent = OdGeVector2d::kIdentity,
                                                      bool closed = false, int degree = 3,
                                                      const OdGeTol& tol = OdGeContext::gTol);

    OdGeNurbCurve2d& set(int degree, const OdGeKnotVector& knots, const std::vector<OdGePoint2d>& controlPoints,
                         const std::vector<double>& weights = {});

    int degree() const { return m_degree; }
    int order() const { return m_degree + 1; }
    bool isRational() const { return !m_weights.empty(); }
    // Knot count, control count and weights agree, knots rise, weights are positive.
    // set() and the constructor require it; check data from outside first.
    static bool isValidDefinition(int degree, const OdGeKnotVector& knots,
                                  const std::vector<OdGePoint2d>& controlPoints, const std::vector<double>& weights);
    bool isValid() const { return isValidDefinition(m_degree, m_knots, m_ctrl, m_weights); }

    int numControlPoints() const { return static_cast<int>(m_ctrl.size()); }
    const OdGePoint2d& controlPointAt(int i) const { return m_ctrl[static_cast<std::size_t>(i)]; }
    OdGeNurbCurve2d& setControlPointAt(int i, const OdGePoint2d& pt);
    const std::vector<OdGePoint2d>& controlPoints() const { return m_ctrl; }
    double weightAt(int i) const { return m_weights.empty() ? 1.0 : m_weights[static_cast<std::size_t>(i)]; }
    OdGeNurbCurve2d& setWeightAt(int i, double weight);
    const std::vector<double>& weights() const { return m_weights; }
    const OdGeKnotVector& knots() const { return m_knots; }
    int numKnots() const { return m_knots.length(); }
    double knotAt(int i) const { return m_knots[i]; }

    // Adds a knot without changing the curve's shape.
    OdGeNurbCurve2d& insertKnot(double param);

    std::unique_ptr<OdGeCurve2d> copy() const override;
    void getInterval(double& startParam, double& endParam) const override;
    OdGePoint2d evalPoint(double param) const override;
    OdGePoint2d evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const override;
    void getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                        std::unique_ptr<OdGeCurve2d>& piece2) const override;
    OdGeNurbCurve2d& transformBy(const OdGeMatrix2d& m) override;
    OdGeNurbCurve2d& reverseParam() override;

protected:
    // Several samples in every knot span, so each polynomial piece is searched.
    std::vector<double> seedParams() const override;

private:
    int m_degree = 1;
    OdGeKnotVector m_knots;
    std::vector<OdGePoint2d> m_ctrl;
    std::vector<double> m_weights;
};
