// Tolerances for geometric comparisons: points compare by distance, vectors by the
// length of their difference (or, for directions, of their unit difference).
#pragma once

#include <vantrel/ge/OdGeExport.h>

class VANTREL_GE_EXPORT OdGeTol {
public:
    constexpr OdGeTol(double eqPoint = 1e-10, double eqVector = 1e-10) noexcept
        : m_equalPoint(eqPoint), m_equalVector(eqVector)
    {
    }

    constexpr double equalPoint() const noexcept { return m_equalPoint; }
    constexpr double equalVector() const noexcept { return m_equalVector; }
    constexpr void setEqualPoint(double tol) noexcept { m_equalPoint = tol; }
    constexpr void setEqualVector(double tol) noexcept { m_equalVector = tol; }

private:
    double m_equalPoint;
    double m_equalVector;
};
