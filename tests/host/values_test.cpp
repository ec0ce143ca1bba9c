#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "interval.h"
#include "matrix3.h"
#include "point3.h"
#include "tab.h"

TEST(Point3, CrossDotLengthAndNormalize) {
    Point3 x(1.0f, 0.0f, 0.0f), y(0.0f, 1.0f, 0.0f);
    EXPECT_EQ(x ^ y, Point3(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(CrossProd(y, x), Point3(0.0f, 0.0f, -1.0f));
    EXPECT_FLOAT_EQ(Point3(1.0f, 2.0f, 3.0f) % Point3(4.0f, 5.0f, 6.0f), 32.0f);
    EXPECT_FLOAT_EQ(Length(Point3(3.0f, 4.0f, 12.0f)), 13.0f);
    EXPECT_EQ(Normalize(Point3(0.0f, 0.0f, 5.0f)), Point3(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(-Point3(1.0f, -2.0f, 0.0f), Point3(-1.0f, 2.0f, 0.0f));
}

TEST(Point3, NormalizeOfZeroIsZeroAndNaNStaysNaN) {
    EXPECT_EQ(Normalize(Point3(0.0f, 0.0f, 0.0f)), Point3(0.0f, 0.0f, 0.0f));
    Point3 n = Normalize(Point3(std::nanf(""), 1.0f, 0.0f));
    EXPECT_TRUE(std::isnan(n.x));
}

TEST(Matrix3, RowsFlagsAndPreScale) {
    Matrix3 m;
    EXPECT_TRUE(m.IsIdentity());
    m.SetRow(3, Point3(1.0f, 2.0f, 3.0f));
    m.ValidateFlags();
    EXPECT_EQ(m.GetIdentFlags(), DWORD(ROT_IDENT | SCL_IDENT));
    m.PreScale(Point3(-1.0f, -1.0f, -1.0f));
    EXPECT_EQ(m.GetRow(0), Point3(-1.0f, 0.0f, 0.0f));
    EXPECT_EQ(m.GetRow(2), Point3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(m.GetRow(3), Point3(1.0f, 2.0f, 3.0f));  // translation untouched
    m.PreScale(Point3(2.0f, 2.0f, 2.0f), TRUE);
    EXPECT_EQ(m.GetRow(3), Point3(2.0f, 4.0f, 6.0f));
}

TEST(Matrix3, PointTimesMatrixProductAndInverse) {
    Matrix3 m = RotateZMatrix(0.5f) * ScaleMatrix(Point3(2.0f, 3.0f, 4.0f)) *
                TransMatrix(Point3(10.0f, -5.0f, 1.0f));
    Point3 p(1.0f, 2.0f, 3.0f);
    Point3 q = p * m;
    Matrix3 r = RotateZMatrix(0.5f);
    Point3 step = p * r;
    Point3 expected(step.x * 2.0f + 10.0f, step.y * 3.0f - 5.0f, step.z * 4.0f + 1.0f);
    EXPECT_NEAR(q.x, expected.x, 1e-5);
    EXPECT_NEAR(q.y, expected.y, 1e-5);
    EXPECT_NEAR(q.z, expected.z, 1e-5);
    Point3 back = q * Inverse(m);
    EXPECT_NEAR(back.x, p.x, 1e-5);
    EXPECT_NEAR(back.y, p.y, 1e-5);
    EXPECT_NEAR(back.z, p.z, 1e-5);
    // Rows are the images of the axes.
    EXPECT_EQ(Point3(0.0f, 0.0f, 1.0f) * TransMatrix(Point3(1.0f, 1.0f, 1.0f)),
              Point3(1.0f, 1.0f, 2.0f));
}

TEST(Matrix3, SingularInverseIsIdentityNotNaN) {
    Matrix3 flat = ScaleMatrix(Point3(1.0f, 0.0f, 1.0f));
    EXPECT_TRUE(Inverse(flat).IsIdentity());
    Matrix3 nan = ScaleMatrix(Point3(std::nanf(""), 1.0f, 1.0f));
    EXPECT_TRUE(Inverse(nan).IsIdentity());
}

TEST(Interval, IntersectionAndEmptiness) {
    Interval valid = FOREVER;
    EXPECT_TRUE(valid.InInterval(0));
    EXPECT_TRUE(valid.InInterval(TIME_PosInfinity));
    valid &= Interval(10, 20);
    EXPECT_EQ(valid, Interval(10, 20));
    valid &= Interval(15, 15);
    EXPECT_EQ(valid, Interval(15, 15));
    valid &= Interval(16, 30);
    EXPECT_TRUE(valid.Empty());
    EXPECT_EQ(NEVER, Interval(TIME_NegInfinity, TIME_NegInfinity));
    EXPECT_FALSE(NEVER.InInterval(TIME_NegInfinity));
    Interval v = NEVER;
    v &= FOREVER;
    EXPECT_TRUE(v.Empty());
}

TEST(Tab, OutOfRangeRaisesTheHostError) {
    Tab<Point3> tab;
    EXPECT_THROW(tab[0], TabOutOfRangeException);
    Point3 p(1.0f, 2.0f, 3.0f);
    tab.Append(1, &p);
    EXPECT_EQ(tab.Count(), 1);
    EXPECT_EQ(tab[0], p);
    EXPECT_THROW(tab[1], TabOutOfRangeException);
    EXPECT_THROW(tab[-1], TabOutOfRangeException);
    try {
        tab[5];
        FAIL();
    } catch (const std::out_of_range& err) {
        EXPECT_STREQ(err.what(), "Invalid index passed into a Max SDK Tab::operator[]");
    }
}
