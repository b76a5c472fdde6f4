#pragma once
#include <functional>

// Drawing and frame loops that the presentation screens share. Main thread.

// Texture coordinates (s, t) of a picture's top-left, top-right, bottom-left
// and bottom-right corners.
using PictureCoords = float[8];
constexpr PictureCoords kUprightPicture = {0, 1, 1, 1, 0, 0, 1, 0};

// A textured rectangle in immediate mode, as two triangles over the corners
// top-left, top-right, bottom-left and bottom-left, top-right, bottom-right.
void DrawPicture(float left, float right, float top, float bottom, float z,
                 const PictureCoords& coords = kUprightPicture);
// The whole 4:3 screen: -1.33 .. 1.33 × -1 .. 1 at z = -1.8.
void DrawFullPicture(const PictureCoords& coords = kUprightPicture);
// -1 .. 1 × -1 .. 1 at z = -2.5, shifted right by shiftX.
void DrawCentrePicture(float shiftX = 0, const PictureCoords& coords = kUprightPicture);

// Texturing and blending on with (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA).
void EnablePictureBlending();

// Frames on a timer of the screen's own: draw(t) each frame with t the
// timer's seconds; ends after the frame in which t >= seconds or the quit
// request is up or, when skippable, in which Escape, Space or P was down (then
// pauses 200 ms).
void RunTimedScreen(float seconds, bool skippable, const std::function<void(float t)>& draw);
// Frames on frontEnd.gameTimer, reset first, while t < seconds and no quit request is
// up; reads no keys.
void RunOnGameTimer(float seconds, const std::function<void(float t)>& draw);
