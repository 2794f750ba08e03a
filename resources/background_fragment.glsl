#version 120

// A ray marched through a drifting, wave-distorted field of repeating blobs,
// coloured from two samples of the field and faded in over the first seconds.

varying vec2 fs_tex;

uniform float iTime;
uniform float viewportWidth;
uniform float viewportHeight;

// Terms that depend on the time alone: main sets them once per pixel instead
// of every one of the 34 field evaluations recomputing them.
float zShift;
float slopeX;
float slopeY;

float field(vec3 p)
{
    p.z = p.z + zShift;
    float k = 0.2 * sin(p.x * slopeX - p.y * slopeY);
    vec3 q = cos(p / 3.0) + k;
    return length(q) - 0.8;
}

void main()
{
    // Until the fade-in begins, at two seconds, every pixel is black: the
    // first frames, drawn while the screensaver starts, march nothing.
    float fade = smoothstep(2.0, 7.0, iTime);
    if (fade == 0.0) {
        gl_FragColor = vec4(0.0);
        return;
    }

    zShift = 3.0 * iTime;
    slopeX = 1.0 + sin(0.07 * iTime) * cos(0.1 * iTime) * 2.2;
    slopeY = 1.0 + sin(0.1 * iTime) * 0.2;

    // Both coordinates over the width: square pixels, centred horizontally.
    vec3 d = 0.5 - vec3(gl_FragCoord.x, gl_FragCoord.y, 0.0) / viewportWidth;
    vec3 o = d;
    for (int i = 0; i < 32; i++) {
        o = o + field(o) * d * 1.6;
    }
    vec3 c = abs(field(o + d) * vec3(0.3, 0.15, 0.1) + field(0.5 * o) * vec3(0.1, 0.05, 0.0)) *
             (8.0 - o.x / 2.0);
    gl_FragColor = fade * vec4(c, 1.0);
}
//~
