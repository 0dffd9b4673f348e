// The non-decreasing knot sequence of a B-spline, with the tolerance under which two
// knot values count as one (for multiplicities and distinct knots).
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include <vantrel/ge/OdGeExport.h>

class VANTREL_GE_EXPORT OdGeKnotVector {
public:
    explicit OdGeKnotVector(double tol = 1e-9) : m_tol(tol) {}
    explicit OdGeKnotVector(std::vector<double> knots, double tol = 1e-9) : m_knots(std::move(knots)), m_tol(tol) {}

    int length() const { return static_cast<int>(m_knots.size()); }
    bool isEmpty() const { return m_knots.empty(); }
    double operator[](int i) const { return m_knots[static_cast<std::size_t>(i)]; }
    double& operator[](int i) { return m_knots[static_cast<std::size_t>(i)]; }
    const std::vector<double>& asVector() const { return m_knots; }
    double startParam() const { return m_knots.front(); }
    double endParam() const { return m_knots.back(); }

    double tolerance() const { return m_tol; }
    void setTolerance(double tol) { m_tol = tol; }

    // Non-decreasing, and at least one span.
    bool isValid() const;
    // How many knots equal param within the tolerance.
    int multiplicityAt(double param) const;
    void getDistinctKnots(std::vector<double>& knots) const;

    OdGeKnotVector& append(double value);
    OdGeKnotVector& insertAt(int index, double value, int multiplicity = 1);
    // Mirrors the sequence: k -> first + last - k, in reverse order.
    OdGeKnotVector& reverse();

    // The span index i with k[i] <= param < k[i+1] among the spans a degree-p curve with
    // numCtrlPts control points uses; the last span takes the end parameter.
    int findSpan(int degree, int numCtrlPts, double param) const;

private:
    std::vector<double> m_knots;
    double m_tol;
};
