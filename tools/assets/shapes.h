// More shapes for the drawing library: outlines made of many segments (paths with curves, stars, the
// letters of a TrueType font), combinations of shapes, and shapes moved by an affine transform.
#pragma once
#include "canvas.h"

#include <string>
#include <vector>

namespace assets
{
// x' = a x + b y + c, y' = d x + e y + f.
struct Affine
{
    float a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;

    Affine Then(const Affine& next) const; // this transform, then `next`
    Affine Inverse() const;
    void Apply(float x, float y, float& ox, float& oy) const;
    float Scale() const; // the smaller stretch of the two axes (distances shrink by at most this)
    static Affine Translation(float x, float y);
    static Affine Rotation(float degrees, float cx, float cy);
    static Affine Scaling(float sx, float sy, float cx, float cy);
};

// Closed outlines as polylines, filled by the non-zero winding rule.
using Contour = std::vector<float>; // x, y pairs
Shape Outline_Shape(const std::vector<Contour>& contours);

// A path in the spirit of SVG: M x y, L x y, Q cx cy x y, C c1x c1y c2x c2y x y, Z. Curves are flattened.
class Path_Builder
{
  public:
    void Move(float x, float y);
    void Line(float x, float y);
    void Quad(float cx, float cy, float x, float y);
    void Cubic(float c1x, float c1y, float c2x, float c2y, float x, float y);
    void Close();
    std::vector<Contour> Contours() const;

  private:
    std::vector<Contour> m_done;
    Contour m_open;
    float m_x = 0, m_y = 0;
};

Shape Star(float cx, float cy, int points, float outer, float inner, float degrees);
Shape Ring(float cx, float cy, float radius, float width);
// A band of `width` along the circle of `radius` from angle a0 to a1 (degrees, 0 = right, counter-clockwise
// on screen), with round ends.
Shape Arc(float cx, float cy, float radius, float width, float a0, float a1);

enum class Combine
{
    Union,
    Minus,
    Intersect,
};
Shape Combined(const Shape& a, const Shape& b, Combine how);
Shape Smooth_Union(const Shape& a, const Shape& b, float k);
Shape Grown(const Shape& a, float by); // positive grows, negative shrinks
Shape Transformed(const Shape& shape, const Affine& to_canvas);
// Moves a shape by `dx` pixels (tiling copies).
Shape Shifted(const Shape& shape, float dx, float dy);

// A line of text in a TrueType font: centred on x, its capital letters centred on y, `height` the
// capital height in pixels, `spacing` extra pixels between letters. False with `error` on a bad font.
bool Text_Shape(const std::string& ttf_path, const std::string& text, float x, float y, float height,
                float spacing, Shape& out, std::string& error);
} // namespace assets
