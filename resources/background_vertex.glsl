#version 140

// The full-screen quad, passed through: the picture is made entirely by the
// fragment program.

in vec4 position;
in vec3 position_normal;
in vec2 position_tex;

varying vec2 fs_tex;

// Declared for the drawable framework, which uploads them on every draw.
uniform mat4 model_world;
uniform mat4 world_projection;
uniform mat4 model_projection;

void main()
{
    fs_tex = position_tex;
    gl_Position = position;
}
//~
