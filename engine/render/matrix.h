// 4 x 4 float matrices in the row-vector convention of the renderer (a point times the matrix), stored
// row by row: the orthographic projection, transposition, products and the basic transforms.
#pragma once

struct Matrix4
{
    float m[4][4];
};

Matrix4 Matrix_Identity();
// Left-handed orthographic projection of a width x height box centred on the origin, depth near to far.
Matrix4 Matrix_Ortho_LH(float width, float height, float near_plane, float far_plane);
Matrix4 Matrix_Transpose(const Matrix4& a);
// a then b: a point times the result equals the point times a, then times b.
Matrix4 Matrix_Multiply(const Matrix4& a, const Matrix4& b);
Matrix4 Matrix_Scaling(float x, float y, float z);
// Turns counter-clockwise about z, looking from the viewer with y up, for a positive angle in radians.
Matrix4 Matrix_Rotation_Z(float angle);
Matrix4 Matrix_Translation(float x, float y, float z);
