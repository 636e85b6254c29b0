#version 330 core
// Blur vertex stage (vertical): position and five texture coordinates one texel step apart
// along the blur, the step being the draw's shader vector.
layout(std140) uniform VS_Size_Parameters
{
    mat4 world;
    mat4 view_projection;
    vec4 size_parameters;
};

in vec3 POSITION;
in vec2 TEXCOORD;

out vec2 texcoord;
out vec4 colour;
out vec2 taps[5];

void main()
{
    vec4 position = vec4(POSITION, 1.0) * world * view_projection;
    gl_Position = vec4(position.x, -position.y, 2.0 * position.z - position.w, position.w);
    texcoord = TEXCOORD;
    colour = vec4(1.0);
    vec2 step = vec2(0.0, size_parameters.w);
    for (int i = 0; i < 5; ++i)
        taps[i] = TEXCOORD + step * float(i - 2);
}
