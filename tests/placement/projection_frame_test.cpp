#include "placement/projection_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "matrix3.h"
#include "placement/jacobi_eigen_solve.h"
#include "placement/orient_projection_direction.h"
#include "placement/sort_eigen_descending.h"
#include "tab.h"

namespace {

Tab<Point3> Points(std::initializer_list<Point3> list) {
    Tab<Point3> table;
    for (const Point3& p : list) table.Append(1, &p);
    return table;
}

void ExpectRow(const Matrix3& frame, int row, const Point3& expected) {
    const Point3 actual = frame.GetRow(row);
    EXPECT_EQ(actual, expected) << "row " << row << ": (" << actual.x << ", " << actual.y << ", "
                                << actual.z << ")";
}

void ExpectRightHandedUnitRows(const Matrix3& frame) {
    const Point3 r0 = frame.GetRow(0);
    const Point3 r1 = frame.GetRow(1);
    const Point3 r2 = frame.GetRow(2);
    EXPECT_NEAR(Length(r0), 1.0f, 1e-5f);
    EXPECT_NEAR(Length(r1), 1.0f, 1e-5f);
    EXPECT_NEAR(Length(r2), 1.0f, 1e-5f);
    EXPECT_NEAR(DotProd(r0, r1), 0.0f, 1e-5f);
    EXPECT_NEAR(DotProd(r0, r2), 0.0f, 1e-5f);
    EXPECT_NEAR(DotProd(r1, r2), 0.0f, 1e-5f);
    EXPECT_GT(DotProd(CrossProd(r0, r1), r2), 0.0f);
}

// A 3x3 working set with row pointers, as the solver takes it.
struct Matrix3x3 {
    float rows[3][3] = {};
    float* ptr[3] = {rows[0], rows[1], rows[2]};
};

}  // namespace

TEST(JacobiEigenSolve, DiagonalMatrixReturnsAtOnce) {
    Matrix3x3 a;
    a.rows[0][0] = 4.0f;
    a.rows[1][1] = 1.0f;
    Matrix3x3 v;
    v.rows[0][2] = 7.0f;  // must be overwritten by the identity
    float d[3] = {9.0f, 9.0f, 9.0f};
    JacobiEigenSolve(a.ptr, 3, d, v.ptr);
    EXPECT_EQ(d[0], 4.0f);
    EXPECT_EQ(d[1], 1.0f);
    EXPECT_EQ(d[2], 0.0f);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(v.rows[r][c], r == c ? 1.0f : 0.0f);
}

TEST(JacobiEigenSolve, DecomposesSymmetricMatrix) {
    const float input[3][3] = {{4.0f, 1.0f, -2.0f}, {1.0f, 3.0f, 0.5f}, {-2.0f, 0.5f, 1.0f}};
    Matrix3x3 a;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) a.rows[r][c] = input[r][c];
    Matrix3x3 v;
    float d[3];
    JacobiEigenSolve(a.ptr, 3, d, v.ptr);

    // Upper triangle consumed, diagonal and lower triangle untouched.
    EXPECT_EQ(a.rows[0][1], 0.0f);
    EXPECT_EQ(a.rows[0][2], 0.0f);
    EXPECT_EQ(a.rows[1][2], 0.0f);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c <= r; ++c) EXPECT_EQ(a.rows[r][c], input[r][c]);

    for (int k = 0; k < 3; ++k) {
        for (int r = 0; r < 3; ++r) {
            float av = 0.0f;
            for (int c = 0; c < 3; ++c) av += input[r][c] * v.rows[c][k];
            EXPECT_NEAR(av, d[k] * v.rows[r][k], 1e-5f) << "eigenpair " << k;
        }
        for (int m = 0; m < 3; ++m) {
            float dot = 0.0f;
            for (int r = 0; r < 3; ++r) dot += v.rows[r][k] * v.rows[r][m];
            EXPECT_NEAR(dot, k == m ? 1.0f : 0.0f, 1e-6f);
        }
    }
}

