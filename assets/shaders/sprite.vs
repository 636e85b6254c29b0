#version 330 core
// Sprite vertex stage: a sprite vertex through the world and view-projection matrices.
// Render targets keep their top row first, so y is turned over; depth 0 to 1 maps onto GL's -1 to 1.
layout(std140) uniform VS_Size_Parameters
{
    mat4 world;
    mat4 view_projection;
    vec4 size_parameters; // 1, 1, then the draw's shader vector
};

in vec3 POSITION;
in vec2 TEXCOORD;
in vec4 COLOR;

out vec2 texcoord;
out vec4 colour;

void main()
{
    vec4 position = vec4(POSITION, 1.0) * world * view_projection;
    gl_Position = vec4(position.x, -position.y, 2.0 * position.z - position.w, position.w);
    texcoord = TEXCOORD;
    colour = COLOR;
}
