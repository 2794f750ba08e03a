#version 120

// A fragment program that does not compile: it reads a variable that is
// declared nowhere.

varying vec2 fs_tex;

void main()
{
    gl_FragColor = vec4(undeclaredColour, fs_tex.x);
}
//~