TEST(JacobiEigenSolve, SymmetricPairRotatesExactly) {
    // theta = 0 gives t = 1: the eigenvalues 1 and 3 come out exact.
    float rows[2][2] = {{2.0f, 1.0f}, {1.0f, 2.0f}};
    float vRows[2][2];
    float* a[2] = {rows[0], rows[1]};
    float* v[2] = {vRows[0], vRows[1]};
    float d[2];
    JacobiEigenSolve(a, 2, d, v);
    EXPECT_EQ(d[0], 1.0f);
    EXPECT_EQ(d[1], 3.0f);
    const float half = std::sqrt(0.5f);
    EXPECT_NEAR(v[0][0], half, 1e-7f);
    EXPECT_NEAR(v[1][0], -half, 1e-7f);
    EXPECT_NEAR(v[0][1], half, 1e-7f);
    EXPECT_NEAR(v[1][1], half, 1e-7f);
}

TEST(JacobiEigenSolve, OverflowingThetaOnlyClearsThePair) {
    // theta = 1e20: theta * theta overflows, t = 0. A shortcut for a large
    // difference would rotate by about 5e-21 and move d[0] and v off exact values.
    Matrix3x3 a;
    a.rows[0][1] = 1.0f;
    a.rows[1][0] = 1.0f;
    a.rows[1][1] = 2.0e20f;
    Matrix3x3 v;
    float d[3];
    JacobiEigenSolve(a.ptr, 3, d, v.ptr);
    EXPECT_EQ(a.rows[0][1], 0.0f);
    EXPECT_EQ(d[0], 0.0f);
    EXPECT_EQ(d[1], 2.0e20f);
    EXPECT_EQ(d[2], 0.0f);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(v.rows[r][c], r == c ? 1.0f : 0.0f);
}

TEST(JacobiEigenSolve, NotANumberStopsAtOnce) {
    Matrix3x3 a;
    a.rows[0][0] = 1.0f;
    a.rows[0][1] = std::numeric_limits<float>::quiet_NaN();
    a.rows[1][2] = 3.0f;
    Matrix3x3 v;
    float d[3];
    JacobiEigenSolve(a.ptr, 3, d, v.ptr);
    EXPECT_EQ(a.rows[1][2], 3.0f);
    EXPECT_EQ(d[0], 1.0f);
    EXPECT_EQ(v.rows[0][0], 1.0f);
    EXPECT_EQ(v.rows[0][1], 0.0f);
}

TEST(SortEigenDescending, OrdersValuesAndColumns) {
    float d[3] = {1.0f, 3.0f, 2.0f};
    // Column k is (k, 10 + k, 20 + k) so that the moves can be followed.
    Matrix3x3 v;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) v.rows[r][c] = static_cast<float>(10 * r + c);
    SortEigenDescending(d, v.ptr, 3);
    EXPECT_EQ(d[0], 3.0f);
    EXPECT_EQ(d[1], 2.0f);
    EXPECT_EQ(d[2], 1.0f);
    const int order[3] = {1, 2, 0};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(v.rows[r][c], static_cast<float>(10 * r + order[c]));
}

TEST(SortEigenDescending, TiesMoveTheLaterIndexForward) {
    float d[3] = {0.0f, 0.0f, 0.0f};
    Matrix3x3 v;
    for (int k = 0; k < 3; ++k) v.rows[k][k] = 1.0f;
    SortEigenDescending(d, v.ptr, 3);
    // Columns (0, 0, 1), (1, 0, 0), (0, 1, 0).
    const int source[3] = {2, 0, 1};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(v.rows[r][c], r == source[c] ? 1.0f : 0.0f);
}

