// Matrix helpers.
#include "engine/render/matrix.h"

#include <cmath>

Matrix4 Matrix_Identity()
{
    Matrix4 r = {};
    for (int i = 0; i < 4; ++i)
        r.m[i][i] = 1.0f;
    return r;
}

Matrix4 Matrix_Ortho_LH(float width, float height, float near_plane, float far_plane)
{
    Matrix4 r = Matrix_Identity();
    r.m[0][0] = 2.0f / width;
    r.m[1][1] = 2.0f / height;
    r.m[2][2] = 1.0f / (far_plane - near_plane);
    r.m[3][2] = near_plane / (near_plane - far_plane);
    return r;
}

Matrix4 Matrix_Transpose(const Matrix4& a)
{
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[j][i];
    return r;
}

Matrix4 Matrix_Multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 r = {};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

Matrix4 Matrix_Scaling(float x, float y, float z)
{
    Matrix4 r = Matrix_Identity();
    r.m[0][0] = x;
    r.m[1][1] = y;
    r.m[2][2] = z;
    return r;
}

Matrix4 Matrix_Rotation_Z(float angle)
{
    Matrix4 r = Matrix_Identity();
    float c = std::cos(angle), s = std::sin(angle);
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    return r;
}

Matrix4 Matrix_Translation(float x, float y, float z)
{
    Matrix4 r = Matrix_Identity();
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}
