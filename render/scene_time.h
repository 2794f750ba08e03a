#pragma once

// Hands the frame's time, in seconds since the clock started, to the scene.
void setSceneTime(float seconds);
