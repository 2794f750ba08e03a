#pragma once

// The OpenGL state that stays fixed for the whole run: face settings that
// never cull (culling is never switched on) and blending with source alpha.
// Needs a current context with the entry points loaded.
void applyFixedGlState();
