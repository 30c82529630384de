// Trigonometry in degrees, the one unit the game's angles are kept in.
// Double precision throughout: callers that store a result in a 32-bit float
// round it once, at the store, instead of each converting at its own
// precision.
#pragma once

namespace plat {

double Sin(double degrees);
double Cos(double degrees);
// The angle of the point (x, y) in degrees, -180 to 180; y grows downward on
// screen, so positive angles turn clockwise there.
double ATan2(double y, double x);

}  // namespace plat
