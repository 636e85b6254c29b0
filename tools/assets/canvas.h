// The builder's drawing library: an RGBA picture in floats with premultiplied alpha, shapes given as
// signed distances (negative inside) so that every edge is antialiased by its exact coverage, paints
// (flat colour, linear and radial gradients, value noise), and PNG output.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace assets
{
struct Colour
{
    float r = 0, g = 0, b = 0, a = 0; // straight (not premultiplied) alpha
};

Colour Mix(const Colour& a, const Colour& b, float t);

// A closed shape: signed distance in pixels from its outline at a point, negative inside.
struct Shape
{
    std::function<float(float, float)> distance;
    // Pixels outside [x0, x1) x [y0, y1) are never touched by a fill of this shape (plus any soft edge).
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

Shape Rectangle(float x, float y, float w, float h, float radius);
Shape Ellipse(float cx, float cy, float rx, float ry);
Shape Polygon(const std::vector<float>& xy); // x, y pairs; even-odd rule
Shape Capsule(float x0, float y0, float x1, float y1, float width);

// The colour of a paint at a pixel centre.
using Paint = std::function<Colour(float, float)>;
Paint Flat(const Colour& colour);
Paint Linear_Gradient(float x0, float y0, float x1, float y1, const Colour& from, const Colour& to);
Paint Radial_Gradient(float cx, float cy, float radius, const Colour& from, const Colour& to);
// Fractal value noise over `scale` pixel cells, deterministic for a seed, mixing the two colours. With a
// period above 0 the noise repeats every `period` pixels across (for pictures that tile).
Paint Noise(float scale, unsigned seed, const Colour& from, const Colour& to, float period = 0);
// Gradient through several colours spaced evenly from the first point to the second.
Paint Linear_Stops(float x0, float y0, float x1, float y1, const std::vector<Colour>& stops);
Paint Radial_Stops(float cx, float cy, float radius, const std::vector<Colour>& stops);
// Shading of a shape as a rounded relief lit from the top left: the shape rises over `radius` pixels from
// its outline, its lit slopes go towards `light`, the slopes away from the light towards `dark`, its flat
// top stays `base`, with a small highlight where it faces the light most.
Paint Lit(const Shape& shape, float radius, const Colour& base, const Colour& light, const Colour& dark);

class Canvas
{
  public:
    Canvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Paints `paint` over the picture where the shape covers it; `softness` widens the edge into a soft
    // falloff of that many pixels (a shadow), 0 gives a crisp antialiased edge.
    void Fill(const Shape& shape, const Paint& paint, float softness = 0.0f);
    // Paints a line of `width` pixels along the shape's outline.
    void Stroke(const Shape& shape, float width, const Paint& paint);
    // A bevel inside the outline: a band `width` pixels wide lit from `light_degrees` (0 = from the right,
    // 90 = from the top), lightened towards `highlight` where it faces the light and darkened towards
    // `shade` where it faces away.
    void Bevel(const Shape& shape, float width, float light_degrees, const Colour& highlight,
               const Colour& shade);

    Colour Pixel(int x, int y) const; // straight alpha
    // Premultiplied r, g, b, a, row by row.
    const std::vector<float>& Data() const { return m_pixels; }
    std::vector<float>& Data() { return m_pixels; }

    // Paints `layer` (the same size) over this picture; `additive` adds its light instead.
    void Composite(const Canvas& layer, float opacity, bool additive);
    // A picture of `colour` covering this one's ink grown by `width` pixels (an outline to put behind it).
    Canvas Dilated(float width, const Colour& colour, bool wrap_x = false) const;
    // This picture's ink blurred over about `radius` pixels, in `colour`, moved by (dx, dy): a glow or a
    // drop shadow. With `wrap_x` the picture is taken to repeat across (a tiling layer).
    Canvas Blurred(float radius, const Colour& colour, float dx, float dy, bool wrap_x = false) const;
    // Multiplies the ink by the coverage of `mask` (the same size).
    void Mask(const Canvas& mask);
    // RGBA, 8 bits a channel, straight alpha. Fully transparent pixels take the colour of their nearest
    // painted neighbours, so that filtered drawing shows no dark fringes.
    std::vector<unsigned char> To_Rgba8() const;

  private:
    void Blend(int x, int y, const Colour& colour, float coverage);
    void Region(const Shape& shape, float margin, int& x0, int& y0, int& x1, int& y1) const;

    int m_width;
    int m_height;
    std::vector<float> m_pixels; // premultiplied r, g, b, a
};

// Encodes RGBA8 pixels as PNG bytes (deterministic: the same pixels always give the same bytes).
std::vector<unsigned char> Encode_Png(const std::vector<unsigned char>& rgba, int width, int height);
} // namespace assets
