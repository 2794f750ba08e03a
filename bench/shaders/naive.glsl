#version 120

// The picture's arithmetic transcribed as plainly as it reads: the field
// function works out the time-only terms itself, in each of its 34 calls.

varying vec2 fs_tex;

uniform float iTime;
uniform float viewportWidth;
uniform float viewportHeight;

float field(vec3 p)
{
    p.z = p.z + 3.0 * iTime;
    float a = 1.0 + sin(0.07 * iTime) * cos(0.1 * iTime) * 2.2;
    float b = 1.0 + sin(0.1 * iTime) * 0.2;
    float k = 0.2 * sin(p.x * a - p.y * b);
    vec3 q = cos(p / 3.0) + k;
    return length(q) - 0.8;
}

void main()
{
    vec3 d = 0.5 - vec3(gl_FragCoord.x, gl_FragCoord.y, 0.0) / viewportWidth;
    vec3 o = d;
    for (int i = 0; i < 32; i++) {
        o = o + field(o) * d * 1.6;
    }
    vec3 c = abs(field(o + d) * vec3(0.3, 0.15, 0.1) + field(0.5 * o) * vec3(0.1, 0.05, 0.0)) *
             (8.0 - o.x / 2.0);
    float fade = smoothstep(2.0, 7.0, iTime);
    gl_FragColor = fade * vec4(c, 1.0);
}
//~
