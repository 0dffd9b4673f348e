// Curve queries for tests: each expects the query to succeed and answers its value.
#pragma once

#include <gtest/gtest.h>

#include <vantrel/db/OdDbCurve.h>

inline double lengthOf(const OdDbCurve& c)
{
    double end = 0.0, len = -1.0;
    EXPECT_EQ(c.getEndParam(end), eOk);
    EXPECT_EQ(c.getDistAtParam(end, len), eOk);
    return len;
}

inline OdGePoint3d pointAtDist(const OdDbCurve& c, double dist)
{
    OdGePoint3d p;
    EXPECT_EQ(c.getPointAtDist(dist, p), eOk) << dist;
    return p;
}
