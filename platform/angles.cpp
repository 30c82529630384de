#include "platform/angles.h"

#include <cmath>

namespace plat {
namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

double Sin(double degrees) { return std::sin(degrees * kPi / 180.0); }
double Cos(double degrees) { return std::cos(degrees * kPi / 180.0); }
double ATan2(double y, double x) { return std::atan2(y, x) * 180.0 / kPi; }

}  // namespace plat
