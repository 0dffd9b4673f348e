// Affine matrices: inverses, frame alignment, the standard transforms and the OCS pair.
#include <gtest/gtest.h>

#include <vantrel/ge/OdGeMatrix2d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePlane.h>

#include <numbers>
#include <random>
#include <stdexcept>

namespace {

constexpr double kPi = std::numbers::pi;

OdGeMatrix3d randomAffine(std::mt19937& rng)
{
    std::uniform_real_distribution<double> u(-3.0, 3.0);
    OdGeMatrix3d m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            m.entry[i][j] = u(rng);
    return m;
}

TEST(Matrix3d, InverseTimesMatrixIsIdentity)
{
    std::mt19937 rng(7);
    for (int i = 0; i < 50; ++i) {
        const OdGeMatrix3d m = randomAffine(rng);
        if (std::fabs(m.det()) < 1e-3)
            continue;
        const OdGeMatrix3d inv = m.inverse();
        EXPECT_TRUE((inv * m).isEqualTo(OdGeMatrix3d::kIdentity, OdGeTol(1e-10, 1e-9)));
        EXPECT_TRUE((m * inv).isEqualTo(OdGeMatrix3d::kIdentity, OdGeTol(1e-10, 1e-9)));
        EXPECT_NEAR(m.det() * inv.det(), 1.0, 1e-9);
    }
}

TEST(Matrix3d, SingularMatrixIsReportedNotInverted)
{
    OdGeMatrix3d flat = OdGeMatrix3d::scaling(2.0);
    flat.entry[2][2] = 0.0;
    OdGeMatrix3d out;
    EXPECT_FALSE(flat.inverse(out));
    EXPECT_TRUE(flat.isSingular());
    EXPECT_THROW(flat.inverse(), std::domain_error);
    EXPECT_EQ(flat.det(), 0.0);
    // Tiny but regular matrices are not mistaken for singular ones.
    EXPECT_FALSE(OdGeMatrix3d::scaling(1e-6).isSingular());
}

TEST(Matrix3d, ProductOrderAppliesRightFactorFirst)
{
    const OdGeMatrix3d t = OdGeMatrix3d::translation({1, 0, 0});
    const OdGeMatrix3d r = OdGeMatrix3d::rotation(kPi / 2, OdGeVector3d::kZAxis);
    OdGePoint3d p(1, 0, 0);
    p.transformBy(t * r); // rotate, then translate
    EXPECT_TRUE(p.isEqualTo({1, 1, 0}));
    OdGeMatrix3d m = r;
    m.preMultBy(t);
    EXPECT_TRUE(m.isEqualTo(t * r));
    m = r;
    m.postMultBy(t);
    EXPECT_TRUE(m.isEqualTo(r * t));
}

TEST(Matrix3d, AlignCoordSysMapsOneFrameOntoTheOther)
{
    const OdGePoint3d fromO(1, 2, 3), toO(-4, 0, 5);
    const OdGeVector3d fx(1, 1, 0), fy(-1, 1, 0), fz(0, 0, 2);
    const OdGeVector3d tx(0, 0, 1), ty(0, 2, 0), tz(-1, 0, 0);
    const OdGeMatrix3d m = OdGeMatrix3d::alignCoordSys(fromO, fx, fy, fz, toO, tx, ty, tz);
    OdGePoint3d p = fromO + fx * 0.5 - fy * 2.0 + fz * 3.0;
    p.transformBy(m);
    EXPECT_TRUE(p.isEqualTo(toO + tx * 0.5 - ty * 2.0 + tz * 3.0, OdGeTol(1e-12)));
    OdGeVector3d v = fy;
    EXPECT_TRUE(v.transformBy(m).isEqualTo(ty, OdGeTol(1e-12, 1e-12)));

    OdGePoint3d o;
    OdGeVector3d x, y, z;
    OdGeMatrix3d().setCoordSystem(toO, tx, ty, tz).getCoordSystem(o, x, y, z);
    EXPECT_EQ(o, toO);
    EXPECT_EQ(y, ty);
    EXPECT_EQ(z, tz);
}

TEST(Matrix3d, RotationScalingAndMirroringKeepTheirFixedPoints)
{
    const OdGePoint3d c(2, -1, 4);
    const OdGeMatrix3d rot = OdGeMatrix3d::rotation(1.1, OdGeVector3d(1, 2, 3), c);
    OdGePoint3d p = c;
    EXPECT_TRUE(p.transformBy(rot).isEqualTo(c));
    OdGePoint3d onAxis = c + OdGeVector3d(1, 2, 3) * 2.5;
    EXPECT_TRUE(OdGePoint3d(onAxis).transformBy(rot).isEqualTo(onAxis, OdGeTol(1e-12)));
    EXPECT_TRUE(rot.isUniScaledOrtho());
    EXPECT_NEAR(rot.det(), 1.0, 1e-12);

    const OdGeMatrix3d sc = OdGeMatrix3d::scaling(3.0, c);
    EXPECT_TRUE(OdGePoint3d(c).transformBy(sc).isEqualTo(c));
    EXPECT_TRUE(OdGePoint3d(3, -1, 4).transformBy(sc).isEqualTo({5, -1, 4}));
    EXPECT_DOUBLE_EQ(sc.scale(), 3.0);
    EXPECT_TRUE(sc.isUniScaledOrtho());

    const OdGePlane mirrorPlane(OdGePoint3d(0, 0, 1), OdGeVector3d(0, 0, 1));
    const OdGeMatrix3d mir = OdGeMatrix3d::mirroring(mirrorPlane);
    EXPECT_TRUE(OdGePoint3d(5, 6, 3).transformBy(mir).isEqualTo({5, 6, -1}));
    EXPECT_NEAR(mir.det(), -1.0, 1e-12);
    EXPECT_TRUE((mir * mir).isEqualTo(OdGeMatrix3d::kIdentity));
    EXPECT_TRUE(OdGePoint3d(1, 1, 1).transformBy(OdGeMatrix3d::mirroring(c)).isEqualTo({3, -3, 7}));

    OdGeMatrix3d stretch = OdGeMatrix3d::scaling(2.0);
    stretch.entry[1][1] = 1.0;
    EXPECT_FALSE(stretch.isUniScaledOrtho());
}

TEST(Matrix3d, OcsMatricesAreInverseOrthonormalFrames)
{
    const OdGeVector3d normals[] = {{0, 0, 1}, {0, 0, -1}, {0.6, 0, 0.8}, {0.01, -0.01, 1}, {-1, 2, -3}};
    for (const OdGeVector3d& n : normals) {
        const OdGeMatrix3d p2w = OdGeMatrix3d::planeToWorld(n), w2p = OdGeMatrix3d::worldToPlane(n);
        EXPECT_TRUE((p2w * w2p).isEqualTo(OdGeMatrix3d::kIdentity, OdGeTol(1e-12, 1e-12)));
        OdGeVector3d z = OdGeVector3d::kZAxis;
        EXPECT_TRUE(z.transformBy(p2w).isEqualTo(n.normal(), OdGeTol(1e-12, 1e-12)));
        EXPECT_NEAR(p2w.det(), 1.0, 1e-12);
        EXPECT_TRUE(p2w.isUniScaledOrtho());
    }
    // The well-known case: extrusion (0,0,-1) flips X.
    OdGePoint3d p(1, 2, 3);
    EXPECT_TRUE(p.transformBy(OdGeMatrix3d::worldToPlane(OdGeVector3d(0, 0, -1))).isEqualTo({-1, 2, -3}));
}

TEST(Matrix2d, TransformsAndInverse)
{
    const OdGePoint2d c(1, 2);
    const OdGeMatrix2d r = OdGeMatrix2d::rotation(kPi / 2, c);
    EXPECT_TRUE(OdGePoint2d(2, 2).transformBy(r).isEqualTo({1, 3}));
    EXPECT_TRUE((r.inverse() * r).isEqualTo(OdGeMatrix2d::kIdentity));
    const OdGeMatrix2d m = OdGeMatrix2d::mirroring(OdGePoint2d(0, 1), OdGeVector2d(1, 1));
    EXPECT_TRUE(OdGePoint2d(1, 0).transformBy(m).isEqualTo({-1, 2}));
    EXPECT_NEAR(m.det(), -1.0, 1e-15);
    const OdGeMatrix2d s = OdGeMatrix2d::scaling(0.5, c) * OdGeMatrix2d::translation({2, 0});
    EXPECT_TRUE(OdGePoint2d(1, 2).transformBy(s).isEqualTo({2, 2}));
    EXPECT_TRUE((s * s.inverse()).isEqualTo(OdGeMatrix2d::kIdentity));
    OdGeMatrix2d singular = OdGeMatrix2d::scaling(0.0);
    EXPECT_THROW(singular.inverse(), std::domain_error);
}

} // namespace
