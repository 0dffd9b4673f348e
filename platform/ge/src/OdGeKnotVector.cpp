// Knot sequences: validity, multiplicities and the span search used by evaluation.
#include <vantrel/ge/OdGeKnotVector.h>

#include <algorithm>
#include <cmath>

bool OdGeKnotVector::isValid() const
{
    return m_knots.size() >= 2 && std::is_sorted(m_knots.begin(), m_knots.end()) && m_knots.front() < m_knots.back();
}

int OdGeKnotVector::multiplicityAt(double param) const
{
    return static_cast<int>(
        std::count_if(m_knots.begin(), m_knots.end(), [&](double k) { return std::fabs(k - param) <= m_tol; }));
}

void OdGeKnotVector::getDistinctKnots(std::vector<double>& knots) const
{
    knots.clear();
    for (double k : m_knots)
        if (knots.empty() || k - knots.back() > m_tol)
            knots.push_back(k);
}

OdGeKnotVector& OdGeKnotVector::append(double value)
{
    m_knots.push_back(value);
    return *this;
}

OdGeKnotVector& OdGeKnotVector::insertAt(int index, double value, int multiplicity)
{
    m_knots.insert(m_knots.begin() + index, static_cast<size_t>(multiplicity), value);
    return *this;
}

OdGeKnotVector& OdGeKnotVector::reverse()
{
    if (m_knots.empty())
        return *this;
    const double sum = m_knots.front() + m_knots.back();
    std::reverse(m_knots.begin(), m_knots.end());
    for (double& k : m_knots)
        k = sum - k;
    return *this;
}

int OdGeKnotVector::findSpan(int degree, int numCtrlPts, double param) const
{
    const int n = numCtrlPts - 1;
    if (param >= (*this)[n + 1])
        return n;
    if (param <= (*this)[degree])
        return degree;
    // Last index in [degree, n] whose knot is <= param.
    const auto first = m_knots.begin() + degree, last = m_knots.begin() + n + 1;
    return static_cast<int>(std::upper_bound(first, last, param) - m_knots.begin()) - 1;
}
