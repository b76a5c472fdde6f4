#pragma once
#include "tools/assetgen/art/style.h"

// Pictures of the screens between the levels (square, with alpha: the game
// blends them over black).
namespace art {

// Behind "Level: N": a scanner ring around a tumbling rock, "GET READY".
Canvas PaintLevelStart(int size);
// Above the level summary's lines: "SECTOR CLEARED" on a panel whose lower
// edge stays clear for the text the game prints over it.
Canvas PaintSummary(int size);
// Below the new-record line: a golden medal and a "NEW HIGH SCORE" ribbon.
Canvas PaintHighScore(int size);

// The intro, title and loading pictures (square, for the centre picture).
Canvas PaintPresents(int size);
Canvas PaintTitle(int size);
// Only the middle band (v 0.33 to 0.66) is shown, on a 4:1 rectangle.
Canvas PaintLoading(int size);
// The menu pointer: an arrow whose tip is the top-left corner.
Canvas PaintPointer(int size);

// Full-screen pictures (4:3, opaque).
Canvas PaintStoryFrame(int width, int height);
Canvas PaintStoryPanel(int width, int height);
Canvas PaintCredits(int width, int height);
Canvas PaintGameOver(int width, int height);
Canvas PaintGameWon(int width, int height);

// A disc of sky: star field and nebula fading out towards the edge.
Canvas PaintSkyDisc(int size, uint32_t seed, float radius);

// Opaque deep sky with nebulae (strength 0..1) and stars (brightness); a
// faint glow of the given colour around glowAt (0..1 of the width and height).
Canvas PaintSky(int width, int height, uint32_t seed, float nebula, Color glow, Vec2 glowAt, float stars = 1);
// Rocks rushing from `from` towards `to` (pixels) in a band `spread` pixels
// wide, sizes between minSize and maxSize pixels, streaked behind.
void DrawRockSwarm(Canvas& canvas, uint32_t seed, int count, Vec2 from, Vec2 to, float spread, float minSize,
                   float maxSize);
// A tapering wisp of dust behind something size pixels across moving away
// from `backwards` (a unit vector), strength about 0.5 to 1.5.
void DrawDustTrail(Canvas& canvas, Vec2 head, Vec2 backwards, float size, float strength);
// The ship with its flame, size pixels across, heading angle (radians,
// clockwise from straight up).
void DrawShipInFlight(Canvas& canvas, Vec2 centre, float size, float angle);
// A planet with clouds and an atmosphere, lit from the direction light (in
// the picture's plane, length below 1; the rest points at the viewer), with
// city lights on its night side when cities is set.
void DrawPlanet(Canvas& canvas, Vec2 centre, float radius, uint32_t seed, Color land, Color sea, Color air,
                Vec2 light, bool cities);

}  // namespace art
