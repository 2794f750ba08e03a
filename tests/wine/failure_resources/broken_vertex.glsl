#version 140

// A vertex program that does not compile: the statement in main() lacks its
// semicolon.

in vec4 position;
in vec2 position_tex;

varying vec2 fs_tex;

void main()
{
    fs_tex = position_tex;
    gl_Position = position
}
//~
