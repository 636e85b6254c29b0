// Screen grabs read back for pixel checks: a JPEG the window saved or a PPM of the X window, averaged over
// boxes given in fractions of the picture.
#pragma once
#include <string>
#include <vector>

struct Grab_Image
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    // False when the file is missing or not a whole picture.
    bool Load(const std::string& path);
    // A binary PPM (P6, 8 bits a channel).
    bool Load_Ppm(const std::string& path);
    // Mean red, green and blue (0 to 255) of the box [x0, x1) x [y0, y1).
    void Average(float x0, float y0, float x1, float y1, double out[3]) const;
};

// The file is there and ends with the JPEG end marker (so it is not still being written).
bool Jpeg_Complete(const std::string& path);
