#version 120

// The fixed cost of a frame: the same quad, one constant colour.

varying vec2 fs_tex;

uniform float iTime;
uniform float viewportWidth;
uniform float viewportHeight;

void main()
{
    gl_FragColor = vec4(0.6, 0.3, 0.2, 1.0);
}
//~