TEST(SortEigenDescending, NotANumberStaysInPlace) {
    float d[3] = {std::numeric_limits<float>::quiet_NaN(), 1.0f, 2.0f};
    Matrix3x3 v;
    for (int k = 0; k < 3; ++k) v.rows[k][k] = 1.0f;
    SortEigenDescending(d, v.ptr, 3);
    EXPECT_TRUE(std::isnan(d[0]));
    EXPECT_EQ(d[1], 2.0f);
    EXPECT_EQ(d[2], 1.0f);
    EXPECT_EQ(v.rows[0][0], 1.0f);
    EXPECT_EQ(v.rows[2][1], 1.0f);
    EXPECT_EQ(v.rows[1][2], 1.0f);
}

TEST(ComputeProjectionFrame, FourCorners) {
    const Matrix3 frame = ComputeProjectionFrame(
        Points({{0.0f, 0.0f, 0.0f}, {2.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {2.0f, 1.0f, 0.0f}}));
    ExpectRow(frame, 0, Point3(1.0f, 0.0f, 0.0f));
    ExpectRow(frame, 1, Point3(0.0f, 1.0f, 0.0f));
    ExpectRow(frame, 2, Point3(0.0f, 0.0f, 1.0f));
    ExpectRow(frame, 3, Point3(1.0f, 0.5f, 0.0f));
}

TEST(ComputeProjectionFrame, OnePointAndCoincidingPoints) {
    const Point3 p(3.0f, -2.0f, 5.0f);
    for (const Tab<Point3>& points : {Points({p}), Points({p, p, p, p, p})}) {
        const Matrix3 frame = ComputeProjectionFrame(points);
        ExpectRow(frame, 0, Point3(0.0f, 0.0f, 1.0f));
        ExpectRow(frame, 1, Point3(1.0f, 0.0f, 0.0f));
        ExpectRow(frame, 2, Point3(0.0f, 1.0f, 0.0f));
        ExpectRow(frame, 3, p);
    }
}

TEST(ComputeProjectionFrame, PointsOnLineAlongXFlipToRightHanded) {
    const Matrix3 frame = ComputeProjectionFrame(
        Points({{0.0f, 1.0f, 2.0f}, {1.0f, 1.0f, 2.0f}, {3.0f, 1.0f, 2.0f}}));
    ExpectRow(frame, 0, Point3(-1.0f, 0.0f, 0.0f));
    ExpectRow(frame, 1, Point3(0.0f, 0.0f, -1.0f));
    ExpectRow(frame, 2, Point3(0.0f, -1.0f, 0.0f));
    // Centroid as the sum times the reciprocal of the count, in float.
    const float r = 1.0f / 3.0f;
    ExpectRow(frame, 3, Point3(4.0f * r, 3.0f * r, 6.0f * r));
}

TEST(ComputeProjectionFrame, FlatShapeParallelToXY) {
    const Matrix3 frame = ComputeProjectionFrame(Points({{0.0f, 0.0f, 2.0f},
                                                         {3.0f, 1.0f, 2.0f},
                                                         {1.0f, 4.0f, 2.0f},
                                                         {-2.0f, 1.5f, 2.0f},
                                                         {0.5f, -1.0f, 2.0f}}));
    const Point3 normal = frame.GetRow(2);
    EXPECT_EQ(normal.x, 0.0f);
    EXPECT_EQ(normal.y, 0.0f);
    EXPECT_EQ(std::fabs(normal.z), 1.0f);
    ExpectRightHandedUnitRows(frame);

    const Matrix3 shapeTM = TransMatrix(Point3(5.0f, 5.0f, 10.0f));
    const Matrix3 objectBelow = TransMatrix(Point3(5.0f, 5.0f, -3.0f));
    const Matrix3 objectAbove = TransMatrix(Point3(0.0f, 0.0f, 20.0f));
    EXPECT_EQ(OrientProjectionDirection(frame, objectBelow, shapeTM), Point3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(OrientProjectionDirection(frame, objectAbove, shapeTM), Point3(0.0f, 0.0f, 1.0f));
}

TEST(ComputeProjectionFrame, FlatShapeOfGeneralOrientation) {
    const Point3 normal = Normalize(Point3(1.0f, 2.0f, 3.0f));
    const Point3 major = Normalize(Point3(2.0f, -1.0f, 0.0f));
    const Point3 minor = CrossProd(normal, major);
    Tab<Point3> points;
    const Point3 origin(10.0f, -4.0f, 7.0f);
    for (int i = 0; i < 12; ++i) {
        const float angle = 0.5236f * static_cast<float>(i);
        const Point3 p =
            origin + major * (6.0f * std::cos(angle)) + minor * (2.0f * std::sin(angle));
        points.Append(1, &p);
    }
    const Matrix3 frame = ComputeProjectionFrame(points);
    ExpectRightHandedUnitRows(frame);
    EXPECT_NEAR(std::fabs(DotProd(frame.GetRow(0), major)), 1.0f, 1e-5f);
    EXPECT_NEAR(std::fabs(DotProd(frame.GetRow(2), normal)), 1.0f, 1e-5f);
    const Point3 centroid = frame.GetRow(3);
    EXPECT_NEAR(centroid.x, origin.x, 1e-4f);
    EXPECT_NEAR(centroid.y, origin.y, 1e-4f);
    EXPECT_NEAR(centroid.z, origin.z, 1e-4f);

    // The object's node lies on the positive side of the normal, seen from the shape.
    const Matrix3 shapeTM = TransMatrix(Point3(1.0f, 1.0f, 1.0f));
    const Matrix3 objectTM = TransMatrix(Point3(1.0f, 1.0f, 1.0f) + normal * 50.0f);
    const Point3 d = OrientProjectionDirection(frame, objectTM, shapeTM);
    EXPECT_NEAR(DotProd(d, normal), 1.0f, 1e-5f);
    const Point3 back = OrientProjectionDirection(frame, shapeTM, objectTM);
    EXPECT_NEAR(DotProd(back, normal), -1.0f, 1e-5f);
}

TEST(ComputeProjectionFrame, NotANumberPointGivesDefinedFrame) {
    // The scatter holds NaN: the solver stops at once; the sort and the failing
    // handedness test then fix the rows.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Matrix3 frame = ComputeProjectionFrame(Points({{0.0f, 0.0f, 0.0f}, {nan, 0.0f, 0.0f}}));
    ExpectRow(frame, 0, Point3(-1.0f, 0.0f, 0.0f));
    ExpectRow(frame, 1, Point3(0.0f, 0.0f, -1.0f));
    ExpectRow(frame, 2, Point3(0.0f, -1.0f, 0.0f));
    EXPECT_TRUE(std::isnan(frame.GetRow(3).x));
}

TEST(ComputeProjectionFrame, EmptyTableRaisesTableError) {
    const Tab<Point3> empty;
    try {
        ComputeProjectionFrame(empty);
        FAIL() << "no error raised";
    } catch (const TabOutOfRangeException& error) {
        EXPECT_EQ(std::string(error.what()), "Invalid index passed into a Max SDK Tab::operator[]");
    }
}

TEST(OrientProjectionDirection, CoincidingNodesKeepTheFrameDirection) {
    const Matrix3 frame(Point3(-1.0f, 0.0f, 0.0f), Point3(0.0f, 0.0f, -1.0f),
                        Point3(0.0f, -1.0f, 0.0f), Point3(0.0f, 0.0f, 0.0f));
    const Matrix3 node = TransMatrix(Point3(4.0f, 5.0f, 6.0f));
    EXPECT_EQ(OrientProjectionDirection(frame, node, node), Point3(0.0f, -1.0f, 0.0f));
    // The orientation vector is used in world space: the object's rotation is ignored.
    Matrix3 rotatedObject = RotateZMatrix(3.0f);
    rotatedObject.SetTrans(Point3(4.0f, 9.0f, 6.0f));
    EXPECT_EQ(OrientProjectionDirection(frame, rotatedObject, node), Point3(0.0f, 1.0f, 0.0f));
}
